#include "app/form1.h"
#include "app/system_colours.h"

#include "support/fake_usb_library.h"
#include "support/preset_table.h"
#include "support/text_fit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using vexa::Form1;
using vexa::testing::FakeUsbLibrary;

namespace {

QStringList lines(const std::vector<std::string>& texts)
{
    QStringList converted;
    for (const std::string& text : texts)
        converted << QString::fromStdString(text);
    return converted;
}

QStringList callsOf(const FakeUsbLibrary& usb) { return lines(usb.calls); }

// The calls of one request that reached the receiver.
QStringList sent(const QString& request, const QString& bytes)
{
    return lines(vexa::testing::requestCalls(request.toStdString(), bytes.toStdString()));
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    FakeUsbLibrary usb;
    std::unique_ptr<Form1> form;

    QPushButton* button(const QString& name) { return form->findChild<QPushButton*>(name); }
    QLineEdit* field(const QString& name) { return form->findChild<QLineEdit*>(name); }
    QString message() { return field("TextBox")->text(); }

    // Clicks a button and returns the USB calls the click made.
    QStringList click(const QString& name)
    {
        usb.calls.clear();
        QTest::mouseClick(button(name), Qt::LeftButton);
        return callsOf(usb);
    }

    QStringList typeAndClick(const QString& text, const QString& name)
    {
        field("Manual")->setText(text);
        return click(name);
    }

private slots:
    void initTestCase()
    {
        // A desktop whose colours differ in every role that the window takes
        // its system colours from, so that no two of them pass for each other.
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
        palette.setColor(QPalette::Active, QPalette::Highlight, QColor(0x00, 0x00, 0x80));
        palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x80, 0x80, 0x80));
        QApplication::setPalette(palette);
    }

    void init()
    {
        usb = FakeUsbLibrary{};
        form = std::make_unique<Form1>(usb);
    }

    void loadReadiesTheLibraryWithoutOpeningADevice()
    {
        QCOMPARE(callsOf(usb), QStringList{"init"});
        QCOMPARE(message(), QString());
        QCOMPARE(field("Manual")->text(), "5.000000");
        QCOMPARE(form->devHandle(), 0);
        QCOMPARE(form->startupFrequency(), std::nullopt);
        QCOMPARE(form->windowTitle(), "Vexa SDR Control Program");
    }

    void loadLeavesTheDesktopsFontsAlone()
    {
        // The desktop gives message boxes and tooltips fonts of their own.
        const QFont boxFont(QStringLiteral("Liberation Serif"), 13);
        QApplication::setFont(boxFont, "QMessageBox");
        const QFont applicationFont = QApplication::font();
        Form1 another(usb);
        QCOMPARE(QApplication::font("QMessageBox"), boxFont);
        QCOMPARE(QApplication::font(), applicationFont);
        QCOMPARE(another.findChild<QWidget*>("Command1")->font().pointSize(), 8);
    }

    void controlsSitWhereTheyWereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry"); // pixels: twips / 15
        QTest::newRow("160 m") << "Command1" << "160 m" << QRect(16, 16, 57, 33);
        QTest::newRow("80 m") << "Command2" << "80 m" << QRect(96, 16, 57, 33);
        QTest::newRow("40m") << "Command3" << "40m" << QRect(176, 16, 57, 33);
        QTest::newRow("30 m") << "Command4" << "30 m" << QRect(256, 16, 57, 33);
        QTest::newRow("20 m") << "Command5" << "20 m" << QRect(336, 16, 57, 33);
        QTest::newRow("15m") << "Command6" << "15m" << QRect(416, 16, 57, 33);
        QTest::newRow("10m") << "Command7" << "10m" << QRect(496, 16, 57, 33);
        QTest::newRow("6 m") << "Command8" << "6 m" << QRect(16, 72, 57, 33);
        QTest::newRow("2 m") << "Command9" << "2 m" << QRect(96, 72, 57, 33);
        QTest::newRow("70 cm") << "Command10" << "70 cm" << QRect(176, 72, 57, 33);
        QTest::newRow("10 MHz") << "Command11" << "10 MHz" << QRect(336, 72, 57, 33);
        QTest::newRow("Exit") << "Command14" << "Exit" << QRect(160, 184, 281, 33);
        QTest::newRow("100.0000 MHz") << "Command12" << "100.0000 MHz" << QRect(424, 72, 57, 33);
        QTest::newRow("56.3200 MHz") << "Command13" << "56.3200 MHz" << QRect(496, 72, 57, 33);
        QTest::newRow("Label1") << "Label1" << "Manual input" << QRect(144, 136, 65, 17);
        QTest::newRow("Manual") << "Manual" << "5.000000" << QRect(216, 134, 65, 19);
        QTest::newRow("Label2") << "Label2" << "MHz" << QRect(288, 136, 33, 17);
        QTest::newRow("Calibrate") << "Command15" << "Calibrate" << QRect(456, 128, 57, 33);
        QTest::newRow("Set by value") << "Command16" << "Set by value" << QRect(336, 128, 57, 33);
        QTest::newRow("Line1") << "Line1" << QString() << QRect(416, 64, 145, 1);
        QTest::newRow("Line2") << "Line2" << QString() << QRect(416, 64, 1, 105);
        QTest::newRow("Line3") << "Line3" << QString() << QRect(416, 168, 145, 1);
        QTest::newRow("Line4") << "Line4" << QString() << QRect(560, 64, 1, 105);
    }

    void controlsSitWhereTheyWereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        auto* control = form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        if (auto* b = qobject_cast<QPushButton*>(control))
            QCOMPARE(b->text(), text);
        else if (auto* l = qobject_cast<QLabel*>(control))
            QCOMPARE(l->text(), text);
        else if (auto* e = qobject_cast<QLineEdit*>(control))
            QCOMPARE(e->text(), text);
    }

    void controlsAreDrawnInTheFontTheLayoutWasDrawnFor()
    {
        // The font the desktop resolves, not the one asked for: a family that
        // resolves to another font passes a check of the request.
        for (const auto* control : form->findChildren<QWidget*>()) {
            const QFontInfo drawn(control->font());
            QCOMPARE(drawn.family(), "Liberation Sans");
            QCOMPARE(drawn.pointSize(), 8);
        }
    }

    void everyCaptionFitsItsControl()
    {
        QCOMPARE(vexa::testing::textsThatDoNotFit(*form), QStringList());
    }

    void tabOrderFollowsTheDesignAndPassesTheMessageArea()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(QApplication::focusWidget(), button("Command1"));
        const QStringList expected = {"Command1",  "Command2",  "Command3",  "Command4",
                                      "Command5",  "Command6",  "Command7",  "Command8",
                                      "Command9",  "Command10", "Command11", "Command14",
                                      "Command12", "Command13", "Manual",    "Command15",
                                      "Command16", "Command1"};
        QStringList visited = {QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void messageAreaAndFieldAreForReadersToo()
    {
        QCOMPARE(form->findChild<QLabel*>("Label1")->buddy(), field("Manual"));
        QVERIFY(!field("TextBox")->accessibleName().isEmpty());
        QVERIFY(!field("TextBox")->isReadOnly());
        QCOMPARE(button("Command15")->toolTip(),
                 "Gebruik deze toets alleen na aanklikken opstartfrekwentie (100.00 of 56.32 MHz) "
                 "en manual input van gemeten outputfrekwentie!!");
    }

    void messageAreaAndLinesHaveTheirSystemColours_data()
    {
        using vexa::SystemColour;
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::addColumn<SystemColour>("colour");
        QTest::newRow("message area") << "TextBox" << QPalette::Base << SystemColour::ButtonFace;
        QTest::newRow("message text") << "TextBox" << QPalette::Text
                                      << SystemColour::ActiveTitleBar;
        for (const char* line : {"Line1", "Line2", "Line3", "Line4"})
            QTest::newRow(line) << line << QPalette::Window << SystemColour::InactiveTitleBar;
    }

    void messageAreaAndLinesHaveTheirSystemColours()
    {
        using vexa::SystemColour;
        QFETCH(QString, name);
        QFETCH(QPalette::ColorRole, role);
        QFETCH(SystemColour, colour);
        const auto system = [this](SystemColour c) { return vexa::systemColour(c, *form); };
        const QSet<QRgb> distinct = {system(SystemColour::ButtonFace).rgb(),
                                     system(SystemColour::ActiveTitleBar).rgb(),
                                     system(SystemColour::InactiveTitleBar).rgb()};
        QCOMPARE(distinct.size(), 3); // or a swap of two would pass unseen
        QCOMPARE(form->findChild<QWidget*>(name)->palette().color(role), system(colour));
    }

    void presetsSendTheirWords_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("line");
        for (const vexa::testing::PresetRow& row : vexa::testing::kPresetRows) {
            const QByteArray bytes(reinterpret_cast<const char*>(row.bytes.data()), 4);
            QTest::newRow(row.caption) << row.button << QString(bytes.toHex(' ').toUpper())
                                       << QString("RC=4   Hex=") + row.text;
        }
    }

    void presetsSendTheirWords()
    {
        QFETCH(QString, name);
        QFETCH(QString, bytes);
        QFETCH(QString, line);
        QCOMPARE(click(name), sent("32", bytes));
        QCOMPARE(message(), line);
        QCOMPARE(form->devHandle(), 0);
    }

    void onlyTheStartupButtonsRememberTheirFrequency()
    {
        click("Command8"); // 6 m: the same word as 100.0000 MHz
        QCOMPARE(form->startupFrequency(), std::nullopt);
        typeAndClick("100", "Command16");
        QCOMPARE(form->startupFrequency(), std::nullopt);
        click("Command12");
        QCOMPARE(form->startupFrequency(), 100.0);

        usb.openResult = 0; // remembered even when no receiver answers
        click("Command13");
        QCOMPARE(message(), " Error: Device not found!");
        QCOMPARE(form->startupFrequency(), 56.32);
        click("Command5");
        QCOMPARE(form->startupFrequency(), 56.32);
    }

    void setByValueSendsTheTypedFrequency_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("bytes"); // empty: nothing is sent
        QTest::addColumn<QString>("line");
        QTest::newRow("initial text") << "5.000000" << "00 00 A0 00" << "RC=4   Hex=A00000";
        QTest::newRow("empty") << "" << "00 00 00 00" << "RC=4   Hex=0";
        QTest::newRow("not a number") << "abc" << "00 00 00 00" << "RC=4   Hex=0";
        QTest::newRow("14.2") << "14.2" << "66 66 C6 01" << "RC=4   Hex=1C66666";
        QTest::newRow("with unit") << "14.2 MHz" << "66 66 C6 01" << "RC=4   Hex=1C66666";
        QTest::newRow("tie to even") << "5.0000002384185791015625" << "00 00 A0 00"
                                     << "RC=4   Hex=A00000";
        QTest::newRow("short word") << "0.25" << "00 00 08 00" << "RC=4   Hex=80000";
        QTest::newRow("highest") << "1023.9999995" << "FF FF FF 7F" << "RC=4   Hex=7FFFFFFF";
        QTest::newRow("minus zero") << "-0" << "00 00 00 00" << "RC=4   Hex=0";
        QTest::newRow("negative") << "-5" << "" << " Error: Frequency out of range!";
        QTest::newRow("1024") << "1024" << "" << " Error: Frequency out of range!";
        QTest::newRow("1e400") << "1e400" << "" << " Error: Frequency out of range!";
        QTest::newRow("&HFFFF") << "&HFFFF" << "" << " Error: Frequency out of range!";
        QTest::newRow("&H20") << "&H20" << "00 00 00 04" << "RC=4   Hex=4000000";
    }

    void setByValueSendsTheTypedFrequency()
    {
        QFETCH(QString, typed);
        QFETCH(QString, bytes);
        QFETCH(QString, line);
        field("TextBox")->setText("typed by the operator");
        const QStringList calls = typeAndClick(typed, "Command16");
        if (bytes.isEmpty())
            QCOMPARE(calls, QStringList());
        else
            QCOMPARE(calls, sent("32", bytes));
        QCOMPARE(message(), line);
        QCOMPARE(field("TextBox")->cursorPosition(), 0); // shown from its first character
    }

    void failedTransferIsShownAndTheDeviceClosed()
    {
        usb.transferResult = -5;
        QCOMPARE(click("Command5").last(), "close 7");
        QCOMPARE(message(), "RC=-5   Hex=3800000");
        QCOMPARE(form->devHandle(), 0);
    }

    void calibrationStoresTheCrystalFrequency_data()
    {
        QTest::addColumn<QString>("startup"); // start-up button clicked first, if any
        QTest::addColumn<QString>("measured");
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("100 MHz") << "Command12" << "100" << "C3 F5 48 72" << "RC=4  Calibrated!";
        QTest::newRow("56.32 MHz") << "Command13" << "56.32" << "C3 F5 48 72"
                                   << "RC=4  Calibrated!";
        QTest::newRow("100.1 MHz") << "Command12" << "100.1" << "8B 37 66 72"
                                   << "RC=4  Calibrated!";
        QTest::newRow("too low") << "Command12" << "99.9" << "" << " Error in X-tal frequency!";
        QTest::newRow("other button") << "Command13" << "100" << ""
                                      << " Error in X-tal frequency!";
        QTest::newRow("empty") << "Command12" << "" << "" << " Error in X-tal frequency!";
        QTest::newRow("no start-up") << "" << "100" << ""
                                     << " Error: Click 100.0000 MHz or 56.3200 MHz first!";
    }

    void calibrationStoresTheCrystalFrequency()
    {
        QFETCH(QString, startup);
        QFETCH(QString, measured);
        QFETCH(QString, bytes);
        QFETCH(QString, line);
        if (!startup.isEmpty())
            click(startup);
        const QStringList calls = typeAndClick(measured, "Command15");
        if (bytes.isEmpty())
            QCOMPARE(calls, QStringList());
        else
            QCOMPARE(calls, sent("33", bytes));
        QCOMPARE(message(), line);
        QCOMPARE(form->devHandle(), 0);
    }

    void exitShowsOneAboutDialogBesideAWorkingWindow()
    {
        QCOMPARE(click("Command14"), QStringList()); // no device is open to close
        auto dialogs = [] {
            QWidgetList shown;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmAbout" && w->isVisible())
                    shown << w;
            return shown;
        };
        auto version = [](QWidget* dialog) {
            return dialog->findChild<QWidget*>("lblVersion")->property("text").toString();
        };
        QCOMPARE(dialogs().size(), 1);
        QWidget* dialog = dialogs().first();
        QCOMPARE(dialog->parentWidget(), nullptr);
        QVERIFY(!dialog->isModal());

        dialog->findChild<QWidget*>("lblVersion")->setProperty("text", "changed");
        click("Command5");
        QCOMPARE(message(), "RC=4   Hex=3800000"); // the main window still works
        QCOMPARE(click("Command14"), QStringList());
        QCOMPARE(dialogs(), QList<QWidget*>{dialog}); // the same one, not loaded again
        QCOMPARE(version(dialog), "changed");

        // The close box unloads it; the next "Exit" loads a fresh one.
        QVERIFY(dialog->close());
        QTRY_VERIFY_WITH_TIMEOUT(dialogs().isEmpty(), 200);
        click("Command14");
        QCOMPARE(dialogs().size(), 1);
        QCOMPARE(version(dialogs().first()), "Version 1.2.0");
        dialogs().first()->close();
    }

    void layoutRuleHoldsInTheWindow()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QSize frame = form->frameGeometry().size() - form->size();
        auto* textBox = field("TextBox");
        const QList<QRect> others = [&] {
            QList<QRect> rects;
            for (auto* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (w != textBox)
                    rects << w->geometry();
            return rects;
        }();

        // The first showing already runs the rule: outer width less twice the left.
        QTRY_COMPARE_WITH_TIMEOUT(textBox->width(), form->frameGeometry().width() - 2 * 240, 500);

        form->resize(800 - frame.width(), 300);
        QTRY_COMPARE_WITH_TIMEOUT(textBox->width(), 800 - 480, 500);
        QCOMPARE(textBox->x(), 240);
        QList<QRect> after;
        for (auto* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != textBox)
                after << w->geometry();
        QCOMPARE(after, others);

        // Too low: lifted to 2500 twips (167 pixels) of outer height.
        form->resize(600, 50);
        QTRY_COMPARE_WITH_TIMEOUT(form->frameGeometry().height(), 167, 500);
        // Narrower than the message area's left: 3700 twips, and no width left for it.
        form->resize(100, 300);
        QTRY_COMPARE_WITH_TIMEOUT(form->frameGeometry().width(), 247, 500);
        QCOMPARE(textBox->width(), 0);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
