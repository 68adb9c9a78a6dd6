#include "usb/usb_messages.h"

#include <libusb.h>

#include <gtest/gtest.h>

namespace {

// The access-denied line is checked end to end in libusb_library_test.cpp.
TEST(OpenFailureMessage, AnyOtherErrorIsNamedWithTheDeviceIdsAndPlace)
{
    EXPECT_EQ(vexa::openFailureMessage(LIBUSB_ERROR_IO, 0x00AB, 0xCDEF, {1, {2}, 3}),
              "receiver 00AB:CDEF, bus 001 address 003, does not open: LIBUSB_ERROR_IO; replug "
              "it (see README, Troubleshooting)");
}

} // namespace
