#pragma once

#include <QIcon>

namespace vexa {

// The program's icon, drawn at 16, 32, 48 and 256 pixels. The program makes
// it the application's icon, which every window of it then carries.
QIcon applicationIcon();

} // namespace vexa
