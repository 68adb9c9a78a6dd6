#include "rigctld/dump_state.h"

#include "rigctld/hz_text.h"
#include "rigctld/modes.h"

namespace vexa {

namespace {

// VFO A, which the receiver tunes, and VFO B, which a client's transmitter
// keeps.
constexpr std::string_view kVfos = "0x3";
constexpr std::string_view kRangeEnd = "0 0 0 0 0 0 0\n";
constexpr std::string_view kListEnd = "0 0\n";

} // namespace

std::string dumpState(const DialSettings& settings)
{
    const DialRange range = dialRange(settings);
    const std::string modes = modeMaskText();
    std::string block;
    block += "0\n"; // protocol version
    block += "2\n"; // the network rig's model number
    block += "1\n"; // ITU region
    // Receive range: start, end, modes, no transmit power, the VFOs, no antenna.
    block += hzText(range.lowestHz) + " " + hzText(range.highestHz) + " " + modes + " -1 -1 " +
             std::string(kVfos) + " 0\n";
    block += kRangeEnd;
    block += kRangeEnd; // no transmit range
    block += modes + " 1\n"; // tuning step: 1 Hz
    block += kListEnd;
    block += modes + " 3000\n"; // filter: 3 kHz, as "m" answers at first
    block += kListEnd;
    block += "0\n0\n0\n"; // no RIT, XIT or IF shift
    block += "0\n";       // announcements
    block += "\n\n";      // no preamplifier, no attenuator
    // Functions, levels and parameters read and set: none.
    block += "0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n";
    return block;
}

} // namespace vexa
