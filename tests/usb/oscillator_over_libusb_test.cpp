// One oscillator request end to end: the oscillator code, the real libusb and
// the emulated receiver; runs under umockdev-wrapper.

#include "oscillator/oscillator_request.h"
#include "usb/libusb_library.h"

#include "emulated_receiver/emulated_receiver.h"

#include <gmock/gmock.h>

namespace {

using namespace vexa;
using namespace vexa::testing;
using ::testing::ElementsAre;

// The 28 MHz request through the real libusb; the handle is cleared after it.
std::string send28MHz(LibusbLibrary& usb)
{
    usb.vb_usb_init();
    std::int32_t devHandle = -1;
    const std::string line =
        frequencyRequestLine(frequencyRequest(usb, devHandle, "3800000", kRequestTimeoutMs));
    EXPECT_EQ(devHandle, 0);
    return line;
}

TEST(OscillatorRequestOverLibusb, TunesTheReceiverTo28MHz)
{
    EmulatedReceiver receiver;
    LibusbLibrary usb{UsbMessageSink{}};
    EXPECT_EQ(send28MHz(usb), "RC=4   Hex=3800000");
    const auto transfers = receiver.transfers();
    ASSERT_EQ(transfers.size(), 1u);
    EXPECT_THAT(transfers[0].setup, ElementsAre(0x40, 0x32, 0x55, 0x07, 0x00, 0x00, 0x04, 0x00));
    EXPECT_THAT(transfers[0].data, ElementsAre(0x00, 0x00, 0x80, 0x03));
}

TEST(OscillatorRequestOverLibusb, WithoutReceiverTheDeviceIsNotFound)
{
    EmulatedReceiver receiver(false);
    LibusbLibrary usb{UsbMessageSink{}};
    EXPECT_EQ(send28MHz(usb), " Error: Device not found!");
}

} // namespace
