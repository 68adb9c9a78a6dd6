#pragma once

#include "extio/newest_wins_tuner.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vexa {

// How loudly the host is to tell the operator: in a dialog (and its log), in
// its log as an error or a warning, or as a plain line of its log.
enum class NoticeLevel { Dialog, Error, Warning, Log };

struct Notice {
    NoticeLevel level;
    std::string text;
};

// Decides what the operator hears of each tuning carried out. A drag sends
// many, so a failure is told once: the first after a success (or the first
// of all) in a dialog, one of another kind in the log, the same again not
// at all; the first success after failures goes to the log.
class OutcomeNotices {
public:
    std::optional<Notice> after(const TuningJob& job, const TuningOutcome& outcome);

private:
    bool failing_ = false;
    std::optional<std::int32_t> failure_; // the transfer's result; empty: not found
};

} // namespace vexa
