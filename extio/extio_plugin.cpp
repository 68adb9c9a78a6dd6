#include "extio/extio_plugin.h"

#include "extio/lo_mapping.h"

#include "usb/receiver.h"

namespace vexa {

namespace {

constexpr std::string_view kName = "Vexa SDR";

std::string fitted(std::string_view text)
{
    return std::string(text.substr(0, extio::kNameSize - 1));
}

int statusFor(NoticeLevel level)
{
    switch (level) {
    case NoticeLevel::Dialog:
        return extio::kMessageErrorDialog;
    case NoticeLevel::Error:
        return extio::kMessageError;
    case NoticeLevel::Warning:
        return extio::kMessageWarning;
    case NoticeLevel::Log:
        break;
    }
    return extio::kMessageLog;
}

} // namespace

ExtioPlugin::ExtioPlugin(Hooks hooks) : hooks_(std::move(hooks)) {}

ExtioPlugin::~ExtioPlugin() = default;

void ExtioPlugin::hostSupports(int feature)
{
    const std::lock_guard lock(mutex_);
    if (feature == extio::kSupportsLogging)
        hostLogs_ = true;
}

void ExtioPlugin::setSetting(int index, std::string_view text)
{
    const std::lock_guard lock(mutex_);
    // -1 comes first: the host keeps settings and hands them over now.
    if (index < 0) {
        foreignSettings_ = false;
        return;
    }
    if (foreignSettings_)
        return;
    if (const auto wrong = readSetting(index, text, settings_)) {
        foreignSettings_ = index == kSettingIdentifier;
        settingWarnings_.push_back("Vexa SDR: a stored setting is not used, as " + *wrong +
                                   (foreignSettings_ ? "; all keep their defaults."
                                                     : "; it keeps its value."));
    }
}

std::optional<SettingText> ExtioPlugin::setting(int index) const
{
    const std::lock_guard lock(mutex_);
    return settingText(index, settings_);
}

HardwareName ExtioPlugin::init() const
{
    const std::lock_guard lock(mutex_);
    return {fitted(kName),
            fitted(settings_.serial.empty() ? usbIdText(kReceiverVendorId, kReceiverProductId)
                                            : settings_.serial)};
}

void ExtioPlugin::setCallback(extio::HostCallback callback)
{
    const std::lock_guard lock(mutex_);
    callback_ = callback;
}

bool ExtioPlugin::open()
{
    std::vector<std::string> warnings;
    {
        const std::lock_guard lock(mutex_);
        if (tuner_)
            return true;
        notices_ = OutcomeNotices();
        tuner_ = std::make_unique<NewestWinsTuner>(
            hooks_.makeSend(),
            [this](const TuningJob& job, const TuningOutcome& outcome) { report(job, outcome); });
        warnings.swap(settingWarnings_);
    }
    for (std::string& warning : warnings)
        tell({NoticeLevel::Warning, std::move(warning)});
    return true;
}

int ExtioPlugin::start(std::int64_t loHz)
{
    setLo(loHz);
    return extio::kStartedPairs;
}

std::int32_t ExtioPlugin::setLo(std::int64_t loHz)
{
    const std::lock_guard lock(mutex_);
    const LoMapping mapping = mapLo(loHz, settings_.dial);
    if (!mapping.tuning)
        return mapping.answer;
    lo_ = loHz;
    if (tuner_)
        tuner_->submit({*mapping.tuning, settings_.serial});
    return 0;
}

std::int64_t ExtioPlugin::lo() const
{
    const std::lock_guard lock(mutex_);
    return lo_.value_or(0);
}

bool ExtioPlugin::close(std::chrono::milliseconds bound)
{
    std::unique_ptr<NewestWinsTuner> tuner;
    {
        const std::lock_guard lock(mutex_);
        tuner.swap(tuner_);
    }
    // Not under the lock: the tuner's last report takes it.
    return !tuner || tuner->finish(bound);
}

PluginSettings ExtioPlugin::settings() const
{
    const std::lock_guard lock(mutex_);
    return settings_;
}

void ExtioPlugin::changeSettings(const PluginSettings& settings)
{
    const std::lock_guard lock(mutex_);
    settings_ = settings;
    if (!lo_ || !tuner_)
        return;
    // The LO the host set now means another oscillator frequency, or another receiver.
    const LoMapping mapping = mapLo(*lo_, settings_.dial);
    if (mapping.tuning)
        tuner_->submit({*mapping.tuning, settings_.serial});
}

std::string ExtioPlugin::lastLine() const
{
    const std::lock_guard lock(mutex_);
    return lastLine_;
}

void ExtioPlugin::report(const TuningJob& job, const TuningOutcome& outcome)
{
    std::optional<Notice> notice;
    {
        const std::lock_guard lock(mutex_);
        lastLine_ = frequencyRequestLine(outcome.request);
        notice = notices_.after(job, outcome);
    }
    if (notice)
        tell(*notice);
    if (hooks_.outcomeChanged)
        hooks_.outcomeChanged();
}

void ExtioPlugin::tell(const Notice& notice)
{
    extio::HostCallback callback = nullptr;
    bool hostLogs = false;
    {
        const std::lock_guard lock(mutex_);
        callback = callback_;
        hostLogs = hostLogs_;
    }
    if (hostLogs && callback != nullptr) {
        // The host only reads the text, during the call.
        callback(extio::kStatusCount, statusFor(notice.level), 0.0f,
                 const_cast<char*>(notice.text.c_str()));
        return;
    }
    // Without the host's log, the notices that must not go unseen get a dialog.
    const bool mustBeSeen = notice.level == NoticeLevel::Dialog || notice.level == NoticeLevel::Warning;
    if (mustBeSeen && hooks_.showDialog)
        hooks_.showDialog(notice.text);
}

} // namespace vexa
