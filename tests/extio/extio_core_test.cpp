// The plugin's rules without a receiver: what an LO becomes, the settings as
// the host stores them, and what the operator is told of each tuning.

#include "extio/extio_plugin.h"
#include "extio/lo_mapping.h"
#include "extio/outcome_notices.h"
#include "extio/plugin_settings.h"

#include <gmock/gmock.h>

#include <limits>

namespace {

using namespace vexa;
using ::testing::HasSubstr;

TEST(LoMapping, AnLoInRangeIsTunedAndOneOutsideAnswersTheLimitItCrossed)
{
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    const struct {
        DialSettings dial;
        std::int64_t lo;
        std::int32_t answer;
        const char* word; // nullptr: nothing to send
    } rows[] = {
        {{}, 14074000, 0, "384BC6A"},
        {{}, 1, 0, "4"},
        {{}, 511999999, 0, "7FFFFFFC"},
        {{}, 512000000, 511999999, nullptr},
        {{}, 0, -1, nullptr}, // 0 Hz is no LO; -0 would read as success
        {{}, -7000000, -1, nullptr},
        {{3, -12000}, 14074000, 0, "545F3B6"},
        {{3, -12000}, 11999, -12000, nullptr},
        {{1, 0}, kLargest, 1023999999, nullptr},
        // A range beyond what a 32-bit answer holds ends where it does.
        {{0.25, 0}, kLargest, 0, "431BDE82"},
        {{0.25, 0}, 3000000000, kLargest, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.lo) + " Hz, multiplier " + std::to_string(row.dial.multiplier));
        const LoMapping mapping = mapLo(row.lo, row.dial);
        EXPECT_EQ(mapping.answer, row.answer);
        if (row.word == nullptr) {
            EXPECT_FALSE(mapping.tuning);
        } else {
            ASSERT_TRUE(mapping.tuning);
            EXPECT_EQ(mapping.tuning->wordText, row.word);
        }
    }
}

TEST(PluginSettings, TextsReadBackAsTheSettingsTheyCameFrom)
{
    const PluginSettings written{{2.5, -12000.25}, "VX-0042"};
    PluginSettings read;
    for (int index = 0; index < kSettingCount; ++index) {
        const auto text = settingText(index, written);
        ASSERT_TRUE(text) << index;
        EXPECT_FALSE(text->description.empty());
        EXPECT_EQ(readSetting(index, text->value, read), std::nullopt) << index;
    }
    EXPECT_EQ(read.dial.multiplier, 2.5);
    EXPECT_EQ(read.dial.offsetHz, -12000.25);
    EXPECT_EQ(read.serial, "VX-0042");
    EXPECT_FALSE(settingText(kSettingCount, written));
}

TEST(PluginSettings, AWrongTextIsRefusedWithItsReasonAndChangesNothing)
{
    const struct {
        int index;
        std::string text;
        const char* reason;
    } rows[] = {
        {kSettingIdentifier, "Another plugin", "those of \"Another plugin\""},
        {kSettingMultiplier, "0", "needs a number above 0, not \"0\""},
        {kSettingMultiplier, "2,5", "not \"2,5\""},
        {kSettingMultiplier, "inf", "not \"inf\""},
        {kSettingMultiplier, "1e12", "leaves no LO"},
        {kSettingOffset, "", "needs a number of Hz"},
        {kSettingOffset, "6e8", "leaves no LO"},
        {kSettingSerial, std::string(kLongestSerial + 1, 'S'), "at most 126 characters"},
        {kSettingCount, "1", "no setting 4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        PluginSettings settings;
        const auto reason = readSetting(row.index, row.text, settings);
        ASSERT_TRUE(reason);
        EXPECT_THAT(*reason, HasSubstr(row.reason));
        EXPECT_EQ(settings.dial.multiplier, 2);
        EXPECT_EQ(settings.dial.offsetHz, 0);
    }
    PluginSettings settings;
    EXPECT_EQ(readSetting(kSettingMultiplier, " 3 ", settings), std::nullopt);
    EXPECT_EQ(settings.dial.multiplier, 3);
}

TEST(OutcomeNotices, AFailureIsToldOnceInADialogAndTheRecoveryInTheLog)
{
    const TuningJob job{tuningFor(7100000, {}), ""};
    const TuningOutcome tuned{{"1C66666", 4}, {}};
    const TuningOutcome notFound{{"1C66666", std::nullopt}, {"no device has the serial number"}};
    const TuningOutcome timedOut{{"1C66666", -7}, {}};
    const struct {
        TuningOutcome outcome;
        std::optional<NoticeLevel> told;
    } steps[] = {
        {tuned, std::nullopt},        {notFound, NoticeLevel::Dialog}, {notFound, std::nullopt},
        {timedOut, NoticeLevel::Error}, {timedOut, std::nullopt},      {tuned, NoticeLevel::Log},
        {tuned, std::nullopt},        {timedOut, NoticeLevel::Dialog},
    };
    OutcomeNotices notices;
    int step = 0;
    for (const auto& [outcome, told] : steps) {
        SCOPED_TRACE("step " + std::to_string(step++));
        const auto notice = notices.after(job, outcome);
        ASSERT_EQ(notice.has_value(), told.has_value());
        if (!notice)
            continue;
        EXPECT_EQ(notice->level, *told);
        EXPECT_THAT(notice->text, HasSubstr("LO 7100000 Hz"));
        if (!receiverTookWord(outcome.request)) {
            EXPECT_THAT(notice->text, HasSubstr("vexa-sdr-usb-report"));
        }
    }
    const auto withSerial = OutcomeNotices().after({job.tuning, "VX-7"}, notFound);
    EXPECT_THAT(withSerial->text, HasSubstr("serial number \"VX-7\""));
    EXPECT_THAT(withSerial->text, HasSubstr("USB: no device has the serial number."));
}

// What the host hears: statuses with their texts.
std::vector<std::pair<int, std::string>> heard;
int hear(int count, int status, float, void* data)
{
    EXPECT_EQ(count, extio::kStatusCount);
    heard.emplace_back(status, static_cast<const char*>(data));
    return 0;
}

TEST(ExtioPlugin, StoredSettingsOfAnotherPluginAreIgnoredAndTheHostIsTold)
{
    heard.clear();
    ExtioPlugin plugin({[] {
                            return [](const TuningJob& job) {
                                return TuningOutcome{{*job.tuning.wordText, 4}, {}};
                            };
                        },
                        nullptr, nullptr});
    plugin.hostSupports(extio::kSupportsLogging);
    plugin.setSetting(-1, "");
    plugin.setSetting(kSettingIdentifier, "Another plugin");
    plugin.setSetting(kSettingMultiplier, "3");
    plugin.setCallback(hear);
    EXPECT_EQ(plugin.init().model, "16C0:05DC");
    EXPECT_TRUE(plugin.open());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, extio::kMessageWarning);
    EXPECT_THAT(heard[0].second, HasSubstr("\"Another plugin\""));
    EXPECT_EQ(plugin.setting(kSettingMultiplier)->value, "2");

    // A new delivery of the plugin's own settings is taken.
    plugin.setSetting(-1, "");
    plugin.setSetting(kSettingIdentifier, plugin.setting(kSettingIdentifier)->value);
    plugin.setSetting(kSettingSerial, "a serial longer than its field");
    EXPECT_EQ(plugin.init().model, "a serial longer");
    EXPECT_TRUE(plugin.close(kCloseWait));
}

} // namespace
