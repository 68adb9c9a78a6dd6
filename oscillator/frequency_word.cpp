#include "oscillator/frequency_word.h"

#include <charconv>
#include <cmath>

namespace vexa {

std::optional<std::int32_t> frequencyWord(double mhz, int fractionBits)
{
    // Scaling by a power of two is exact; nearbyint rounds ties to even in the
    // default rounding mode.
    const double word = std::nearbyint(std::ldexp(mhz, fractionBits));
    if (!std::isfinite(word) || word < -2147483648.0 || word > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(word);
}

std::string hexText(std::uint32_t word)
{
    std::array<char, 8> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), word, 16);
    std::string text(digits.data(), end);
    for (char& c : text)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::array<std::uint8_t, 4> packWord(std::uint32_t word)
{
    return {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
}

std::array<std::uint8_t, 4> packHexText(std::string_view hex)
{
    std::uint32_t word = 0;
    if (hex.empty() || hex.size() > 8)
        return {};
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), word, 16);
    if (ec != std::errc{} || end != hex.data() + hex.size())
        return {};
    return packWord(word);
}

} // namespace vexa
