#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

namespace vexa {

// The crystal the oscillator derives its output from, and the range of true
// crystal frequencies that a plausible measurement can give.
inline constexpr double kNominalCrystalMhz = 114.285;
inline constexpr double kCrystalLowestMhz = 114.2;
inline constexpr double kCrystalHighestMhz = 114.4;

inline constexpr std::string_view kCrystalOutOfRange = " Error in X-tal frequency!";
inline constexpr std::string_view kStartupFrequencyMissing =
    " Error: Click 100.0000 MHz or 56.3200 MHz first!";
inline constexpr std::string_view kCalibratedSuffix = "  Calibrated!";

// The crystal frequency word (MHz x 2^24) for the output frequency the
// operator measured while the oscillator ran at its start-up frequency, or the
// message-area line that says why there is none.
std::variant<std::uint32_t, std::string_view> crystalWord(double measuredMhz,
                                                          std::optional<double> startupMhz);

} // namespace vexa
