#include "extio/receiver_link.h"

#include "usb/libusb_library.h"

#include <memory>

namespace vexa {

namespace {

// The USB library for the serial number the jobs name, made anew when it
// changes, and what the library says of each request.
class ReceiverLink {
public:
    TuningOutcome send(const TuningJob& job)
    {
        if (!usb_ || serial_ != job.serial) {
            serial_ = job.serial;
            usb_ = std::make_unique<LibusbLibrary>(
                [this](const std::string& message) { messages_.push_back(message); },
                serial_.empty() ? std::nullopt : std::optional<std::string>(serial_));
        }
        messages_.clear();
        OscillatorRequestResult result =
            frequencyRequest(*usb_, devHandle_, *job.tuning.wordText, kTuningTimeoutMs);
        return {std::move(result), std::move(messages_)};
    }

private:
    std::string serial_;
    std::unique_ptr<LibusbLibrary> usb_;
    std::int32_t devHandle_ = 0;
    std::vector<std::string> messages_;
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
