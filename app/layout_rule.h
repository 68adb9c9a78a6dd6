#pragma once

namespace vexa {

// A window's outer size, frame and title bar included, in twips.
struct OuterSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const OuterSize&, const OuterSize&) = default;
};

struct LayoutRuleResult {
    OuterSize outer;      // the size the window must have
    int messageAreaWidth; // never below 0
    friend bool operator==(const LayoutRuleResult&, const LayoutRuleResult&) = default;
};

inline constexpr int kLowestOuterHeight = 2500;
inline constexpr int kWidthMargin = 100;

// The main window's rule on every resize: the window is never lower than
// 2500 twips; a window narrower than the message area's left edge is widened
// to just past it; and the message area keeps the same margin right of it as
// on its left, so it alone follows the window's width.
LayoutRuleResult applyLayoutRule(OuterSize outer, int messageAreaLeft);

} // namespace vexa
