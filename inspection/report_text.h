#pragma once

#include "inspection/usb_report.h"
#include "inspection/verdict.h"

#include <string>

namespace vexa {

// The report for a person: the devices with the receiver's IDs first, each
// with its strings, whether it opens and, when not, what to do; then every
// other device on one line (with all its descriptors when verbose); last the
// verdict and its advice.
std::string formatReport(const UsbReport& report, const Verdict& verdict, Platform platform,
                         bool verbose);

} // namespace vexa
