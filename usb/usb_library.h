#pragma once

#include <cstdint>

namespace vexa {

// The parts of a control request's type byte (bmRequestType), as USB defines
// them and libusb names them: LIBUSB_ENDPOINT_OUT, LIBUSB_REQUEST_TYPE_VENDOR,
// LIBUSB_RECIPIENT_DEVICE.
inline constexpr std::uint8_t kRequestHostToDevice = 0x00;
inline constexpr std::uint8_t kRequestTypeVendor = 0x02 << 5;
inline constexpr std::uint8_t kRecipientDevice = 0x00;

// The operations of the USB access library that the program calls. Handles are
// non-zero for an open device and 0 for none. The window and the oscillator
// code receive this by reference: the program hands them the libusb one, tests
// a recording fake.
class UsbLibrary {
public:
    virtual ~UsbLibrary() = default;

    // Readies the library; may be called any number of times.
    virtual std::int32_t vb_usb_init() = 0;

    // Handle of the index-th (from 0) attached device with these IDs; 0 if none.
    virtual std::int32_t vb_usb_open(std::int32_t index, std::int32_t vendorId,
                                     std::int32_t productId) = 0;

    // One control transfer, in the argument order of the classic control-message
    // call. Returns the bytes transferred or a negative error code. The buffer is
    // only read.
    virtual std::int32_t vb_usb_control_msg(std::int32_t handle, std::int32_t requestType,
                                            std::int32_t request, std::int32_t value,
                                            std::int32_t index, const std::uint8_t* bytes,
                                            std::int32_t size, std::int32_t timeoutMs) = 0;

    // Releases the device; the handle is invalid afterwards.
    virtual std::int32_t vb_usb_close(std::int32_t handle) = 0;
};

} // namespace vexa
