// The plugin as an SDR program drives it, through the real libusb to the
// emulated receiver; runs under umockdev-wrapper.

#include "extio/extio_plugin.h"
#include "extio/receiver_link.h"

#include "emulated_receiver/emulated_receiver.h"

#include <gmock/gmock.h>

#include <condition_variable>
#include <mutex>

namespace {

using namespace vexa;
using namespace vexa::testing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// What the host is told, through its callback or the plugin's own dialog,
// and how many tunings were carried out.
struct Host {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, std::string>> heard;
    std::vector<std::string> dialogs;
    std::size_t outcomes = 0;

    void waitForOutcomes(std::size_t count)
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 20s, [&] { return outcomes >= count; }));
    }
    std::size_t heardOf(int status)
    {
        const std::lock_guard lock(mutex);
        return static_cast<std::size_t>(std::count_if(
            heard.begin(), heard.end(), [status](const auto& message) { return message.first == status; }));
    }
};
Host* host = nullptr;

int hostCallback(int, int status, float, void* data)
{
    const std::lock_guard lock(host->mutex);
    host->heard.emplace_back(status, static_cast<const char*>(data));
    return 0;
}

class ExtioPluginOnReceiver : public ::testing::Test {
protected:
    ExtioPluginOnReceiver() { host = &hostState; }

    // A plugin opened as a host opens it; the sender's holder tells when the
    // tuner's thread has let go of it.
    std::unique_ptr<ExtioPlugin> openPlugin(bool hostLogs = true)
    {
        auto plugin = std::make_unique<ExtioPlugin>(ExtioPlugin::Hooks{
            [this] {
                return [send = receiverSend(), holder = senderHolder](const TuningJob& job) {
                    return send(job);
                };
            },
            [](const std::string& text) {
                const std::lock_guard lock(host->mutex);
                host->dialogs.push_back(text);
            },
            [] {
                const std::lock_guard lock(host->mutex);
                ++host->outcomes;
                host->changed.notify_all();
            }});
        if (hostLogs)
            plugin->hostSupports(extio::kSupportsLogging);
        plugin->setCallback(hostCallback);
        EXPECT_TRUE(plugin->open());
        return plugin;
    }

    // The words of the set-frequency requests among a device's transfers
    // (choosing by serial number reads strings too).
    static std::vector<Bytes> wordsIn(const std::vector<ControlTransfer>& transfers)
    {
        std::vector<Bytes> words;
        for (const ControlTransfer& transfer : transfers)
            if (transfer.request() == kRequestSetFrequency)
                words.push_back(transfer.data);
        return words;
    }
    std::vector<Bytes> sentWords() const { return wordsIn(receiver.transfers()); }

    EmulatedReceiver receiver;
    Host hostState;
    std::shared_ptr<int> senderHolder = std::make_shared<int>();
};

TEST_F(ExtioPluginOnReceiver, AnLoInRangeSendsItsWordAndOneOutOfRangeNothing)
{
    const Bytes k14074000{0x6A, 0xBC, 0x84, 0x03};
    const struct {
        const char* multiplier;
        const char* offset;
        std::int64_t lo;
        std::int32_t answer;
        Bytes word; // empty: nothing sent
    } rows[] = {
        {"2", "0", 14074000, 0, k14074000},
        {"3", "-12000", 14074000, 0, {0xB6, 0xF3, 0x45, 0x05}},
        {"2", "0", 512000000, 511999999, {}},
        {"2", "0", 0, -1, {}},
    };
    const auto marker = Bytes{0x66, 0x66, 0xC6, 0x01}; // LO 7100000 Hz
    std::vector<Bytes> expected;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.lo));
        const std::size_t outcomes = hostState.outcomes;
        auto plugin = openPlugin();
        plugin->setSetting(kSettingMultiplier, row.multiplier);
        plugin->setSetting(kSettingOffset, row.offset);
        EXPECT_EQ(plugin->setLo(row.lo), row.answer);
        if (!row.word.empty()) {
            hostState.waitForOutcomes(outcomes + 1);
            expected.push_back(row.word);
        }
        // A tuning after it shows that nothing else was sent in between.
        plugin->setSetting(kSettingMultiplier, "2");
        plugin->setSetting(kSettingOffset, "0");
        EXPECT_EQ(plugin->setLo(7100000), 0);
        EXPECT_TRUE(plugin->close(10s));
        expected.push_back(marker);
    }
    EXPECT_EQ(sentWords(), expected);
    EXPECT_EQ(hostState.heard.size(), 0u);
}

