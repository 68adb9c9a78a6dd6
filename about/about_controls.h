#pragma once

#include <QRect>
#include <QRgb>

#include <array>

#include "ui/control_layout.h"
#include "ui/twips.h"

namespace vexa::about {

// Client area and its place on the screen; the dialog is not centred.
inline constexpr QRect kClientArea = rectFromTwips(2340, 1935, 5730, 3555);

// Colour of a control's text; 0 keeps the dialog's own.
inline constexpr QRgb kDialogColour = 0;

struct AboutControl {
    ControlLayout layout;
    int tabIndex;
    QRgb textColour;
};

inline constexpr const char* kCreditLine = "  Vexa SDR  Software"
                                           "                                   "
                                           "January 2009";

// The controls in creation order. The texts that lblTitle and lblVersion show
// are set when the dialog is loaded.
inline constexpr std::array<AboutControl, 7> kControls{{
    {{ControlKind::Picture, "picIcon", "", 240, 240, 540, 540}, 1, kDialogColour},
    {{ControlKind::Button, "cmdOK", "OK", 4245, 2625, 1260, 345}, 0, kDialogColour},
    {{ControlKind::Button, "cmdSysInfo", "&System Info...", 4260, 3075, 1245, 345}, 2,
     kDialogColour},
    {{ControlKind::Label, "lblDescription", "Application to control the Vexa SDR Receiver", 1530,
      1605, 3885, 450},
     3, qRgb(0, 0, 0)},
    {{ControlKind::Label, "lblTitle", "", 1500, 120, 3915, 705}, 5, qRgb(0, 0, 255)},
    {{ControlKind::Label, "lblVersion", "", 1560, 1080, 3405, 225}, 6, kDialogColour},
    {{ControlKind::Label, "lblDisclaimer", kCreditLine, 255, 2625, 3390, 705}, 4, qRgb(255, 0, 0)},
}};

// Line1: an etched rule, a grey line over a white one, between the texts and
// the buttons.
struct RuleLayout {
    const char* name;
    int x1, x2, y;      // twips
    int thicknessPixels;
    QRgb colour;
};

inline constexpr std::array<RuleLayout, 2> kRules{{
    {"Line1_1", 90, 5654, 2445, 1, qRgb(128, 128, 128)},
    {"Line1_0", 105, 5654, 2460, 2, qRgb(255, 255, 255)},
}};

} // namespace vexa::about
