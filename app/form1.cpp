#include "app/form1.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "about/frm_about.h"
#include "app/form1_controls.h"
#include "app/layout_rule.h"
#include "app/system_colours.h"
#include "oscillator/calibration.h"
#include "oscillator/number_reading.h"
#include "oscillator/oscillator_request.h"
#include "oscillator/tuning.h"
#include "ui/control_builder.h"
#include "ui/twips.h"

namespace vexa {

namespace {

// The layout was drawn for a small 8-point interface font; a font with the
// same metrics keeps every caption inside its control.
QFont designFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica")});
    font.setPointSize(8);
    return font;
}

} // namespace

Form1::Form1(UsbLibrary& usb, QWidget* parent) : QWidget(parent), usb_(usb)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vexa SDR Control Program"));
    setFont(designFont()); // before the controls, which take it from the window
    createLines();
    createControls();
    resize(pixelsFromTwips(kForm1ClientWidth), pixelsFromTwips(kForm1ClientHeight));

    // Load: the USB library readied, no device opened yet, and a clear message area.
    usb_.vb_usb_init();
    TextBox->clear();
}

void Form1::createLines()
{
    const QColor colour = systemColour(SystemColour::InactiveTitleBar, *this);
    for (const LineLayout& entry : kForm1Lines)
        createLine(entry.name,
                   QRect(pixelsFromTwips(entry.x1), pixelsFromTwips(entry.y1),
                         pixelsFromTwips(entry.x2 - entry.x1) + 1,
                         pixelsFromTwips(entry.y2 - entry.y1) + 1),
                   colour, this);
}

void Form1::createControls()
{
    QLabel* label = nullptr; // names the text box that follows it
    for (const ControlLayout& row : kForm1Controls) {
        QWidget* control = createControl(row, this);
        if (row.kind == ControlKind::Label)
            label = static_cast<QLabel*>(control);
        else if (row.kind == ControlKind::TextBox && label)
            label->setBuddy(control);
    }

    TextBox = findChild<QLineEdit*>(QStringLiteral("TextBox"));
    Manual = findChild<QLineEdit*>(QStringLiteral("Manual"));

    // The message area is written by the program; the Tab key passes it by.
    TextBox->setFocusPolicy(Qt::ClickFocus);
    TextBox->setAccessibleName(QStringLiteral("Message"));
    QPalette palette = TextBox->palette();
    palette.setColor(QPalette::Base, systemColour(SystemColour::ButtonFace, *this));
    palette.setColor(QPalette::Text, systemColour(SystemColour::ActiveTitleBar, *this));
    TextBox->setPalette(palette);

    auto button = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    for (const PresetButton& entry : kPresetButtons) {
        const Preset& preset = entry.preset;
        connect(button(entry.name), &QPushButton::clicked, this,
                [this, &preset] { tuneToPreset(preset); });
    }
    connect(button("Command14"), &QPushButton::clicked, this, &Form1::exitClicked);
    connect(button("Command15"), &QPushButton::clicked, this, &Form1::calibrateCrystal);
    connect(button("Command16"), &QPushButton::clicked, this, &Form1::tuneToTypedFrequency);
    button("Command15")->setToolTip(QString::fromUtf8(kCalibrateToolTip));
    button("Command1")->setFocus();
}

void Form1::SetFrequency(const std::string& Freq)
{
    showLine(frequencyRequestLine(frequencyRequest(usb_, dev_handle, Freq, kRequestTimeoutMs)));
}

void Form1::tuneToPreset(const Preset& preset)
{
    // Remembered before anything is sent, so it holds even when no receiver answers.
    if (preset.isStartupFrequency)
        startup_freq = preset.mhz;
    SetFrequency(*oscillatorWordText(preset.mhz));
}

void Form1::tuneToTypedFrequency()
{
    const auto text = oscillatorWordText(readNumber(Manual->text().toStdString()));
    if (!text) {
        showLine(kFrequencyOutOfRange);
        return;
    }
    SetFrequency(*text);
}

void Form1::calibrateCrystal()
{
    const auto word = crystalWord(readNumber(Manual->text().toStdString()), startup_freq);
    if (const auto* error = std::get_if<std::string_view>(&word)) {
        showLine(*error);
        return;
    }
    showLine(crystalRequestLine(
        crystalRequest(usb_, dev_handle, std::get<std::uint32_t>(word), kRequestTimeoutMs)));
}

void Form1::exitClicked()
{
    // Every request closes its own device; this only matters if one did not.
    if (dev_handle != 0) {
        usb_.vb_usb_close(dev_handle);
        dev_handle = 0;
    }
    // The About dialog is where the operator leaves; until then both windows work.
    // A closed dialog deletes itself; until that has happened it counts as gone.
    if (!about_ || about_->isHidden())
        about_ = new frmAbout(); // no owner, so it is not modal to this window
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void Form1::showLine(std::string_view line)
{
    TextBox->setText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    // setText leaves the cursor at the end, and a line wider than the field
    // would then show its end; the result code is at the start.
    TextBox->setCursorPosition(0);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scheduleLayoutRule();
}

void Form1::moveEvent(QMoveEvent* event)
{
    // The window manager's frame becomes known with the first move.
    QWidget::moveEvent(event);
    scheduleLayoutRule();
}

void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        scheduleLayoutRule();
}

void Form1::showEvent(QShowEvent* event)
{
    // The native window exists from the first showing; its first expose tells
    // that the window manager has framed it.
    QWidget::showEvent(event);
    if (!exposed_)
        windowHandle()->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && !exposed_) {
        exposed_ = true;
        windowHandle()->removeEventFilter(this);
        scheduleLayoutRule();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::scheduleLayoutRule()
{
    if (!windowHandle()) {
        applyLayoutRule();
        return;
    }
    // Applied after the resize has finished: a size set inside the resize event
    // loses against a window manager that is still dragging the frame.
    if (!layoutRulePending_) {
        layoutRulePending_ = true;
        QTimer::singleShot(0, this, [this] {
            layoutRulePending_ = false;
            applyLayoutRule();
        });
    }
}

void Form1::applyLayoutRule()
{
    const QSize client = size();
    const QSize outer = frameGeometry().size();
    const QSize frame = outer - client;
    const int messageAreaLeft = twipsFromPixels(TextBox->x());
    const LayoutRuleResult rule = vexa::applyLayoutRule(
        {twipsFromPixels(outer.width()), twipsFromPixels(outer.height())}, messageAreaLeft);

    // Only a window in its normal state, and one the window manager has framed,
    // can be given a size; before that its frame is not known yet.
    const bool sizable = exposed_ && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized |
                                                         Qt::WindowFullScreen));
    if (sizable) {
        setMinimumHeight(pixelsCoveringTwips(kLowestOuterHeight) - frame.height());
        const QSize wanted(pixelsCoveringTwips(rule.outer.width) - frame.width(),
                           pixelsCoveringTwips(rule.outer.height) - frame.height());
        if (rule.outer.width != twipsFromPixels(outer.width()) ||
            rule.outer.height != twipsFromPixels(outer.height()))
            resize(wanted);
    }
    TextBox->resize(pixelsFromTwips(rule.messageAreaWidth), TextBox->height());
}

} // namespace vexa
