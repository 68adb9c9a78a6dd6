#include "extio/outcome_notices.h"

#include "usb/receiver.h"

namespace vexa {

namespace {

constexpr std::string_view kReport = "vexa-sdr-usb-report";

std::string loText(const TuningJob& job)
{
    return "LO " + std::to_string(static_cast<long long>(job.tuning.dialHz)) + " Hz";
}

std::string whatWentWrong(const TuningJob& job, const TuningOutcome& outcome)
{
    const std::string lo = loText(job);
    if (outcome.request.transferResult)
        return "Vexa SDR: the receiver did not take " + lo + " (" +
               frequencyRequestLine(outcome.request) + "). Plug it in again; " +
               std::string(kReport) + " tells what Windows sees of it.";
    if (!job.serial.empty())
        return "Vexa SDR: no receiver with the serial number \"" + job.serial + "\" is found, so " +
               lo + " was not tuned. " + std::string(kReport) +
               " lists the receivers Windows sees, with their serial numbers.";
    return "Vexa SDR: no receiver (USB ID " + usbIdText(kReceiverVendorId, kReceiverProductId) +
           ") is found, so " + lo + " was not tuned. Plug it in; if it is, " +
           std::string(kReport) + " tells whether Windows sees it and why it cannot be opened.";
}

// What went wrong, then what the USB library said of it.
std::string failureText(const TuningJob& job, const TuningOutcome& outcome)
{
    std::string text = whatWentWrong(job, outcome);
    for (const std::string& message : outcome.usbMessages) {
        text += " USB: " + message;
        if (!message.empty() && message.back() != '.')
            text += '.';
    }
    return text;
}

} // namespace

std::optional<Notice> OutcomeNotices::after(const TuningJob& job, const TuningOutcome& outcome)
{
    if (receiverTookWord(outcome.request)) {
        const bool recovered = failing_;
        failing_ = false;
        if (!recovered)
            return std::nullopt;
        return Notice{NoticeLevel::Log, "Vexa SDR: the receiver took " + loText(job) + " (" +
                                            frequencyRequestLine(outcome.request) + ")."};
    }
    const bool sameAgain = failing_ && failure_ == outcome.request.transferResult;
    const bool first = !failing_;
    failing_ = true;
    failure_ = outcome.request.transferResult;
    if (sameAgain)
        return std::nullopt;
    return Notice{first ? NoticeLevel::Dialog : NoticeLevel::Error, failureText(job, outcome)};
}

} // namespace vexa
