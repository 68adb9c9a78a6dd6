#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::testing {

// The bytes of a string value as the registry keeps them: UTF-16 code units,
// least significant byte first, with whatever zeros the text carries.
inline std::string utf16Bytes(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// An expandable string that names one variable, which the tests set to a
// folder with blanks and a character outside ASCII.
inline constexpr char16_t kExpandableVariable[] = u"VEXA_TEST_TOOLS";
inline const QString kExpandableVariableValue = QStringLiteral("C:\\Gemeinsame Dateien\\Prüf");
inline const std::u16string kExpandable = u"%VEXA_TEST_TOOLS%\\msinfo32.exe";
inline const QString kExpanded = kExpandableVariableValue + QStringLiteral("\\msinfo32.exe");

// How GetKeyValue reads a value that is stored with these bytes.
struct RegistryValueCase {
    const char* what;
    std::uint32_t type;
    std::string data;
    bool found;
    QString text;
};

inline std::vector<RegistryValueCase> registryValueCases()
{
    using namespace std::string_literals;
    const std::u16string longest(511, u'a'); // with its terminating zero, 1024 bytes
    return {
        {"string with its terminating zero", 1, utf16Bytes(u"C:\\Tools\\msinfo32.exe\0"s), true,
         "C:\\Tools\\msinfo32.exe"},
        {"string without a terminating zero", 1, utf16Bytes(u"C:\\x.exe"), true, "C:\\x.exe"},
        {"string with several trailing zeros", 1, utf16Bytes(u"ab\0\0\0"s), true, "ab"},
        {"string outside ASCII", 1, utf16Bytes(u"C:\\Prüf Ordner\\情報.exe\0"s), true,
         QStringLiteral("C:\\Prüf Ordner\\情報.exe")},
        {"string with a lone last byte", 1, utf16Bytes(u"ab") + 'c', true, "ab"},
        {"nothing but a terminating zero", 1, utf16Bytes(u"\0"s), true, ""},
        {"1024 bytes", 1, utf16Bytes(longest + u'\0'), true, QString::fromStdU16String(longest)},
        {"1024 bytes without a zero", 1, utf16Bytes(longest + u'b'), true,
         QString::fromStdU16String(longest + u'b')},
        {"more than 1024 bytes counts as missing", 1, utf16Bytes(longest + u"bc"), false, ""},
        {"no data at all", 1, "", false, ""},
        {"32-bit number", 4, "\x78\x56\x34\x12"s, true, "&h12345678"},
        {"32-bit number with high zero bytes", 4, "\x0A\0\0\0"s, true, "&hA"},
        {"expandable string", 2, utf16Bytes(kExpandable + u'\0'), true, kExpanded},
        {"expandable string naming no variable", 2, utf16Bytes(u"%Nowhere%\\x.exe\0"s), true,
         "%Nowhere%\\x.exe"},
        {"binary data", 3, "\x01\x02"s, false, ""},
        {"multi-string", 7, utf16Bytes(u"a\0b\0\0"s), false, ""},
    };
}

} // namespace vexa::testing
