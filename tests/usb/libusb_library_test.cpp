// The real libusb-1.0 implementation against the emulated receiver; runs
// under umockdev-wrapper.

#include "usb/libusb_library.h"

#include "oscillator/oscillator_request.h"

#include "emulated_receiver/emulated_receiver.h"
#include "emulated_receiver/no_file_access_override.h"
#include "support/open_descriptors.h"

#include <libusb.h>

#include <gmock/gmock.h>

#include <thread>

namespace {

using namespace vexa;
using namespace vexa::testing;
using ::testing::ElementsAre;

constexpr std::int32_t kVendor = 0x16C0;
constexpr std::int32_t kProduct = 0x05DC;
constexpr std::uint8_t k28MHz[4] = {0x00, 0x00, 0x80, 0x03};
constexpr std::int32_t kShortTimeoutMs = 200;
// What the library says of the receiver, in the first port, when its node is read-only.
const std::string kReceiverDenied =
    "receiver 16C0:05DC, bus 001 address 002 does not open (LIBUSB_ERROR_ACCESS). Your account "
    "may not write to it (access was denied): install the udev rule, see README, \"Access to "
    "the receiver without root\", then replug it. Logged in over ssh or su, join the group "
    "plugdev instead: sudo usermod -aG plugdev \"$USER\", then log out and in again.";

// umockdev's thread in this process closes its ends of the device node's
// sockets in its own time.
constexpr Sockets kSockets = Sockets::LeftOut;

class LibusbLibraryTest : public ::testing::Test {
protected:
    // The receiver has to exist before libusb starts.
    explicit LibusbLibraryTest(bool plugged = true) : receiver(plugged) { usb.vb_usb_init(); }

    std::int32_t openReceiver() { return usb.vb_usb_open(0, kVendor, kProduct); }

    std::int32_t send(std::int32_t handle, std::int32_t timeoutMs = kShortTimeoutMs)
    {
        return usb.vb_usb_control_msg(handle, 0x40, 0x32, 0x0755, 0, k28MHz, 4, timeoutMs);
    }

