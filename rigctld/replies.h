#pragma once

#include "oscillator/dial.h"
#include "oscillator/oscillator_request.h"
#include "rigctld/command.h"

#include <optional>
#include <string>

namespace vexa {

// Result codes of the protocol, as hamlib's clients know them.
inline constexpr int kInvalidArgument = -1; // RIG_EINVAL
// RIG_ERJCTED: no receiver could be opened, or the transfer failed. hamlib's
// client reports it and a chained rigctld passes it on; the input/output
// and time-out codes would make a chained rigctld drop its connection and
// leave its own client without an answer.
inline constexpr int kReceiverFailed = -9;
inline constexpr int kNotAvailable = -11; // RIG_ENAVAIL

// What a VFO holds: the receiver has no modes, so the one last set is kept
// for clients to read back.
struct VfoSettings {
    double frequencyHz = 0;
    std::string mode = "USB";
    long passbandHz = 3000;
};

// What the server serves all clients alike.
struct RigState {
    DialSettings dial;
    VfoSettings receiver;    // VFO A: the last dial frequency the receiver took
    VfoSettings transmitter; // VFO B: stored only
    bool split = false;
    Vfo transmitVfo = Vfo::A; // as "s" reports it
    long lockMode = 0;        // while not 0, mode sets change nothing
};

// What one client chose for itself: its VFO, so that one client's choice
// never redirects another's sets.
struct ConnectionState {
    Vfo currentVfo = Vfo::A;
};

// What the server does with one command. A tuning whose word is there is to
// be sent, and its answer waits for the receiver (setAnswer); otherwise the
// answer goes back at once.
struct Reply {
    std::string answer;
    int code = 0;
    std::optional<Tuning> tuning;
    std::optional<double> storedTransmitHz; // a frequency kept on VFO B, never sent
    bool closes = false;                    // the client is done: close its connection
};
Reply replyTo(const Command& command, RigState& rig, ConnectionState& connection);

// What a dial frequency from a client or the command line asks of the
// receiver. Frequencies are whole Hz, rounded as the oscillator word is: to
// the nearest, a tie to the even one.
Tuning receiverTuning(double dialHz, const DialSettings& dial);

// The answer to a set once the request is over: done only when the receiver
// took the word.
std::string setAnswer(const Command& command, const OscillatorRequestResult& result);

} // namespace vexa
