#include "inspection/usb_device.h"

#include <libusb.h>

#include <array>

namespace vexa {

DeviceFailure failureOf(std::string step, int libusbError)
{
    return {std::move(step), libusbError, libusb_error_name(libusbError),
            libusb_strerror(libusbError)};
}

UsbDevice::UsbDevice(FailureListener onFailure) : onFailure_(std::move(onFailure)) {}

UsbDevice::~UsbDevice() { close(); }

bool UsbDevice::open(libusb_device* device)
{
    close();
    libusb_device_descriptor descriptor{};
    if (const int result = libusb_get_device_descriptor(device, &descriptor);
        result != LIBUSB_SUCCESS) {
        fail("read the device descriptor", result);
        return false;
    }
    if (const int result = libusb_open(device, &handle_); result != LIBUSB_SUCCESS) {
        handle_ = nullptr;
        fail("open", result);
        return false;
    }
    manufacturerIndex_ = descriptor.iManufacturer;
    productIndex_ = descriptor.iProduct;
    serialIndex_ = descriptor.iSerialNumber;
    return true;
}

void UsbDevice::close()
{
    if (handle_ != nullptr)
        libusb_close(handle_);
    handle_ = nullptr;
    language_.reset();
    timedOut_ = false;
}

DecodedString UsbDevice::readString(std::uint8_t index, const std::string& what)
{
    if (handle_ == nullptr)
        return {{}, "the device is not open"};
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

int UsbDevice::fetch(std::uint8_t index, std::uint16_t language, const std::string& what,
                     Descriptor& bytes)
{
    if (timedOut_)
        return LIBUSB_ERROR_TIMEOUT; // told once already
    const int got = libusb_control_transfer(
        handle_, LIBUSB_ENDPOINT_IN, LIBUSB_REQUEST_GET_DESCRIPTOR,
        static_cast<std::uint16_t>(LIBUSB_DT_STRING << 8 | index), language, bytes.data(),
        static_cast<std::uint16_t>(bytes.size()), kStringTimeoutMs);
    if (got < 0) {
        timedOut_ = got == LIBUSB_ERROR_TIMEOUT;
        fail("read the " + what, got);
    }
    return got;
}

void UsbDevice::fail(const std::string& step, int libusbError)
{
    if (onFailure_)
        onFailure_(failureOf(step, libusbError));
}

} // namespace vexa
