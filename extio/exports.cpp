// The functions an SDR program looks up in ExtIO_VexaSDR.dll, by these
// undecorated names, with the __stdcall convention: each hands its call to
// the plugin (extio_plugin.h). No DllMain: nothing runs when the DLL loads.

#include "extio/extio_plugin.h"
#include "extio/notice_box.h"
#include "extio/receiver_link.h"
#include "extio/settings_dialog.h"
#include "extio/this_module.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace vexa;

ExtioPlugin& plugin()
{
    // Made by the first call, never destroyed: at the process's end Windows
    // has ended the tuner's thread already, and joining it would hang.
    static ExtioPlugin* const instance =
        new ExtioPlugin({receiverSend, showNoticeBox, refreshSettingsDialog});
    return *instance;
}

// Copies text into a host's buffer of size bytes, cut short if need be.
void copyText(const std::string& text, char* buffer, std::size_t size)
{
    const std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

#define VEXA_EXTIO_EXPORT extern "C" __declspec(dllexport)

VEXA_EXTIO_EXPORT bool __stdcall InitHW(char* name, char* model, int& type)
{
    const HardwareName hardware = plugin().init();
    copyText(hardware.name, name, extio::kNameSize);
    copyText(hardware.model, model, extio::kNameSize);
    type = extio::kSoundCardData;
    return true;
}

VEXA_EXTIO_EXPORT bool __stdcall OpenHW()
{
    return plugin().open();
}

VEXA_EXTIO_EXPORT void __stdcall CloseHW()
{
    destroySettingsDialog();
    // The tuner's thread, left to end after a stalled transfer, runs the
    // DLL's code until then, even if the host unloads it now.
    if (!plugin().close(kCloseWait) && !pinThisModule())
        OutputDebugStringW(L"Vexa SDR: a tuning outlives CloseHW, and the DLL could not be kept");
}

VEXA_EXTIO_EXPORT int __stdcall StartHW(long loHz)
{
    return plugin().start(loHz);
}

// The sound card carries the samples: the plugin has nothing to stop, and the
// LO stays where it is.
VEXA_EXTIO_EXPORT void __stdcall StopHW() {}

VEXA_EXTIO_EXPORT void __stdcall SetCallback(extio::HostCallback callback)
{
    plugin().setCallback(callback);
}

VEXA_EXTIO_EXPORT int __stdcall SetHWLO(long loHz)
{
    return plugin().setLo(loHz);
}

VEXA_EXTIO_EXPORT long __stdcall GetHWLO()
{
    // Every LO the plugin keeps is within the range of long.
    return static_cast<long>(plugin().lo());
}

// Hosts look for it but do not call it; the plugin has no status beyond what
// its callback tells.
VEXA_EXTIO_EXPORT int __stdcall GetStatus()
{
    return 0;
}

VEXA_EXTIO_EXPORT void __stdcall ExtIoSDRInfo(int feature, int, void*)
{
    plugin().hostSupports(feature);
}

VEXA_EXTIO_EXPORT int __stdcall ExtIoGetSetting(int index, char* description, char* value)
{
    const auto setting = plugin().setting(index);
    if (!setting)
        return 1; // no more settings
    copyText(setting->description, description, extio::kSettingSize);
    copyText(setting->value, value, extio::kSettingSize);
    return 0;
}

VEXA_EXTIO_EXPORT void __stdcall ExtIoSetSetting(int index, const char* value)
{
    plugin().setSetting(index, value != nullptr ? value : "");
}

VEXA_EXTIO_EXPORT void __stdcall ShowGUI()
{
    showSettingsDialog(plugin());
}

VEXA_EXTIO_EXPORT void __stdcall HideGUI()
{
    hideSettingsDialog();
}

VEXA_EXTIO_EXPORT void __stdcall SwitchGUI()
{
    switchSettingsDialog(plugin());
}
