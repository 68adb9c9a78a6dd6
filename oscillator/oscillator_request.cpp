#include "oscillator/oscillator_request.h"

#include "oscillator/calibration.h"
#include "oscillator/frequency_word.h"

namespace vexa {

namespace {

constexpr std::int32_t kWordBytes = 4;

OscillatorRequestResult runOscillatorRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                             std::uint8_t request, std::string wordText,
                                             const std::array<std::uint8_t, 4>& bytes,
                                             std::int32_t timeoutMs)
{
    usb.vb_usb_init();
    devHandle = usb.vb_usb_open(0, kReceiverVendorId, kReceiverProductId);
    if (devHandle == 0)
        return {std::move(wordText), std::nullopt};

    const std::int32_t result =
        usb.vb_usb_control_msg(devHandle, kVendorRequestOut, request, kRequestValue, 0,
                               bytes.data(), kWordBytes, timeoutMs);
    usb.vb_usb_close(devHandle);
    devHandle = 0;
    return {std::move(wordText), result};
}

std::string resultLine(const OscillatorRequestResult& result, std::string_view suffix)
{
    if (!result.transferResult)
        return std::string(kDeviceNotFound);
    return "RC=" + std::to_string(*result.transferResult) + std::string(suffix);
}

} // namespace

bool receiverTookWord(const OscillatorRequestResult& result)
{
    return result.transferResult == kWordBytes;
}

OscillatorRequestResult frequencyRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                         std::string_view hexText, std::int32_t timeoutMs)
{
    return runOscillatorRequest(usb, devHandle, kRequestSetFrequency, std::string(hexText),
                                packHexText(hexText), timeoutMs);
}

OscillatorRequestResult crystalRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                       std::uint32_t word, std::int32_t timeoutMs)
{
    return runOscillatorRequest(usb, devHandle, kRequestSetCrystalFrequency, hexText(word),
                                packWord(word), timeoutMs);
}

std::string frequencyRequestLine(const OscillatorRequestResult& result)
{
    return resultLine(result, "   Hex=" + result.wordText);
}

std::string crystalRequestLine(const OscillatorRequestResult& result)
{
    return resultLine(result, kCalibratedSuffix);
}

} // namespace vexa
