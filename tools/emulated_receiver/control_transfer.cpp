#include "emulated_receiver/control_transfer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vexa::testing {

namespace {

struct FrequencyRequest {
    std::uint8_t request;
    const char* name;
    int fractionBits;
};

constexpr FrequencyRequest kFrequencyRequests[] = {
    {0x32, "frequency", 21},
    {0x33, "crystal", 24},
};

} // namespace

std::string describe(const ControlTransfer& transfer)
{
    char text[64];
    std::snprintf(text, sizeof text, "request %02X value %04X index %04X data", transfer.request(),
                  transfer.value(), transfer.index());
    std::string line = text;
    for (const std::uint8_t byte : transfer.data) {
        std::snprintf(text, sizeof text, " %02X", byte);
        line += text;
    }
    if (transfer.data.size() != 4)
        return line;
    for (const FrequencyRequest& meaning : kFrequencyRequests) {
        if (meaning.request != transfer.request())
            continue;
        // The word is a signed 32-bit fixed-point number, least significant byte first.
        const auto word = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(transfer.data[0]) |
            static_cast<std::uint32_t>(transfer.data[1]) << 8 |
            static_cast<std::uint32_t>(transfer.data[2]) << 16 |
            static_cast<std::uint32_t>(transfer.data[3]) << 24);
        std::snprintf(text, sizeof text, " %s %.6f MHz", meaning.name,
                      std::ldexp(static_cast<double>(word), -meaning.fractionBits));
        line += text;
    }
    return line;
}

std::size_t countOf(const std::vector<ControlTransfer>& transfers, std::uint8_t request)
{
    return static_cast<std::size_t>(
        std::count_if(transfers.begin(), transfers.end(),
                      [request](const ControlTransfer& t) { return t.request() == request; }));
}

} // namespace vexa::testing
