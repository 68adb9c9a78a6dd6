#pragma once

#include "usb/printed.h"

#include <cstdint>
#include <string>

namespace vexa {

// The receiver's USB IDs. They are a shared hobby pair: other devices, such as
// programmers, may carry them too.
inline constexpr std::uint16_t kReceiverVendorId = 0x16C0;
inline constexpr std::uint16_t kReceiverProductId = 0x05DC;

// A pair of USB IDs as the program's messages write them: "16C0:05DC".
inline std::string usbIdText(std::uint16_t vendorId, std::uint16_t productId)
{
    return printed("%04X:%04X", unsigned{vendorId}, unsigned{productId});
}

} // namespace vexa
