#pragma once

#include "extio/newest_wins_tuner.h"

namespace vexa {

// The tuner's sender to the real receiver over libusb: a tuning job becomes
// the window's frequency request to the receiver the job names. Everything
// it holds is made and used on the tuner's thread.
NewestWinsTuner::Send receiverSend();

} // namespace vexa
