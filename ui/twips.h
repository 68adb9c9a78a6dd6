#pragma once

#include <QRect>

namespace vexa {

// Positions and sizes of the windows are designed in twips, 1/1440 inch. Qt's
// device-independent pixels are 96-dpi pixels: 15 twips each.
inline constexpr int kTwipsPerPixel = 15;

constexpr int pixelsFromTwips(int twips) { return twips / kTwipsPerPixel; }

// The fewest pixels that cover at least this many twips.
constexpr int pixelsCoveringTwips(int twips)
{
    return (twips + kTwipsPerPixel - 1) / kTwipsPerPixel;
}

constexpr int twipsFromPixels(int pixels) { return pixels * kTwipsPerPixel; }

constexpr QRect rectFromTwips(int left, int top, int width, int height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
            pixelsFromTwips(height)};
}

} // namespace vexa
