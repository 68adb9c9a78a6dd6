#pragma once

#include "usb/string_descriptor.h"
#include "inspection/usb_device.h"
#include "usb/device_place.h"
#include "usb/receiver.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexa {

// What the report knows of every attached USB device: plain data, so that
// formatting it and judging it need no bus.

struct EndpointReport {
    std::uint8_t address = 0; // bit 7 set: IN
    std::uint8_t attributes = 0;
    std::uint16_t maxPacketSize = 0;
    std::uint8_t interval = 0;
};

struct InterfaceReport {
    std::uint8_t number = 0;
    std::uint8_t alternate = 0;
    std::uint8_t interfaceClass = 0;
    std::uint8_t subclass = 0;
    std::uint8_t protocol = 0;
    std::vector<EndpointReport> endpoints;
};

struct ConfigurationReport {
    std::uint8_t value = 0;
    std::uint8_t attributes = 0;
    unsigned maxPowerMilliamps = 0;
    std::vector<InterfaceReport> interfaces;
};

struct DeviceReport {
    DevicePlace place;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usbVersion = 0;    // BCD, e.g. 0x0110
    std::uint16_t deviceVersion = 0; // BCD
    std::uint8_t deviceClass = 0;
    std::uint8_t subclass = 0;
    std::uint8_t protocol = 0;
    std::uint8_t maxPacketSize0 = 0;
    std::string speed; // "low", "full", "high", "super", "super+" or "unknown"
    DecodedString manufacturer;
    DecodedString product;
    DecodedString serial;
    std::optional<DeviceFailure> openFailure; // nothing when it opened
    std::vector<ConfigurationReport> configurations;
    std::vector<DeviceFailure> failures; // of the other steps, in order

    bool isReceiverId() const
    {
        return vendorId == kReceiverVendorId && productId == kReceiverProductId;
    }
};

struct UsbReport {
    std::vector<DeviceReport> devices;   // in the program's order (DevicePlace)
    std::optional<DeviceFailure> failure; // libusb could not start or list

    // The devices with the receiver's IDs, the one the window tunes first:
    // vb_usb_open counts them in the same order.
    std::vector<const DeviceReport*> receivers() const;
    std::vector<const DeviceReport*> others() const;
};

// Reads every attached device now, opening each one to read its strings.
UsbReport collectReport();

// The current a configuration's MaxPower field stands for, given libusb's
// speed of the device (enum libusb_speed) and its USB version (BCD).
unsigned maxPowerMilliamps(std::uint8_t maxPower, int speed, std::uint16_t usbVersion);

} // namespace vexa
