#include "rigctld/modes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <charconv>

namespace vexa {

namespace {

struct Mode {
    std::string_view name;
    std::uint32_t bit;
};

// The bits as hamlib's network client reads them from "\dump_state".
constexpr std::array kModes{
    Mode{"AM", 1u << 0},      Mode{"CW", 1u << 1},      Mode{"USB", 1u << 2},
    Mode{"LSB", 1u << 3},     Mode{"RTTY", 1u << 4},    Mode{"FM", 1u << 5},
    Mode{"WFM", 1u << 6},     Mode{"CWR", 1u << 7},     Mode{"RTTYR", 1u << 8},
    Mode{"PKTLSB", 1u << 10}, Mode{"PKTUSB", 1u << 11}, Mode{"PKTFM", 1u << 12},
};

} // namespace

bool isKnownMode(std::string_view name)
{
    return std::any_of(kModes.begin(), kModes.end(),
                       [name](const Mode& mode) { return mode.name == name; });
}

std::string modeMaskText()
{
    std::uint32_t mask = 0;
    for (const Mode& mode : kModes)
        mask |= mode.bit;
    std::array<char, 8> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), mask, 16).ptr;
    return "0x" + std::string(digits.data(), end);
}

} // namespace vexa
