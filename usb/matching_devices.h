#pragma once

#include <cstdint>
#include <vector>

struct libusb_context;
struct libusb_device;

namespace vexa {

// The attached devices with these IDs, in the order in which libusb lists
// them: the order that the index of vb_usb_open counts. Each is referenced
// while the object lives. Empty when the list cannot be had.
class MatchingDevices {
public:
    MatchingDevices(libusb_context* context, std::uint16_t vendorId, std::uint16_t productId);
    ~MatchingDevices();
    MatchingDevices(const MatchingDevices&) = delete;
    MatchingDevices& operator=(const MatchingDevices&) = delete;

    const std::vector<libusb_device*>& devices() const { return devices_; }

    // 0, or libusb's error when listing the devices failed.
    int listError() const { return listError_; }

private:
    std::vector<libusb_device*> devices_;
    int listError_ = 0;
};

} // namespace vexa
