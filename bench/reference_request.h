#pragma once

#include <array>
#include <cstdint>

struct libusb_context;

namespace vexa::bench {

// The least that libusb-1.0 needs for the program's request: one context for
// the whole run, then per request open by vendor and product ID, one vendor
// control transfer and close. The floor the program's request is held to.
class ReferenceRequest {
public:
    // Throws std::runtime_error when libusb cannot be initialised.
    ReferenceRequest();
    ~ReferenceRequest();
    ReferenceRequest(const ReferenceRequest&) = delete;
    ReferenceRequest& operator=(const ReferenceRequest&) = delete;

    // The transfer's result (bytes transferred or a negative LIBUSB_ERROR
    // code), or LIBUSB_ERROR_NOT_FOUND when no receiver can be opened.
    int send(std::uint8_t request, const std::array<std::uint8_t, 4>& bytes);

private:
    libusb_context* context_ = nullptr;
};

} // namespace vexa::bench
