// Shows the About dialog on its own, as "Exit" shows it.
#include <QApplication>

#include "about/frm_about.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    (new vexa::frmAbout())->show();
    return QApplication::exec();
}
