#pragma once

// The main window keeps the names of the window it stands for, so that a
// reader can lay the two side by side: the form Form1, its controls Command1
// to Command16, TextBox, Manual, Label1, Label2 and Line1 to Line4, the
// method SetFrequency with its argument Freq, the field dev_handle and the
// USB library's vb_usb_* operations. Everything else is named in Qt's style.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

#include "oscillator/presets.h"
#include "usb/usb_library.h"

class QLineEdit;

namespace vexa {

class frmAbout;

// The main window: band and start-up presets, a typed frequency, crystal
// calibration, and the one-line message area that tells what each request did.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(UsbLibrary& usb, QWidget* parent = nullptr);

    // Sends a frequency word, given as its hexadecimal text, to the receiver
    // and shows the outcome in the message area.
    void SetFrequency(const std::string& Freq);

    std::int32_t devHandle() const { return dev_handle; }
    std::optional<double> startupFrequency() const { return startup_freq; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createLines();
    void tuneToPreset(const Preset& preset);
    void tuneToTypedFrequency();
    void calibrateCrystal();
    void exitClicked();
    void scheduleLayoutRule();
    void applyLayoutRule();
    void showLine(std::string_view line);

    UsbLibrary& usb_;
    std::int32_t dev_handle = 0;
    std::optional<double> startup_freq;
    QLineEdit* TextBox = nullptr;
    QLineEdit* Manual = nullptr;
    QPointer<frmAbout> about_;
    bool exposed_ = false;
    bool layoutRulePending_ = false;
};

} // namespace vexa
