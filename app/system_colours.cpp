#include "app/system_colours.h"

#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vexa {

#ifdef _WIN32
static_assert(static_cast<int>(SystemColour::ActiveTitleBar) == COLOR_ACTIVECAPTION);
static_assert(static_cast<int>(SystemColour::InactiveTitleBar) == COLOR_INACTIVECAPTION);
static_assert(static_cast<int>(SystemColour::ButtonFace) == COLOR_BTNFACE);
#endif

QColor systemColour(SystemColour role, const QWidget& widget)
{
#ifdef _WIN32
    Q_UNUSED(widget);
    const DWORD rgb = GetSysColor(static_cast<int>(role));
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
#else
    // Elsewhere the nearest roles of the desktop's palette.
    const QPalette& palette = widget.palette();
    switch (role) {
    case SystemColour::ActiveTitleBar:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case SystemColour::InactiveTitleBar:
        return palette.color(QPalette::Disabled, QPalette::Highlight);
    case SystemColour::ButtonFace:
        return palette.color(QPalette::Button);
    }
    return palette.color(QPalette::WindowText);
#endif
}

} // namespace vexa
