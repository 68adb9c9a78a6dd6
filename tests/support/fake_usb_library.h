#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/formatted.h"
#include "usb/usb_library.h"

namespace vexa::testing {

// Records every call as one readable line, e.g.
//   "open 0 16C0 05DC", "control 7 40 32 0755 0 [00 00 80 03] 4 5000", "close 7",
// and answers with the results a test chose.
class FakeUsbLibrary : public UsbLibrary {
public:
    std::int32_t openResult = 7;     // handle of the receiver, 0 for none
    std::int32_t transferResult = 4; // what the control transfer returns
    std::vector<std::string> calls;

    std::int32_t vb_usb_init() override
    {
        calls.emplace_back("init");
        return 0;
    }

    std::int32_t vb_usb_open(std::int32_t index, std::int32_t vendorId,
                             std::int32_t productId) override
    {
        calls.push_back(formatted("open %d %04X %04X", index, vendorId, productId));
        return openResult;
    }

    std::int32_t vb_usb_control_msg(std::int32_t handle, std::int32_t requestType,
                                    std::int32_t request, std::int32_t value, std::int32_t index,
                                    const std::uint8_t* bytes, std::int32_t size,
                                    std::int32_t timeoutMs) override
    {
        std::string data;
        for (std::int32_t i = 0; i < size; ++i)
            data += formatted(i == 0 ? "%02X" : " %02X", bytes[i]);
        calls.push_back(formatted("control %d %02X %02X %04X %d [", handle, requestType,
                                  request, value, index) +
                        data + formatted("] %d %d", size, timeoutMs));
        return transferResult;
    }

    std::int32_t vb_usb_close(std::int32_t handle) override
    {
        calls.push_back(formatted("close %d", handle));
        return 0;
    }
};

// The calls that one request to a receiver with handle 7 makes, e.g. for
// requestCalls("32", "00 00 80 03"): "init", "open 0 16C0 05DC",
// "control 7 40 32 0755 0 [00 00 80 03] 4 5000", "close 7".
inline std::vector<std::string> requestCalls(const std::string& request, const std::string& bytes)
{
    return {"init", "open 0 16C0 05DC", "control 7 40 " + request + " 0755 0 [" + bytes + "] 4 5000",
            "close 7"};
}

} // namespace vexa::testing
