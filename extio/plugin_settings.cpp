#include "extio/plugin_settings.h"

#include "extio/lo_mapping.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vexa {

namespace {

constexpr std::string_view kIdentifier = "Vexa SDR ExtIO 1";

std::string numberText(double value)
{
    std::array<char, 32> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc{} ? std::string(digits.data(), end) : std::string();
}

std::optional<double> finiteNumber(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Appended piece by piece: GCC 12 for 32-bit Windows takes "\"" + text for an
// overlapping copy.
std::string quoted(std::string_view text)
{
    std::string result(1, '"');
    result += text;
    result += '"';
    return result;
}

// Stores a dial setting when it leaves some LO to tune.
std::optional<std::string> readDial(std::string_view text, std::string_view what,
                                    std::string_view wanted, bool (*fits)(double),
                                    void (*store)(DialSettings&, double), PluginSettings& settings)
{
    const auto number = finiteNumber(text);
    if (!number || !fits(*number))
        return std::string(what) + " needs " + std::string(wanted) + ", not " + quoted(text);
    DialSettings dial = settings.dial;
    store(dial, *number);
    if (!loRange(dial))
        return std::string(what) + " " + quoted(text) +
               " leaves no LO the receiver can be tuned to";
    settings.dial = dial;
    return std::nullopt;
}

} // namespace

std::optional<SettingText> settingText(int index, const PluginSettings& settings)
{
    switch (index) {
    case kSettingIdentifier:
        return SettingText{"Plugin and version of these settings", std::string(kIdentifier)};
    case kSettingMultiplier:
        return SettingText{"Multiplier: oscillator = multiplier x (LO + offset)",
                           numberText(settings.dial.multiplier)};
    case kSettingOffset:
        return SettingText{"Offset in Hz, added to the LO first", numberText(settings.dial.offsetHz)};
    case kSettingSerial:
        return SettingText{"Serial number of the receiver to tune (empty: the first one)",
                           settings.serial};
    default:
        return std::nullopt;
    }
}

std::optional<std::string> readSetting(int index, std::string_view text, PluginSettings& settings)
{
    text = trimmed(text);
    switch (index) {
    case kSettingIdentifier:
        if (text != kIdentifier)
            return "the settings are those of " + quoted(text) + ", not of this plugin";
        return std::nullopt;
    case kSettingMultiplier:
        return readDial(
            text, "The multiplier", "a number above 0", [](double m) { return m > 0; },
            [](DialSettings& dial, double m) { dial.multiplier = m; }, settings);
    case kSettingOffset:
        return readDial(
            text, "The offset", "a number of Hz", [](double) { return true; },
            [](DialSettings& dial, double hz) { dial.offsetHz = hz; }, settings);
    case kSettingSerial:
        if (text.size() > kLongestSerial)
            return "A serial number has at most " + std::to_string(kLongestSerial) +
                   " characters; this one has " + std::to_string(text.size());
        settings.serial = std::string(text);
        return std::nullopt;
    default:
        return "there is no setting " + std::to_string(index);
    }
}

} // namespace vexa
