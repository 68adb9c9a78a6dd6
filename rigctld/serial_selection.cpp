#include "rigctld/serial_selection.h"

#include <algorithm>
#include <limits>

namespace vexa {

SerialSelectedUsb::SerialSelectedUsb(UsbLibrary& usb, std::string serial, SerialReader readSerials)
    : usb_(usb), serial_(std::move(serial)), readSerials_(std::move(readSerials))
{
}

std::int32_t SerialSelectedUsb::vb_usb_init()
{
    return usb_.vb_usb_init();
}

std::int32_t SerialSelectedUsb::vb_usb_open(std::int32_t index, std::int32_t vendorId,
                                            std::int32_t productId)
{
    constexpr auto kLargestId = std::numeric_limits<std::uint16_t>::max();
    if (index != 0 || vendorId < 0 || vendorId > kLargestId || productId < 0 ||
        productId > kLargestId)
        return 0; // only the one receiver with the serial is there
    const SerialNumbers serials =
        readSerials_(static_cast<std::uint16_t>(vendorId), static_cast<std::uint16_t>(productId));
    const auto chosen = std::find(serials.begin(), serials.end(), serial_);
    if (chosen == serials.end())
        return 0;
    return usb_.vb_usb_open(static_cast<std::int32_t>(chosen - serials.begin()), vendorId,
                            productId);
}

std::int32_t SerialSelectedUsb::vb_usb_control_msg(std::int32_t handle, std::int32_t requestType,
                                                   std::int32_t request, std::int32_t value,
                                                   std::int32_t index, const std::uint8_t* bytes,
                                                   std::int32_t size, std::int32_t timeoutMs)
{
    return usb_.vb_usb_control_msg(handle, requestType, request, value, index, bytes, size,
                                   timeoutMs);
}

std::int32_t SerialSelectedUsb::vb_usb_close(std::int32_t handle)
{
    return usb_.vb_usb_close(handle);
}

} // namespace vexa
