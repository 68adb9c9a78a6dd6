#include "usb/usb_messages.h"

#include "usb/receiver.h"

#include <libusb.h>

#include <gmock/gmock.h>

namespace {

using namespace vexa;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// The cure differs by platform: a driver, not a udev rule, on Windows. The
// Linux access line is checked whole in libusb_library_test.cpp.
TEST(OpenFailureMessage, GivesTheCureOfThePlatform)
{
    const struct {
        int error;
        Platform platform;
        const char* cure;
    } cases[] = {
        {LIBUSB_ERROR_ACCESS, Platform::Windows, "pick the device with USB ID 16C0:05DC"},
        {LIBUSB_ERROR_NOT_FOUND, Platform::Windows, "It has no WinUSB driver"},
        {LIBUSB_ERROR_NOT_FOUND, Platform::Linux, "Replug it; if that does not help"},
        {LIBUSB_ERROR_BUSY, Platform::Linux, "close that program"},
    };
    for (const auto& c : cases)
        EXPECT_THAT(openFailureMessage(c.error, kReceiverVendorId, kReceiverProductId,
                                       {1, {2}, 3}, c.platform),
                    AllOf(HasSubstr(std::string("receiver 16C0:05DC, bus 001 address 003 does "
                                                "not open (") +
                                    libusb_error_name(c.error) + "). "),
                          HasSubstr(c.cure), Not(HasSubstr("udev"))))
            << libusb_error_name(c.error);
}

} // namespace
