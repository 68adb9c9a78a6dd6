#include "usb/device_strings.h"

#include <libusb.h>

#include <span>
#include <utility>

namespace vexa {

DeviceStrings::DeviceStrings(libusb_device_handle* handle, FailureListener onFailure)
    : handle_(handle), onFailure_(std::move(onFailure))
{
}

DecodedString DeviceStrings::read(std::uint8_t index, const std::string& what)
{
    if (index == 0)
        return {{}, "none given"};
    Descriptor bytes{};
    if (!language_) {
        const int got = fetch(0, 0, "language table", bytes);
        if (got < 0)
            return {{}, std::string("no language table: ") + libusb_error_name(got)};
        language_ = firstLanguage(std::span(bytes.data(), static_cast<std::size_t>(got)));
        if (!language_)
            return {{}, "no language table"};
    }
    const int got = fetch(index, *language_, what, bytes);
    if (got < 0)
        return {{}, libusb_error_name(got)};
    return decodeStringDescriptor(std::span(bytes.data(), static_cast<std::size_t>(got)));
}

int DeviceStrings::fetch(std::uint8_t index, std::uint16_t language, const std::string& what,
                         Descriptor& bytes)
{
    if (timedOut_)
        return LIBUSB_ERROR_TIMEOUT; // told once already
    const int got = libusb_control_transfer(
        handle_, LIBUSB_ENDPOINT_IN, LIBUSB_REQUEST_GET_DESCRIPTOR,
        static_cast<std::uint16_t>(LIBUSB_DT_STRING << 8 | index), language, bytes.data(),
        static_cast<std::uint16_t>(bytes.size()), kTimeoutMs);
    if (got < 0) {
        timedOut_ = got == LIBUSB_ERROR_TIMEOUT;
        if (onFailure_)
            onFailure_(what, got);
    }
    return got;
}

DecodedString readSerialNumber(libusb_device* device, libusb_device_handle* handle)
{
    libusb_device_descriptor descriptor{};
    if (const int result = libusb_get_device_descriptor(device, &descriptor);
        result != LIBUSB_SUCCESS)
        return {{}, std::string("no device descriptor: ") + libusb_error_name(result)};
    return DeviceStrings(handle).read(descriptor.iSerialNumber, "serial number");
}

} // namespace vexa
