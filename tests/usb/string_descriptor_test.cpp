#include "usb/string_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vexa::decodeStringDescriptor;

struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* text;
    const char* problem;
};

// Bytes a device may send, and what a reader is shown.
const Case kCases[] = {
    {"plain", {8, 3, 'V', 0, 'x', 0, '1', 0}, "Vx1", ""},
    {"empty", {2, 3}, "", ""},
    {"beyond ASCII", {6, 3, 0xB5, 0x00, 0xAC, 0x20}, "\xC2\xB5\xE2\x82\xAC", ""},
    {"surrogate pair", {6, 3, 0x3D, 0xD8, 0xE1, 0xDC}, "\xF0\x9F\x93\xA1", ""},
    {"lone surrogates", {8, 3, 0x00, 0xDC, 0xFF, 0xDF, 0x3D, 0xD8}, "\\uDC00\\uDFFF\\uD83D", ""},
    {"control characters", {8, 3, 'a', 0, 0x1B, 0, '\n', 0}, "a\\u001B\\u000A", ""},
    {"C1 control characters", {8, 3, 0x80, 0, 'a', 0, 0x9F, 0}, "\\u0080a\\u009F", ""},
    {"direction override", {4, 3, 0x2E, 0x20}, "\\u202E", ""},
    {"backslash", {4, 3, '\\', 0}, "\\\\", ""},
    {"odd length", {5, 3, 'a', 0, 0xFF}, "a\\xFF", ""},
    {"shorter than sent", {4, 3, 'a', 0, 'b', 0}, "a", ""},
    {"longer than sent", {10, 3, 'a', 0}, "", "it claims 10 bytes but sent 4"},
    {"length below its header", {1, 3, 'a', 0}, "", "its length, 1, is too short"},
    {"wrong type", {4, 1, 'a', 0}, "", "not a string descriptor"},
    {"nothing", {}, "", "no descriptor (0 bytes)"},
};

TEST(DecodeStringDescriptor, ShowsWhatIsSafeAndEscapesOrRefusesTheRest)
{
    for (const Case& c : kCases) {
        const auto decoded = decodeStringDescriptor(c.bytes);
        EXPECT_EQ(decoded.text, c.text) << c.what;
        EXPECT_EQ(decoded.problem, c.problem) << c.what;
    }
}

TEST(FirstLanguage, IsReadOnlyFromAWholeTable)
{
    EXPECT_EQ(vexa::firstLanguage(std::vector<std::uint8_t>{4, 3, 0x09, 0x04}), 0x0409);
    for (const std::vector<std::uint8_t>& broken :
         {std::vector<std::uint8_t>{2, 3}, {4, 3, 0x09}, {4, 2, 0x09, 0x04}, {}})
        EXPECT_FALSE(vexa::firstLanguage(broken));
}

} // namespace
