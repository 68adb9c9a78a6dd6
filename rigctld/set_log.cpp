#include "rigctld/set_log.h"

#include "rigctld/hz_text.h"

#include <array>
#include <charconv>

namespace vexa {

std::string setLogLine(std::string_view time, std::string_view client, const Tuning& tuning,
                       std::string_view result)
{
    constexpr int kMhzDecimals = 6; // whole Hz
    std::array<char, 400> mhz{};
    const auto [end, error] = std::to_chars(mhz.data(), mhz.data() + mhz.size(),
                                            tuning.oscillatorMhz, std::chars_format::fixed,
                                            kMhzDecimals);
    const std::string mhzText = error == std::errc{} ? std::string(mhz.data(), end) : "?";
    return std::string(time) + " " + std::string(client) + " dial " + hzText(tuning.dialHz) +
           " Hz oscillator " + mhzText + " MHz " + std::string(result);
}

std::string transmitLogLine(std::string_view time, std::string_view client, double hz)
{
    return std::string(time) + " " + std::string(client) + " VFOB " + hzText(hz) +
           " Hz kept for the transmitter; nothing sent to the receiver";
}

std::string printable(std::string_view text)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
            continue;
        }
        shown += "\\x";
        shown += kDigits[byte >> 4];
        shown += kDigits[byte & 0xF];
    }
    return shown;
}

} // namespace vexa
