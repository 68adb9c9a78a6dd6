#include "usb/libusb_library.h"

#include "usb/device_list.h"
#include "usb/device_place.h"
#include "usb/open_failure.h"

#include <libusb.h>

#include <cstdio>
#include <vector>

namespace vexa {

namespace {

static_assert(kRequestHostToDevice == LIBUSB_ENDPOINT_OUT);
static_assert(kRequestTypeVendor == LIBUSB_REQUEST_TYPE_VENDOR);
static_assert(kRecipientDevice == LIBUSB_RECIPIENT_DEVICE);

bool fitsIn16Bits(std::int32_t value) { return value >= 0 && value <= 0xFFFF; }
bool fitsIn8Bits(std::int32_t value) { return value >= 0 && value <= 0xFF; }

} // namespace

LibusbLibrary::~LibusbLibrary()
{
    for (libusb_device_handle* device : handles_.takeAll())
        libusb_close(device);
    if (context_ != nullptr)
        libusb_exit(context_);
}

std::int32_t LibusbLibrary::vb_usb_init()
{
    if (context_ != nullptr)
        return LIBUSB_SUCCESS;
    return libusb_init(&context_);
}

std::int32_t LibusbLibrary::vb_usb_open(std::int32_t index, std::int32_t vendorId,
                                        std::int32_t productId)
{
    if (index < 0 || !fitsIn16Bits(vendorId) || !fitsIn16Bits(productId))
        return 0;
    if (vb_usb_init() != LIBUSB_SUCCESS)
        return 0;

    const auto vendor = static_cast<std::uint16_t>(vendorId);
    const auto product = static_cast<std::uint16_t>(productId);
    const DeviceList attached(context_);
    const auto devices = attached.withIds(vendor, product);
    if (static_cast<std::size_t>(index) >= devices.size())
        return 0;
    libusb_device* device = devices[static_cast<std::size_t>(index)];
    libusb_device_handle* opened = nullptr;
    const int result = libusb_open(device, &opened);
    if (result != LIBUSB_SUCCESS)
        std::fprintf(stderr, "%s\n", openFailureMessage(result, vendor, product).c_str());
    // Devices that share the IDs are told apart by their strings, which a
    // request does not read: it names the one it chose and leaves the rest
    // to the USB report.
    if (devices.size() > 1)
        std::fprintf(stderr, "%s\n",
                     sharedIdMessage(devices.size(), static_cast<std::size_t>(index),
                                     placeOf(device), vendor, product)
                         .c_str());
    if (result != LIBUSB_SUCCESS)
        return 0;

    const std::int32_t handle = handles_.insert(opened);
    if (handle == 0)
        libusb_close(opened);
    return handle;
}

std::int32_t LibusbLibrary::vb_usb_control_msg(std::int32_t handle, std::int32_t requestType,
                                               std::int32_t request, std::int32_t value,
                                               std::int32_t index, const std::uint8_t* bytes,
                                               std::int32_t size, std::int32_t timeoutMs)
{
    const auto device = handles_.find(handle);
    if (!device)
        return LIBUSB_ERROR_NOT_FOUND;
    if (!fitsIn8Bits(requestType) || !fitsIn8Bits(request) || !fitsIn16Bits(value) ||
        !fitsIn16Bits(index) || !fitsIn16Bits(size) || timeoutMs < 0 ||
        (bytes == nullptr && size > 0))
        return LIBUSB_ERROR_INVALID_PARAM;

    // libusb wants a writable buffer even for an OUT transfer; the caller's
    // bytes stay untouched.
    std::vector<std::uint8_t> buffer(bytes, bytes + size);
    return libusb_control_transfer(*device, static_cast<std::uint8_t>(requestType),
                                   static_cast<std::uint8_t>(request),
                                   static_cast<std::uint16_t>(value),
                                   static_cast<std::uint16_t>(index), buffer.data(),
                                   static_cast<std::uint16_t>(size),
                                   static_cast<unsigned int>(timeoutMs));
}

std::int32_t LibusbLibrary::vb_usb_close(std::int32_t handle)
{
    const auto device = handles_.take(handle);
    if (!device)
        return LIBUSB_ERROR_NOT_FOUND;
    libusb_close(*device);
    return LIBUSB_SUCCESS;
}

} // namespace vexa
