#include "extio/notice_box.h"

#include "extio/this_module.h"

#include <atomic>
#include <memory>

namespace vexa {

namespace {

std::atomic<bool> shown{false};

struct Shown {
    HMODULE module;
    std::wstring text;
};

DWORD WINAPI showBox(void* parameter)
{
    std::unique_ptr<Shown> notice(static_cast<Shown*>(parameter));
    MessageBoxW(nullptr, notice->text.c_str(), L"Vexa SDR ExtIO",
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
    shown = false;
    const HMODULE module = notice->module;
    notice.reset();
    FreeLibraryAndExitThread(module, 0);
}

} // namespace

void showNoticeBox(const std::string& text)
{
    if (shown.exchange(true))
        return;
    // Without a box of its own, the notice goes where a debugger sees it.
    const HMODULE module = holdThisModule();
    if (module == nullptr) {
        OutputDebugStringW(wide(text).c_str());
        shown = false;
        return;
    }
    auto notice = std::make_unique<Shown>(Shown{module, wide(text)});
    const HANDLE thread = CreateThread(nullptr, 0, showBox, notice.get(), 0, nullptr);
    if (thread == nullptr) {
        OutputDebugStringW(notice->text.c_str());
        FreeLibrary(module);
        shown = false;
        return;
    }
    notice.release(); // the thread's now
    CloseHandle(thread);
}

} // namespace vexa
