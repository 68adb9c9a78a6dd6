#include "extio/newest_wins_tuner.h"

#include <condition_variable>
#include <mutex>

namespace vexa {

struct NewestWinsTuner::Shared {
    Send send;
    Report report;
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<TuningJob> waiting;
    bool finishing = false; // end once nothing waits
    bool abandoned = false; // end after the send in progress, reporting nothing
    bool ended = false;
};

NewestWinsTuner::NewestWinsTuner(Send send, Report report)
    : shared_(std::make_shared<Shared>())
{
    shared_->send = std::move(send);
    shared_->report = std::move(report);
    worker_ = std::thread(run, shared_);
}

NewestWinsTuner::~NewestWinsTuner()
{
    if (!worker_.joinable())
        return;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->finishing = true;
    }
    shared_->changed.notify_all();
    worker_.join();
}

void NewestWinsTuner::submit(TuningJob job)
{
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->finishing)
            return;
        shared_->waiting = std::move(job);
    }
    shared_->changed.notify_all();
}

bool NewestWinsTuner::finish(std::chrono::milliseconds bound)
{
    if (!worker_.joinable())
        return true;
    std::unique_lock lock(shared_->mutex);
    shared_->finishing = true;
    shared_->changed.notify_all();
    if (!shared_->changed.wait_for(lock, bound, [this] { return shared_->ended; })) {
        shared_->abandoned = true;
        shared_->waiting.reset();
        lock.unlock();
        shared_->changed.notify_all();
        worker_.detach();
        return false;
    }
    lock.unlock();
    worker_.join();
    return true;
}

void NewestWinsTuner::run(const std::shared_ptr<Shared>& shared)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] {
            return shared->waiting || shared->finishing || shared->abandoned;
        });
        if (shared->abandoned || !shared->waiting)
            break;
        const TuningJob job = std::move(*shared->waiting);
        shared->waiting.reset();
        lock.unlock();
        const TuningOutcome outcome = shared->send(job);
        lock.lock();
        if (shared->abandoned)
            break;
        lock.unlock();
        shared->report(job, outcome);
        lock.lock();
    }
    shared->ended = true;
    shared->changed.notify_all();
}

} // namespace vexa
