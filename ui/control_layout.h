#pragma once

namespace vexa {

// The kinds of control that the windows are drawn with.
enum class ControlKind {
    Button,         // a push button
    WrappingButton, // a push button whose caption wraps onto further lines
    TextBox,        // a one-line text field
    Label,          // a text
    Picture,        // an image, set by its window
};

// One control of a window: its kind, object name, caption or text (UTF-8),
// and place in twips from the client area's top-left corner.
struct ControlLayout {
    ControlKind kind;
    const char* name;
    const char* text;
    int left, top, width, height;
};

} // namespace vexa
