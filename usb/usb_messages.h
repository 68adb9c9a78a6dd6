#pragma once

#include "usb/device_place.h"
#include "usb/open_advice.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vexa {

// The lines that LibusbLibrary hands its owner's message sink, each without
// the program's name.

// A device with the IDs that libusb_open refuses: where it is, libusb's error
// and what the operator can do about it on this platform.
std::string openFailureMessage(int libusbError, std::uint16_t vendorId, std::uint16_t productId,
                               const DevicePlace& place, Platform platform = thisPlatform());

// Several devices share the IDs and a request chose one by its index (from 0):
// how many, which one and where, and where to tell them apart.
std::string sharedIdMessage(std::size_t devices, std::size_t index, const DevicePlace& chosen,
                            std::uint16_t vendorId, std::uint16_t productId);

// Devices with the IDs are attached, and none has the serial number asked for.
std::string serialNotFoundMessage(std::size_t devices, const std::string& serial,
                                  std::uint16_t vendorId, std::uint16_t productId);

// A device whose serial number cannot be read, and is therefore passed over.
std::string unreadableSerialMessage(const DevicePlace& place, const std::string& problem);

// libusb itself failed at a step ("start", "list the devices").
std::string libraryFailureMessage(const std::string& step, int libusbError);

} // namespace vexa
