#include <QApplication>

#include "app/application_icon.h"
#include "app/form1.h"
#include "usb/libusb_library.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexa SDR Control"));
    QApplication::setWindowIcon(vexa::applicationIcon());

    vexa::LibusbLibrary usb;
    vexa::Form1 window(usb);
    window.show();
    return QApplication::exec();
}
