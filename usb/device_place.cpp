#include "usb/device_place.h"

#include "usb/printed.h"

#include <libusb.h>

#include <array>

namespace vexa {

DevicePlace placeOf(libusb_device* device)
{
    DevicePlace place;
    place.bus = libusb_get_bus_number(device);
    place.address = libusb_get_device_address(device);
    std::array<std::uint8_t, 8> ports{}; // USB 3 allows seven tiers of hubs
    // A backend that cannot tell the ports leaves the path empty: such
    // devices then follow their addresses.
    if (const int depth = libusb_get_port_numbers(device, ports.data(), ports.size()); depth > 0)
        place.ports.assign(ports.begin(), ports.begin() + depth);
    return place;
}

std::string busAddressText(const DevicePlace& place)
{
    return printed("bus %03u address %03u", unsigned{place.bus}, unsigned{place.address});
}

std::string portPathText(const DevicePlace& place)
{
    std::string path = place.ports.empty() ? "usb" : "";
    path += std::to_string(place.bus);
    for (std::size_t i = 0; i < place.ports.size(); ++i) {
        path += i == 0 ? '-' : '.';
        path += std::to_string(place.ports[i]);
    }
    return path;
}

} // namespace vexa
