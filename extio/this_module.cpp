#include "extio/this_module.h"

namespace vexa {

namespace {

HMODULE moduleOf(DWORD flags)
{
    HMODULE module = nullptr;
    // Any address inside the DLL names it.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | flags,
                            reinterpret_cast<LPCWSTR>(&moduleOf), &module))
        return nullptr;
    return module;
}

} // namespace

HMODULE thisModule()
{
    return moduleOf(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
}

HMODULE holdThisModule()
{
    return moduleOf(0);
}

bool pinThisModule()
{
    return moduleOf(GET_MODULE_HANDLE_EX_FLAG_PIN) != nullptr;
}

std::wstring wide(std::string_view text)
{
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, converted.data(), length);
    return converted;
}

std::string narrow(std::wstring_view text)
{
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, converted.data(), length, nullptr, nullptr);
    return converted;
}

} // namespace vexa
