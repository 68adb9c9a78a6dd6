#pragma once

#include "extio/interface_codes.h"
#include "extio/newest_wins_tuner.h"
#include "extio/outcome_notices.h"
#include "extio/plugin_settings.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// How long CloseHW waits for a tuning on its way: a stalled receiver holds
// one for up to the transfer's time-out (kTuningTimeoutMs), and the host's
// window should not freeze for two.
inline constexpr std::chrono::milliseconds kCloseWait{1000};

// The name and model InitHW hands the host, each short enough for its buffer.
struct HardwareName {
    std::string name;
    std::string model;
};

// The plugin's behaviour behind the ExtIO calls, in plain C++: the DLL's
// exported functions call these, in the host's order (ExtIoSDRInfo,
// ExtIoSetSetting, InitHW, SetCallback, OpenHW, StartHW, SetHWLO...,
// StopHW, ExtIoGetSetting, CloseHW). Each call returns at once, whatever the
// receiver does; tunings run on the tuner's thread, from OpenHW to CloseHW.
class ExtioPlugin {
public:
    struct Hooks {
        // The sender for one OpenHW..CloseHW; receiverSend() for the receiver.
        std::function<NewestWinsTuner::Send()> makeSend;
        // Shows a dialog's notice when the host has no log to show it in.
        std::function<void(const std::string& text)> showDialog;
        // Called on the tuner's thread after each tuning carried out.
        std::function<void()> outcomeChanged;
    };
    explicit ExtioPlugin(Hooks hooks);
    ~ExtioPlugin();

    void hostSupports(int feature);
    void setSetting(int index, std::string_view text);
    std::optional<SettingText> setting(int index) const;
    HardwareName init() const;
    void setCallback(extio::HostCallback callback);
    bool open();
    // Tunes the LO the host starts with and answers kStartedPairs.
    int start(std::int64_t loHz);
    // 0 when the LO goes to the receiver, else the limit (see mapLo).
    std::int32_t setLo(std::int64_t loHz);
    // The last LO the host set that was in range.
    std::int64_t lo() const;
    // False when the tuning on its way did not end within bound (it then ends
    // on its own, see NewestWinsTuner::finish).
    bool close(std::chrono::milliseconds bound);

    // For the settings dialog: the settings, new ones (which tune the last LO
    // again), and the line of the last tuning carried out (empty before one).
    PluginSettings settings() const;
    void changeSettings(const PluginSettings& settings);
    std::string lastLine() const;

private:
    void report(const TuningJob& job, const TuningOutcome& outcome);
    void tell(const Notice& notice);

    Hooks hooks_;
    mutable std::mutex mutex_;
    PluginSettings settings_;
    bool foreignSettings_ = false;
    std::vector<std::string> settingWarnings_; // told once the host can hear them
    bool hostLogs_ = false;
    extio::HostCallback callback_ = nullptr;
    std::optional<std::int64_t> lo_;
    std::string lastLine_;
    OutcomeNotices notices_;
    std::unique_ptr<NewestWinsTuner> tuner_;
};

} // namespace vexa
