#include "app/layout_rule.h"

#include <algorithm>

namespace vexa {

LayoutRuleResult applyLayoutRule(OuterSize outer, int messageAreaLeft)
{
    if (outer.height < kLowestOuterHeight)
        outer.height = kLowestOuterHeight;
    if (outer.width < messageAreaLeft)
        outer.width = messageAreaLeft + kWidthMargin;
    return {outer, std::max(0, outer.width - 2 * messageAreaLeft)};
}

} // namespace vexa
