#include "usb/libusb_library.h"

#include "usb/device_list.h"
#include "usb/device_place.h"
#include "usb/device_strings.h"
#include "usb/usb_messages.h"

#include <libusb.h>

#include <utility>
#include <vector>

namespace vexa {

namespace {

static_assert(kRequestHostToDevice == LIBUSB_ENDPOINT_OUT);
static_assert(kRequestTypeVendor == LIBUSB_REQUEST_TYPE_VENDOR);
static_assert(kRecipientDevice == LIBUSB_RECIPIENT_DEVICE);

bool fitsIn16Bits(std::int32_t value) { return value >= 0 && value <= 0xFFFF; }
bool fitsIn8Bits(std::int32_t value) { return value >= 0 && value <= 0xFF; }

} // namespace

LibusbLibrary::LibusbLibrary(UsbMessageSink sink, std::optional<std::string> serial)
    : sink_(std::move(sink)), serial_(std::move(serial))
{
}

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
    // A failure of libusb itself is said, lest it pass for a missing receiver.
    if (const int result = vb_usb_init(); result != LIBUSB_SUCCESS) {
        say(libraryFailureMessage("start", result));
        return 0;
    }
    const DeviceList attached(context_);
    if (attached.error() != LIBUSB_SUCCESS) {
        say(libraryFailureMessage("list the devices", attached.error()));
        return 0;
    }

    const auto vendor = static_cast<std::uint16_t>(vendorId);
    const auto product = static_cast<std::uint16_t>(productId);
    const auto candidates = attached.withIds(vendor, product);
    const auto position = static_cast<std::size_t>(index);
    libusb_device_handle* opened = serial_ ? openWithSerial(candidates, position, vendor, product)
                                           : openAt(candidates, position, vendor, product);
    if (opened == nullptr)
        return 0;
    const std::int32_t handle = handles_.insert(opened);
    if (handle == 0)
        libusb_close(opened);
    return handle;
}

libusb_device_handle* LibusbLibrary::openAt(const std::vector<libusb_device*>& candidates,
                                            std::size_t index, std::uint16_t vendorId,
                                            std::uint16_t productId) const
{
    if (index >= candidates.size())
        return nullptr;
    libusb_device* device = candidates[index];
    libusb_device_handle* opened = nullptr;
    const int result = libusb_open(device, &opened);
    if (result != LIBUSB_SUCCESS)
        say(openFailureMessage(result, vendorId, productId, placeOf(device)));
    // Devices that share the IDs are told apart by their strings, which a
    // request by index does not read: it names the one it chose and leaves the
    // rest to the USB report.
    if (candidates.size() > 1)
        say(sharedIdMessage(candidates.size(), index, placeOf(device), vendorId, productId));
    return result == LIBUSB_SUCCESS ? opened : nullptr;
}

libusb_device_handle* LibusbLibrary::openWithSerial(const std::vector<libusb_device*>& candidates,
                                                    std::size_t index, std::uint16_t vendorId,
                                                    std::uint16_t productId) const
{
    std::vector<std::string> passedOver; // why, for each device whose serial is not known
    std::size_t matches = 0;
    for (libusb_device* device : candidates) {
        libusb_device_handle* opened = nullptr;
        if (const int result = libusb_open(device, &opened); result != LIBUSB_SUCCESS) {
            passedOver.push_back(openFailureMessage(result, vendorId, productId, placeOf(device)));
            continue;
        }
        const DecodedString serial = readSerialNumber(device, opened);
        if (serial.readable() && serial.text == *serial_ && matches++ == index)
            return opened;
        if (!serial.readable())
            passedOver.push_back(unreadableSerialMessage(placeOf(device), serial.problem));
        libusb_close(opened);
    }
    // The choice was made by serial number, so no shared-ID line; when it
    // finds nothing among devices that are there, the operator learns why.
    if (matches == 0 && !candidates.empty()) {
        say(serialNotFoundMessage(candidates.size(), *serial_, vendorId, productId));
        for (const std::string& reason : passedOver)
            say(reason);
    }
    return nullptr;
}

void LibusbLibrary::say(const std::string& message) const
{
    if (sink_)
        sink_(message);
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
