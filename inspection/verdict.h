#pragma once

#include "inspection/usb_report.h"
#include "usb/open_advice.h"

#include <string>
#include <vector>

namespace vexa {

// What the report concludes about the receiver the window would tune, the
// first device with its IDs. Exit status: 0 when it opens, 1 when none is
// attached, 2 when one is attached but does not open.
struct Verdict {
    int exitStatus = 1;
    std::string line;                // "receiver ready", ...
    std::vector<std::string> advice; // what to do, one paragraph each
};

Verdict verdictOf(const UsbReport& report, Platform platform);

} // namespace vexa
