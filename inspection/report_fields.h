#pragma once

#include "inspection/usb_report.h"
#include "usb/printed.h"

#include <cstdint>
#include <string>

namespace vexa {

// The fields that the text and the JSON report write alike.

// A BCD version such as 0x0110 as "1.10".
std::string bcdVersion(std::uint16_t version);

} // namespace vexa
