#include "about/system_info.h"

#include <algorithm>
#include <array>

#include "about/program_info.h"

namespace vexa {
namespace {

// The text of a string value: UTF-16 code units, least significant byte first,
// up to the first zero. Values are usually stored with one terminating zero,
// but some carry several or none; a lone last byte is not a character.
QString stringData(const std::uint8_t* data, std::uint32_t size)
{
    QString text;
    for (std::uint32_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\0')
            break;
        text.append(QChar(unit));
    }
    return text;
}

// A 32-bit number, least significant byte first, as "&h" and hex digits.
QString numberData(const std::uint8_t* data, std::uint32_t size)
{
    std::uint32_t number = 0;
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(size, 4); ++i)
        number |= std::uint32_t{data[i]} << (8 * i);
    return QStringLiteral("&h") + QString::number(number, 16).toUpper();
}

} // namespace

bool SystemInfo::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName,
                             const QString& SubKeyRef, QString& KeyVal)
{
    KeyVal.clear();
    RegistryKey key = 0;
    if (registry_.openKey(KeyRoot, KeyName, kKeyRead, key) != kRegistrySuccess)
        return false;

    std::array<std::uint8_t, kRegistryValueCapacity> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = kRegistryValueCapacity;
    const std::int32_t result = registry_.queryValue(key, SubKeyRef, type, buffer.data(), size);
    registry_.closeKey(key);
    if (result != kRegistrySuccess || size == 0 || size > kRegistryValueCapacity)
        return false;

    switch (type) {
    case kRegistryString:
        KeyVal = stringData(buffer.data(), size);
        return true;
    case kRegistryExpandString:
        if (const auto expanded = registry_.expandEnvironmentStrings(stringData(buffer.data(), size))) {
            KeyVal = *expanded;
            return true;
        }
        return false;
    case kRegistryNumber:
        KeyVal = numberData(buffer.data(), size);
        return true;
    default:
        return false;
    }
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
