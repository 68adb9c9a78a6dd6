#pragma once

class QColor;
class QRect;
class QWidget;

namespace vexa {

struct ControlLayout;

// The control that a row of a window's table describes, named, captioned
// and placed as the row says, in parent.
QWidget* createControl(const ControlLayout& row, QWidget* parent);

// A drawn line: a named area of parent, in pixels, filled with the colour.
QWidget* createLine(const char* name, const QRect& pixels, const QColor& colour, QWidget* parent);

} // namespace vexa
