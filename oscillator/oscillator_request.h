#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "usb/receiver.h"
#include "usb/usb_library.h"

namespace vexa {

// The vendor requests the receiver's firmware takes.
inline constexpr std::uint8_t kRequestSetFrequency = 0x32;
inline constexpr std::uint8_t kRequestSetCrystalFrequency = 0x33;
inline constexpr std::int32_t kVendorRequestOut =
    kRequestHostToDevice | kRequestTypeVendor | kRecipientDevice;
inline constexpr std::int32_t kRequestValue = 0x0755;
inline constexpr std::int32_t kRequestTimeoutMs = 5000;

inline constexpr std::string_view kDeviceNotFound = " Error: Device not found!";

// What one request came to: the transfer's result (empty when no receiver
// could be opened and nothing was sent) and the line that shows it.
struct OscillatorRequestResult {
    std::optional<std::int32_t> transferResult;
    std::string line;
};

// One request to the receiver: initialise the library, open the first
// receiver (its handle kept in devHandle while it is open), send one vendor
// request with the four bytes, close the receiver whatever the transfer
// returned and clear devHandle. The line is "RC=" + the transfer's result +
// resultSuffix, or the device-not-found line when no receiver could be opened.
OscillatorRequestResult runOscillatorRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                             std::uint8_t request,
                                             const std::array<std::uint8_t, 4>& bytes,
                                             std::string_view resultSuffix);

// The same request when only the line for the message area matters.
std::string sendOscillatorRequest(UsbLibrary& usb, std::int32_t& devHandle, std::uint8_t request,
                                  const std::array<std::uint8_t, 4>& bytes,
                                  std::string_view resultSuffix);

// The tuning request of every frequency button: the oscillator word, given
// as its hexadecimal text, goes out as four bytes, and the text comes back
// after "   Hex=" in the line.
OscillatorRequestResult runFrequencyRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                            std::string_view hexText);
std::string sendFrequencyWord(UsbLibrary& usb, std::int32_t& devHandle, std::string_view hexText);

} // namespace vexa
