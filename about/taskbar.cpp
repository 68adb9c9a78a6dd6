#include "about/taskbar.h"

#include <QByteArray>

#include <windows.h>

namespace vexa {
namespace {

HWND hiddenOwner()
{
    static const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                              nullptr, GetModuleHandleW(nullptr), nullptr);
    return owner;
}

} // namespace

void keepOffTaskbar(const QByteArray& eventType, void* message)
{
    // WM_SHOWWINDOW comes after Qt has set the window's owner from its
    // transient parent (it has none) and before the window is visible, which
    // is when the taskbar decides.
    const auto* msg = static_cast<const MSG*>(message);
    if (eventType != "windows_generic_MSG" || msg->message != WM_SHOWWINDOW || !msg->wParam)
        return;
    if (const HWND owner = hiddenOwner(); owner && GetWindow(msg->hwnd, GW_OWNER) != owner)
        SetWindowLongPtrW(msg->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

} // namespace vexa
