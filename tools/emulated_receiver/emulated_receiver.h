#pragma once

#include "emulated_receiver/control_transfer.h"
#include "emulated_receiver/outcome.h"
#include "emulated_receiver/usbdevfs_responder.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::testing {

// The texts a device sends as its manufacturer, product and serial-number
// strings (string descriptors 1, 2 and 3, in US English).
struct Identity {
    std::string manufacturer;
    std::string product;
    std::string serial;
};

// What the receiver says it is, and what the other device that shares its IDs
// says: a different maker's programmer.
Identity receiverIdentity();
Identity otherDeviceIdentity();

// The receiver (16C0:05DC, low speed, vendor class) on an emulated USB bus,
// seen by the real libusb of this process and of any child that inherits its
// environment (LD_PRELOAD with the umockdev preload, UMOCKDEV_DIR). A second
// device with the same IDs can join it on the next port.
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
    void plug() { plug(receiver_); }
    void unplug() { unplug(receiver_); }
    bool plugged() const { return !receiver_.devnode.empty(); }

    // The second device with the receiver's IDs, on the next port, and its
    // own transfers; it takes no outcome and no access setting.
    void plugSecondDevice() { plug(second_); }
    void unplugSecondDevice() { unplug(second_); }
    std::vector<ControlTransfer> secondDeviceTransfers() const
    {
        return second_.responder.transfers();
    }
    void onSecondDeviceTransfer(std::function<void(const ControlTransfer&)> listener)
    {
        second_.responder.onTransfer(std::move(listener));
    }

    // The strings each device answers with from now on.
    void setIdentity(const Identity& identity) { setIdentity(receiver_, identity); }
    void setSecondDeviceIdentity(const Identity& identity) { setIdentity(second_, identity); }

    // One of the receiver's string descriptors as raw bytes, header included,
    // however malformed; index 0 is the language table.
    void setStringDescriptor(std::uint8_t index, std::vector<std::uint8_t> bytes)
    {
        receiver_.responder.setStringDescriptor(index, std::move(bytes));
    }

    // How the receiver's following control transfers end.
    void setOutcome(Outcome outcome) { receiver_.responder.setOutcome(outcome); }

    // Makes the receiver's device node read-only, as it is without the udev
    // rule; it keeps that mode across replugs. Binds only a process without
    // the DAC override capabilities (see NoFileAccessOverride).
    void denyAccess(bool denied);

    // Carries out one of the harness's commands ("plug", "unplug", "deny",
    // "allow", "outcome NAME", "plug second", "unplug second") and returns its
    // acknowledgement; nothing for an unknown command.
    std::optional<std::string> obey(std::string_view command);

    std::vector<ControlTransfer> transfers() const { return receiver_.responder.transfers(); }
    bool waitForTransfers(std::size_t count,
                          std::chrono::milliseconds patience = std::chrono::seconds(10)) const
    {
        return receiver_.responder.waitForTransfers(count, patience);
    }

    // Called on umockdev's thread for each transfer of the receiver, as it arrives.
    void onTransfer(std::function<void(const ControlTransfer&)> listener)
    {
        receiver_.responder.onTransfer(std::move(listener));
    }

    // The emulated root, for UMOCKDEV_DIR.
    std::string rootDir() const;

private:
    // One USB port of the emulated bus and the device in it.
    struct Port {
        const char* sysPath;
        UsbdevfsResponder responder;
        std::string devnode; // empty while unplugged
    };

    void plug(Port& port);
    void unplug(Port& port);
    static void setIdentity(Port& port, const Identity& identity);
    void applyAccess() const;

    Port receiver_;
    Port second_;
    UMockdevTestbed* testbed_;
    int deviceNumber_ = 1; // 1 is the root hub
    bool denied_ = false;
};

// True when the umockdev preload library is in LD_PRELOAD.
bool umockdevPreloaded();

} // namespace vexa::testing
