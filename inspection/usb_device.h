#pragma once

#include "usb/device_strings.h"
#include "usb/string_descriptor.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct libusb_device;
struct libusb_device_handle;

namespace vexa {

// One step on a device that failed: which, and libusb's error with its name
// and meaning, e.g. "open", -3, "LIBUSB_ERROR_ACCESS", "Access denied
// (insufficient permissions)".
struct DeviceFailure {
    std::string step;
    int error = 0;
    std::string name;
    std::string meaning;
};

DeviceFailure failureOf(std::string step, int libusbError);

// One USB device, opened from a list; it reads the identity strings its device
// descriptor points to. A failure to open comes back from open(); every failed
// string request reaches the listener as it happens, and the string then
// comes back unreadable, which also stands for a malformed one (see
// DeviceStrings for how long a device that does not answer holds it up).
// Closed when destroyed; used from one thread.
class UsbDevice {
public:
    using FailureListener = std::function<void(const DeviceFailure&)>;

    explicit UsbDevice(FailureListener onStringFailure);
    ~UsbDevice();
    UsbDevice(const UsbDevice&) = delete;
    UsbDevice& operator=(const UsbDevice&) = delete;

    // Nothing when the device opened, else the step that failed.
    std::optional<DeviceFailure> open(libusb_device* device);

    DecodedString manufacturer() { return readString(manufacturerIndex_, "manufacturer"); }
    DecodedString product() { return readString(productIndex_, "product"); }
    DecodedString serialNumber() { return readString(serialIndex_, "serial number"); }

private:
    DecodedString readString(std::uint8_t index, const std::string& what);
    void close();

    FailureListener onFailure_;
    libusb_device_handle* handle_ = nullptr;
    std::optional<DeviceStrings> strings_;
    std::uint8_t manufacturerIndex_ = 0;
    std::uint8_t productIndex_ = 0;
    std::uint8_t serialIndex_ = 0;
};

} // namespace vexa
