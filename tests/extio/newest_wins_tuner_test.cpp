// The tuner's thread with a receiver that answers only when the test lets
// it: a stalled receiver.

#include "extio/newest_wins_tuner.h"

#include <gmock/gmock.h>

#include <condition_variable>
#include <mutex>

namespace {

using namespace vexa;
using ::testing::ElementsAre;
using namespace std::chrono_literals;

// Holds each send until released, recording the dial frequencies sent and
// reported.
struct StalledReceiver {
    std::mutex mutex;
    std::condition_variable changed;
    bool answering = false;
    std::vector<double> sent;
    std::vector<double> reported;

    TuningOutcome send(const TuningJob& job)
    {
        std::unique_lock lock(mutex);
        sent.push_back(job.tuning.dialHz);
        changed.notify_all();
        changed.wait(lock, [this] { return answering; });
        return {{*job.tuning.wordText, 4}, {}};
    }
    void report(const TuningJob& job)
    {
        const std::lock_guard lock(mutex);
        reported.push_back(job.tuning.dialHz);
    }
    void waitForSends(std::size_t count)
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 10s, [&] { return sent.size() >= count; }));
    }
    void answer()
    {
        const std::lock_guard lock(mutex);
        answering = true;
        changed.notify_all();
    }
};

TuningJob jobAt(double dialHz) { return {tuningFor(dialHz, {}), ""}; }

std::unique_ptr<NewestWinsTuner> tunerOn(const std::shared_ptr<StalledReceiver>& receiver)
{
    // Each function holds the receiver, as the real sender holds its USB library.
    return std::make_unique<NewestWinsTuner>([receiver](const TuningJob& job) { return receiver->send(job); },
                           [receiver](const TuningJob& job, const TuningOutcome&) {
                               receiver->report(job);
                           });
}

TEST(NewestWinsTuner, WhileTheReceiverStallsOnlyTheNewestTuningWaitsAndIsSentNext)
{
    const auto receiver = std::make_shared<StalledReceiver>();
    const auto tuner = tunerOn(receiver);
    tuner->submit(jobAt(7000000));
    receiver->waitForSends(1);
    // The thread is held in the first send: these return all the same.
    for (const double dial : {7100000, 7200000, 7300000})
        tuner->submit(jobAt(dial));
    receiver->answer();
    EXPECT_TRUE(tuner->finish(10s));
    EXPECT_THAT(receiver->sent, ElementsAre(7000000, 7300000));
    EXPECT_THAT(receiver->reported, ElementsAre(7000000, 7300000));
}

TEST(NewestWinsTuner, FinishingPastItsBoundLeavesTheStalledSendToEndAloneAndUnreported)
{
    const auto receiver = std::make_shared<StalledReceiver>();
    auto tuner = tunerOn(receiver);
    tuner->submit(jobAt(7000000));
    receiver->waitForSends(1);
    tuner->submit(jobAt(7100000));
    EXPECT_FALSE(tuner->finish(50ms));
    tuner->submit(jobAt(7200000));
    tuner.reset();
    receiver->answer();
    // The thread lets go of the receiver when it ends.
    for (int waited = 0; receiver.use_count() > 1 && waited < 1000; ++waited)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(receiver.use_count(), 1);
    EXPECT_THAT(receiver->sent, ElementsAre(7000000));
    EXPECT_THAT(receiver->reported, ElementsAre());
}

} // namespace
