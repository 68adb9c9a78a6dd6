#pragma once

#include "inspection/usb_report.h"
#include "usb/printed.h"

#include <cstdint>
#include <string>

namespace vexa {

// The fields that the text and the JSON report write alike.

// A BCD version such as 0x0110 as "1.10".
std::string bcdVersion(std::uint16_t version);

// Where the device sits, from the root hub down: "1-2.4" (bus 1, port 2 of
// the root hub, port 4 of the hub there), or "usb1" for the root hub itself,
// as Linux names them.
std::string portPath(const DeviceReport& device);

} // namespace vexa
