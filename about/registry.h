#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace vexa {

// Handle of an open registry key; what it stands for is the registry's business.
using RegistryKey = std::uintptr_t;

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
// Query value, enumerate sub-keys, notify and read control: enough to read a
// value without asking for rights that ordinary accounts do not have.
inline constexpr std::uint32_t kKeyRead = 0x20019;

inline constexpr std::int32_t kRegistrySuccess = 0;
inline constexpr std::int32_t kRegistryNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t kRegistryAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr std::int32_t kRegistryInvalidHandle = 6;  // ERROR_INVALID_HANDLE
inline constexpr std::int32_t kRegistryMoreData = 234;     // ERROR_MORE_DATA

inline constexpr std::uint32_t kRegistryString = 1;         // REG_SZ
inline constexpr std::uint32_t kRegistryExpandString = 2;   // REG_EXPAND_SZ
inline constexpr std::uint32_t kRegistryNumber = 4;         // REG_DWORD

// Read access to the system registry, shaped like its wide-character calls:
// names are UTF-16, the data of string values comes back as UTF-16 code units,
// least significant byte first, and results are the system's error codes,
// kRegistrySuccess when the call did its job.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens keyName under the root key; on success key holds the open key.
    virtual std::int32_t openKey(std::uint32_t root, const QString& keyName, std::uint32_t access,
                                 RegistryKey& key) = 0;

    // Reads a value into data, which has room for size bytes. On success type
    // and size tell the value's type and the bytes it took; a value longer
    // than size fails with kRegistryMoreData.
    virtual std::int32_t queryValue(RegistryKey key, const QString& valueName, std::uint32_t& type,
                                    std::uint8_t* data, std::uint32_t& size) = 0;

    virtual void closeKey(RegistryKey key) = 0;

    // Replaces %NAME% references with the environment's values, as an
    // expandable string value needs; names the environment lacks stay as they
    // are. Nothing when the expansion fails.
    virtual std::optional<QString> expandEnvironmentStrings(const QString& text) = 0;
};

// The registry of this system; one without any keys where the system has none.
std::unique_ptr<Registry> systemRegistry();

} // namespace vexa
