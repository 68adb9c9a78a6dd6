#pragma once

#include <array>
#include <cstdint>

#include "oscillator/presets.h"

namespace vexa::testing {

// Every preset button of the main window: its frequency, the oscillator word
// with its text, and the bytes the receiver gets.
struct PresetRow {
    const char* button;
    const char* caption;
    Preset preset;
    std::int32_t word;
    const char* text;
    std::array<std::uint8_t, 4> bytes;
};

inline constexpr PresetRow kPresetRows[] = {
    {"Command1", "160 m", kBand160m, 7549747, "733333", {0x33, 0x33, 0x73, 0x00}},
    {"Command2", "80 m", kBand80m, 14680064, "E00000", {0x00, 0x00, 0xE0, 0x00}},
    {"Command3", "40m", kBand40m, 29360128, "1C00000", {0x00, 0x00, 0xC0, 0x01}},
    {"Command4", "30 m", kBand30m, 41943040, "2800000", {0x00, 0x00, 0x80, 0x02}},
    {"Command5", "20 m", kBand20m, 58720256, "3800000", {0x00, 0x00, 0x80, 0x03}},
    {"Command6", "15m", kBand15m, 88080384, "5400000", {0x00, 0x00, 0x40, 0x05}},
    {"Command7", "10m", kBand10m, 117440512, "7000000", {0x00, 0x00, 0x00, 0x07}},
    {"Command8", "6 m", kBand6m, 209715200, "C800000", {0x00, 0x00, 0x80, 0x0C}},
    {"Command9", "2 m", kBand2m, 608174080, "24400000", {0x00, 0x00, 0x40, 0x24}},
    {"Command10", "70 cm", kBand70cm, 1803550720, "6B800000", {0x00, 0x00, 0x80, 0x6B}},
    {"Command11", "10 MHz", k10MHz, 20971520, "1400000", {0x00, 0x00, 0x40, 0x01}},
    {"Command12", "100.0000 MHz", kStartup100MHz, 209715200, "C800000", {0x00, 0x00, 0x80, 0x0C}},
    {"Command13", "56.3200 MHz", kStartup56MHz, 118111601, "70A3D71", {0x71, 0x3D, 0x0A, 0x07}},
};

} // namespace vexa::testing
