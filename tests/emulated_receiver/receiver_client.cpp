// A stand-in for the program in harness tests: sends the 28 MHz request
// through the real libusb again and again, printing each result line that
// differs from the one before, until the receiver is not found.

#include "oscillator/oscillator_request.h"
#include "usb/libusb_library.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

int main()
{
    vexa::LibusbLibrary usb(vexa::standardErrorSink("receiver_client"));
    usb.vb_usb_init();
    std::string previous;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::int32_t devHandle = 0;
        const std::string line = vexa::frequencyRequestLine(
            vexa::frequencyRequest(usb, devHandle, "3800000", vexa::kRequestTimeoutMs));
        if (line != previous) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
            previous = line;
        }
        if (line == vexa::kDeviceNotFound)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 1;
}
