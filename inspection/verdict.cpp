#include "inspection/verdict.h"

#include <libusb.h>

namespace vexa {

namespace {

constexpr const char* kNotSeenLinux =
    "It is not plugged in, or not seen by the computer: check the cable, try another port, "
    "avoid unpowered hubs. A program in a container or sandbox without /dev/bus/usb sees no "
    "device: pass the USB device in.";
constexpr const char* kNotSeenWindows =
    "It is not plugged in or not seen: it is missing from the Device Manager. Check the cable "
    "and the port.";
constexpr const char* kWinUsbDriver =
    "It has no WinUSB driver: the Device Manager lists it with another driver, or with a "
    "warning sign and none. Install WinUSB once, with the receiver plugged in, using a driver "
    "installer such as Zadig: Options, List All Devices, pick the device with USB ID 16C0 05DC, "
    "choose WinUSB and install, then replug it. Pick no other device: a keyboard, mouse or "
    "other device given WinUSB in place of its own driver stops working.";
constexpr const char* kUdevRule =
    "Your account may not write to it (access was denied): install the udev rule, see README, "
    "\"Access to the receiver without root\", then replug it. Logged in over ssh or su, join "
    "the group plugdev instead: sudo usermod -aG plugdev \"$USER\", then log out and in again.";
constexpr const char* kBusy =
    "It is busy: another program holds it; close that program or replug the receiver.";
constexpr const char* kGone =
    "It was unplugged or reset during the check: check the cable and plug it in again.";

struct Cure {
    int error;
    Platform platform;
    const char* advice;
};

constexpr Cure kCures[] = {
    {LIBUSB_ERROR_ACCESS, Platform::Linux, kUdevRule},
    {LIBUSB_ERROR_ACCESS, Platform::Windows, kWinUsbDriver},
    {LIBUSB_ERROR_NOT_SUPPORTED, Platform::Windows, kWinUsbDriver},
    {LIBUSB_ERROR_NOT_FOUND, Platform::Windows, kWinUsbDriver},
    {LIBUSB_ERROR_BUSY, Platform::Linux, kBusy},
    {LIBUSB_ERROR_BUSY, Platform::Windows, kBusy},
    {LIBUSB_ERROR_NO_DEVICE, Platform::Linux, kGone},
    {LIBUSB_ERROR_NO_DEVICE, Platform::Windows, kGone},
};

std::string receiverIds() { return usbIdText(kReceiverVendorId, kReceiverProductId); }


} // namespace

Platform thisPlatform()
{
#ifdef _WIN32
    return Platform::Windows;
#else
    return Platform::Linux;
#endif
}

std::vector<std::string> openAdvice(const DeviceFailure& failure, Platform platform)
{
    for (const Cure& cure : kCures)
        if (cure.error == failure.error && cure.platform == platform)
            return {cure.advice};
    return {"libusb says " + failure.name + " (" + failure.meaning +
            "): replug it; if that does not help, please report it with this report attached."};
}

Verdict verdictOf(const UsbReport& report, Platform platform)
{
    Verdict verdict;
    if (report.failure) {
        verdict.line = "USB devices cannot be listed: " + report.failure->name + " (" +
                       report.failure->meaning + ")";
        return verdict;
    }
    const auto receivers = report.receivers();
    if (receivers.empty()) {
        verdict.line = "no receiver (USB ID " + receiverIds() + ") is attached";
        verdict.advice.push_back(platform == Platform::Windows ? kNotSeenWindows : kNotSeenLinux);
        if (platform == Platform::Windows)
            verdict.advice.push_back(kWinUsbDriver);
        return verdict;
    }
    const DeviceReport& tuned = *receivers.front();
    if (tuned.openFailure) {
        verdict.exitStatus = 2;
        verdict.line = "the receiver is attached but cannot be opened: " +
                       tuned.openFailure->name + " (" + tuned.openFailure->meaning + ")";
        verdict.advice = openAdvice(*tuned.openFailure, platform);
    } else {
        verdict.exitStatus = 0;
        verdict.line = "receiver ready";
    }
    if (receivers.size() > 1) {
        verdict.line += "; " + std::to_string(receivers.size()) + " devices share the ID " +
                        receiverIds() + " and the window tunes the first, " + busAddressText(tuned.place);
        verdict.advice.push_back("Devices that share the ID " + receiverIds() +
                                 " are told apart by their manufacturer and product strings "
                                 "above. The window tunes the first one listed; unplug the "
                                 "others to make sure it tunes the receiver.");
    }
    return verdict;
}

} // namespace vexa
