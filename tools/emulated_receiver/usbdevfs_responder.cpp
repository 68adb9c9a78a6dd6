#include "emulated_receiver/usbdevfs_responder.h"

#include <sys/ioctl.h> // before linux/usbdevice_fs.h, which uses its macros

#include <linux/usbdevice_fs.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace vexa::testing {

namespace {

constexpr std::size_t kSetupSize = 8;

// While a URB is held, libusb polls the node (a plain file, always ready) and
// reaps in a tight loop; answering EAGAIN a little late keeps that loop idle.
constexpr gulong kHeldReapPauseMicroseconds = 2000;

struct Completion {
    int status;
    bool transfersData;
};

constexpr std::uint8_t kDirectionIn = 0x80;
constexpr std::uint8_t kGetDescriptor = 0x06;
constexpr std::uint8_t kStringDescriptor = 0x03;

bool asksForString(const ControlTransfer& transfer)
{
    return transfer.requestType() == kDirectionIn && transfer.request() == kGetDescriptor &&
           transfer.value() >> 8 == kStringDescriptor;
}

Completion completionOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Success: return {0, true};
    case Outcome::Stall: return {-EPIPE, false};
    case Outcome::NoDevice: return {-ESHUTDOWN, false};
    case Outcome::IoError: return {-EPROTO, false};
    case Outcome::Timeout: break;
    }
    return {0, false};
}

void fail(UMockdevIoctlClient* client, int error) { umockdev_ioctl_client_complete(client, -1, error); }

// A block of the client's memory, copied here; GLib hands out a new reference.
struct Resolved {
    UMockdevIoctlData* data;
    Resolved(UMockdevIoctlData* parent, std::size_t offset, std::size_t length)
        : data(umockdev_ioctl_data_resolve(parent, offset, length, nullptr))
    {
    }
    ~Resolved()
    {
        if (data != nullptr)
            g_object_unref(data);
    }
    Resolved(const Resolved&) = delete;
    Resolved& operator=(const Resolved&) = delete;
};

void setInt(UMockdevIoctlData* data, std::size_t offset, int value)
{
    guint8 bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    umockdev_ioctl_data_update(data, offset, bytes, sizeof value);
}

} // namespace

struct UsbdevfsResponder::Urb {
    UMockdevIoctlClient* client; // referenced, so that its address is not reused
    gulong address;              // where the URB lives in the client
    UMockdevIoctlData* data;     // referenced copy of the URB
    bool held;                   // no answer until discarded or unplugged
    int status;
    int actualLength;
};

UsbdevfsResponder::UsbdevfsResponder()
    : handler_(umockdev_ioctl_base_new()),
      signalId_(g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(handleIoctl), this))
{
}

UsbdevfsResponder::~UsbdevfsResponder()
{
    g_signal_handler_disconnect(handler_, signalId_);
    for (const Urb& urb : urbs_) {
        g_object_unref(urb.data);
        g_object_unref(urb.client);
    }
    g_object_unref(handler_);
}

void UsbdevfsResponder::setLiveNode(std::string devnode)
{
    const std::lock_guard lock(mutex_);
    liveNode_ = std::move(devnode);
}

void UsbdevfsResponder::setOutcome(Outcome outcome)
{
    const std::lock_guard lock(mutex_);
    outcome_ = outcome;
}

std::vector<ControlTransfer> UsbdevfsResponder::transfers() const
{
    const std::lock_guard lock(mutex_);
    return transfers_;
}

bool UsbdevfsResponder::waitForTransfers(std::size_t count,
                                         std::chrono::milliseconds patience) const
{
    std::unique_lock lock(mutex_);
    return transferArrived_.wait_for(lock, patience,
                                     [&] { return transfers_.size() >= count; });
}

void UsbdevfsResponder::setStringDescriptor(std::uint8_t index, std::vector<std::uint8_t> bytes)
{
    const std::lock_guard lock(mutex_);
    strings_[index] = std::move(bytes);
}

void UsbdevfsResponder::onTransfer(std::function<void(const ControlTransfer&)> listener)
{
    const std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}

gboolean UsbdevfsResponder::handleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client,
                                        gpointer self)
{
    auto* responder = static_cast<UsbdevfsResponder*>(self);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    switch (umockdev_ioctl_client_get_request(client)) {
    case USBDEVFS_GET_CAPABILITIES: responder->capabilities(client, arg); break;
    case USBDEVFS_SUBMITURB: responder->submit(client, arg); break;
    case USBDEVFS_REAPURBNDELAY: responder->reap(client, arg); break;
    case USBDEVFS_DISCARDURB: responder->discard(client, arg); break;
    default: fail(client, ENOTTY); break;
    }
    return TRUE;
}

bool UsbdevfsResponder::isLive(UMockdevIoctlClient* client) const
{
    return !liveNode_.empty() && liveNode_ == umockdev_ioctl_client_get_devnode(client);
}

