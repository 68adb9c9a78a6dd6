#include "extio/outcome_notices.h"

namespace vexa {

namespace {

constexpr std::string_view kReport = "vexa-sdr-usb-report";

std::string loText(const TuningJob& job)
{
    return "LO " + std::to_string(static_cast<long long>(job.tuning.dialHz)) + " Hz";
}

std::string failureText(const TuningJob& job, const TuningOutcome& outcome)
{
    const std::string lo = loText(job);
    if (outcome.transferResult)
        return "Vexa SDR: the receiver did not take " + lo + " (" + outcome.line +
               "). Plug it in again; " + std::string(kReport) +
               " tells what Windows sees of it.";
    if (!job.serial.empty())
        return "Vexa SDR: no receiver with the serial number \"" + job.serial + "\" is found, so " +
               lo + " was not tuned. " + std::string(kReport) +
               " lists the receivers Windows sees, with their serial numbers.";
    return "Vexa SDR: no receiver (USB ID 16C0:05DC) is found, so " + lo +
           " was not tuned. Plug it in; if it is, " + std::string(kReport) +
           " tells whether Windows sees it and why it cannot be opened.";
}

} // namespace

std::optional<Notice> OutcomeNotices::after(const TuningJob& job, const TuningOutcome& outcome)
{
    if (outcome.tuned()) {
        const bool recovered = failing_;
        failing_ = false;
        if (!recovered)
            return std::nullopt;
        return Notice{NoticeLevel::Log,
                      "Vexa SDR: the receiver took " + loText(job) + " (" + outcome.line + ")."};
    }
    const bool sameAgain = failing_ && failure_ == outcome.transferResult;
    const bool first = !failing_;
    failing_ = true;
    failure_ = outcome.transferResult;
    if (sameAgain)
        return std::nullopt;
    return Notice{first ? NoticeLevel::Dialog : NoticeLevel::Error, failureText(job, outcome)};
}

} // namespace vexa
