#include "inspection/usb_device.h"

#include <libusb.h>

#include <utility>

namespace vexa {

DeviceFailure failureOf(std::string step, int libusbError)
{
    return {std::move(step), libusbError, libusb_error_name(libusbError),
            libusb_strerror(libusbError)};
}

UsbDevice::UsbDevice(FailureListener onStringFailure) : onFailure_(std::move(onStringFailure)) {}

UsbDevice::~UsbDevice() { close(); }

std::optional<DeviceFailure> UsbDevice::open(libusb_device* device)
{
    close();
    libusb_device_descriptor descriptor{};
    if (const int result = libusb_get_device_descriptor(device, &descriptor);
        result != LIBUSB_SUCCESS)
        return failureOf("read the device descriptor", result);
    if (const int result = libusb_open(device, &handle_); result != LIBUSB_SUCCESS) {
        handle_ = nullptr;
        return failureOf("open", result);
    }
    strings_.emplace(handle_, [this](const std::string& what, int libusbError) {
        if (onFailure_)
            onFailure_(failureOf("read the " + what, libusbError));
    });
    manufacturerIndex_ = descriptor.iManufacturer;
    productIndex_ = descriptor.iProduct;
    serialIndex_ = descriptor.iSerialNumber;
    return std::nullopt;
}

void UsbDevice::close()
{
    strings_.reset();
    if (handle_ != nullptr)
        libusb_close(handle_);
    handle_ = nullptr;
}

DecodedString UsbDevice::readString(std::uint8_t index, const std::string& what)
{
    if (!strings_)
        return {{}, "the device is not open"};
    return strings_->read(index, what);
}

} // namespace vexa
