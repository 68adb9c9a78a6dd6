#include "oscillator/oscillator_request.h"

#include "support/fake_usb_library.h"

#include <gmock/gmock.h>

using namespace vexa;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using vexa::testing::FakeUsbLibrary;
using vexa::testing::requestCalls;

namespace {

constexpr std::uint32_t kCrystalWord = 0x7248F5C3;

TEST(OscillatorRequest, OpensSendsOneRequestAndCloses)
{
    FakeUsbLibrary usb;
    std::int32_t devHandle = 0;
    const OscillatorRequestResult result = frequencyRequest(usb, devHandle, "3800000", 5000);
    EXPECT_EQ(frequencyRequestLine(result), "RC=4   Hex=3800000");
    EXPECT_TRUE(receiverTookWord(result));
    EXPECT_THAT(usb.calls, ElementsAreArray(requestCalls("32", "00 00 80 03")));
    EXPECT_EQ(devHandle, 0);
}

TEST(OscillatorRequest, ResultShowsWhateverTheTransferReturnedAndOnlyFourBytesAreTaken)
{
    const struct {
        std::int32_t transferResult;
        const char* line;
        bool taken;
    } cases[] = {
        {4, "RC=4  Calibrated!", true},
        {0, "RC=0  Calibrated!", false},
        {3, "RC=3  Calibrated!", false},
        {-1, "RC=-1  Calibrated!", false},
        {-7, "RC=-7  Calibrated!", false},
        {-2147483647 - 1, "RC=-2147483648  Calibrated!", false},
    };
    for (const auto& c : cases) {
        FakeUsbLibrary usb;
        usb.transferResult = c.transferResult;
        std::int32_t devHandle = 0;
        const OscillatorRequestResult result = crystalRequest(usb, devHandle, kCrystalWord, 5000);
        EXPECT_EQ(crystalRequestLine(result), c.line);
        EXPECT_EQ(receiverTookWord(result), c.taken) << c.line;
        // A failed transfer is not retried, and the receiver is closed all the same.
        EXPECT_THAT(usb.calls, ElementsAreArray(requestCalls("33", "C3 F5 48 72")));
        EXPECT_EQ(devHandle, 0);
    }
}

TEST(OscillatorRequest, WithoutReceiverNothingIsSentOrClosed)
{
    FakeUsbLibrary usb;
    usb.openResult = 0;
    std::int32_t devHandle = 0;
    const OscillatorRequestResult result = frequencyRequest(usb, devHandle, "3800000", 5000);
    EXPECT_EQ(frequencyRequestLine(result), " Error: Device not found!");
    EXPECT_EQ(crystalRequestLine(result), " Error: Device not found!");
    EXPECT_FALSE(receiverTookWord(result));
    EXPECT_THAT(usb.calls, ElementsAre("init", "open 0 16C0 05DC"));
    EXPECT_EQ(devHandle, 0);
}

TEST(OscillatorRequest, EveryRequestOpensAndClosesItsOwnDeviceWithTheTimeOutGiven)
{
    FakeUsbLibrary usb;
    std::int32_t devHandle = 0;
    frequencyRequest(usb, devHandle, "3800000", 5000);
    usb.openResult = 8;
    frequencyRequest(usb, devHandle, "3800000", 800);
    EXPECT_THAT(usb.calls,
                ElementsAre("init", "open 0 16C0 05DC", ::testing::StartsWith("control 7 "),
                            "close 7", "init", "open 0 16C0 05DC",
                            "control 8 40 32 0755 0 [00 00 80 03] 4 800", "close 8"));
    EXPECT_EQ(devHandle, 0);
}

} // namespace
