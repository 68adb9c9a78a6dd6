#pragma once

#include <QIcon>

namespace vexa {

// The program's icon, drawn at 16, 32, 48 and 256 pixels; the windows of the
// program carry it.
QIcon applicationIcon();

} // namespace vexa
