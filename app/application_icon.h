#pragma once

#include <QIcon>

namespace vexa {

// The program's icon, drawn at 16, 32, 48 and 256 pixels, or at the sizes up
// to largestSize. Each drawing is read when it is first asked for.
QIcon applicationIcon(int largestSize = 256);

} // namespace vexa
