// On Windows the About dialog has no taskbar button, yet no window of the
// program owns it: the main window keeps working and may cover it.
#include "about/frm_about.h"

#include <QApplication>
#include <QWindow>

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(AboutDialogOnWindows, KeepsOffTheTaskbarWithoutAnOwnerOfTheProgram)
{
    int argc = 1;
    char name[] = "about_windows_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    QWidget mainWindow;
    mainWindow.show();
    vexa::frmAbout dialog;
    for (int showing = 0; showing < 2; ++showing) { // "Exit" shows an open dialog again
        dialog.show();
        QApplication::processEvents();

        const auto hwnd = reinterpret_cast<HWND>(dialog.winId());
        const HWND owner = GetWindow(hwnd, GW_OWNER);
        ASSERT_NE(owner, nullptr);
        EXPECT_NE(owner, reinterpret_cast<HWND>(mainWindow.winId()));
        EXPECT_FALSE(IsWindowVisible(owner));
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
        // To Qt it stays a window of its own, which keeps the program running
        // after the main window has closed.
        EXPECT_EQ(dialog.windowHandle()->transientParent(), nullptr);
    }
}

} // namespace