void UsbdevfsResponder::capabilities(UMockdevIoctlClient* client, UMockdevIoctlData* arg)
{
    {
        const std::lock_guard lock(mutex_);
        if (!isLive(client))
            return fail(client, ENODEV);
    }
    const Resolved caps(arg, 0, sizeof(__u32));
    if (caps.data == nullptr)
        return fail(client, EFAULT);
    setInt(caps.data, 0, 0); // a plain low-speed device: none of the optional features
    umockdev_ioctl_client_complete(client, 0, 0);
}

void UsbdevfsResponder::submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg)
{
    const Resolved urb(arg, 0, sizeof(usbdevfs_urb));
    if (urb.data == nullptr)
        return fail(client, EFAULT);
    const auto* fields = reinterpret_cast<const usbdevfs_urb*>(urb.data->data);
    if (fields->type != USBDEVFS_URB_TYPE_CONTROL || fields->buffer_length < int{kSetupSize})
        return fail(client, EINVAL);
    const Resolved buffer(urb.data, offsetof(usbdevfs_urb, buffer),
                          static_cast<std::size_t>(fields->buffer_length));
    if (buffer.data == nullptr)
        return fail(client, EFAULT);

    ControlTransfer transfer;
    std::copy_n(buffer.data->data, kSetupSize, transfer.setup.begin());
    transfer.data.assign(buffer.data->data + kSetupSize, buffer.data->data + buffer.data->data_len);

    std::function<void(const ControlTransfer&)> listener;
    {
        const std::lock_guard lock(mutex_);
        if (!isLive(client))
            return fail(client, ENODEV);
        Completion completion = completionOf(outcome_);
        bool held = outcome_ == Outcome::Timeout;
        int actualLength = completion.transfersData ? transfer.length() : 0;
        if (asksForString(transfer)) {
            // The answer goes into the data stage now; libusb reads it once reaped.
            const auto string = strings_.find(static_cast<std::uint8_t>(transfer.value() & 0xFF));
            completion.status = string == strings_.end() ? -EPIPE : 0;
            const std::size_t room = static_cast<std::size_t>(buffer.data->data_len) - kSetupSize;
            transfer.data.clear();
            if (string != strings_.end() && !held)
                transfer.data.assign(string->second.begin(),
                                     string->second.begin() +
                                         static_cast<std::ptrdiff_t>(
                                             std::min(room, string->second.size())));
            umockdev_ioctl_data_update(buffer.data, kSetupSize, transfer.data.data(),
                                       static_cast<gint>(transfer.data.size()));
            actualLength = static_cast<int>(transfer.data.size());
        }
        urbs_.push_back(Urb{static_cast<UMockdevIoctlClient*>(g_object_ref(client)),
                            urb.data->client_addr,
                            static_cast<UMockdevIoctlData*>(g_object_ref(urb.data)), held,
                            completion.status, actualLength});
        transfers_.push_back(transfer);
        listener = listener_;
    }
    transferArrived_.notify_all();
    if (listener)
        listener(transfer);
    umockdev_ioctl_client_complete(client, 0, 0);
}

void UsbdevfsResponder::reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg)
{
    std::unique_lock lock(mutex_);
    const bool live = isLive(client);
    const auto mine = [client](const Urb& urb) { return urb.client == client; };
    const auto done = std::find_if(urbs_.begin(), urbs_.end(), [&](const Urb& urb) {
        return mine(urb) && (!urb.held || !live);
    });
    if (done == urbs_.end()) {
        const bool holding = std::any_of(urbs_.begin(), urbs_.end(), mine);
        lock.unlock();
        if (holding)
            g_usleep(kHeldReapPauseMicroseconds);
        return fail(client, live ? EAGAIN : ENODEV);
    }
    const Urb urb = *done;
    urbs_.erase(done);
    lock.unlock();

    // A held URB meets an unplug the way the kernel ends it: shut down.
    setInt(urb.data, offsetof(usbdevfs_urb, status), urb.held ? -ESHUTDOWN : urb.status);
    setInt(urb.data, offsetof(usbdevfs_urb, actual_length), urb.held ? 0 : urb.actualLength);
    const Resolved slot(arg, 0, sizeof(void*));
    if (slot.data == nullptr)
        fail(client, EFAULT);
    else if (!umockdev_ioctl_data_set_ptr(slot.data, 0, urb.data))
        fail(client, EFAULT);
    else
        umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(urb.data);
    g_object_unref(urb.client);
}

void UsbdevfsResponder::discard(UMockdevIoctlClient* client, UMockdevIoctlData* arg)
{
    gulong address = 0;
    std::memcpy(&address, arg->data, std::min(sizeof address, std::size_t(arg->data_len)));
    const std::lock_guard lock(mutex_);
    const auto held = std::find_if(urbs_.begin(), urbs_.end(), [&](const Urb& urb) {
        return urb.client == client && urb.address == address && urb.held;
    });
    if (held == urbs_.end())
        return fail(client, EINVAL);
    held->held = false;
    held->status = -ENOENT; // what the kernel reports for an unlinked URB
    held->actualLength = 0;
    umockdev_ioctl_client_complete(client, 0, 0);
}

} // namespace vexa::testing
