#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

struct libusb_device;

namespace vexa {

// Where a device sits: its bus, the ports from the root hub down to it (none
// for a root hub itself) and the address the bus gave it. Places compare in
// the order in which the program counts devices: by bus, then port path, then
// address. libusb's own listing order changes with the plug history and the
// platform; this one is the same in every process and every libusb context.
struct DevicePlace {
    std::uint8_t bus = 0;
    std::vector<std::uint8_t> ports;
    std::uint8_t address = 0;

    auto operator<=>(const DevicePlace&) const = default;
};

DevicePlace placeOf(libusb_device* device);

// "bus 001 address 003": one device, as the program's messages name it.
std::string busAddressText(const DevicePlace& place);

// "1-2.4" (bus 1, port 2 of the root hub, port 4 of the hub there), or "usb1"
// for the root hub itself, as Linux names them.
std::string portPathText(const DevicePlace& place);

} // namespace vexa
