// minimal-window: the floor for the program's start-up and memory. An empty
// top-level Qt Widgets window of the main window's size and nothing else.
//
//   minimal-window [--text]
//
// --text adds one line of text, which is what wakes Qt's font machinery
// (fontconfig, FreeType, HarfBuzz): the floor of any window that shows text.

#include "app/form1_controls.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(vexa::pixelsFromTwips(vexa::kForm1ClientWidth),
                  vexa::pixelsFromTwips(vexa::kForm1ClientHeight));
    if (QApplication::arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Vexa SDR Control Program"), &window))->move(16, 16);
    window.show();
    return QApplication::exec();
}
