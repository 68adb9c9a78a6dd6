#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// Fraction bits of the fixed-point words the receiver takes: oscillator
// frequencies carry 21, the crystal frequency 24.
inline constexpr int kOscillatorFractionBits = 21;
inline constexpr int kCrystalFractionBits = 24;

// The frequency in MHz scaled by 2^fractionBits and rounded to the nearest
// integer, a tie going to the even neighbour. Empty when the result is not a
// finite number inside the signed 32-bit range.
std::optional<std::int32_t> frequencyWord(double mhz, int fractionBits);

// Upper-case hexadecimal digits without prefix or leading zeros ("0" for 0).
std::string hexText(std::uint32_t word);

// The four bytes sent for a word, least significant first.
std::array<std::uint8_t, 4> packWord(std::uint32_t word);

// The four bytes for a word given as hexadecimal text. Every length packs the
// value the text shows; a text that is no word of at most eight hexadecimal
// digits packs as four zero bytes.
std::array<std::uint8_t, 4> packHexText(std::string_view hex);

} // namespace vexa
