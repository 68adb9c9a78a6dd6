#include "about/registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vexa {
namespace {

#ifdef _WIN32

class WindowsRegistry final : public Registry {
public:
    std::int32_t openKey(std::uint32_t root, const std::string& keyName, std::uint32_t access,
                         RegistryKey& key) override
    {
        // Predefined root keys are 32-bit values that handles carry sign-extended.
        const HKEY rootKey = reinterpret_cast<HKEY>(
            static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(rootKey, keyName.c_str(), 0, access, &opened);
        key = reinterpret_cast<RegistryKey>(opened);
        return result;
    }

    std::int32_t queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) override
    {
        DWORD valueType = 0;
        DWORD dataSize = size;
        const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(),
                                             nullptr, &valueType, data, &dataSize);
        type = valueType;
        size = dataSize;
        return result;
    }

    void closeKey(RegistryKey key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }

    std::optional<std::string> expandEnvironmentStrings(const std::string& text) override
    {
        const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
        if (needed == 0)
            return std::nullopt;
        std::string expanded(needed, '\0');
        const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
        if (written == 0 || written > needed)
            return std::nullopt;
        expanded.resize(written - 1); // the count includes the terminating zero
        return expanded;
    }
};

#else

// Systems without a registry: every key is missing.
class EmptyRegistry final : public Registry {
public:
    std::int32_t openKey(std::uint32_t, const std::string&, std::uint32_t,
                         RegistryKey& key) override
    {
        key = 0;
        return kRegistryNotFound;
    }

    std::int32_t queryValue(RegistryKey, const std::string&, std::uint32_t&, std::uint8_t*,
                            std::uint32_t&) override
    {
        return kRegistryInvalidHandle;
    }

    void closeKey(RegistryKey) override {}

    std::optional<std::string> expandEnvironmentStrings(const std::string& text) override
    {
        return text;
    }
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
