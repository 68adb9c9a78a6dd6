#pragma once

#include <array>

#include "oscillator/presets.h"
#include "ui/control_layout.h"

namespace vexa {

// The main window's controls, in tab order.
inline constexpr std::array<ControlLayout, 20> kForm1Controls{{
    {ControlKind::WrappingButton, "Command1", "160 m", 240, 240, 855, 495},
    {ControlKind::WrappingButton, "Command2", "80 m", 1440, 240, 855, 495},
    {ControlKind::WrappingButton, "Command3", "40m", 2640, 240, 855, 495},
    {ControlKind::WrappingButton, "Command4", "30 m", 3840, 240, 855, 495},
    {ControlKind::WrappingButton, "Command5", "20 m", 5040, 240, 855, 495},
    {ControlKind::WrappingButton, "Command6", "15m", 6240, 240, 855, 495},
    {ControlKind::WrappingButton, "Command7", "10m", 7440, 240, 855, 495},
    {ControlKind::WrappingButton, "Command8", "6 m", 240, 1080, 855, 495},
    {ControlKind::WrappingButton, "Command9", "2 m", 1440, 1080, 855, 495},
    {ControlKind::WrappingButton, "Command10", "70 cm", 2640, 1080, 855, 495},
    {ControlKind::WrappingButton, "Command11", "10 MHz", 5040, 1080, 855, 495},
    {ControlKind::WrappingButton, "Command14", "Exit", 2400, 2760, 4215, 495},
    {ControlKind::WrappingButton, "Command12", "100.0000 MHz", 6360, 1080, 855, 495},
    {ControlKind::WrappingButton, "Command13", "56.3200 MHz", 7440, 1080, 855, 495},
    {ControlKind::TextBox, "TextBox", "", 3600, 3360, 1935, 285},
    {ControlKind::Label, "Label1", "Manual input", 2160, 2040, 975, 255},
    {ControlKind::TextBox, "Manual", "5.000000", 3240, 2010, 975, 285},
    {ControlKind::Label, "Label2", "MHz", 4320, 2040, 495, 255},
    {ControlKind::WrappingButton, "Command15", "Calibrate", 6840, 1920, 855, 495},
    {ControlKind::WrappingButton, "Command16", "Set by value", 5040, 1920, 855, 495},
}};

// The frame drawn around the three buttons that calibration works with.
struct LineLayout {
    const char* name;
    int x1, y1, x2, y2;
};

inline constexpr std::array<LineLayout, 4> kForm1Lines{{
    {"Line1", 6240, 960, 8400, 960},
    {"Line2", 6240, 960, 6240, 2520},
    {"Line3", 6240, 2520, 8400, 2520},
    {"Line4", 8400, 960, 8400, 2520},
}};

// The buttons that tune to a fixed frequency, and the frequency of each.
struct PresetButton {
    const char* name;
    Preset preset;
};

inline constexpr std::array<PresetButton, 13> kPresetButtons{{
    {"Command1", kBand160m},
    {"Command2", kBand80m},
    {"Command3", kBand40m},
    {"Command4", kBand30m},
    {"Command5", kBand20m},
    {"Command6", kBand15m},
    {"Command7", kBand10m},
    {"Command8", kBand6m},
    {"Command9", kBand2m},
    {"Command10", kBand70cm},
    {"Command11", k10MHz},
    {"Command12", kStartup100MHz},
    {"Command13", kStartup56MHz},
}};

inline constexpr int kForm1ClientWidth = 8850;
inline constexpr int kForm1ClientHeight = 3735;

inline constexpr const char* kCalibrateToolTip =
    "Gebruik deze toets alleen na aanklikken opstartfrekwentie (100.00 of 56.32 MHz) en manual "
    "input van gemeten outputfrekwentie!!";

} // namespace vexa
