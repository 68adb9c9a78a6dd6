#pragma once

#include "emulated_receiver/control_transfer.h"
#include "emulated_receiver/outcome.h"

#include <umockdev.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vexa::testing {

// Answers the usbdevfs ioctls that libusb sends to the receiver's device node:
// GET_CAPABILITIES, SUBMITURB, REAPURBNDELAY and DISCARDURB. It records every
// control transfer and completes it as the chosen outcome says; a standard
// GET_DESCRIPTOR for a string is answered from the string table instead
// (stalling for a string it does not hold), unless the outcome is a time-out. umockdev calls
// it on its own worker thread; every public member may be called from any
// other thread.
class UsbdevfsResponder {
public:
    UsbdevfsResponder();
    ~UsbdevfsResponder();
    UsbdevfsResponder(const UsbdevfsResponder&) = delete;
    UsbdevfsResponder& operator=(const UsbdevfsResponder&) = delete;

    // The handler to attach to the node with umockdev_testbed_attach_ioctl.
    UMockdevIoctlBase* handler() const { return handler_; }

    // The node that is plugged in; empty while none is. Every other node,
    // including one still open from before an unplug, answers ENODEV, and a
    // transfer it holds ends as if the device vanished.
    void setLiveNode(std::string devnode);

    // How the following transfers end.
    void setOutcome(Outcome outcome);

    // The string descriptor with this index as the device sends it, header
    // included: any bytes, so that a test can hand out a malformed one. Index
    // 0 is the language table.
    void setStringDescriptor(std::uint8_t index, std::vector<std::uint8_t> bytes);

    std::vector<ControlTransfer> transfers() const;

    // Waits until at least count transfers have arrived; false if that takes
    // longer than patience.
    bool waitForTransfers(std::size_t count, std::chrono::milliseconds patience) const;

    // Called on umockdev's thread for each transfer, as it arrives.
    void onTransfer(std::function<void(const ControlTransfer&)> listener);

private:
    struct Urb;

    static gboolean handleIoctl(UMockdevIoctlBase* base, UMockdevIoctlClient* client,
                                gpointer self);
    void capabilities(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    void submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    void reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    void discard(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    bool isLive(UMockdevIoctlClient* client) const;

    UMockdevIoctlBase* handler_;
    gulong signalId_;

    mutable std::mutex mutex_;
    mutable std::condition_variable transferArrived_;
    std::string liveNode_;
    Outcome outcome_ = Outcome::Success;
    std::vector<ControlTransfer> transfers_;
    std::map<std::uint8_t, std::vector<std::uint8_t>> strings_;
    std::vector<Urb> urbs_; // submitted, not yet reaped
    std::function<void(const ControlTransfer&)> listener_;
};

} // namespace vexa::testing
