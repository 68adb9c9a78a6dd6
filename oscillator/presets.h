#pragma once

namespace vexa {

// A fixed frequency that the oscillator can be tuned to with one click.
struct Preset {
    double mhz;
    bool isStartupFrequency; // also remembered as the start-up frequency
};

// Ten wavelength bands, 10 MHz, and the oscillator's two start-up frequencies.
inline constexpr Preset kBand160m{3.6, false};
inline constexpr Preset kBand80m{7, false};
inline constexpr Preset kBand40m{14, false};
inline constexpr Preset kBand30m{20, false};
inline constexpr Preset kBand20m{28, false};
inline constexpr Preset kBand15m{42, false};
inline constexpr Preset kBand10m{56, false};
inline constexpr Preset kBand6m{100, false};
inline constexpr Preset kBand2m{290, false};
inline constexpr Preset kBand70cm{860, false};
inline constexpr Preset k10MHz{10, false};
inline constexpr Preset kStartup100MHz{100, true};
inline constexpr Preset kStartup56MHz{56.32, true};

} // namespace vexa
