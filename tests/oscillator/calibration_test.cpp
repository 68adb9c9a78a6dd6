#include "oscillator/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vexa;

namespace {

using Outcome = std::variant<std::uint32_t, std::string_view>;

TEST(Calibration, CrystalWordFromTheMeasuredFrequency)
{
    struct Case {
        double measured;
        std::optional<double> startup;
        Outcome outcome;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {100, 100, 0x7248F5C3u},
        {56.32, 56.32, 0x7248F5C3u},
        {100.1, 100, 0x7266378Bu},
        {99.9, 100, kCrystalOutOfRange},
        {100, 56.32, kCrystalOutOfRange},  // measured for the other start-up frequency
        {0, 100, kCrystalOutOfRange},
        {-100, 100, kCrystalOutOfRange},
        {inf, 100, kCrystalOutOfRange},
        {100, std::nullopt, kStartupFrequencyMissing},
        {0, std::nullopt, kStartupFrequencyMissing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(crystalWord(c.measured, c.startup), c.outcome) << c.measured;
}

TEST(Calibration, BothEndsOfTheCrystalRangeAreAccepted)
{
    // A start-up frequency equal to the nominal crystal makes x the measured value.
    EXPECT_EQ(crystalWord(114.2, kNominalCrystalMhz), Outcome{0x72333333u});
    EXPECT_EQ(crystalWord(114.4, kNominalCrystalMhz), Outcome{0x72666666u});
    EXPECT_EQ(crystalWord(std::nextafter(114.2, 0.0), kNominalCrystalMhz),
              Outcome{kCrystalOutOfRange});
    EXPECT_EQ(crystalWord(std::nextafter(114.4, 200.0), kNominalCrystalMhz),
              Outcome{kCrystalOutOfRange});
}

} // namespace
