#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vexa::testing {

// One control transfer as it reached the receiver: the 8 setup bytes and the
// data stage.
struct ControlTransfer {
    std::array<std::uint8_t, 8> setup{};
    std::vector<std::uint8_t> data;

    std::uint8_t requestType() const { return setup[0]; }
    std::uint8_t request() const { return setup[1]; }
    std::uint16_t value() const { return static_cast<std::uint16_t>(setup[2] | setup[3] << 8); }
    std::uint16_t index() const { return static_cast<std::uint16_t>(setup[4] | setup[5] << 8); }
    std::uint16_t length() const { return static_cast<std::uint16_t>(setup[6] | setup[7] << 8); }
};

// One line for a log, with the frequency a set-frequency (0x32, word / 2^21)
// or set-crystal (0x33, word / 2^24) request means, e.g.
// "request 32 value 0755 index 0000 data 00 00 80 03 frequency 28.000000 MHz".
std::string describe(const ControlTransfer& transfer);

// How many of the transfers carry this request, e.g. 0x32 among string reads.
std::size_t countOf(const std::vector<ControlTransfer>& transfers, std::uint8_t request);

} // namespace vexa::testing
