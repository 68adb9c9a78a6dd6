#include "usb/matching_devices.h"

#include <libusb.h>

namespace vexa {

MatchingDevices::MatchingDevices(libusb_context* context, std::uint16_t vendorId,
                                 std::uint16_t productId)
{
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    if (count < 0) {
        listError_ = static_cast<int>(count);
        return;
    }
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS)
            continue;
        if (descriptor.idVendor == vendorId && descriptor.idProduct == productId)
            devices_.push_back(libusb_ref_device(list[i]));
    }
    libusb_free_device_list(list, 1);
}

MatchingDevices::~MatchingDevices()
{
    for (libusb_device* device : devices_)
        libusb_unref_device(device);
}

} // namespace vexa
