#include "rigctld/hz_text.h"

#include <array>
#include <charconv>

namespace vexa {

std::string hzText(double hz)
{
    // The longest finite double in fixed notation has 309 digits before the point.
    std::array<char, 400> digits{};
    const auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), hz, std::chars_format::fixed);
    return error == std::errc{} ? std::string(digits.data(), end) : std::string("0");
}

} // namespace vexa
