#pragma once

#include "oscillator/dial.h"

#include <string>

namespace vexa {

// The answer to "\dump_state": the rig's description in the protocol's
// version 0, one value or list a line, as the network client reads it.
std::string dumpState(const DialSettings& settings);

} // namespace vexa
