#pragma once

#include <string>

namespace vexa {

// The advice differs where the cure does: the udev rule on Linux, the WinUSB
// driver on Windows.
enum class Platform { Linux, Windows };

Platform thisPlatform();

// What to do about a device with the receiver's IDs that libusb_open refuses
// with this error: one paragraph, for the programs' error lines and the USB
// report alike.
std::string openAdvice(int libusbError, Platform platform);

// What to do on Windows about a receiver without the WinUSB driver, which
// libusb then does not list at all.
std::string winUsbDriverAdvice();

} // namespace vexa
