#pragma once

#include "oscillator/dial.h"
#include "oscillator/oscillator_request.h"
#include "rigctld/command.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// Answers of the protocol's own: a result code after "RPRT", 0 for done and
// the negative error numbers that clients know.
inline constexpr std::string_view kDone = "RPRT 0\n";
inline constexpr std::string_view kInvalidArgument = "RPRT -1\n";
inline constexpr std::string_view kInputOutputError = "RPRT -6\n";
inline constexpr std::string_view kNotAvailable = "RPRT -11\n";

// What the server serves all clients alike.
struct RigState {
    DialSettings dial;
    double lastDialHz = 0; // the last dial frequency the receiver took
};

// What the server does with one command. A tuning whose word is there is to
// be sent, and its answer waits for the receiver (setAnswer); otherwise the
// answer goes back at once.
struct Reply {
    std::string answer;
    std::optional<Tuning> tuning;
    bool closes = false; // the client is done: close its connection
};
Reply replyTo(const Command& command, const RigState& state);

// The answer to a set once the request is over: done only when the receiver
// took the four bytes; an input/output error when none could be opened or
// the transfer failed.
std::string_view setAnswer(const OscillatorRequestResult& result);

} // namespace vexa
