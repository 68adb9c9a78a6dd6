#include "app/layout_rule.h"

#include <gtest/gtest.h>

using namespace vexa;

namespace {

TEST(LayoutRule, FloorsTheSizeAndLetOnlyTheMessageAreaFollowTheWidth)
{
    struct Case {
        OuterSize outer;
        LayoutRuleResult result;
    };
    const Case cases[] = {
        {{9000, 4000}, {{9000, 4000}, 1800}},
        {{12000, 4000}, {{12000, 4000}, 4800}},
        {{8970, 4050}, {{8970, 4050}, 1770}}, // design size with 60-twip frames
        {{9000, 2499}, {{9000, 2500}, 1800}},
        {{9000, 2500}, {{9000, 2500}, 1800}},
        {{9000, 100}, {{9000, 2500}, 1800}},
        {{3599, 4000}, {{3700, 4000}, 0}},
        {{3600, 4000}, {{3600, 4000}, 0}},
        {{0, 0}, {{3700, 2500}, 0}},
        {{7200, 4000}, {{7200, 4000}, 0}},
        {{7215, 4000}, {{7215, 4000}, 15}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(applyLayoutRule(c.outer, 3600), c.result)
            << c.outer.width << " x " << c.outer.height;
        // A second run over its own result finds nothing more to correct.
        EXPECT_EQ(applyLayoutRule(c.result.outer, 3600), c.result);
    }
}

TEST(LayoutRule, FollowsTheMessageAreasLeftEdge)
{
    EXPECT_EQ(applyLayoutRule({1900, 3000}, 2000), (LayoutRuleResult{{2100, 3000}, 0}));
    EXPECT_EQ(applyLayoutRule({5000, 3000}, 2000), (LayoutRuleResult{{5000, 3000}, 1000}));
}

} // namespace