TEST_F(ExtioPluginOnReceiver, WhileTheReceiverStallsSetsReturnAndTheNewestGoesNext)
{
    auto plugin = openPlugin();
    receiver.setOutcome(Outcome::Timeout);
    EXPECT_EQ(plugin->setLo(7000000), 0);
    ASSERT_TRUE(receiver.waitForTransfers(1));
    for (const std::int64_t lo : {7100000, 7200000, 7300000})
        EXPECT_EQ(plugin->setLo(lo), 0);
    EXPECT_EQ(receiver.transfers().size(), 1u);
    receiver.setOutcome(Outcome::Success);
    // The stalled transfer ends at its time-out, and 7.3 MHz follows.
    hostState.waitForOutcomes(2);
    EXPECT_THAT(sentWords(), ElementsAre(Bytes{0x00, 0x00, 0xC0, 0x01}, Bytes{0x33, 0x33, 0xD3, 0x01}));
    EXPECT_EQ(hostState.heardOf(extio::kMessageErrorDialog), 1u);
    EXPECT_EQ(hostState.heardOf(extio::kMessageLog), 1u);
    EXPECT_EQ(plugin->lo(), 7300000);

    // Closing does not wait out a stalled transfer: the tuner's thread ends
    // after it, unheard, once the receiver lets go (here: it is unplugged).
    receiver.setOutcome(Outcome::Timeout);
    plugin->setLo(7400000);
    ASSERT_TRUE(receiver.waitForTransfers(3));
    EXPECT_FALSE(plugin->close(100ms));
    const std::size_t heard = hostState.heard.size();
    receiver.unplug();
    for (int waited = 0; senderHolder.use_count() > 1 && waited < 1000; ++waited)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(senderHolder.use_count(), 1);
    EXPECT_EQ(hostState.heard.size(), heard);
    EXPECT_EQ(hostState.outcomes, 2u);
}

// The receiver (serial VX-000172) is in the first port, another device with
// its IDs (BT-9) in the second. New settings tune the last LO again.
TEST_F(ExtioPluginOnReceiver, TheSerialNumberChoosesTheReceiverAndAnUnknownOneIsTold)
{
    receiver.plugSecondDevice();
    auto plugin = openPlugin();
    plugin->setLo(7100000);
    hostState.waitForOutcomes(1);
    PluginSettings settings = plugin->settings();
    settings.serial = "BT-9";
    plugin->changeSettings(settings);
    hostState.waitForOutcomes(2);
    settings.serial = "VX-9";
    plugin->changeSettings(settings);
    hostState.waitForOutcomes(3);
    EXPECT_TRUE(plugin->close(10s));

    const Bytes k7100000{0x66, 0x66, 0xC6, 0x01};
    EXPECT_THAT(sentWords(), ElementsAre(k7100000));
    EXPECT_THAT(wordsIn(receiver.secondDeviceTransfers()), ElementsAre(k7100000));
    ASSERT_EQ(hostState.heardOf(extio::kMessageErrorDialog), 1u);
    EXPECT_THAT(hostState.heard.back().second,
                HasSubstr("USB: no device with the ID 16C0:05DC has the serial number \"VX-9\""));
}

TEST_F(ExtioPluginOnReceiver, UnpluggedTheFailureIsToldOnceAndRepluggedTheNextSetTunes)
{
    for (const bool hostLogs : {true, false}) {
        SCOPED_TRACE(hostLogs ? "the host logs" : "the host has no log");
        hostState.heard.clear();
        hostState.dialogs.clear();
        hostState.outcomes = 0;
        auto plugin = openPlugin(hostLogs);
        plugin->setLo(7000000);
        hostState.waitForOutcomes(1);
        receiver.unplug();
        plugin->setLo(7100000);
        hostState.waitForOutcomes(2);
        plugin->setLo(7200000);
        hostState.waitForOutcomes(3);
        EXPECT_EQ(plugin->lastLine(), " Error: Device not found!");
        receiver.plug();
        plugin->setLo(7300000);
        hostState.waitForOutcomes(4);
        EXPECT_EQ(plugin->lastLine(), "RC=4   Hex=1D33333");
        EXPECT_TRUE(plugin->close(10s));

        const std::vector<std::string> dialogs =
            hostLogs ? std::vector<std::string>() : hostState.dialogs;
        if (hostLogs) {
            ASSERT_EQ(hostState.heard.size(), 2u);
            EXPECT_EQ(hostState.heard[0].first, extio::kMessageErrorDialog);
            EXPECT_THAT(hostState.heard[0].second, HasSubstr("LO 7100000 Hz"));
            EXPECT_THAT(hostState.heard[0].second, HasSubstr("vexa-sdr-usb-report"));
            EXPECT_EQ(hostState.heard[1].first, extio::kMessageLog);
            EXPECT_THAT(hostState.heard[1].second, HasSubstr("LO 7300000 Hz"));
            EXPECT_TRUE(hostState.dialogs.empty());
        } else {
            EXPECT_TRUE(hostState.heard.empty());
            ASSERT_EQ(hostState.dialogs.size(), 1u);
            EXPECT_THAT(hostState.dialogs[0], HasSubstr("vexa-sdr-usb-report"));
        }
    }
    EXPECT_THAT(sentWords(), ElementsAre(Bytes{0x00, 0x00, 0xC0, 0x01}, Bytes{0x33, 0x33, 0xD3, 0x01},
                                         Bytes{0x00, 0x00, 0xC0, 0x01}, Bytes{0x33, 0x33, 0xD3, 0x01}));
}

} // namespace
