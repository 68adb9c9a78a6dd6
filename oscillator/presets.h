#pragma once

#include <array>
#include <string_view>

namespace vexa {

// A button that tunes the oscillator to one fixed frequency.
struct Preset {
    std::string_view button; // object name of the window's button
    double mhz;
    bool isStartupFrequency; // also remembered as the start-up frequency
};

// Ten wavelength bands, 10 MHz, and the oscillator's two start-up frequencies.
inline constexpr std::array<Preset, 13> kPresets{{
    {"Command1", 3.6, false},    // 160 m
    {"Command2", 7, false},      // 80 m
    {"Command3", 14, false},     // 40 m
    {"Command4", 20, false},     // 30 m
    {"Command5", 28, false},     // 20 m
    {"Command6", 42, false},     // 15 m
    {"Command7", 56, false},     // 10 m
    {"Command8", 100, false},    // 6 m
    {"Command9", 290, false},    // 2 m
    {"Command10", 860, false},   // 70 cm
    {"Command11", 10, false},    // 10 MHz
    {"Command12", 100, true},    // start-up frequency 100 MHz
    {"Command13", 56.32, true},  // start-up frequency 56.32 MHz
}};

} // namespace vexa