    EmulatedReceiver receiver;
    std::vector<std::string> said; // what the library told its sink
    LibusbLibrary usb{[this](const std::string& message) { said.push_back(message); }};
};

class LibusbLibraryWithoutReceiver : public LibusbLibraryTest {
protected:
    LibusbLibraryWithoutReceiver() : LibusbLibraryTest(false) {}
};

TEST_F(LibusbLibraryTest, SendsTheRequestOnTheWireAndReturnsTheBytesTransferred)
{
    const std::int32_t handle = openReceiver();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(send(handle), 4);
    EXPECT_EQ(usb.vb_usb_close(handle), 0);

    const auto transfers = receiver.transfers();
    ASSERT_EQ(transfers.size(), 1u);
    EXPECT_THAT(transfers[0].setup, ElementsAre(0x40, 0x32, 0x55, 0x07, 0x00, 0x00, 0x04, 0x00));
    EXPECT_THAT(transfers[0].data, ElementsAre(0x00, 0x00, 0x80, 0x03));
}

TEST_F(LibusbLibraryTest, FailedTransfersReturnLibusbErrorsAndTheDeviceStillCloses)
{
    const struct {
        Outcome outcome;
        int result;
    } cases[] = {
        {Outcome::Stall, LIBUSB_ERROR_PIPE},
        {Outcome::Timeout, LIBUSB_ERROR_TIMEOUT},
        {Outcome::NoDevice, LIBUSB_ERROR_NO_DEVICE},
        {Outcome::IoError, LIBUSB_ERROR_IO},
    };
    for (const auto& [outcome, result] : cases) {
        SCOPED_TRACE(std::string(nameOf(outcome)));
        receiver.setOutcome(outcome);
        const std::int32_t handle = openReceiver();
        ASSERT_NE(handle, 0);
        EXPECT_EQ(send(handle), result);
        EXPECT_EQ(usb.vb_usb_close(handle), 0);
        EXPECT_EQ(usb.vb_usb_close(handle), LIBUSB_ERROR_NOT_FOUND);
    }
    // The receiver is none the worse for it.
    receiver.setOutcome(Outcome::Success);
    const std::int32_t handle = openReceiver();
    EXPECT_EQ(send(handle), 4);
    usb.vb_usb_close(handle);
}

TEST_F(LibusbLibraryWithoutReceiver, OpenGivesNoHandleAndSaysNothing)
{
    EXPECT_EQ(openReceiver(), 0);
    EXPECT_THAT(said, ElementsAre());
}

TEST_F(LibusbLibraryTest, IndexCountsOnlyDevicesWithTheseIds)
{
    EXPECT_EQ(usb.vb_usb_open(1, kVendor, kProduct), 0);
    EXPECT_EQ(usb.vb_usb_open(0, kVendor, kProduct + 1), 0);
    EXPECT_EQ(usb.vb_usb_open(0, kVendor + 0x10000, kProduct), 0);
    EXPECT_EQ(usb.vb_usb_open(-1, kVendor, kProduct), 0);
    const std::int32_t handle = usb.vb_usb_open(0, kVendor, kProduct);
    EXPECT_NE(handle, 0);
    usb.vb_usb_close(handle);
}

TEST_F(LibusbLibraryWithoutReceiver, AReceiverPluggedInAfterStartUpIsFoundByTheNextOpen)
{
    EXPECT_EQ(openReceiver(), 0);
    receiver.plug();
    EXPECT_EQ(usb.vb_usb_init(), 0);
    const std::int32_t handle = openReceiver();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(send(handle), 4);
    usb.vb_usb_close(handle);
}

TEST_F(LibusbLibraryTest, UnpluggedBetweenRequestsIsNotFoundUntilPluggedInAgain)
{
    usb.vb_usb_close(openReceiver());
    receiver.unplug();
    EXPECT_EQ(openReceiver(), 0);
    receiver.plug();
    const std::int32_t handle = openReceiver();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(send(handle), 4);
    usb.vb_usb_close(handle);
}

TEST_F(LibusbLibraryTest, UnpluggedWhileOpenTheTransferFailsAndTheHandleStillCloses)
{
    const std::int32_t handle = openReceiver();
    receiver.unplug();
    EXPECT_EQ(send(handle), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_EQ(usb.vb_usb_close(handle), 0);
}

TEST_F(LibusbLibraryTest, UnpluggedDuringATransferEndsItWithoutWaitingForTheTimeOut)
{
    receiver.setOutcome(Outcome::Timeout);
    const std::int32_t handle = openReceiver();
    std::thread unplugger([this] {
        receiver.waitForTransfers(1);
        receiver.unplug();
    });
    EXPECT_EQ(send(handle, 60000), LIBUSB_ERROR_NO_DEVICE);
    unplugger.join();
    EXPECT_EQ(usb.vb_usb_close(handle), 0);
}

TEST_F(LibusbLibraryTest, UnknownAndClosedHandlesAreRejected)
{
    const std::int32_t handle = openReceiver();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(usb.vb_usb_close(handle), 0);
    for (const std::int32_t stale : {handle, 0, -1, handle + 1}) {
        EXPECT_EQ(send(stale), LIBUSB_ERROR_NOT_FOUND) << stale;
        EXPECT_EQ(usb.vb_usb_close(stale), LIBUSB_ERROR_NOT_FOUND) << stale;
    }
    EXPECT_TRUE(receiver.transfers().empty());
}

TEST_F(LibusbLibraryTest, ArgumentsOutOfRangeAreRejectedBeforeTheWire)
{
    const std::int32_t handle = openReceiver();
    const struct {
        std::int32_t requestType, request, value, index;
        const std::uint8_t* bytes;
        std::int32_t size, timeoutMs;
    } cases[] = {
        {0x40, 0x32, 0x0755, 0, k28MHz, -1, 200},        {0x40, 0x32, 0x0755, 0, k28MHz, 0x10000, 200},
        {0x40, 0x32, 0x0755, 0, nullptr, 4, 200},        {0x40, 0x32, 0x0755, 0, k28MHz, 4, -1},
        {-1, 0x32, 0x0755, 0, k28MHz, 4, 200},           {0x40, 0x100, 0x0755, 0, k28MHz, 4, 200},
        {0x40, 0x32, 0x10000, 0, k28MHz, 4, 200},        {0x40, 0x32, 0x0755, -1, k28MHz, 4, 200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(usb.vb_usb_control_msg(handle, c.requestType, c.request, c.value, c.index, c.bytes,
                                         c.size, c.timeoutMs),
                  LIBUSB_ERROR_INVALID_PARAM);
    EXPECT_TRUE(receiver.transfers().empty());
    usb.vb_usb_close(handle);
}

TEST_F(LibusbLibraryTest, AccessDeniedGivesNoHandleAndSaysWhy)
{
    receiver.denyAccess(true);
    std::int32_t handle = 0;
    {
        const NoFileAccessOverride asAnOperator;
        handle = openReceiver();
    }
    EXPECT_EQ(handle, 0);
    EXPECT_THAT(said, ElementsAre(kReceiverDenied));
}

TEST_F(LibusbLibraryTest, SeveralDevicesWithTheIdsAreNamedAndStillOneTransferGoesOut)
{
    receiver.plugSecondDevice();
    const std::int32_t handle = openReceiver();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(send(handle), 4);
    usb.vb_usb_close(handle);

    // No string is read to tell them apart: one transfer in all, on the one named.
    EXPECT_EQ(receiver.transfers().size(), 1u);
    EXPECT_TRUE(receiver.secondDeviceTransfers().empty());
    EXPECT_THAT(said, ElementsAre("2 devices share the ID 16C0:05DC; this request went to the "
                                  "first, bus 001 address 002; vexa-sdr-usb-report tells them "
                                  "apart"));
}

// The receiver (serial VX-000172) is in the first port, the other device
// (BT-9) in the second; each library below opens them in one listing.
TEST_F(LibusbLibraryTest, ASerialNumberChoosesTheDeviceAndSaysWhyNoneHasIt)
{
    receiver.plugSecondDevice();
    const std::string notFound = "no device with the ID 16C0:05DC has the serial number ";
    const std::string listed = " (2 attached); vexa-sdr-usb-report lists their serial numbers";
    const struct {
        const char* serial;
        bool receiverDenied;
        std::size_t receiverSets, otherSets;
        std::vector<std::string> said;
    } cases[] = {
        {"VX-000172", false, 1, 0, {}},
        {"BT-9", false, 0, 1, {}},
        {"BT-9", true, 0, 1, {}}, // the receiver, which does not open, is passed over
        {"VX-000172", true, 0, 0,
         {notFound + "\"VX-000172\"" + listed,
          kReceiverDenied}},
        {"VX-00017", false, 0, 0, {notFound + "\"VX-00017\"" + listed}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.serial) + (c.receiverDenied ? ", receiver denied" : ""));
        receiver.denyAccess(c.receiverDenied);
        const auto receiverBefore = countOf(receiver.transfers(), kRequestSetFrequency);
        const auto otherBefore = countOf(receiver.secondDeviceTransfers(), kRequestSetFrequency);
        std::vector<std::string> chosenSaid;
        LibusbLibrary chosen([&](const std::string& message) { chosenSaid.push_back(message); },
                             c.serial);
        std::int32_t devHandle = 0;
        {
            const NoFileAccessOverride asAnOperator;
            frequencyRequest(chosen, devHandle, "3800000", kRequestTimeoutMs);
        }
        EXPECT_EQ(countOf(receiver.transfers(), kRequestSetFrequency) - receiverBefore,
                  c.receiverSets);
        EXPECT_EQ(countOf(receiver.secondDeviceTransfers(), kRequestSetFrequency) - otherBefore,
                  c.otherSets);
        EXPECT_EQ(chosenSaid, c.said);
    }
}

TEST_F(LibusbLibraryTest, ManyRequestsLeaveNoDescriptorOpen)
{
    const std::size_t before = settledOpenDescriptors(kSockets);
    std::int32_t previous = 0;
    for (int i = 0; i < 50; ++i) {
        usb.vb_usb_init();
        const std::int32_t handle = openReceiver();
        EXPECT_GT(handle, previous);
        EXPECT_EQ(send(handle), 4);
        EXPECT_EQ(usb.vb_usb_close(handle), 0);
        previous = handle;
    }
    EXPECT_EQ(settledOpenDescriptors(kSockets), before);
}

TEST_F(LibusbLibraryTest, DestroyingTheLibraryClosesWhatIsStillOpen)
{
    const std::size_t before = settledOpenDescriptors(kSockets);
    {
        LibusbLibrary other{UsbMessageSink{}};
        ASSERT_NE(other.vb_usb_open(0, kVendor, kProduct), 0);
        ASSERT_NE(other.vb_usb_open(0, kVendor, kProduct), 0);
        EXPECT_GT(openDescriptors(kSockets), before);
    }
    EXPECT_EQ(settledOpenDescriptors(kSockets), before);
}

} // namespace
