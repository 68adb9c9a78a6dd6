#include "oscillator/oscillator_request.h"

#include "support/fake_usb_library.h"

#include <gmock/gmock.h>

using namespace vexa;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using vexa::testing::FakeUsbLibrary;
using vexa::testing::requestCalls;

namespace {

constexpr std::array<std::uint8_t, 4> k28MHz{0x00, 0x00, 0x80, 0x03};

TEST(OscillatorRequest, OpensSendsOneRequestAndCloses)
{
    FakeUsbLibrary usb;
    std::int32_t devHandle = 0;
    const std::string line =
        sendOscillatorRequest(usb, devHandle, kRequestSetFrequency, k28MHz, "   Hex=3800000");
    EXPECT_EQ(line, "RC=4   Hex=3800000");
    EXPECT_THAT(usb.calls, ElementsAreArray(requestCalls("32", "00 00 80 03")));
    EXPECT_EQ(devHandle, 0);
}

TEST(OscillatorRequest, ResultLineShowsWhateverTheTransferReturned)
{
    const std::pair<std::int32_t, std::string> cases[] = {
        {4, "RC=4  Calibrated!"},
        {0, "RC=0  Calibrated!"},
        {-1, "RC=-1  Calibrated!"},
        {-7, "RC=-7  Calibrated!"},
        {-2147483647 - 1, "RC=-2147483648  Calibrated!"},
    };
    for (const auto& [result, line] : cases) {
        FakeUsbLibrary usb;
        usb.transferResult = result;
        std::int32_t devHandle = 0;
        EXPECT_EQ(sendOscillatorRequest(usb, devHandle, kRequestSetCrystalFrequency,
                                        {0xC3, 0xF5, 0x48, 0x72}, "  Calibrated!"),
                  line);
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
    EXPECT_EQ(sendOscillatorRequest(usb, devHandle, kRequestSetFrequency, k28MHz, "   Hex=3800000"),
              " Error: Device not found!");
    EXPECT_THAT(usb.calls, ElementsAre("init", "open 0 16C0 05DC"));
    EXPECT_EQ(devHandle, 0);
}

TEST(OscillatorRequest, EveryRequestOpensAndClosesItsOwnDevice)
{
    FakeUsbLibrary usb;
    std::int32_t devHandle = 0;
    sendOscillatorRequest(usb, devHandle, kRequestSetFrequency, k28MHz, "");
    usb.openResult = 8;
    sendOscillatorRequest(usb, devHandle, kRequestSetFrequency, k28MHz, "");
    EXPECT_THAT(usb.calls,
                ElementsAre("init", "open 0 16C0 05DC", ::testing::StartsWith("control 7 "),
                            "close 7", "init", "open 0 16C0 05DC",
                            ::testing::StartsWith("control 8 "), "close 8"));
    EXPECT_EQ(devHandle, 0);
}

} // namespace
