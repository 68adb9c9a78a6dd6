#include "about/registry.h"

#ifdef _WIN32
#include <windows.h>

#include <cwchar>
#include <vector>
#endif

namespace vexa {
namespace {

#ifdef _WIN32

static_assert(kKeyRead == KEY_READ);
static_assert(kRegistrySuccess == ERROR_SUCCESS);
static_assert(kRegistryNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kRegistryAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kRegistryInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(kRegistryMoreData == ERROR_MORE_DATA);
static_assert(kRegistryString == REG_SZ);
static_assert(kRegistryExpandString == REG_EXPAND_SZ);
static_assert(kRegistryNumber == REG_DWORD);

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

class WindowsRegistry final : public Registry {
public:
    std::int32_t openKey(std::uint32_t root, const QString& keyName, std::uint32_t access,
                         RegistryKey& key) override
    {
        // Predefined root keys are 32-bit values that handles carry sign-extended.
        const HKEY rootKey = reinterpret_cast<HKEY>(
            static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExW(rootKey, wide(keyName), 0, access, &opened);
        key = reinterpret_cast<RegistryKey>(opened);
        return result;
    }

    std::int32_t queryValue(RegistryKey key, const QString& valueName, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) override
    {
        DWORD valueType = 0;
        DWORD dataSize = size;
        const LONG result = RegQueryValueExW(reinterpret_cast<HKEY>(key), wide(valueName), nullptr,
                                             &valueType, data, &dataSize);
        type = valueType;
        size = dataSize;
        return result;
    }

    void closeKey(RegistryKey key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }

    std::optional<QString> expandEnvironmentStrings(const QString& text) override
    {
        // Each call answers with the characters it needs, terminating zero
        // included; the environment may grow between two calls, so ask again
        // until the text fits.
        std::vector<wchar_t> expanded(1);
        for (;;) {
            const DWORD needed = ExpandEnvironmentStringsW(
                wide(text), expanded.data(), static_cast<DWORD>(expanded.size()));
            if (needed == 0)
                return std::nullopt;
            if (needed <= expanded.size())
                return QString::fromWCharArray(expanded.data(),
                                               static_cast<qsizetype>(wcsnlen(expanded.data(), needed)));
            expanded.assign(needed, L'\0');
        }
    }
};

#else

// Systems without a registry: every key is missing.
class EmptyRegistry final : public Registry {
public:
    std::int32_t openKey(std::uint32_t, const QString&, std::uint32_t, RegistryKey& key) override
    {
        key = 0;
        return kRegistryNotFound;
    }

    std::int32_t queryValue(RegistryKey, const QString&, std::uint32_t&, std::uint8_t*,
                            std::uint32_t&) override
    {
        return kRegistryInvalidHandle;
    }

    void closeKey(RegistryKey) override {}

    std::optional<QString> expandEnvironmentStrings(const QString& text) override { return text; }
};

#endif

} // namespace

std::unique_ptr<Registry> systemRegistry()
{
#ifdef _WIN32
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<EmptyRegistry>();
#endif
}

} // namespace vexa
