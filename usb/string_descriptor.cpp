#include "usb/string_descriptor.h"

#include "usb/printed.h"

#include <array>

namespace vexa {

namespace {

constexpr std::uint8_t kStringType = 0x03;
constexpr std::size_t kHeaderSize = 2;

struct Range {
    char32_t first;
    char32_t last;
};

// Characters shown as escapes: C0 and C1 controls, and the invisible ones
// that reorder or break the lines around them.
constexpr std::array kEscaped{
    Range{0x0000, 0x001F}, Range{0x007F, 0x009F}, Range{0x200B, 0x200F},
    Range{0x2028, 0x202E}, Range{0x2066, 0x2069}, Range{0xFEFF, 0xFEFF},
};

bool escaped(char32_t c)
{
    for (const Range& range : kEscaped)
        if (c >= range.first && c <= range.last)
            return true;
    return false;
}

void appendEscape(std::string& text, const char* format, unsigned value)
{
    text += printed(format, value);
}

void appendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool highSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool lowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

} // namespace

DecodedString decodeStringDescriptor(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize)
        return {{}, "no descriptor (" + std::to_string(bytes.size()) + " bytes)"};
    if (bytes[1] != kStringType)
        return {{}, "not a string descriptor"};
    const std::size_t length = bytes[0];
    if (length < kHeaderSize) {
        // Appended rather than "..." + text: GCC 12 for 32-bit Windows takes
        // the insertion for an overlapping copy.
        std::string problem = "its length, ";
        problem += std::to_string(length) + ", is too short";
        return {{}, problem};
    }
    if (length > bytes.size())
        return {{}, "it claims " + std::to_string(length) + " bytes but sent " +
                        std::to_string(bytes.size())};

    DecodedString decoded;
    const auto unitAt = [&](std::size_t at) -> char32_t {
        return static_cast<char32_t>(bytes[at] | bytes[at + 1] << 8);
    };
    std::size_t at = kHeaderSize;
    for (; at + 1 < length; at += 2) {
        char32_t c = unitAt(at);
        if (highSurrogate(c) && at + 3 < length && lowSurrogate(unitAt(at + 2))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
            at += 2;
        } else if (highSurrogate(c) || lowSurrogate(c)) {
            appendEscape(decoded.text, "\\u%04X", static_cast<unsigned>(c));
            continue;
        }
        if (c == U'\\')
            decoded.text += "\\\\";
        else if (escaped(c))
            appendEscape(decoded.text, "\\u%04X", static_cast<unsigned>(c));
        else
            appendUtf8(decoded.text, c);
    }
    if (at < length) // an odd length leaves half a character
        appendEscape(decoded.text, "\\x%02X", bytes[at]);
    return decoded;
}

std::optional<std::uint16_t> firstLanguage(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize + 2 || bytes[1] != kStringType || bytes[0] < kHeaderSize + 2 ||
        bytes[0] > bytes.size())
        return std::nullopt;
    return static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
}

} // namespace vexa
