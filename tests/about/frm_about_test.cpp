#include "about/frm_about.h"
#include "app/application_icon.h"
#include "support/text_fit.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using vexa::frmAbout;

namespace {

constexpr int kStillRunning = 99;

// Ends the application's event loop with kStillRunning once the events queued
// now, and those they queue in turn, have been handled.
void exitWhenSettled(QObject* context, int rounds = 3)
{
    QMetaObject::invokeMethod(
        context,
        [context, rounds] {
            if (rounds == 0)
                QCoreApplication::exit(kStillRunning);
            else
                exitWhenSettled(context, rounds - 1);
        },
        Qt::QueuedConnection);
}

// Runs the application's event loop, does action inside it, and returns the
// loop's exit status: kStillRunning when nothing ended the program.
int exitStatusAround(const std::function<void()>& action)
{
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        action();
        exitWhenSettled(&context);
    });
    return QApplication::exec();
}

} // namespace

class FrmAboutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsTheProgramsTexts();
    void controlsSitAtTheirDesignedPlaces_data();
    void controlsSitAtTheirDesignedPlaces();
    void clientAreaIsFixedAndPlacedOnTheScreen();
    void windowHasACloseBoxOnly();
    void textsHaveTheirColoursAndTitleFont();
    void everyTextFitsItsControl();
    void carriesTheProgramIcon();
    void tabOrderFollowsTheTabIndices();
    void focusStartsOnOkWhichIsTheDefault();
    void okEndsTheProgram_data();
    void okEndsTheProgram();
    void closeBoxClosesOnlyTheDialog();
    void dialogKeepsTheProgramRunningAfterTheMainWindowCloses();
    void unavailableSystemInfoIsToldAndTheDialogStays();

private:
    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }

    void showActive();

    QPointer<frmAbout> dialog;
};

void FrmAboutTest::initTestCase()
{
    QApplication::setWindowIcon(vexa::applicationIcon()); // as the program does
}

void FrmAboutTest::init()
{
    dialog = new frmAbout();
}

void FrmAboutTest::cleanup()
{
    delete dialog;
}

void FrmAboutTest::showActive()
{
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

void FrmAboutTest::showsTheProgramsTexts()
{
    QCOMPARE(dialog->windowTitle(), "About Vexa SDR Control");
    QCOMPARE(control<QLabel>("lblTitle")->text(), "Vexa SDR Control");
    QCOMPARE(control<QLabel>("lblVersion")->text(), "Version 1.2.0");
    QCOMPARE(control<QLabel>("lblDescription")->text(),
             "Application to control the Vexa SDR Receiver");
    QCOMPARE(control<QLabel>("lblDisclaimer")->text(),
             "  Vexa SDR  Software" + QString(35, ' ') + "January 2009");
    QCOMPARE(control<QPushButton>("cmdOK")->text(), "OK");
    QCOMPARE(control<QPushButton>("cmdSysInfo")->text(), "&System Info...");
    QCOMPARE(QKeySequence::mnemonic(control<QPushButton>("cmdSysInfo")->text()),
             QKeySequence(Qt::ALT | Qt::Key_S));
}

void FrmAboutTest::controlsSitAtTheirDesignedPlaces_data()
{
    // Twips of the design divided by 15.
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("picIcon") << QRect(16, 16, 36, 36);
    QTest::newRow("cmdOK") << QRect(283, 175, 84, 23);
    QTest::newRow("cmdSysInfo") << QRect(284, 205, 83, 23);
    QTest::newRow("lblDescription") << QRect(102, 107, 259, 30);
    QTest::newRow("lblTitle") << QRect(100, 8, 261, 47);
    QTest::newRow("lblVersion") << QRect(104, 72, 227, 15);
    QTest::newRow("lblDisclaimer") << QRect(17, 175, 226, 47);
    QTest::newRow("Line1_1") << QRect(6, 163, 370, 1);
    QTest::newRow("Line1_0") << QRect(7, 164, 369, 2);
}

void FrmAboutTest::controlsSitAtTheirDesignedPlaces()
{
    QFETCH(QRect, pixels);
    QWidget* widget = control(QTest::currentDataTag());
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), pixels);
}

void FrmAboutTest::clientAreaIsFixedAndPlacedOnTheScreen()
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->geometry(), QRect(156, 129, 382, 237));
    QCOMPARE(dialog->minimumSize(), QSize(382, 237));
    QCOMPARE(dialog->maximumSize(), QSize(382, 237));
}

