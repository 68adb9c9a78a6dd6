#pragma once

#include "usb/usb_library.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vexa {

// The serial numbers of the attached devices with these IDs, in the order of
// vb_usb_open's index; empty for one whose serial cannot be read.
using SerialNumbers = std::vector<std::optional<std::string>>;
using SerialReader = std::function<SerialNumbers(std::uint16_t vendorId, std::uint16_t productId)>;

// The USB library as the request sees it when one receiver among several is
// chosen by its serial number: the first receiver (index 0) is the one with
// that serial, looked up afresh at every open, as receivers come and go; none
// opens when no attached receiver has it.
class SerialSelectedUsb final : public UsbLibrary {
public:
    SerialSelectedUsb(UsbLibrary& usb, std::string serial, SerialReader readSerials);

    std::int32_t vb_usb_init() override;
    std::int32_t vb_usb_open(std::int32_t index, std::int32_t vendorId,
                             std::int32_t productId) override;
    std::int32_t vb_usb_control_msg(std::int32_t handle, std::int32_t requestType,
                                    std::int32_t request, std::int32_t value,
                                    std::int32_t index, const std::uint8_t* bytes,
                                    std::int32_t size, std::int32_t timeoutMs) override;
    std::int32_t vb_usb_close(std::int32_t handle) override;

private:
    UsbLibrary& usb_;
    std::string serial_;
    SerialReader readSerials_;
};

} // namespace vexa
