#include "emulated_receiver/control_transfer.h"

#include <gtest/gtest.h>

namespace {

using vexa::testing::ControlTransfer;
using vexa::testing::describe;

TEST(DescribeControlTransfer, ShowsTheRequestAndTheFrequencyItMeans)
{
    const struct {
        ControlTransfer transfer;
        const char* line;
    } cases[] = {
        {{{0x40, 0x32, 0x55, 0x07, 0, 0, 4, 0}, {0x00, 0x00, 0x80, 0x03}},
         "request 32 value 0755 index 0000 data 00 00 80 03 frequency 28.000000 MHz"},
        {{{0x40, 0x33, 0x55, 0x07, 0, 0, 4, 0}, {0x00, 0x00, 0x00, 0x72}},
         "request 33 value 0755 index 0000 data 00 00 00 72 crystal 114.000000 MHz"},
        // A negative typed frequency travels as its two's complement.
        {{{0x40, 0x32, 0x55, 0x07, 0, 0, 4, 0}, {0x00, 0x00, 0x60, 0xFF}},
         "request 32 value 0755 index 0000 data 00 00 60 FF frequency -5.000000 MHz"},
        {{{0x40, 0x34, 0x34, 0x12, 0x01, 0, 2, 0}, {0xAB, 0xCD}},
         "request 34 value 1234 index 0001 data AB CD"},
        {{{0xC0, 0x32, 0, 0, 0, 0, 0, 0}, {}}, "request 32 value 0000 index 0000 data"},
    };
    for (const auto& [transfer, line] : cases)
        EXPECT_EQ(describe(transfer), line);
}

} // namespace
