#include "inspection/report_fields.h"

namespace vexa {

std::string bcdVersion(std::uint16_t version)
{
    return printed("%x.%02x", static_cast<unsigned>(version >> 8),
                   static_cast<unsigned>(version & 0xFF));
}

std::string portPath(const DeviceReport& device)
{
    std::string path = device.ports.empty() ? "usb" : "";
    path += std::to_string(device.bus);
    for (std::size_t i = 0; i < device.ports.size(); ++i) {
        path += i == 0 ? '-' : '.';
        path += std::to_string(device.ports[i]);
    }
    return path;
}

} // namespace vexa
