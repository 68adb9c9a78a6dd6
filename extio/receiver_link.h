#pragma once

#include "extio/newest_wins_tuner.h"

#include <cstdint>

namespace vexa {

// The time-out of the plugin's transfers: the receiver answers within a
// millisecond, and a stalled one holds the newest LO back no longer than this.
inline constexpr std::int32_t kTuningTimeoutMs = 1000;

// The tuner's sender to the real receiver over libusb: a tuning job becomes
// the window's frequency request to the receiver the job names. Everything
// it holds is made and used on the tuner's thread.
NewestWinsTuner::Send receiverSend();

} // namespace vexa
