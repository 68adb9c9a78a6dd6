#include "oscillator/calibration.h"

#include "oscillator/frequency_word.h"

namespace vexa {

std::variant<std::uint32_t, std::string_view> crystalWord(double measuredMhz,
                                                          std::optional<double> startupMhz)
{
    if (!startupMhz)
        return kStartupFrequencyMissing;
    // Every output frequency is off by the same factor as the crystal.
    const double crystalMhz = (measuredMhz * kNominalCrystalMhz) / *startupMhz;
    if (!(crystalMhz >= kCrystalLowestMhz && crystalMhz <= kCrystalHighestMhz))
        return kCrystalOutOfRange;
    return static_cast<std::uint32_t>(*frequencyWord(crystalMhz, kCrystalFractionBits));
}

} // namespace vexa
