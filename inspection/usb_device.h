#pragma once

#include "inspection/string_descriptor.h"

#include <array>
#include <cstddef>
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
// descriptor points to. Every
// failure of libusb reaches the listener as it happens; the call then returns
// false or an unreadable string, which also stands for a malformed one.
// String requests wait at most a second each, and once the device has let one
// time out the rest are not sent, so a device that does not answer holds up
// its caller for a second only. Closed when destroyed; used from one thread.
class UsbDevice {
public:
    using FailureListener = std::function<void(const DeviceFailure&)>;

    explicit UsbDevice(FailureListener onFailure);
    ~UsbDevice();
    UsbDevice(const UsbDevice&) = delete;
    UsbDevice& operator=(const UsbDevice&) = delete;

    bool open(libusb_device* device);
    void close();

    DecodedString manufacturer() { return readString(manufacturerIndex_, "manufacturer"); }
    DecodedString product() { return readString(productIndex_, "product"); }
    DecodedString serialNumber() { return readString(serialIndex_, "serial number"); }

    // How long one string request may take.
    static constexpr unsigned kStringTimeoutMs = 1000;

private:
    using Descriptor = std::array<std::uint8_t, 255>; // the longest a descriptor can be

    DecodedString readString(std::uint8_t index, const std::string& what);
    // Bytes received, or libusb's error.
    int fetch(std::uint8_t index, std::uint16_t language, const std::string& what,
              Descriptor& bytes);
    void fail(const std::string& step, int libusbError);

    FailureListener onFailure_;
    libusb_device_handle* handle_ = nullptr;
    std::uint8_t manufacturerIndex_ = 0;
    std::uint8_t productIndex_ = 0;
    std::uint8_t serialIndex_ = 0;
    std::optional<std::uint16_t> language_;
    bool timedOut_ = false;
};

} // namespace vexa
