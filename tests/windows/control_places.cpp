// Prints where the controls of the program's two windows sit, as their tables
// say, for the tests that find them from outside: one control a line,
//   WINDOW NAME LEFT TOP WIDTH HEIGHT
// WINDOW being "main" or "about", the place in pixels from the top-left corner
// of the window's client area.

#include <cstdio>

#include "about/about_controls.h"
#include "app/form1_controls.h"
#include "ui/twips.h"

namespace {

void print(const char* window, const vexa::ControlLayout& row)
{
    const QRect place = vexa::rectFromTwips(row.left, row.top, row.width, row.height);
    std::printf("%s %s %d %d %d %d\n", window, row.name, place.x(), place.y(), place.width(),
                place.height());
}

} // namespace

int main()
{
    for (const vexa::ControlLayout& row : vexa::kForm1Controls)
        print("main", row);
    for (const vexa::about::AboutControl& entry : vexa::about::kControls)
        print("about", entry.layout);
    return 0;
}
