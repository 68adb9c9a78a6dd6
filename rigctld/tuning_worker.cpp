#include "rigctld/tuning_worker.h"

namespace vexa {

TuningWorker::TuningWorker(UsbLibrary& usb, std::int32_t timeoutMs, QObject& owner)
    : usb_(usb), timeoutMs_(timeoutMs), owner_(owner)
{
    runner_.moveToThread(&thread_);
    thread_.start();
}

TuningWorker::~TuningWorker()
{
    thread_.quit();
    thread_.wait();
}

void TuningWorker::tune(std::string wordText,
                        std::function<void(const OscillatorRequestResult&)> done)
{
    QMetaObject::invokeMethod(
        &runner_,
        [this, wordText = std::move(wordText), done = std::move(done)] {
            std::int32_t devHandle = 0;
            const OscillatorRequestResult result =
                frequencyRequest(usb_, devHandle, wordText, timeoutMs_);
            QMetaObject::invokeMethod(&owner_, [done, result] { done(result); },
                                      Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

} // namespace vexa
