#pragma once

#include <cstdint>
#include <vector>

struct libusb_context;
struct libusb_device;

namespace vexa {

// The attached devices, in the program's order (see DevicePlace): the order
// that the index of vb_usb_open counts and the USB report lists. Each is
// referenced while the object lives. Empty when the bus cannot be listed.
class DeviceList {
public:
    explicit DeviceList(libusb_context* context);
    ~DeviceList();
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    const std::vector<libusb_device*>& devices() const { return devices_; }

    // Those with these IDs, in the same order.
    std::vector<libusb_device*> withIds(std::uint16_t vendorId, std::uint16_t productId) const;

    // 0, or libusb's error when the devices could not be listed.
    int error() const { return error_; }

private:
    libusb_device** list_ = nullptr;
    std::vector<libusb_device*> devices_;
    int error_ = 0;
};

} // namespace vexa
