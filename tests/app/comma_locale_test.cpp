#include "app/form1.h"

#include "support/fake_usb_library.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <clocale>

using vexa::Form1;
using vexa::testing::FakeUsbLibrary;

// The main window on a desktop whose decimal point is a comma, as the program
// meets it once QApplication has taken the desktop's locale: a typed frequency
// still reads "." as its decimal point, and a comma ends the number.
class CommaLocaleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Without a comma here the test would pass whatever the program reads.
        QCOMPARE(std::localeconv()->decimal_point, ",");
    }

    void setByValueReadsThePoint_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("14.2") << "14.2" << "66 66 C6 01";
        QTest::newRow("14,2") << "14,2" << "00 00 C0 01"; // 14
        QTest::newRow("1.42E1") << "1.42E1" << "66 66 C6 01";
    }

    void setByValueReadsThePoint()
    {
        QFETCH(QString, typed);
        QFETCH(QString, bytes);
        FakeUsbLibrary usb;
        Form1 form(usb);
        form.findChild<QLineEdit*>("Manual")->setText(typed);
        usb.calls.clear();
        QTest::mouseClick(form.findChild<QPushButton*>("Command16"), Qt::LeftButton);
        QVERIFY2(usb.calls == vexa::testing::requestCalls("32", bytes.toStdString()),
                 usb.calls.size() > 2 ? usb.calls[2].c_str() : "nothing sent");
    }
};

QTEST_MAIN(CommaLocaleTest)
#include "comma_locale_test.moc"
