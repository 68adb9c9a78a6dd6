#include "extio/lo_mapping.h"

#include <algorithm>
#include <limits>

namespace vexa {

std::optional<LoRange> loRange(const DialSettings& settings)
{
    constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
    const DialRange dial = dialRange(settings);
    const double lowest = std::max(1.0, dial.lowestHz);
    const double highest = std::min(kLargest, dial.highestHz);
    // Settings whose range is empty leave nothing to tune.
    if (!(lowest <= highest) || !tuningFor(lowest, settings).wordText)
        return std::nullopt;
    return LoRange{static_cast<std::int32_t>(lowest), static_cast<std::int32_t>(highest)};
}

LoMapping mapLo(std::int64_t loHz, const DialSettings& settings)
{
    const auto range = loRange(settings);
    if (!range)
        return {std::numeric_limits<std::int32_t>::min(), std::nullopt};
    if (loHz < range->lowestHz)
        return {-range->lowestHz, std::nullopt};
    if (loHz > range->highestHz)
        return {range->highestHz, std::nullopt};
    return {0, tuningFor(static_cast<double>(loHz), settings)};
}

} // namespace vexa
