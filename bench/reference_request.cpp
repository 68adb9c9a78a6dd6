#include "reference_request.h"

#include "oscillator/oscillator_request.h"

#include <libusb.h>

#include <stdexcept>
#include <string>

namespace vexa::bench {

ReferenceRequest::ReferenceRequest()
{
    if (const int result = libusb_init(&context_); result != LIBUSB_SUCCESS)
        throw std::runtime_error(std::string("libusb_init: ") + libusb_error_name(result));
}

ReferenceRequest::~ReferenceRequest() { libusb_exit(context_); }

int ReferenceRequest::send(std::uint8_t request, const std::array<std::uint8_t, 4>& bytes)
{
    libusb_device_handle* device = libusb_open_device_with_vid_pid(
        context_, kReceiverVendorId, kReceiverProductId);
    if (device == nullptr)
        return LIBUSB_ERROR_NOT_FOUND;
    std::array<std::uint8_t, 4> data = bytes; // libusb takes a writable buffer
    const int result = libusb_control_transfer(
        device, kVendorRequestOut, request, kRequestValue, 0, data.data(),
        static_cast<std::uint16_t>(data.size()), kRequestTimeoutMs);
    libusb_close(device);
    return result;
}

} // namespace vexa::bench
