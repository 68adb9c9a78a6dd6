#include "usb/open_advice.h"

#include "usb/receiver.h"

#include <libusb.h>

namespace vexa {

namespace {

enum class Cure { UdevRule, WinUsbDriver, CloseTheOtherProgram, PlugInAgain };

struct Entry {
    int error;
    Platform platform;
    Cure cure;
};

constexpr Entry kCures[] = {
    {LIBUSB_ERROR_ACCESS, Platform::Linux, Cure::UdevRule},
    {LIBUSB_ERROR_ACCESS, Platform::Windows, Cure::WinUsbDriver},
    {LIBUSB_ERROR_NOT_SUPPORTED, Platform::Windows, Cure::WinUsbDriver},
    {LIBUSB_ERROR_NOT_FOUND, Platform::Windows, Cure::WinUsbDriver},
    {LIBUSB_ERROR_BUSY, Platform::Linux, Cure::CloseTheOtherProgram},
    {LIBUSB_ERROR_BUSY, Platform::Windows, Cure::CloseTheOtherProgram},
    {LIBUSB_ERROR_NO_DEVICE, Platform::Linux, Cure::PlugInAgain},
    {LIBUSB_ERROR_NO_DEVICE, Platform::Windows, Cure::PlugInAgain},
};

std::string textOf(Cure cure)
{
    switch (cure) {
    case Cure::UdevRule:
        return "Your account may not write to it (access was denied): install the udev rule, "
               "see README, \"Access to the receiver without root\", then replug it. Logged in "
               "over ssh or su, join the group plugdev instead: sudo usermod -aG plugdev "
               "\"$USER\", then log out and in again.";
    case Cure::WinUsbDriver:
        return "It has no WinUSB driver: the Device Manager lists it with another driver, or "
               "with a warning sign and none. Install WinUSB once, with the receiver plugged "
               "in, using a driver installer such as Zadig: Options, List All Devices, pick the "
               "device with USB ID " +
               usbIdText(kReceiverVendorId, kReceiverProductId) +
               ", choose WinUSB and install, then replug it. Pick no other device: a keyboard, "
               "mouse or other device given WinUSB in place of its own driver stops working.";
    case Cure::CloseTheOtherProgram:
        return "It is busy: another program holds it; close that program or replug the "
               "receiver.";
    case Cure::PlugInAgain:
        return "It was unplugged or reset while being opened: check the cable and plug it in "
               "again.";
    }
    return {};
}

} // namespace

Platform thisPlatform()
{
#ifdef _WIN32
    return Platform::Windows;
#else
    return Platform::Linux;
#endif
}

std::string openAdvice(int libusbError, Platform platform)
{
    for (const Entry& entry : kCures)
        if (entry.error == libusbError && entry.platform == platform)
            return textOf(entry.cure);
    return "Replug it; if that does not help, please report it with the output of "
           "vexa-sdr-usb-report attached.";
}

std::string winUsbDriverAdvice() { return textOf(Cure::WinUsbDriver); }

} // namespace vexa
