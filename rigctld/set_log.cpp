#include "rigctld/set_log.h"

#include "rigctld/hz_text.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <ctime>

namespace vexa {

std::string logTime(std::chrono::system_clock::time_point when)
{
    using namespace std::chrono;
    const auto wholeSeconds = floor<seconds>(when);
    const std::time_t time = system_clock::to_time_t(wholeSeconds);
    std::tm local{};
#ifdef _WIN32
    const bool converted = localtime_s(&local, &time) == 0;
#else
    const bool converted = localtime_r(&time, &local) != nullptr;
#endif
    if (!converted)
        return "?";
    std::array<char, 64> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &local);
    std::snprintf(text.data() + length, text.size() - length, ".%03d",
                  static_cast<int>(duration_cast<milliseconds>(when - wholeSeconds).count()));
    return text.data();
}

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
