#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// The commands of the rig-control protocol that this server serves.
enum class CommandKind {
    CheckVfo,
    DumpState,
    SetFrequency,
    GetFrequency,
    SetMode,
    GetMode,
    SetVfo,
    GetVfo,
    SetSplitVfo,
    GetSplitVfo,
    SetSplitFrequency,
    GetSplitFrequency,
    SetSplitMode,
    GetSplitMode,
    SetPtt,
    GetPtt,
    GetPowerStatus,
    SetLockMode,
    GetLockMode,
    GetVfoInfo,
    Quit,
    Unknown, // a command this server does not serve
};

// The receiver tunes VFO A; VFO B holds a transmit frequency and mode for
// clients that work split, and reaches the receiver never.
enum class Vfo { A, B };

// How a VFO is named in a command: "currVFO" means the connection's own.
enum class VfoChoice { A, B, Current };

// The form a client asks an answer in: plain, or extended ("+" before the
// command: the command's name and labelled values, one a line; ";", "|" or
// ",": the same fields joined by that character).
struct AnswerForm {
    bool extended = false;
    char separator = '\n';
};

// What the protocol says of one command: its names, the kinds of its
// arguments, whether a VFO may come before them, and the labels of the values
// it answers (empty for sets).
enum class ArgumentKind { Frequency, ModeName, Passband, VfoName, Number };
struct CommandForm {
    char shortForm; // '\0' where the protocol has only the long name
    std::string_view longName;
    CommandKind kind;
    std::vector<ArgumentKind> arguments;
    bool takesVfo;
    std::vector<std::string_view> labels;
    bool plainReportsResult; // the plain form ends with "RPRT 0" even on success
};

// One command as read from a line. Its arguments as sent are kept for the
// extended answer, which repeats them; the values are there when they are
// well formed.
struct Command {
    const CommandForm* form = nullptr; // none for a command not served
    std::string name;                  // the long name, or the word as sent
    std::vector<std::string> arguments;
    AnswerForm answerForm;
    bool wellFormed = true;
    std::optional<VfoChoice> vfo; // the VFO named before the arguments
    double hz = 0;                // of a frequency argument
    std::string mode;
    long passbandHz = 0;
    long integer = 0;               // of PTT, split or lock mode
    std::optional<VfoChoice> named; // of a VFO argument

    std::string sent; // the command as the client sent it, for the log

    CommandKind kind() const { return form ? form->kind : CommandKind::Unknown; }
};

// Reads one line as clients send it: one command or several ("+f +m +v",
// "fmv", "F 14074000 f"), each in its short or long form ("F" or
// "\set_freq") with its answer form before it, blanks of any length between
// the fields, an optional VFO ("VFOA", "VFOB", "Main", "Sub", "currVFO")
// before the arguments. A command not served takes the words up to the next
// command with it; so do arguments beyond a command's own, which make it
// malformed.
std::vector<Command> readCommands(std::string_view line);

// The VFO's name in answers: "VFOA", "VFOB".
std::string_view vfoName(Vfo vfo);

} // namespace vexa
