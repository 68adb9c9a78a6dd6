#include "oscillator/frequency_word.h"
#include "oscillator/tuning.h"
#include "support/preset_table.h"

#include <gmock/gmock.h>

#include <array>
#include <cstdint>
#include <string>

using namespace vexa;
using Bytes = std::array<std::uint8_t, 4>;

namespace {

TEST(FrequencyWord, EveryPresetGivesItsWordTextAndBytes)
{
    for (const vexa::testing::PresetRow& row : vexa::testing::kPresetRows) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(frequencyWord(row.preset.mhz, kOscillatorFractionBits), row.word);
        EXPECT_EQ(oscillatorWordText(row.preset.mhz), row.text);
        EXPECT_EQ(packHexText(row.text), row.bytes);
    }
}

TEST(FrequencyWord, RoundsToNearestWithTiesToEven)
{
    struct Case {
        double mhz;
        int bits;
        std::int32_t word;
    };
    const Case cases[] = {
        {5.0000002384185791015625, 21, 0xA00000}, // exactly ...0.5: the even word
        {5.0000007152557373046875, 21, 0xA00002}, // exactly ...1.5: the even word
        {14.2, 21, 29779558},                     // .4 rounds down
        {3.6, 21, 7549747},                       // .2 rounds down
        {56.32, 21, 118111601},                   // .64 rounds up
        {114.285, 24, 0x7248F5C3},
        {114.2, 24, 0x72333333},
        {114.4, 24, 0x72666666},
        {-5, 21, -10485760},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frequencyWord(c.mhz, c.bits), c.word) << c.mhz;
}

TEST(FrequencyWord, RefusesWordsOutsideTheSigned32BitRange)
{
    EXPECT_EQ(frequencyWord(1023.9999995, 21), 0x7FFFFFFF);
    EXPECT_EQ(frequencyWord(1024, 21), std::nullopt);
    EXPECT_EQ(frequencyWord(-1024, 21), std::int32_t{-2147483647 - 1});
    EXPECT_EQ(frequencyWord(-1024.000001, 21), std::nullopt);
    EXPECT_EQ(frequencyWord(1e300, 21), std::nullopt);
    EXPECT_EQ(frequencyWord(std::numeric_limits<double>::infinity(), 21), std::nullopt);
    EXPECT_EQ(frequencyWord(std::numeric_limits<double>::quiet_NaN(), 21), std::nullopt);
}

TEST(FrequencyWord, HexTextIsUpperCaseWithoutLeadingZeros)
{
    EXPECT_EQ(hexText(0), "0");
    EXPECT_EQ(hexText(0xFFFFF), "FFFFF");
    EXPECT_EQ(hexText(0xA00000), "A00000");
    EXPECT_EQ(hexText(0xFF600000), "FF600000");
}

TEST(FrequencyWord, PacksEveryTextFromItsValueLeastSignificantFirst)
{
    const std::pair<std::string_view, Bytes> cases[] = {
        {"733333", {0x33, 0x33, 0x73, 0x00}},
        {"FF600000", {0x00, 0x00, 0x60, 0xFF}},
        // Short words go out as the value the message area shows, not as zeros.
        {"80000", {0x00, 0x00, 0x08, 0x00}},
        {"FFFFF", {0xFF, 0xFF, 0x0F, 0x00}},
        {"1", {0x01, 0x00, 0x00, 0x00}},
        {"0", {0x00, 0x00, 0x00, 0x00}},
        // Anything that is no word of at most eight digits sends nothing meant.
        {"", {0, 0, 0, 0}},
        {"123456789", {0, 0, 0, 0}},
        {"12G4", {0, 0, 0, 0}},
        {"-1", {0, 0, 0, 0}},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(packHexText(text), bytes) << text;
}

TEST(Tuning, RefusesFrequenciesTheReceiverCannotTake)
{
    EXPECT_EQ(oscillatorWordText(0.25), "80000");
    EXPECT_EQ(oscillatorWordText(0), "0");
    EXPECT_EQ(oscillatorWordText(-0.0), "0");
    EXPECT_EQ(oscillatorWordText(1023.9999995), "7FFFFFFF");
    EXPECT_EQ(oscillatorWordText(-5), std::nullopt);
    EXPECT_EQ(oscillatorWordText(-0.0000001), std::nullopt);
    EXPECT_EQ(oscillatorWordText(1024), std::nullopt);
    EXPECT_EQ(oscillatorWordText(std::numeric_limits<double>::infinity()), std::nullopt);
}

} // namespace
