#include "oscillator/dial.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace vexa;

TEST(Dial, RangeEndsWhereTheWordsDo)
{
    for (const DialSettings settings : {DialSettings{}, DialSettings{3, -12000}, DialSettings{1, 5}}) {
        const DialRange range = dialRange(settings);
        EXPECT_EQ(range.lowestHz, std::max(0.0, -settings.offsetHz));
        EXPECT_TRUE(tuningFor(range.lowestHz, settings).wordText);
        EXPECT_TRUE(tuningFor(range.highestHz, settings).wordText);
        EXPECT_FALSE(tuningFor(range.highestHz + 1, settings).wordText);
        EXPECT_FALSE(tuningFor(-0.5, settings).wordText);
    }
    EXPECT_EQ(dialRange({}).highestHz, 511999999);
    EXPECT_EQ(tuningFor(14074000, {}).wordText, "384BC6A");
}

} // namespace
