#include "extio/receiver_link.h"

#include "oscillator/oscillator_request.h"
#include "usb/libusb_library.h"

#include <memory>

namespace vexa {

namespace {

class ReceiverLink {
public:
    TuningOutcome send(const TuningJob& job)
    {
        const OscillatorRequestResult result =
            runFrequencyRequest(usb_, devHandle_, *job.tuning.wordText);
        return {result.transferResult, result.line};
    }

private:
    LibusbLibrary usb_;
    std::int32_t devHandle_ = 0;
};

} // namespace

NewestWinsTuner::Send receiverSend()
{
    // Made on first use, which is on the tuner's thread.
    auto link = std::make_shared<std::unique_ptr<ReceiverLink>>();
    return [link](const TuningJob& job) {
        if (!*link)
            *link = std::make_unique<ReceiverLink>();
        return (*link)->send(job);
    };
}

} // namespace vexa
