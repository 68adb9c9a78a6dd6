#include "usb/device_list.h"

#include "usb/device_place.h"

#include <libusb.h>

#include <algorithm>
#include <utility>

namespace vexa {

DeviceList::DeviceList(libusb_context* context)
{
    const ssize_t count = libusb_get_device_list(context, &list_);
    if (count < 0) {
        list_ = nullptr;
        error_ = static_cast<int>(count);
        return;
    }
    std::vector<std::pair<DevicePlace, libusb_device*>> placed;
    for (ssize_t i = 0; i < count; ++i)
        placed.emplace_back(placeOf(list_[i]), list_[i]);
    std::sort(placed.begin(), placed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [place, device] : placed)
        devices_.push_back(device);
}

DeviceList::~DeviceList()
{
    if (list_ != nullptr)
        libusb_free_device_list(list_, 1);
}

std::vector<libusb_device*> DeviceList::withIds(std::uint16_t vendorId,
                                                std::uint16_t productId) const
{
    std::vector<libusb_device*> matching;
    for (libusb_device* device : devices_) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS)
            continue;
        if (descriptor.idVendor == vendorId && descriptor.idProduct == productId)
            matching.push_back(device);
    }
    return matching;
}

} // namespace vexa
