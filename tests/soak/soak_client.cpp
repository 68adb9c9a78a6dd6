// The measured side of the soak test: ten thousand oscillator requests
// through LibusbLibrary, as the buttons send them, while the test that owns
// the emulated receiver changes how it answers. This program asks for each
// change with one line on standard output ("outcome stall", "unplug", "plug")
// and waits for the owner's line on standard input before going on. Its last
// line is the report: transfers sent, open descriptors and resident memory
// after the warm-up and at the end, and the number of wrong results.

#include "oscillator/frequency_word.h"
#include "oscillator/oscillator_request.h"
#include "oscillator/tuning.h"
#include "support/open_descriptors.h"
#include "usb/libusb_library.h"

#include <libusb.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using namespace vexa;
using vexa::testing::openDescriptors;

// 50 cycles of 200 requests. Descriptors and memory are measured at the end
// of a cycle, when libusb has long dealt with the last replug: after the
// warm-up cycles and after the last.
constexpr int kCycles = 50;
constexpr int kWarmUpCycles = 3;

// Every phase starts with its command to the receiver's owner. A phase
// without a transfer result finds no receiver.
struct Phase {
    std::string_view command;
    int requests;
    std::optional<int> transferResult;
};

// Failures first, then one request that loses the receiver while it holds it
// open, then successes.
constexpr std::array<Phase, 4> kFailures{{
    {"outcome stall", 15, LIBUSB_ERROR_PIPE},
    {"outcome nodevice", 15, LIBUSB_ERROR_NO_DEVICE},
    {"outcome io", 15, LIBUSB_ERROR_IO},
    {"unplug", 4, std::nullopt},
}};
constexpr Phase kSuccesses{"outcome success", 150, 4};

void ask(std::string_view command)
{
    std::cout << command << std::endl;
    std::string done;
    if (!std::getline(std::cin, done))
        throw std::runtime_error("the receiver's owner is gone");
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return -1;
}

class Soak {
public:
    void run()
    {
        usb_.vb_usb_init();
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            for (const Phase& phase : kFailures)
                run(phase);
            unplugWhileOpen();
            run(kSuccesses);
            if (cycle + 1 == kWarmUpCycles) {
                warmFds_ = openDescriptors();
                warmRssKiB_ = residentKiB();
            }
        }
        std::cout << "report " << transfers_ << ' ' << warmFds_ << ' ' << openDescriptors() << ' '
                  << warmRssKiB_ << ' ' << residentKiB() << ' ' << wrong_ << std::endl;
    }

private:
    void run(const Phase& phase)
    {
        ask(phase.command);
        for (int i = 0; i < phase.requests; ++i)
            request(phase.transferResult);
    }

    void request(std::optional<int> transferResult)
    {
        // A different frequency each time, from 1 to about 500 MHz.
        const double mhz = 1.0 + (requests_ % 997) * 0.5;
        const std::string text = *oscillatorWordText(mhz);
        std::int32_t devHandle = 0;
        const std::string line =
            frequencyRequestLine(frequencyRequest(usb_, devHandle, text, kRequestTimeoutMs));
        const std::string expected =
            transferResult ? "RC=" + std::to_string(*transferResult) + "   Hex=" + text
                           : std::string(kDeviceNotFound);
        expect(line == expected && devHandle == 0, line);
        if (transferResult)
            ++transfers_;
        ++requests_;
    }

    // The handle of a receiver that went away still closes, and is refused
    // once closed.
    void unplugWhileOpen()
    {
        ask("plug");
        ask("outcome success");
        const std::int32_t handle = usb_.vb_usb_open(0, kReceiverVendorId, kReceiverProductId);
        ask("unplug");
        const std::array<std::uint8_t, 4> bytes = packWord(0x3800000);
        const auto send = [&] {
            return usb_.vb_usb_control_msg(handle, kVendorRequestOut, kRequestSetFrequency,
                                           kRequestValue, 0, bytes.data(), 4, kRequestTimeoutMs);
        };
        const bool held = handle != 0 && send() == LIBUSB_ERROR_NO_DEVICE &&
                          usb_.vb_usb_close(handle) == LIBUSB_SUCCESS;
        const bool refused = send() == LIBUSB_ERROR_NOT_FOUND &&
                             usb_.vb_usb_close(handle) == LIBUSB_ERROR_NOT_FOUND;
        expect(held && refused, "handle " + std::to_string(handle) + " after unplugging");
        ask("plug");
        ++requests_;
    }

    void expect(bool right, const std::string& what)
    {
        if (right)
            return;
        if (++wrong_ <= 5)
            std::cerr << "request " << requests_ << " went wrong: " << what << '\n';
    }

    LibusbLibrary usb_{standardErrorSink("soak_client")};
    int requests_ = 0;
    int transfers_ = 0;
    int wrong_ = 0;
    std::size_t warmFds_ = 0;
    long warmRssKiB_ = 0;
};

} // namespace

int main()
try {
    Soak().run();
    return 0;
} catch (const std::exception& failure) {
    std::cerr << "soak_client: " << failure.what() << '\n';
    return 1;
}
