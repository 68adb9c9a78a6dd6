#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vexa {

// The plugin's DLL, for its resources.
HMODULE thisModule();

// A reference to the DLL that keeps it loaded until released with FreeLibrary
// (or FreeLibraryAndExitThread by a thread that must outlive the host's use
// of it); nullptr when it cannot be had.
HMODULE holdThisModule();

// Keeps the DLL loaded until the process ends: a thread left running past
// CloseHW must not lose its code. False when Windows refuses.
bool pinThisModule();

// UTF-8 and the wide characters of the Win32 calls.
std::wstring wide(std::string_view text);
std::string narrow(std::wstring_view text);

} // namespace vexa
