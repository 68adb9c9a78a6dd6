#pragma once

#include <QColor>

class QWidget;

namespace vexa {

// The desktop's own colours for the roles the window was designed with.
enum class SystemColour {
    ActiveTitleBar = 2,
    InactiveTitleBar = 3,
    ButtonFace = 15,
};

QColor systemColour(SystemColour role, const QWidget& widget);

} // namespace vexa
