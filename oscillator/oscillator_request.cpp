#include "oscillator/oscillator_request.h"

#include "oscillator/frequency_word.h"

namespace vexa {

OscillatorRequestResult runOscillatorRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                             std::uint8_t request,
                                             const std::array<std::uint8_t, 4>& bytes,
                                             std::string_view resultSuffix)
{
    usb.vb_usb_init();
    devHandle = usb.vb_usb_open(0, kReceiverVendorId, kReceiverProductId);
    if (devHandle == 0)
        return {std::nullopt, std::string(kDeviceNotFound)};

    const std::int32_t result =
        usb.vb_usb_control_msg(devHandle, kVendorRequestOut, request, kRequestValue, 0,
                               bytes.data(), static_cast<std::int32_t>(bytes.size()),
                               kRequestTimeoutMs);
    usb.vb_usb_close(devHandle);
    devHandle = 0;
    return {result, "RC=" + std::to_string(result) + std::string(resultSuffix)};
}

std::string sendOscillatorRequest(UsbLibrary& usb, std::int32_t& devHandle, std::uint8_t request,
                                  const std::array<std::uint8_t, 4>& bytes,
                                  std::string_view resultSuffix)
{
    return runOscillatorRequest(usb, devHandle, request, bytes, resultSuffix).line;
}

OscillatorRequestResult runFrequencyRequest(UsbLibrary& usb, std::int32_t& devHandle,
                                            std::string_view hexText)
{
    return runOscillatorRequest(usb, devHandle, kRequestSetFrequency, packHexText(hexText),
                                "   Hex=" + std::string(hexText));
}

std::string sendFrequencyWord(UsbLibrary& usb, std::int32_t& devHandle, std::string_view hexText)
{
    return runFrequencyRequest(usb, devHandle, hexText).line;
}

} // namespace vexa
