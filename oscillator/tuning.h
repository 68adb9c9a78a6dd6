#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexa {

inline constexpr std::string_view kFrequencyOutOfRange = " Error: Frequency out of range!";

// The hexadecimal text of the oscillator word for a frequency in MHz, as the
// buttons hand it to the request. Empty for a frequency the receiver cannot be
// tuned to: negative, 1024 MHz or more, or not a finite number.
std::optional<std::string> oscillatorWordText(double mhz);

} // namespace vexa
