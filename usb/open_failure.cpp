#include "usb/open_failure.h"

#include "usb/receiver.h"

#include <libusb.h>

#include <array>
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
    std::string line = "vexa-sdr-control: receiver " + usbIdText(vendorId, productId) + " ";
    for (const Advice& advice : kAdvice)
        if (advice.error == libusbError)
            return line + std::string(advice.text);
    return line + "found but could not be opened (" + libusb_error_name(libusbError) +
           "); replug it (see README, Troubleshooting)";
}

std::string sharedIdMessage(std::size_t devices, std::size_t index, const DevicePlace& chosen,
                            std::uint16_t vendorId, std::uint16_t productId)
{
    return "vexa-sdr-control: " + std::to_string(devices) + " devices share the ID " +
           usbIdText(vendorId, productId) + "; this request went to " +
           (index == 0 ? std::string("the first") : "number " + std::to_string(index + 1)) +
           ", " + busAddressText(chosen) +
           "; vexa-sdr-usb-report tells them apart";
}

} // namespace vexa
