#include "rigctld/dump_state.h"

#include "rigctld/hz_text.h"

namespace vexa {

namespace {

// Mode bits of the protocol: AM, CW, USB, LSB, RTTY, FM, WFM, CW and RTTY
// reversed. The receiver has no mode of its own; any may be asked for.
constexpr std::string_view kModes = "0x1ff";
constexpr std::string_view kVfoA = "0x1";
constexpr std::string_view kRangeEnd = "0 0 0 0 0 0 0\n";
constexpr std::string_view kListEnd = "0 0\n";

} // namespace

std::string dumpState(const DialSettings& settings)
{
    const DialRange range = dialRange(settings);
    std::string block;
    block += "0\n"; // protocol version
    block += "2\n"; // the network rig's model number
    block += "1\n"; // ITU region
    // Receive range: start, end, modes, no transmit power, the one VFO, no antenna.
    block += hzText(range.lowestHz) + " " + hzText(range.highestHz) + " " + std::string(kModes) +
             " -1 -1 " + std::string(kVfoA) + " 0\n";
    block += kRangeEnd;
    block += kRangeEnd; // no transmit range
    block += std::string(kModes) + " 1\n"; // tuning step: 1 Hz
    block += kListEnd;
    block += std::string(kModes) + " 3000\n"; // filter: 3 kHz, as "m" answers
    block += kListEnd;
    block += "0\n0\n0\n"; // no RIT, XIT or IF shift
    block += "0\n";       // announcements
    block += "\n\n";      // no preamplifier, no attenuator
    // Functions, levels and parameters read and set: none.
    block += "0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n";
    return block;
}

} // namespace vexa
