#pragma once

#include <optional>
#include <string>

namespace vexa {

// How a dial frequency, the one station software or an SDR program shows,
// becomes the oscillator's: oscillator = multiplier x (dial + offset). The
// receiver mixes with half its oscillator frequency, hence the default 2,
// which the window's band presets imply too ("20 m" tunes 28 MHz).
struct DialSettings {
    double multiplier = 2;
    double offsetHz = 0;
};

// What a dial frequency asks of the receiver: the oscillator frequency and the
// hexadecimal text of its word, which is empty when the receiver cannot be
// tuned there (a negative dial, a word outside the signed 32-bit range, or a
// number that is not finite); then nothing is to be sent.
struct Tuning {
    double dialHz;
    double oscillatorMhz;
    std::optional<std::string> wordText;
};
Tuning tuningFor(double dialHz, const DialSettings& settings);

// The dial frequencies, in whole Hz, whose oscillator word the receiver takes.
struct DialRange {
    double lowestHz;
    double highestHz;
};
DialRange dialRange(const DialSettings& settings);

} // namespace vexa
