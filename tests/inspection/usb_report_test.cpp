// The report against the emulated bus, as the console program prints it;
// runs under umockdev-wrapper.

#include "inspection/report_text.h"
#include "oscillator/oscillator_request.h"
#include "usb/libusb_library.h"

#include "emulated_receiver/emulated_receiver.h"
#include "emulated_receiver/no_file_access_override.h"

#include <gmock/gmock.h>

#include <chrono>
#include <functional>

namespace {

using namespace vexa;
using namespace vexa::testing;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

struct Case {
    const char* what;
    std::function<void(EmulatedReceiver&)> setUp;
    int exitStatus;
    std::vector<std::string> shown;
};

const Case kCases[] = {
    {"one receiver", [](EmulatedReceiver&) {}, 0,
     {"Devices with the receiver's USB ID 16C0:05DC: 1\n"
      "  1. Bus 001 Device 002: ID 16c0:05dc, port 1-1, low speed  <- the window tunes this one\n"
      "     Manufacturer: \"Vexa SDR\"\n"
      "     Product:      \"Vexa SDR Receiver\"\n"
      "     Serial:       \"VX-000172\"\n"
      "     Opens:        yes\n",
      "Verdict: receiver ready\n"}},
    {"none", [](EmulatedReceiver& bus) { bus.unplug(); }, 1,
     {"Verdict: no receiver (USB ID 16C0:05DC) is attached\n", "avoid unpowered hubs"}},
    {"access denied", [](EmulatedReceiver& bus) { bus.denyAccess(true); }, 2,
     {"Opens:        no, LIBUSB_ERROR_ACCESS",
      "Verdict: the receiver is attached but cannot be opened: LIBUSB_ERROR_ACCESS",
      "install the udev rule", "plugdev"}},
    {"malformed strings",
     [](EmulatedReceiver& bus) {
         bus.setStringDescriptor(1, {8, 3, 'V', 0, 0x1B, 0, '\n', 0});
         bus.setStringDescriptor(2, {40, 3, 'V', 0});
         bus.setStringDescriptor(3, {5, 3, 'V', 0, 0xC3});
     },
     0,
     {"Manufacturer: \"V\\u001B\\u000A\"\n",
      "Product:      unreadable (it claims 40 bytes but sent 4)\n",
      "Serial:       \"V\\xC3\"\n"}},
    {"no language table", [](EmulatedReceiver& bus) { bus.setStringDescriptor(0, {2, 3}); }, 0,
     {"Manufacturer: unreadable (no language table)\n"}},
};

std::string reportOn(const Case& c, int& exitStatus)
{
    EmulatedReceiver bus;
    c.setUp(bus);
    const NoFileAccessOverride asAnOperator;
    const UsbReport report = collectReport();
    const Verdict verdict = verdictOf(report, Platform::Linux);
    exitStatus = verdict.exitStatus;
    return formatReport(report, verdict, Platform::Linux, false);
}

TEST(UsbReport, TellsWhetherTheReceiverOpensAndWhatToDo)
{
    for (const Case& c : kCases) {
        int exitStatus = -1;
        const std::string text = reportOn(c, exitStatus);
        EXPECT_EQ(exitStatus, c.exitStatus) << c.what;
        for (const std::string& expected : c.shown)
            EXPECT_THAT(text, HasSubstr(expected)) << c.what;
    }
}

// The window's library lives from start-up, and libusb lists a device plugged
// in later differently there than in the report's fresh listing. Whichever
// was plugged in first, both count the receiver, in the first port, first.
TEST(UsbReport, MarksTheDeviceTheWindowTunesWhateverThePlugOrder)
{
    for (const bool receiverFirst : {true, false}) {
        SCOPED_TRACE(receiverFirst ? "receiver plugged in first" : "receiver plugged in last");
        EmulatedReceiver bus(false);
        LibusbLibrary window{UsbMessageSink{}};
        window.vb_usb_init();
        if (receiverFirst) {
            bus.plug();
            bus.plugSecondDevice();
        } else {
            bus.plugSecondDevice();
            bus.plug();
        }
        std::int32_t devHandle = 0;
        EXPECT_EQ(frequencyRequestLine(frequencyRequest(window, devHandle, "3800000", kRequestTimeoutMs)),
                  "RC=4   Hex=3800000");
        EXPECT_EQ(countOf(bus.transfers(), kRequestSetFrequency), 1u);
        EXPECT_EQ(countOf(bus.secondDeviceTransfers(), kRequestSetFrequency), 0u);

        const UsbReport report = collectReport();
        const std::string text = formatReport(report, verdictOf(report, Platform::Linux),
                                              Platform::Linux, false);
        EXPECT_THAT(text, HasSubstr("  <- the window tunes this one\n"
                                    "     Manufacturer: \"" +
                                    receiverIdentity().manufacturer + "\""));
        EXPECT_THAT(text, AllOf(HasSubstr("\"" + otherDeviceIdentity().product + "\""),
                                HasSubstr("2 devices share the ID 16C0:05DC and the window "
                                          "tunes the first, bus 001 address " +
                                          std::string(receiverFirst ? "002" : "003")),
                                HasSubstr("told apart by their manufacturer and product strings")));
    }
}

TEST(UsbReport, ADeviceThatDoesNotAnswerHoldsUpTheReportForOneTimeOutOnly)
{
    EmulatedReceiver bus;
    bus.setOutcome(Outcome::Timeout);
    bus.plugSecondDevice();
    const auto start = std::chrono::steady_clock::now();
    const UsbReport report = collectReport();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(DeviceStrings::kTimeoutMs * 2));
    const std::string text = formatReport(report, verdictOf(report, Platform::Linux),
                                          Platform::Linux, false);
    EXPECT_THAT(text, AllOf(HasSubstr("Manufacturer: unreadable (no language table: "
                                      "LIBUSB_ERROR_TIMEOUT)"),
                            HasSubstr("Serial:       unreadable (no language table: "
                                      "LIBUSB_ERROR_TIMEOUT)"),
                            HasSubstr("\"" + otherDeviceIdentity().serial + "\""),
                            Not(HasSubstr("LIBUSB_ERROR_TIMEOUT (")))); // it still opens
}

} // namespace