void FrmAboutTest::windowHasACloseBoxOnly()
{
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(dialog->windowType(), Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
}

void FrmAboutTest::textsHaveTheirColoursAndTitleFont()
{
    const auto textColour = [this](const char* name) {
        return control(name)->palette().color(QPalette::WindowText);
    };
    QCOMPARE(textColour("lblTitle"), QColor(0, 0, 255));
    QCOMPARE(textColour("lblDisclaimer"), QColor(255, 0, 0));
    QCOMPARE(textColour("lblDescription"), QColor(0, 0, 0));
    QCOMPARE(control("Line1_1")->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(control("Line1_0")->palette().color(QPalette::Window), QColor(255, 255, 255));
    QVERIFY(control("Line1_0")->autoFillBackground());

    const QFontInfo title(control("lblTitle")->font());
    QVERIFY(title.italic());
    if (title.family() == "Arial Black")
        QCOMPARE(title.weight(), int(QFont::Normal));
    else
        QVERIFY(title.weight() >= QFont::Bold);
}

void FrmAboutTest::everyTextFitsItsControl()
{
    QCOMPARE(vexa::testing::textsThatDoNotFit(*dialog), QStringList());
}

void FrmAboutTest::carriesTheProgramIcon()
{
    const QList<QSize> sizes = dialog->windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QPixmap picture = control<QLabel>("picIcon")->pixmap();
    QCOMPARE(picture.size(), QSize(32, 32));
}

void FrmAboutTest::tabOrderFollowsTheTabIndices()
{
    // Of the controls only the buttons take the focus: OK, then System Info.
    showActive();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control("cmdSysInfo"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control("cmdOK"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), control("cmdSysInfo"));
}

void FrmAboutTest::focusStartsOnOkWhichIsTheDefault()
{
    showActive();
    QCOMPARE(QApplication::focusWidget(), control("cmdOK"));
    QVERIFY(control<QPushButton>("cmdOK")->isDefault());
    QVERIFY(!control<QPushButton>("cmdSysInfo")->isDefault());
}

void FrmAboutTest::okEndsTheProgram_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key"); // 0: a mouse click
    QTest::newRow("click on OK") << "cmdOK" << 0;
    QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on OK") << "cmdOK" << int(Qt::Key_Enter);
    QTest::newRow("Enter without a focused button") << "frmAbout" << int(Qt::Key_Return);
    QTest::newRow("Esc on OK") << "cmdOK" << int(Qt::Key_Escape);
    QTest::newRow("Esc on System Info") << "cmdSysInfo" << int(Qt::Key_Escape);
    QTest::newRow("Esc on the title") << "lblTitle" << int(Qt::Key_Escape);
}

void FrmAboutTest::okEndsTheProgram()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QWidget mainWindow;
    mainWindow.show();
    showActive();
    QWidget* widget = target == dialog->objectName() ? dialog.data() : control(qPrintable(target));

    const int status = exitStatusAround([&] {
        if (key == 0)
            QTest::mouseClick(widget, Qt::LeftButton);
        else
            QTest::keyClick(widget, Qt::Key(key));
    });
    QCOMPARE(status, 0);
    QVERIFY(dialog.isNull()); // closed, and so unloaded
}

void FrmAboutTest::closeBoxClosesOnlyTheDialog()
{
    QWidget mainWindow;
    mainWindow.show();
    showActive();
    QCOMPARE(exitStatusAround([&] { dialog->close(); }), kStillRunning);
    QVERIFY(dialog.isNull());
    QVERIFY(mainWindow.isVisible());
}

void FrmAboutTest::dialogKeepsTheProgramRunningAfterTheMainWindowCloses()
{
    QWidget mainWindow;
    mainWindow.show();
    showActive();
    QCOMPARE(exitStatusAround([&] { mainWindow.close(); }), kStillRunning);
    QVERIFY(dialog->isVisible());
    // Closing the last open window then ends the program.
    QCOMPARE(exitStatusAround([&] { dialog->close(); }), 0);
}

void FrmAboutTest::unavailableSystemInfoIsToldAndTheDialogStays()
{
    showActive();
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(control("cmdSysInfo"), Qt::LeftButton);

    QCOMPARE(caption, "Vexa SDR Control");
    QCOMPARE(text, "System Information Is Unavailable At This Time");
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(modal);
    QVERIFY(dialog->isVisible());
}

QTEST_MAIN(FrmAboutTest)
#include "frm_about_test.moc"
