#pragma once

#include "oscillator/dial.h"

#include <cstdint>
#include <optional>

namespace vexa {

// The LOs, in whole Hz, that an SDR program may ask for: those whose
// oscillator word the receiver takes, from 1 Hz (an LO of 0 is no frequency,
// and the answer below could not name it) to the largest a 32-bit answer holds.
struct LoRange {
    std::int32_t lowestHz;
    std::int32_t highestHz;
};
std::optional<LoRange> loRange(const DialSettings& settings);

// What the plugin makes of an LO: the tuning to send and the answer 0, or,
// for an LO out of range, nothing to send and the answer the interface
// prescribes: minus the lowest LO below the range, the highest above it.
// Settings without a range (which the plugin never keeps, see
// plugin_settings.h) answer with the smallest int to every LO.
struct LoMapping {
    std::int32_t answer;
    std::optional<Tuning> tuning;
};
LoMapping mapLo(std::int64_t loHz, const DialSettings& settings);

} // namespace vexa
