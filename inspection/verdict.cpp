#include "inspection/verdict.h"

namespace vexa {

namespace {

constexpr const char* kNotSeenLinux =
    "It is not plugged in, or not seen by the computer: check the cable, try another port, "
    "avoid unpowered hubs. A program in a container or sandbox without /dev/bus/usb sees no "
    "device: pass the USB device in.";
constexpr const char* kNotSeenWindows =
    "It is not plugged in or not seen: it is missing from the Device Manager. Check the cable "
    "and the port.";

std::string receiverIds() { return usbIdText(kReceiverVendorId, kReceiverProductId); }

} // namespace

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
            verdict.advice.push_back(winUsbDriverAdvice());
        return verdict;
    }
    const DeviceReport& tuned = *receivers.front();
    if (tuned.openFailure) {
        verdict.exitStatus = 2;
        verdict.line = "the receiver is attached but cannot be opened: " +
                       tuned.openFailure->name + " (" + tuned.openFailure->meaning + ")";
        verdict.advice.push_back(openAdvice(tuned.openFailure->error, platform));
    } else {
        verdict.exitStatus = 0;
        verdict.line = "receiver ready";
    }
    if (receivers.size() > 1) {
        verdict.line += "; " + std::to_string(receivers.size()) + " devices share the ID " +
                        receiverIds() + " and the window tunes the first, " +
                        busAddressText(tuned.place);
        verdict.advice.push_back("Devices that share the ID " + receiverIds() +
                                 " are told apart by their manufacturer and product strings "
                                 "above. The window tunes the first one listed, counted by "
                                 "bus, port and address, which stays the first while each "
                                 "device keeps its port; unplug the others to make sure it "
                                 "tunes the receiver.");
    }
    return verdict;
}

} // namespace vexa
