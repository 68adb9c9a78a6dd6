#pragma once

#include <QDialog>

#include <memory>

#include "about/file_probe.h"
#include "about/message_display.h"
#include "about/program_launcher.h"
#include "about/registry.h"
#include "about/system_info.h"

class QLabel;
class QPushButton;

namespace vexa {

// The About dialog, where the operator leaves the program: it names the
// program, its version and purpose, and offers "OK", which ends the program,
// and "&System Info...". Shown without an owner and not modal; it deletes
// itself when closed, so each showing after a close is a fresh one.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Starts the system's system-information program, or says that it is
    // unavailable.
    void StartSysInfo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void createControls();
    void createRules();
    void setTabOrderFromTable();
    void load();
    void endProgram();

    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;

    std::unique_ptr<Registry> registry_;
    SystemFileProbe files_;
    DetachedProgramLauncher launcher_;
    MessageBoxDisplay messages_;
    SystemInfo sysInfo_;
};

} // namespace vexa
