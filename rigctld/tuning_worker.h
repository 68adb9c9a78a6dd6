#pragma once

#include "oscillator/oscillator_request.h"

#include <QObject>
#include <QThread>

#include <cstdint>
#include <functional>
#include <string>

namespace vexa {

class UsbLibrary;

// Carries out the sets on a thread of its own: a request may take up to its
// time-out, and the other clients' answers must not wait for it.
class TuningWorker {
public:
    // The results go to owner's thread; the owner outlives the worker.
    TuningWorker(UsbLibrary& usb, std::int32_t timeoutMs, QObject& owner);
    ~TuningWorker(); // after the request in hand
    TuningWorker(const TuningWorker&) = delete;
    TuningWorker& operator=(const TuningWorker&) = delete;

    // Sends the word on the worker's thread; done then runs on the owner's.
    void tune(std::string wordText, std::function<void(const OscillatorRequestResult&)> done);

private:
    UsbLibrary& usb_;
    const std::int32_t timeoutMs_;
    QObject& owner_;
    QThread thread_;
    QObject runner_; // lives on thread_
};

} // namespace vexa
