#include "about/system_info.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "about/program_info.h"

namespace vexa {
namespace {

// The value's text from its data: the string types in the system's ANSI code
// page, a 32-bit number (least significant byte first) as "&h" and hex digits.
std::optional<QString> valueText(Registry& registry, std::uint32_t type, const std::string& data)
{
    switch (type) {
    case kRegistryString:
        return QString::fromLocal8Bit(data);
    case kRegistryExpandString:
        if (const auto expanded = registry.expandEnvironmentStrings(data))
            return QString::fromLocal8Bit(*expanded);
        return std::nullopt;
    case kRegistryNumber: {
        std::uint32_t number = 0;
        const std::size_t bytes = std::min<std::size_t>(data.size(), 4);
        for (std::size_t i = 0; i < bytes; ++i)
            number |= std::uint32_t{static_cast<std::uint8_t>(data[i])} << (8 * i);
        return QStringLiteral("&h") + QString::number(number, 16).toUpper();
    }
    default:
        return std::nullopt;
    }
}

} // namespace

bool SystemInfo::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName,
                             const QString& SubKeyRef, QString& KeyVal)
{
    RegistryKey key = 0;
    if (registry_.openKey(KeyRoot, KeyName.toLocal8Bit().toStdString(), kKeyRead, key) !=
        kRegistrySuccess) {
        KeyVal.clear();
        return false;
    }

    std::array<std::uint8_t, kRegistryValueCapacity> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = kRegistryValueCapacity;
    const std::int32_t result =
        registry_.queryValue(key, SubKeyRef.toLocal8Bit().toStdString(), type, buffer.data(), size);
    registry_.closeKey(key);
    if (result != kRegistrySuccess || size == 0 || size > kRegistryValueCapacity) {
        KeyVal.clear();
        return false;
    }

    // Strings are usually stored with their terminating zero; at most that
    // one byte is dropped.
    std::string data(buffer.begin(), buffer.begin() + size);
    if (data.back() == '\0')
        data.pop_back();

    const std::optional<QString> text = valueText(registry_, type, data);
    KeyVal = text.value_or(QString());
    return text.has_value();
}

void SystemInfo::StartSysInfo()
{
    QString program;
    if (!GetKeyValue(kHkeyLocalMachine, QString::fromLatin1(kMsinfoKey),
                     QString::fromLatin1(kMsinfoPathValue), program)) {
        QString folder;
        if (GetKeyValue(kHkeyLocalMachine, QString::fromLatin1(kSharedToolsLocationKey),
                        QString::fromLatin1(kMsinfoFolderValue), folder)) {
            const QString candidate = folder + QString::fromLatin1(kMsinfoFileName);
            if (files_.isOrdinaryFile(candidate))
                program = candidate;
        }
    }

    if (program.isEmpty() || !launcher_.startDetached(program))
        messages_.showMessage(QString::fromLatin1(kApplicationTitle),
                              QString::fromLatin1(kSysInfoUnavailable));
}

} // namespace vexa
