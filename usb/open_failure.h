#pragma once

#include "usb/device_place.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vexa {

// The one line written on standard error when a receiver is attached but
// libusb_open refuses it: what went wrong and what the operator can do.
std::string openFailureMessage(int libusbError, std::uint16_t vendorId, std::uint16_t productId);

// The line written on standard error when several devices share the
// receiver's IDs: how many, which one the request chose (index from 0, with
// where it is), and where to look.
std::string sharedIdMessage(std::size_t devices, std::size_t index, const DevicePlace& chosen,
                            std::uint16_t vendorId, std::uint16_t productId);

} // namespace vexa
