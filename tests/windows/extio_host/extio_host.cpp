// A small SDR program of the project's own that drives an ExtIO DLL as the
// hosts do: LoadLibrary, GetProcAddress by name, the calls in the order of
// the interface's header. Under Wine there is no receiver, so it checks that
// every call returns, that the failure is told (once, not per LO) and that
// the settings and the settings dialog work. Two sessions: the first as an
// older host without a log, whose operator gets the plugin's own message
// box; the second as a host with a log, handing back the settings the first
// one kept. Prints each step; exit status 0 when every check held.
//   extio_host DLL

#include "extio/settings_dialog_ids.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The interface's numbers, written out as a host has them.
constexpr int kSoundCardData = 4;
constexpr int kSupportsLogging = 10;
constexpr int kMessageErrorDialog = 148;
constexpr const wchar_t* kSettingsTitle = L"Vexa SDR ExtIO settings";
constexpr const wchar_t* kNoticeTitle = L"Vexa SDR ExtIO";

using Callback = int (*)(int, int, float, void*);

int failures = 0;

void check(bool held, const std::string& what)
{
    if (!held) {
        ++failures;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

// On 32-bit Windows a __stdcall function takes its arguments off the stack
// and a __cdecl one leaves them to its caller: a function of the other
// convention than declared returns with the stack pointer moved. 64-bit
// Windows has one convention.
[[gnu::always_inline]] inline std::uintptr_t stackPointer()
{
#if defined(__i386__)
    std::uintptr_t pointer = 0;
    asm volatile("movl %%esp, %0" : "=r"(pointer) : : "memory");
    return pointer;
#else
    return 0;
#endif
}

// A function of the plugin, found by its name, __stdcall as the interface
// declares it; each call checks that the stack pointer comes back unmoved.
template <typename Result, typename... Parameters>
struct Entry {
    const char* name = nullptr;
    Result(__stdcall* function)(Parameters...) = nullptr;

    Result operator()(Parameters... arguments) const
    {
        const std::uintptr_t before = stackPointer();
        if constexpr (std::is_void_v<Result>) {
            function(arguments...);
            const std::uintptr_t after = stackPointer();
            check(after == before, std::string(name) + " keeps the __stdcall convention");
        } else {
            const Result result = function(arguments...);
            const std::uintptr_t after = stackPointer();
            check(after == before, std::string(name) + " keeps the __stdcall convention");
            return result;
        }
    }
};

struct Plugin {
    Entry<bool, char*, char*, int&> InitHW;
    Entry<bool> OpenHW;
    Entry<void> CloseHW;
    Entry<int, long> StartHW;
    Entry<void> StopHW;
    Entry<void, Callback> SetCallback;
    Entry<int, long> SetHWLO;
    Entry<long> GetHWLO;
    Entry<int> GetStatus;
    Entry<void, int, int, void*> ExtIoSDRInfo;
    Entry<int, int, char*, char*> ExtIoGetSetting;
    Entry<void, int, const char*> ExtIoSetSetting;
    Entry<void> ShowGUI;
    Entry<void> HideGUI;
    Entry<void> SwitchGUI;
};

template <typename Result, typename... Parameters>
void find(HMODULE dll, const char* name, Entry<Result, Parameters...>& entry)
{
    entry.name = name;
    entry.function = reinterpret_cast<Result(__stdcall*)(Parameters...)>(
        reinterpret_cast<void*>(GetProcAddress(dll, name)));
    check(entry.function != nullptr, std::string("GetProcAddress finds ") + name);
}

// The messages the plugin tells through the callback.
CRITICAL_SECTION heardLock;
std::vector<std::pair<int, std::string>> heard;

int callback(int count, int status, float, void* data)
{
    EnterCriticalSection(&heardLock);
    heard.emplace_back(status, count < 0 && data != nullptr ? static_cast<const char*>(data) : "");
    std::printf("callback: status %d: %s\n", status, heard.back().second.c_str());
    LeaveCriticalSection(&heardLock);
    return 0;
}

std::size_t heardOf(int status)
{
    EnterCriticalSection(&heardLock);
    std::size_t count = 0;
    for (const auto& message : heard)
        count += message.first == status ? 1 : 0;
    LeaveCriticalSection(&heardLock);
    return count;
}

template <typename Condition>
bool waitFor(Condition condition)
{
    for (int waited = 0; waited < 600; ++waited) {
        if (condition())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

std::vector<std::string> settings(const Plugin& plugin)
{
    std::vector<std::string> values;
    char description[1024];
    char value[1024];
    for (int index = 0; plugin.ExtIoGetSetting(index, description, value) == 0; ++index) {
        std::printf("ExtIoGetSetting(%d): %s = \"%s\"\n", index, description, value);
        values.emplace_back(value);
    }
    return values;
}

std::wstring dialogText(HWND dialog, int control)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, control, text, 256);
    return text;
}

// The operator types a multiplier into the settings dialog and presses OK.
void enterMultiplier(HWND dialog, const wchar_t* multiplier)
{
    SetDlgItemTextW(dialog, IDC_MULTIPLIER, multiplier);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void useSettingsDialog(const Plugin& plugin)
{
    plugin.ShowGUI();
    const HWND dialog = FindWindowW(nullptr, kSettingsTitle);
    check(dialog != nullptr && IsWindowVisible(dialog), "ShowGUI shows the settings dialog");
    if (dialog == nullptr)
        return;
    check(dialogText(dialog, IDC_MULTIPLIER) == L"2", "the dialog shows the multiplier 2");
    enterMultiplier(dialog, L"0");
    check(IsWindowVisible(dialog) && !dialogText(dialog, IDC_PROBLEM).empty(),
          "a multiplier of 0 is refused in the dialog");
    enterMultiplier(dialog, L"3");
    check(!IsWindowVisible(dialog), "OK with a multiplier of 3 closes the dialog");
    char description[1024];
    char value[1024];
    plugin.ExtIoGetSetting(1, description, value);
    std::printf("settings dialog: multiplier 0 refused, 3 taken: ExtIoGetSetting(1) = \"%s\"\n",
                value);
    check(std::strcmp(value, "3") == 0, "the multiplier typed in the dialog is the setting");
    plugin.SwitchGUI();
    check(IsWindowVisible(dialog), "SwitchGUI shows the hidden dialog");
    plugin.HideGUI();
    check(!IsWindowVisible(dialog), "HideGUI hides it");
}

// One session in the header's order: a drag of the LO, LOs out of range
// (whose limits the second session's multiplier of 3 moves), and the
// settings the host keeps for the next session, which it returns.
std::vector<std::string> runSession(const Plugin& plugin, bool hostLogs,
                                    const std::vector<std::string>& kept)
{
    std::printf("-- session %s\n", hostLogs ? "of a host with a log, settings handed back"
                                            : "of a host without a log");
    if (hostLogs)
        plugin.ExtIoSDRInfo(kSupportsLogging, 0, nullptr);
    plugin.ExtIoSetSetting(-1, nullptr);
    for (std::size_t index = 0; index < kept.size(); ++index)
        plugin.ExtIoSetSetting(static_cast<int>(index), kept[index].c_str());

    char name[64] = "";
    char model[64] = "";
    int type = 0;
    const bool initialised = plugin.InitHW(name, model, type);
    std::printf("InitHW: %s, name \"%s\", model \"%s\", type %d\n", initialised ? "true" : "false",
                name, model, type);
    check(initialised && std::strcmp(name, "Vexa SDR") == 0 && type == kSoundCardData,
          "InitHW names the receiver and declares sound-card data");
    plugin.SetCallback(callback);
    check(plugin.OpenHW(), "OpenHW");
    const int pairs = plugin.StartHW(7100000);
    std::printf("StartHW(7100000): %d\n", pairs);
    check(pairs > 0, "StartHW starts");

    if (hostLogs) {
        check(waitFor([] { return heardOf(kMessageErrorDialog) == 1; }),
              "the failure is told with status 148");
    } else {
        HWND box = nullptr;
        check(waitFor([&] { return (box = FindWindowW(nullptr, kNoticeTitle)) != nullptr; }),
              "without the host's log, the plugin's message box tells the failure");
        wchar_t text[1024] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 1024); // the box's text
        std::printf("message box: %ls\n", text);
        check(std::wstring(text).find(L"vexa-sdr-usb-report") != std::wstring::npos,
              "the message box names the USB report");
        PostMessageW(box, WM_CLOSE, 0, 0);
    }

    const auto dragStarted = std::chrono::steady_clock::now();
    int answers = 0;
    long lo = 7100000;
    for (int step = 0; step < 200; ++step, lo += 100)
        answers |= plugin.SetHWLO(lo);
    const auto dragMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - dragStarted);
    std::printf("SetHWLO x200 (a drag from 7100000 to %ld): all 0: %s, %lld ms\n", lo - 100,
                answers == 0 ? "yes" : "no", static_cast<long long>(dragMs.count()));
    check(answers == 0, "every LO of the drag is taken");
    const long highest = hostLogs ? 341333333 : 511999999;
    const int above = plugin.SetHWLO(600000000);
    const int below = plugin.SetHWLO(0);
    std::printf("SetHWLO(600000000): %d; SetHWLO(0): %d; GetHWLO: %ld; GetStatus: %d\n", above,
                below, plugin.GetHWLO(), plugin.GetStatus());
    check(above == highest && below == -1, "out of range, the limits are answered");
    check(plugin.GetHWLO() == lo - 100, "GetHWLO is the last LO in range");

    if (!hostLogs)
        useSettingsDialog(plugin);
    plugin.StopHW();
    const std::vector<std::string> values = settings(plugin);
    check(values.size() == 4, "four settings");
    const auto closeStarted = std::chrono::steady_clock::now();
    plugin.CloseHW();
    std::printf("CloseHW: returned after %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - closeStarted)
                                           .count()));
    if (hostLogs)
        check(heardOf(kMessageErrorDialog) == 1, "one dialog for the whole drag");
    else
        check(FindWindowW(nullptr, kNoticeTitle) == nullptr, "no second message box for the drag");
    return values;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: extio_host DLL\n");
        return 2;
    }
    InitializeCriticalSection(&heardLock);
    const HMODULE dll = LoadLibraryA(argv[1]);
    if (dll == nullptr) {
        std::printf("FAILED: LoadLibrary %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    Plugin plugin{};
    find(dll, "InitHW", plugin.InitHW);
    find(dll, "OpenHW", plugin.OpenHW);
    find(dll, "CloseHW", plugin.CloseHW);
    find(dll, "StartHW", plugin.StartHW);
    find(dll, "StopHW", plugin.StopHW);
    find(dll, "SetCallback", plugin.SetCallback);
    find(dll, "SetHWLO", plugin.SetHWLO);
    find(dll, "GetHWLO", plugin.GetHWLO);
    find(dll, "GetStatus", plugin.GetStatus);
    find(dll, "ExtIoSDRInfo", plugin.ExtIoSDRInfo);
    find(dll, "ExtIoGetSetting", plugin.ExtIoGetSetting);
    find(dll, "ExtIoSetSetting", plugin.ExtIoSetSetting);
    find(dll, "ShowGUI", plugin.ShowGUI);
    find(dll, "HideGUI", plugin.HideGUI);
    find(dll, "SwitchGUI", plugin.SwitchGUI);
    if (failures != 0)
        return 1;

    runSession(plugin, true, runSession(plugin, false, {}));
    std::printf("FreeLibrary: %s\n", FreeLibrary(dll) ? "done" : "failed");
    std::printf("%s\n", failures == 0 ? "every check held" : "some checks failed");
    return failures == 0 ? 0 : 1;
}
