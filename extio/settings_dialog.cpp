#include "extio/settings_dialog.h"

#include "extio/extio_plugin.h"
#include "extio/notice_box.h"
#include "extio/settings_dialog_ids.h"
#include "extio/this_module.h"

#include <atomic>

namespace vexa {

namespace {

constexpr UINT kLastTuningChanged = WM_APP + 1;

// Made on the host's window thread; read from the tuner's to post to it.
std::atomic<HWND> dialog{nullptr};

// The edit fields in the order of the settings they hold.
constexpr struct {
    int control;
    int setting;
} kFields[] = {
    {IDC_MULTIPLIER, kSettingMultiplier},
    {IDC_OFFSET, kSettingOffset},
    {IDC_SERIAL, kSettingSerial},
};

ExtioPlugin& pluginOf(HWND window)
{
    return *reinterpret_cast<ExtioPlugin*>(GetWindowLongPtrW(window, DWLP_USER));
}

void setText(HWND window, int control, const std::string& text)
{
    SetDlgItemTextW(window, control, wide(text).c_str());
}

std::string textOf(HWND window, int control)
{
    const HWND field = GetDlgItem(window, control);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void showLastTuning(HWND window)
{
    const std::string line = pluginOf(window).lastLine();
    setText(window, IDC_LAST_TUNING, line.empty() ? "" : "Last tuning: " + line);
}

void fill(HWND window)
{
    const PluginSettings settings = pluginOf(window).settings();
    for (const auto& field : kFields)
        setText(window, field.control, settingText(field.setting, settings)->value);
    setText(window, IDC_PROBLEM, "");
    showLastTuning(window);
}

void take(HWND window)
{
    ExtioPlugin& plugin = pluginOf(window);
    PluginSettings settings = plugin.settings();
    for (const auto& field : kFields) {
        if (const auto wrong = readSetting(field.setting, textOf(window, field.control), settings)) {
            setText(window, IDC_PROBLEM, *wrong + ".");
            SetFocus(GetDlgItem(window, field.control));
            return;
        }
    }
    plugin.changeSettings(settings);
    ShowWindow(window, SW_HIDE);
}

INT_PTR CALLBACK settingsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        fill(window);
        return TRUE;
    case kLastTuningChanged:
        showLastTuning(window);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            take(window);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ShowWindow(window, SW_HIDE);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void showSettingsDialog(ExtioPlugin& plugin)
{
    HWND window = dialog;
    if (window == nullptr) {
        window = CreateDialogParamW(thisModule(), MAKEINTRESOURCEW(IDD_VEXA_SETTINGS), nullptr,
                                    settingsProcedure, reinterpret_cast<LPARAM>(&plugin));
        if (window == nullptr) {
            showNoticeBox("Vexa SDR: the settings dialog cannot be shown (Windows error " +
                          std::to_string(GetLastError()) + ").");
            return;
        }
        dialog = window;
    } else {
        fill(window);
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}

void hideSettingsDialog()
{
    if (const HWND window = dialog)
        ShowWindow(window, SW_HIDE);
}

void switchSettingsDialog(ExtioPlugin& plugin)
{
    const HWND window = dialog;
    if (window != nullptr && IsWindowVisible(window))
        hideSettingsDialog();
    else
        showSettingsDialog(plugin);
}

void destroySettingsDialog()
{
    if (const HWND window = dialog.exchange(nullptr))
        DestroyWindow(window);
}

void refreshSettingsDialog()
{
    if (const HWND window = dialog)
        PostMessageW(window, kLastTuningChanged, 0, 0);
}

} // namespace vexa
