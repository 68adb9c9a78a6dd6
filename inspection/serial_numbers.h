#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexa {

// The serial-number strings of the attached devices with these IDs, in the
// order in which LibusbLibrary::vb_usb_open's index counts them (index 0
// first); std::nullopt for a device whose serial cannot be read. Characters
// that could garble a terminal come escaped (see DecodedString).
std::vector<std::optional<std::string>> readSerialNumbers(std::uint16_t vendorId,
                                                          std::uint16_t productId);

} // namespace vexa
