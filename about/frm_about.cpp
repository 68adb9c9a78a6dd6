#include "about/frm_about.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "about/about_controls.h"
#include "about/program_info.h"
#include "about/taskbar.h"
#include "about/title_font.h"
#include "ui/control_builder.h"
#include "ui/twips.h"

namespace vexa {
namespace {

// A fixed dialog border with a close box only: no minimise, maximise or help
// buttons. A dialog window without an owner keeps the program running after
// the main window has been closed, which a tool window would not. X11 window
// managers leave dialog windows out of the taskbar; Windows needs keepOffTaskbar.
constexpr Qt::WindowFlags kWindowFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                         Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint;

// The dialog's own font; the labels and buttons are small for larger ones.
constexpr int kDialogPointSize = 8;

constexpr int kIconPixels = 32;

void setTextColour(QWidget* widget, QRgb colour)
{
    if (colour == about::kDialogColour)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    widget->setPalette(palette);
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, kWindowFlags),
      registry_(systemRegistry()),
      messages_(this),
      sysInfo_(*registry_, files_, launcher_, messages_)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont dialogFont = font();
    dialogFont.setPointSize(kDialogPointSize);
    setFont(dialogFont);

    createControls();
    createRules();
    setTabOrderFromTable();
    setGeometry(about::kClientArea);
    setFixedSize(about::kClientArea.size());

    cmdOK = findChild<QPushButton*>(QStringLiteral("cmdOK"));
    cmdSysInfo = findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    lblTitle = findChild<QLabel*>(QStringLiteral("lblTitle"));
    lblVersion = findChild<QLabel*>(QStringLiteral("lblVersion"));
    lblTitle->setFont(titleFont());

    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::endProgram);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    load();
}

void frmAbout::StartSysInfo()
{
    sysInfo_.StartSysInfo();
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // Esc is OK's key here, not a way to back out of the dialog.
    if (event->matches(QKeySequence::Cancel)) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

#ifdef Q_OS_WIN
bool frmAbout::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    // No taskbar button of its own, although it has no owner among the program's windows.
    keepOffTaskbar(eventType, message);
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

void frmAbout::createControls()
{
    for (const about::AboutControl& entry : about::kControls) {
        QWidget* control = createControl(entry.layout, this);
        if (auto* label = qobject_cast<QLabel*>(control)) { // the texts and the picture
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(entry.layout.kind == ControlKind::Label);
        }
        setTextColour(control, entry.textColour);
    }
    // The program's icon, which the dialog carries as every window of the program does.
    findChild<QLabel*>(QStringLiteral("picIcon"))
        ->setPixmap(windowIcon().pixmap(kIconPixels, kIconPixels));
}

void frmAbout::createRules()
{
    for (const about::RuleLayout& rule : about::kRules) {
        const int left = pixelsFromTwips(rule.x1);
        createLine(rule.name,
                   QRect(left, pixelsFromTwips(rule.y), pixelsFromTwips(rule.x2) - left,
                         rule.thicknessPixels),
                   QColor(rule.colour), this);
    }
}

void frmAbout::setTabOrderFromTable()
{
    auto order = about::kControls;
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.tabIndex < b.tabIndex; });
    QWidget* previous = nullptr;
    for (const about::AboutControl& entry : order) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(entry.layout.name));
        if (control->focusPolicy() == Qt::NoFocus)
            continue; // pictures and labels are passed over
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

void frmAbout::load()
{
    const QString title = QString::fromLatin1(kApplicationTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(kVersionMajor)
                            .arg(kVersionMinor)
                            .arg(kVersionRevision));
    lblTitle->setText(title);

    // Whatever fonts this system offers, no text may be cut off.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            label->setFont(fittedFont(label->font(), label->text(), label->size()));
    }
}

void frmAbout::endProgram()
{
    accept();
    QCoreApplication::exit(0);
}

} // namespace vexa
