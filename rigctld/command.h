#pragma once

#include <optional>
#include <string_view>

namespace vexa {

// The commands of the rig-control protocol that this server serves.
enum class CommandKind {
    None, // a blank line: nothing asked, nothing answered
    CheckVfo,
    DumpState,
    SetFrequency,
    GetFrequency,
    GetMode,
    SetMode,
    SetVfo,
    GetVfo,
    SetSplit,
    GetSplit,
    GetPtt,
    GetPowerStatus,
    SetLockMode,
    GetLockMode,
    Quit,
    Unknown,      // a command this server does not serve
    BadArguments, // a command it serves, with arguments it cannot take
};

struct Command {
    CommandKind kind = CommandKind::None;
    double frequencyHz = 0; // of SetFrequency
};

// Reads one line as clients send it: the short or the long form of a command
// ("F" or "\set_freq"), blanks of any length between the fields, an optional
// VFO of this receiver's one ("VFOA", "currVFO") before the arguments.
Command readCommand(std::string_view line);

} // namespace vexa
