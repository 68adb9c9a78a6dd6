#include "inspection/usb_report.h"

#include <libusb.h>

#include <gtest/gtest.h>

namespace {

// MaxPower counts 2 mA below SuperSpeed and 8 mA from there on.
TEST(MaxPowerMilliamps, CountsInTheUnitOfTheSpeedTheDeviceRuns)
{
    const struct {
        int speed;
        std::uint16_t usbVersion;
        unsigned milliamps; // for MaxPower 50
    } cases[] = {
        {LIBUSB_SPEED_LOW, 0x0110, 100},
        {LIBUSB_SPEED_HIGH, 0x0210, 100}, // a USB 3 device on a USB 2 port
        {LIBUSB_SPEED_SUPER, 0x0320, 400},
        {LIBUSB_SPEED_SUPER_PLUS, 0x0320, 400},
        {LIBUSB_SPEED_UNKNOWN, 0x0300, 400},
        {LIBUSB_SPEED_UNKNOWN, 0x0200, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vexa::maxPowerMilliamps(50, c.speed, c.usbVersion), c.milliamps)
            << c.speed << " " << c.usbVersion;
}

} // namespace
