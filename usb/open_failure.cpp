#include "usb/open_failure.h"

#include <libusb.h>

#include <array>
#include <cstdio>
#include <string_view>

namespace vexa {

namespace {

struct Advice {
    int error;
    std::string_view text;
};

constexpr std::array kAdvice{
    Advice{LIBUSB_ERROR_ACCESS,
           "found but access was denied; install the udev rule (see README, Troubleshooting)"},
    Advice{LIBUSB_ERROR_BUSY,
           "found but it is busy; close the other program that uses it, or replug it"},
    Advice{LIBUSB_ERROR_NO_DEVICE,
           "disappeared while being opened; check the cable and plug it in again"},
};

} // namespace

std::string openFailureMessage(int libusbError, std::uint16_t vendorId, std::uint16_t productId)
{
    char receiver[16];
    std::snprintf(receiver, sizeof receiver, "%04X:%04X", vendorId, productId);
    std::string line = "vexa-sdr-control: receiver " + std::string(receiver) + " ";
    for (const Advice& advice : kAdvice)
        if (advice.error == libusbError)
            return line + std::string(advice.text);
    return line + "found but could not be opened (" + libusb_error_name(libusbError) +
           "); replug it (see README, Troubleshooting)";
}

} // namespace vexa
