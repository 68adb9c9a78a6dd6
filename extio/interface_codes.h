#pragma once

namespace vexa::extio {

// The numbers of the ExtIO interface (Winrad's, as HDSDR publishes it) that
// the plugin uses.

// InitHW's hardware type: the samples come through the sound card, and the
// plugin sets the LO only.
inline constexpr int kSoundCardData = 4;

// The host's callback: int callback(int count, int status, float iqOffset,
// void* data), the C calling convention. A negative count makes it a status.
using HostCallback = int (*)(int count, int status, float iqOffset, void* data);
inline constexpr int kStatusCount = -1;

// Statuses that carry a message (a C string in data) for the host's log, the
// first also shown in a dialog; hosts take them once they have announced
// kSupportsLogging through ExtIoSDRInfo.
inline constexpr int kMessageErrorDialog = 148;
inline constexpr int kMessageError = 149;
inline constexpr int kMessageWarning = 150;
inline constexpr int kMessageLog = 151;
inline constexpr int kSupportsLogging = 10;

// Longest texts (with their terminating zero) the host's buffers take: the
// name and model of InitHW, a setting's description and value.
inline constexpr int kNameSize = 16;
inline constexpr int kSettingSize = 1024;

// What StartHW answers for sound-card data: a count of I/Q pairs per callback,
// which only hosts fed through the callback use; negative would be a failure.
inline constexpr int kStartedPairs = 512;

} // namespace vexa::extio
