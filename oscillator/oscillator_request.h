#pragma once

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
// The window's transfer time-out.
inline constexpr std::int32_t kRequestTimeoutMs = 5000;

inline constexpr std::string_view kDeviceNotFound = " Error: Device not found!";

// What one request came to: the word it carried, as the hexadecimal text it
// was given, and the transfer's result, empty when no receiver could be
// opened and nothing was sent.
struct OscillatorRequestResult {
    std::string wordText;
    std::optional<std::int32_t> transferResult;
};

// Whether the receiver took the word: the transfer carried all four bytes.
bool receiverTookWord(const OscillatorRequestResult& result);

// One request to the receiver: initialise the library, open the first
// receiver (its handle kept in devHandle while it is open), send one vendor
// request with the word's four bytes, close the receiver whatever the
// transfer returned and clear devHandle. The set-frequency request carries an
// oscillator word given as its hexadecimal text, the crystal request a
// crystal word.
OscillatorRequestResult frequencyRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                         std::string_view hexText, std::int32_t timeoutMs);
OscillatorRequestResult crystalRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                       std::uint32_t word, std::int32_t timeoutMs);

// The message area's line for each: "RC=" and the transfer's result, then
// "   Hex=" and the word's text or "  Calibrated!"; the device-not-found line
// when no receiver could be opened.
std::string frequencyRequestLine(const OscillatorRequestResult& result);
std::string crystalRequestLine(const OscillatorRequestResult& result);

} // namespace vexa
