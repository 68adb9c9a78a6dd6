#pragma once

#include "oscillator/dial.h"

#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// What the operator chooses: how the SDR program's LO becomes the
// oscillator's frequency, and which receiver is tuned (by its serial number;
// empty for the first one). The plugin keeps only settings that leave some
// LO to tune (loRange has a value).
struct PluginSettings {
    DialSettings dial;
    std::string serial;
};

// The settings as the host stores them for the plugin, as texts by index:
// 0 names the plugin and the version of this table (a host may hand a plugin
// the settings of another), 1 the multiplier, 2 the offset in Hz, 3 the
// serial number. Numbers are written and read without regard to the locale.
inline constexpr int kSettingCount = 4;
inline constexpr int kSettingIdentifier = 0;
inline constexpr int kSettingMultiplier = 1;
inline constexpr int kSettingOffset = 2;
inline constexpr int kSettingSerial = 3;
// The longest serial number a USB string descriptor holds.
inline constexpr std::size_t kLongestSerial = 126;

struct SettingText {
    std::string description;
    std::string value;
};
std::optional<SettingText> settingText(int index, const PluginSettings& settings);

// Takes a text for setting index into settings, or returns why it cannot
// (settings then stay as they were): a foreign identifier, a number that is
// not one or out of its range, settings without an LO to tune, a serial
// number too long, an index the table lacks. Blanks around a value are dropped.
std::optional<std::string> readSetting(int index, std::string_view text, PluginSettings& settings);

} // namespace vexa
