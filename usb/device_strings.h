#pragma once

#include "usb/string_descriptor.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct libusb_device;
struct libusb_device_handle;

namespace vexa {

// The strings of one open device, read in the first language of its language
// table, which is asked for once. A request waits at most kTimeoutMs; once the
// device has let one time out the rest are not sent, so a device that does not
// answer holds up its reader for that long only. The index 0 stands for no
// string at all (it would fetch the language table). Used from one thread
// while the handle is open.
class DeviceStrings {
public:
    // Each request that libusb fails: what was asked for ("language table",
    // "serial number", ...) and libusb's error.
    using FailureListener = std::function<void(const std::string& what, int libusbError)>;

    explicit DeviceStrings(libusb_device_handle* handle, FailureListener onFailure = {});

    // The string with this index, or why it cannot be read.
    DecodedString read(std::uint8_t index, const std::string& what);

    static constexpr unsigned kTimeoutMs = 1000;

private:
    using Descriptor = std::array<std::uint8_t, 255>; // the longest a descriptor can be

    // Bytes received, or libusb's error.
    int fetch(std::uint8_t index, std::uint16_t language, const std::string& what,
              Descriptor& bytes);

    libusb_device_handle* handle_;
    FailureListener onFailure_;
    std::optional<std::uint16_t> language_;
    bool timedOut_ = false;
};

// The serial-number string of an open device, or why it cannot be read.
DecodedString readSerialNumber(libusb_device* device, libusb_device_handle* handle);

} // namespace vexa
