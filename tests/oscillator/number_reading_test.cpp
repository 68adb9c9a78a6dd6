#include "oscillator/number_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using vexa::readNumber;

namespace {

TEST(NumberReading, ReadsTheLeadingNumberOfTheText)
{
    const std::pair<std::string, double> cases[] = {
        {"5.000000", 5.0},
        {"14.2", 14.2},
        {"14.2 MHz", 14.2},
        {"14,2", 14.0},
        {"1 4 . 2", 14.2},
        {" \t\n28\n", 28.0},
        {"+5", 5.0},
        {"-5", -5.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"1.2.3", 1.2},
        {"1e3", 1000.0},
        {"1E+3", 1000.0},
        {"25e-1", 2.5},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1x", 1.0},
        {"0.1", 0.1},
        {"1023.9999995", 1023.9999995},
        {"", 0.0},
        {"   ", 0.0},
        {"MHz", 0.0},
        {"--5", 0.0},
        {"+-5", 0.0},
        {".", 0.0},
        {"-", 0.0},
        {"nan", 0.0},
        {"inf", 0.0},
        {"0x10", 0.0},
        {"1e-400", 0.0},
        {"\xd9\xa5", 0.0}, // ARABIC-INDIC DIGIT FIVE is no digit here
        {"&HFF", 255.0},
        {"&hff", 255.0},
        {"&H 1 0", 16.0},
        {"&O17", 15.0},
        {"&o8", 0.0},
        {"&H", 0.0},
        {"&HFFFF", 65535.0},
        {"&HFFFFFFFF", 4294967295.0},
        {"&X1", 0.0},
        {"&", 0.0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(readNumber(text), value) << '"' << text << '"';
}

TEST(NumberReading, RoundsDecimalTextCorrectly)
{
    // 5 + 2^-22 exactly: the product with 2^21 must come out as the tie.
    EXPECT_EQ(readNumber("5.0000002384185791015625"), 5.0 + std::ldexp(1.0, -22));
    // Halfway between two doubles, with a tail that tips it upward.
    EXPECT_EQ(readNumber("1.00000000000000011102230246251565404236316680908203125000001"),
              std::nextafter(1.0, 2.0));
    // A long run of digits is read whole, not cut short.
    EXPECT_EQ(readNumber(std::string(100'000, '1') + "e-99990"), 1.1111111111111111e9);
}

TEST(NumberReading, NumbersBeyondADoubleAreInfinite)
{
    EXPECT_EQ(readNumber("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readNumber("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(readNumber("1e99999999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readNumber("0.0001e-99999999999999999999"), 0.0);
    EXPECT_TRUE(std::isinf(readNumber("&H" + std::string(300, 'F'))));
}

} // namespace
