#pragma once

#include <QString>

#include <cstdint>

#include "about/file_probe.h"
#include "about/message_display.h"
#include "about/program_launcher.h"
#include "about/registry.h"

namespace vexa {

inline constexpr const char* kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kMsinfoPathValue = "PATH";
inline constexpr const char* kSharedToolsLocationKey =
    "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kMsinfoFolderValue = "MSINFO";
inline constexpr const char* kMsinfoFileName = "\\MSINFO32.EXE";
inline constexpr const char* kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Values longer than this count as missing.
inline constexpr std::uint32_t kRegistryValueCapacity = 1024;

// Finds the system-information program through the registry and starts it.
class SystemInfo {
public:
    SystemInfo(Registry& registry, FileProbe& files, ProgramLauncher& launcher,
               MessageDisplay& messages)
        : registry_(registry), files_(files), launcher_(launcher), messages_(messages)
    {
    }

    // Starts the system-information program, or tells the operator that it is
    // unavailable; no failure goes further.
    void StartSysInfo();

    // Reads the value SubKeyRef of the key KeyName under the root key KeyRoot
    // into KeyVal: a string up to its first zero, an expandable string with the
    // environment's values put in, a 32-bit number as "&h" and its hexadecimal
    // digits. False, with KeyVal empty, when the key or the value is missing or
    // unreadable, the value is empty or longer than 1024 bytes, or it is of any
    // other type.
    bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);

private:
    Registry& registry_;
    FileProbe& files_;
    ProgramLauncher& launcher_;
    MessageDisplay& messages_;
};

} // namespace vexa
