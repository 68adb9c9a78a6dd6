#pragma once

#include "inspection/usb_report.h"
#include "inspection/verdict.h"

#include <string>

namespace vexa {

// The report as one JSON object, for scripts and bug reports; README lists
// its fields.
std::string formatJson(const UsbReport& report, const Verdict& verdict);

} // namespace vexa
