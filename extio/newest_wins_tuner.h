#pragma once

#include "oscillator/dial.h"
#include "oscillator/oscillator_request.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vexa {

// One tuning for the receiver: what the LO makes of it (its word text is
// there) and the serial number of the receiver to tune (empty: the first).
struct TuningJob {
    Tuning tuning;
    std::string serial;
};

// How it ended: the request's result, and what the USB library said of it
// (why no receiver opened, which of several it chose).
struct TuningOutcome {
    OscillatorRequestResult request;
    std::vector<std::string> usbMessages;
};

// Carries out tunings on a thread of its own, so that whoever submits them
// never waits for the USB: only the newest counts, and a tuning that is still
// waiting when a newer one comes is dropped. Each one carried out is handed
// to report, on that thread.
class NewestWinsTuner {
public:
    using Send = std::function<TuningOutcome(const TuningJob&)>;
    using Report = std::function<void(const TuningJob&, const TuningOutcome&)>;

    NewestWinsTuner(Send send, Report report);
    // Carries out the tuning still waiting and ends, however long that takes:
    // finish() bounds it.
    ~NewestWinsTuner();
    NewestWinsTuner(const NewestWinsTuner&) = delete;
    NewestWinsTuner& operator=(const NewestWinsTuner&) = delete;

    // Returns at once: takes the lock that guards the waiting tuning, never
    // one held across a send.
    void submit(TuningJob job);

    // Lets the thread carry out the tuning still waiting and end, waiting for
    // it at most bound. True when it ended. Otherwise the thread is left to
    // end on its own once its send returns: it starts no other tuning and
    // reports nothing more, and what send and report hold stays alive until
    // then. Nothing is carried out after finish.
    bool finish(std::chrono::milliseconds bound);

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

} // namespace vexa
