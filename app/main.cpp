#include <QApplication>

#include "app/application_icon.h"
#include "app/form1.h"
#include "usb/libusb_library.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexa SDR Control"));

    vexa::LibusbLibrary usb(vexa::standardErrorSink("vexa-sdr-control"));
    vexa::Form1 window(usb);
    // The window manager is handed every drawing of a window's icon when the
    // window is made. A title bar and a task list show no more than 48 pixels,
    // and the 256-pixel drawing would delay the first paint by some 4 ms: the
    // main window has the smaller ones, and the windows made later all four.
    window.setWindowIcon(vexa::applicationIcon(48));
    window.show();
    QApplication::setWindowIcon(vexa::applicationIcon());
    return QApplication::exec();
}
