#pragma once

#include "usb/handle_table.h"
#include "usb/message_sink.h"
#include "usb/usb_library.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace vexa {

// The four operations on libusb-1.0. One libusb context lives as long as the
// object; every open lists the bus afresh, so a receiver plugged in after
// start-up is found by the next open. Handles are ids into a table of open
// devices, never pointers: an unknown or closed handle is rejected with
// LIBUSB_ERROR_NOT_FOUND, arguments out of range with
// LIBUSB_ERROR_INVALID_PARAM. Used from one thread.
//
// Given a serial number, it opens only devices that have it: each device with
// the IDs is opened and asked for its serial number, in that same listing,
// and only the one chosen stays open.
class LibusbLibrary final : public UsbLibrary {
public:
    // Why an open found no device, and which of several it chose, go to sink.
    explicit LibusbLibrary(UsbMessageSink sink, std::optional<std::string> serial = std::nullopt);
    ~LibusbLibrary() override;
    LibusbLibrary(const LibusbLibrary&) = delete;
    LibusbLibrary& operator=(const LibusbLibrary&) = delete;

    // Creates the context on first use; 0, or libusb's error code.
    std::int32_t vb_usb_init() override;

    // The index-th (from 0) attached device with these IDs (and the serial
    // number, when one was given), counted by bus, port path and address,
    // opened; 0 when there is none or it cannot be opened.
    std::int32_t vb_usb_open(std::int32_t index, std::int32_t vendorId,
                             std::int32_t productId) override;

    // libusb_control_transfer's result: bytes transferred or a negative
    // LIBUSB_ERROR code. Data an IN transfer brings back is dropped, as the
    // buffer is only read.
    std::int32_t vb_usb_control_msg(std::int32_t handle, std::int32_t requestType,
                                    std::int32_t request, std::int32_t value,
                                    std::int32_t index, const std::uint8_t* bytes,
                                    std::int32_t size, std::int32_t timeoutMs) override;

    // 0, or LIBUSB_ERROR_NOT_FOUND for a handle that is not open.
    std::int32_t vb_usb_close(std::int32_t handle) override;

private:
    libusb_device_handle* openAt(const std::vector<libusb_device*>& candidates,
                                 std::size_t index, std::uint16_t vendorId,
                                 std::uint16_t productId) const;
    libusb_device_handle* openWithSerial(const std::vector<libusb_device*>& candidates,
                                         std::size_t index, std::uint16_t vendorId,
                                         std::uint16_t productId) const;
    void say(const std::string& message) const;

    UsbMessageSink sink_;
    std::optional<std::string> serial_;
    libusb_context* context_ = nullptr;
    HandleTable<libusb_device_handle*> handles_;
};

} // namespace vexa
