#include "usb/open_failure.h"

#include <libusb.h>

#include <gtest/gtest.h>

namespace {

// The access-denied line is checked end to end in libusb_library_test.cpp.
TEST(OpenFailureMessage, AnyOtherErrorIsNamedWithTheDeviceIds)
{
    EXPECT_EQ(vexa::openFailureMessage(LIBUSB_ERROR_IO, 0x00AB, 0xCDEF),
              "vexa-sdr-control: receiver 00AB:CDEF found but could not be opened "
              "(LIBUSB_ERROR_IO); replug it (see README, Troubleshooting)");
}

} // namespace
