// A device's strings read from the emulated receiver; runs under
// umockdev-wrapper.

#include "usb/device_strings.h"

#include "usb/receiver.h"

#include "emulated_receiver/emulated_receiver.h"

#include <libusb.h>

#include <gtest/gtest.h>

namespace {

using namespace vexa;
using vexa::testing::EmulatedReceiver;
using vexa::testing::receiverIdentity;

// A device descriptor gives the index 0 for a string the device does not
// have; string descriptor 0 is the language table, never a name.
TEST(DeviceStrings, IndexZeroIsNoStringNotTheLanguageTable)
{
    EmulatedReceiver receiver;
    libusb_context* context = nullptr;
    ASSERT_EQ(libusb_init(&context), LIBUSB_SUCCESS);
    libusb_device_handle* handle =
        libusb_open_device_with_vid_pid(context, kReceiverVendorId, kReceiverProductId);
    ASSERT_NE(handle, nullptr);
    {
        DeviceStrings strings(handle);
        const DecodedString none = strings.read(0, "serial number");
        EXPECT_FALSE(none.readable()) << none.text;
        EXPECT_EQ(strings.read(3, "serial number").text, receiverIdentity().serial);
    }
    libusb_close(handle);
    libusb_exit(context);
}

} // namespace
