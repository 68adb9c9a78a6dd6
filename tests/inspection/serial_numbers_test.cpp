// The serial numbers and the device object against the emulated bus; runs
// under umockdev-wrapper.

#include "inspection/serial_numbers.h"

#include "emulated_receiver/emulated_receiver.h"
#include "emulated_receiver/no_file_access_override.h"
#include "usb/libusb_library.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace {

using namespace vexa;
using namespace vexa::testing;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

constexpr std::uint16_t kVendor = 0x16C0;
constexpr std::uint16_t kProduct = 0x05DC;
constexpr std::uint8_t k28MHz[4] = {0x00, 0x00, 0x80, 0x03};

TEST(ReadSerialNumbers, ListsThemInTheOrderThatTheOpenIndexCounts)
{
    EmulatedReceiver bus;
    bus.plugSecondDevice();
    const auto serials = readSerialNumbers(kVendor, kProduct);
    ASSERT_THAT(serials, UnorderedElementsAre(receiverIdentity().serial,
                                              otherDeviceIdentity().serial));
    EXPECT_EQ(readSerialNumbers(kVendor, kProduct + 1).size(), 0u);

    // Index 0 reaches the device whose serial number came first.
    LibusbLibrary usb;
    ::testing::internal::CaptureStderr();
    const std::int32_t handle = usb.vb_usb_open(0, kVendor, kProduct);
    ASSERT_NE(handle, 0);
    usb.vb_usb_control_msg(handle, 0x40, 0x32, 0x0755, 0, k28MHz, 4, 1000);
    usb.vb_usb_close(handle);
    ::testing::internal::GetCapturedStderr();
    const auto tuned = [](const std::vector<ControlTransfer>& transfers) {
        return std::count_if(transfers.begin(), transfers.end(),
                             [](const ControlTransfer& t) { return t.request() == 0x32; });
    };
    const bool receiverFirst = serials[0] == receiverIdentity().serial;
    EXPECT_EQ(tuned(bus.transfers()), receiverFirst ? 1 : 0);
    EXPECT_EQ(tuned(bus.secondDeviceTransfers()), receiverFirst ? 0 : 1);
}

TEST(ReadSerialNumbers, LeavesTheirPlaceEmptyWhereTheyCannotBeRead)
{
    EmulatedReceiver bus;
    bus.denyAccess(true);
    {
        const NoFileAccessOverride asAnOperator;
        EXPECT_THAT(readSerialNumbers(kVendor, kProduct), ElementsAre(std::nullopt));
    }
    bus.denyAccess(false);
    bus.setStringDescriptor(3, {12, 3, 'V', 0}); // longer than it is
    EXPECT_THAT(readSerialNumbers(kVendor, kProduct), ElementsAre(std::nullopt));
}

} // namespace
