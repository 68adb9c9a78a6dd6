#include "oscillator/dial.h"

#include "oscillator/frequency_word.h"
#include "oscillator/tuning.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

constexpr double kHzPerMhz = 1e6;

double oscillatorMhzFor(double dialHz, const DialSettings& settings)
{
    return settings.multiplier * (dialHz + settings.offsetHz) / kHzPerMhz;
}

} // namespace

Tuning tuningFor(double dialHz, const DialSettings& settings)
{
    const double mhz = oscillatorMhzFor(dialHz, settings);
    // A dial below zero means nothing, whatever the offset makes of it.
    if (!(dialHz >= 0))
        return {dialHz, mhz, std::nullopt};
    return {dialHz, mhz, oscillatorWordText(mhz)};
}

DialRange dialRange(const DialSettings& settings)
{
    // The highest word, 2^31 - 1, stands for just under 1024 MHz.
    const double highestMhz = std::ldexp(2147483647.0, -kOscillatorFractionBits);
    const double lowest = std::max(0.0, std::ceil(-settings.offsetHz));
    const double highest = std::floor(highestMhz * kHzPerMhz / settings.multiplier - settings.offsetHz);
    return {lowest, std::max(lowest, highest)};
}

} // namespace vexa
