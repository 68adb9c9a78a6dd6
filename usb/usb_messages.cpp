#include "usb/usb_messages.h"

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
           "access was denied; install the udev rule (see README, Troubleshooting)"},
    Advice{LIBUSB_ERROR_BUSY, "it is busy; close the other program that uses it, or replug it"},
    Advice{LIBUSB_ERROR_NO_DEVICE,
           "it disappeared while being opened; check the cable and plug it in again"},
};

std::string errorText(int libusbError)
{
    return std::string(libusb_error_name(libusbError)) + " (" + libusb_strerror(libusbError) +
           ")";
}

} // namespace

std::string openFailureMessage(int libusbError, std::uint16_t vendorId, std::uint16_t productId,
                               const DevicePlace& place)
{
    std::string line = "receiver " + usbIdText(vendorId, productId) + ", " +
                       busAddressText(place) + ", does not open: ";
    for (const Advice& advice : kAdvice)
        if (advice.error == libusbError)
            return line + std::string(advice.text);
    return line + libusb_error_name(libusbError) + "; replug it (see README, Troubleshooting)";
}

std::string sharedIdMessage(std::size_t devices, std::size_t index, const DevicePlace& chosen,
                            std::uint16_t vendorId, std::uint16_t productId)
{
    return std::to_string(devices) + " devices share the ID " + usbIdText(vendorId, productId) +
           "; this request went to " +
           (index == 0 ? std::string("the first") : "number " + std::to_string(index + 1)) +
           ", " + busAddressText(chosen) + "; vexa-sdr-usb-report tells them apart";
}

std::string serialNotFoundMessage(std::size_t devices, const std::string& serial,
                                  std::uint16_t vendorId, std::uint16_t productId)
{
    return "no device with the ID " + usbIdText(vendorId, productId) +
           " has the serial number \"" + serial + "\" (" + std::to_string(devices) +
           " attached); vexa-sdr-usb-report lists their serial numbers";
}

std::string unreadableSerialMessage(const DevicePlace& place, const std::string& problem)
{
    return "the serial number of the device at " + busAddressText(place) +
           " cannot be read: " + problem;
}

std::string libraryFailureMessage(const std::string& step, int libusbError)
{
    return "the USB library could not " + step + ": " + errorText(libusbError);
}

} // namespace vexa
