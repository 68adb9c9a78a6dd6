#pragma once

#include <cstdint>
#include <string>

namespace vexa {

// The one line written on standard error when a receiver is attached but
// libusb_open refuses it: what went wrong and what the operator can do.
std::string openFailureMessage(int libusbError, std::uint16_t vendorId, std::uint16_t productId);

} // namespace vexa
