#include "usb/usb_messages.h"

#include "usb/receiver.h"

#include <libusb.h>

namespace vexa {

namespace {

std::string errorText(int libusbError)
{
    return std::string(libusb_error_name(libusbError)) + " (" + libusb_strerror(libusbError) +
           ")";
}

} // namespace

std::string openFailureMessage(int libusbError, std::uint16_t vendorId, std::uint16_t productId,
                               const DevicePlace& place, Platform platform)
{
    return "receiver " + usbIdText(vendorId, productId) + ", " + busAddressText(place) +
           " does not open (" + libusb_error_name(libusbError) + "). " +
           openAdvice(libusbError, platform);
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
