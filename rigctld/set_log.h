#pragma once

#include "oscillator/dial.h"

#include <string>
#include <string_view>

namespace vexa {

// The line logged for every set: when, for whom, the dial and oscillator
// frequencies, and the result as the window shows it ("RC=4   Hex=384BC6A",
// " Error: Device not found!", " Error: Frequency out of range!").
std::string setLogLine(std::string_view time, std::string_view client, const Tuning& tuning,
                       std::string_view result);

// The line for a frequency kept on VFO B, the transmit VFO of a client that
// works split, which never reaches the receiver.
std::string transmitLogLine(std::string_view time, std::string_view client, double hz);

// Text a client sent, fit for a terminal: bytes outside printable ASCII are
// shown as \xNN.
std::string printable(std::string_view text);

} // namespace vexa
