#pragma once

#include "emulated_receiver/control_transfer.h"
#include "emulated_receiver/outcome.h"
#include "emulated_receiver/usbdevfs_responder.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::testing {

// The receiver (16C0:05DC, low speed, vendor class) on an emulated USB bus,
// seen by the real libusb of this process and of any child that inherits its
// environment (LD_PRELOAD with the umockdev preload, UMOCKDEV_DIR).
//
// The process must run with the umockdev preload (umockdev-wrapper), and the
// receiver must exist before libusb_init. One at a time per process: it sets
// UMOCKDEV_DIR.
class EmulatedReceiver {
public:
    explicit EmulatedReceiver(bool plugged = true);
    ~EmulatedReceiver();
    EmulatedReceiver(const EmulatedReceiver&) = delete;
    EmulatedReceiver& operator=(const EmulatedReceiver&) = delete;

    // Plugging in gives the receiver a new device number, as the kernel does.
    // Unplugging also ends a transfer that is waiting in the receiver.
    void plug();
    void unplug();
    bool plugged() const { return !devnode_.empty(); }

    // How the following control transfers end.
    void setOutcome(Outcome outcome) { responder_.setOutcome(outcome); }

    // Makes the device node read-only, as it is without the udev rule; it
    // keeps that mode across replugs. Binds only a process without the DAC
    // override capabilities (see NoFileAccessOverride).
    void denyAccess(bool denied);

    // Carries out one of the harness's commands ("plug", "unplug", "deny",
    // "allow", "outcome NAME") and returns its acknowledgement; nothing for an
    // unknown command.
    std::optional<std::string> obey(std::string_view command);

    std::vector<ControlTransfer> transfers() const { return responder_.transfers(); }
    bool waitForTransfers(std::size_t count,
                          std::chrono::milliseconds patience = std::chrono::seconds(10)) const
    {
        return responder_.waitForTransfers(count, patience);
    }

    // Called on umockdev's thread for each transfer, as it arrives.
    void onTransfer(std::function<void(const ControlTransfer&)> listener)
    {
        responder_.onTransfer(std::move(listener));
    }

    // The emulated root, for UMOCKDEV_DIR.
    std::string rootDir() const;

private:
    void applyAccess() const;

    UsbdevfsResponder responder_;
    UMockdevTestbed* testbed_;
    int deviceNumber_ = 1; // 1 is the root hub
    std::string devnode_;  // empty while unplugged
    bool denied_ = false;
};

// True when the umockdev preload library is in LD_PRELOAD.
bool umockdevPreloaded();

} // namespace vexa::testing
