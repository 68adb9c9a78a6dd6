#pragma once

#include <optional>
#include <string_view>

namespace vexa::testing {

// How the emulated receiver answers a control transfer, and what libusb then
// reports: Success 4 bytes, Stall LIBUSB_ERROR_PIPE, Timeout
// LIBUSB_ERROR_TIMEOUT once the caller's time-out ends, NoDevice
// LIBUSB_ERROR_NO_DEVICE, IoError LIBUSB_ERROR_IO.
enum class Outcome { Success, Stall, Timeout, NoDevice, IoError };

// The names the harness takes: success, stall, timeout, nodevice, io.
std::optional<Outcome> outcomeNamed(std::string_view name);
std::string_view nameOf(Outcome outcome);

} // namespace vexa::testing
