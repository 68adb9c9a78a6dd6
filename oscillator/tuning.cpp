#include "oscillator/tuning.h"

#include "oscillator/frequency_word.h"

namespace vexa {

std::optional<std::string> oscillatorWordText(double mhz)
{
    // A negative frequency would go out as a two's-complement word that no
    // oscillator setting means; refuse it rather than send it.
    if (mhz < 0)
        return std::nullopt;
    const auto word = frequencyWord(mhz, kOscillatorFractionBits);
    if (!word)
        return std::nullopt;
    return hexText(static_cast<std::uint32_t>(*word));
}

} // namespace vexa
