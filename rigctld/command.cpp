#include "rigctld/command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <vector>

namespace vexa {

namespace {

struct CommandForm {
    std::string_view shortForm; // empty where the protocol has only the long one
    std::string_view longForm;
    CommandKind kind;
    std::size_t arguments;
};

constexpr std::array kCommandForms{
    CommandForm{"", "\\chk_vfo", CommandKind::CheckVfo, 0},
    CommandForm{"", "\\dump_state", CommandKind::DumpState, 0},
    CommandForm{"F", "\\set_freq", CommandKind::SetFrequency, 1},
    CommandForm{"f", "\\get_freq", CommandKind::GetFrequency, 0},
    CommandForm{"m", "\\get_mode", CommandKind::GetMode, 0},
    CommandForm{"M", "\\set_mode", CommandKind::SetMode, 2},
    CommandForm{"V", "\\set_vfo", CommandKind::SetVfo, 1},
    CommandForm{"v", "\\get_vfo", CommandKind::GetVfo, 0},
    CommandForm{"S", "\\set_split_vfo", CommandKind::SetSplit, 2},
    CommandForm{"s", "\\get_split_vfo", CommandKind::GetSplit, 0},
    CommandForm{"t", "\\get_ptt", CommandKind::GetPtt, 0},
    CommandForm{"", "\\get_powerstat", CommandKind::GetPowerStatus, 0},
    CommandForm{"", "\\set_lock_mode", CommandKind::SetLockMode, 1},
    CommandForm{"", "\\get_lock_mode", CommandKind::GetLockMode, 0},
    CommandForm{"q", "", CommandKind::Quit, 0},
    CommandForm{"Q", "", CommandKind::Quit, 0},
};

// The names by which a client may mean the receiver's one VFO.
constexpr std::array<std::string_view, 2> kOwnVfo{"VFOA", "currVFO"};

bool isOwnVfo(std::string_view name)
{
    return std::find(kOwnVfo.begin(), kOwnVfo.end(), name) != kOwnVfo.end();
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> found;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        if (at > start)
            found.push_back(line.substr(start, at - start));
    }
    return found;
}

// A decimal number that fills the whole field; "inf" and "nan" are numbers
// too, which the tuning then refuses.
std::optional<double> number(std::string_view field)
{
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

// The command as the arguments leave it: values that this receiver does not
// have (a second VFO, split on) make it one that is not served, malformed
// numbers a command with bad arguments.
CommandKind judged(CommandKind kind, const std::vector<std::string_view>& arguments)
{
    bool wellFormed = true;
    switch (kind) {
    case CommandKind::SetFrequency:
    case CommandKind::SetLockMode:
        wellFormed = number(arguments[0]).has_value();
        break;
    case CommandKind::SetMode:
        wellFormed = number(arguments[1]).has_value();
        break;
    case CommandKind::SetVfo:
        return isOwnVfo(arguments[0]) ? kind : CommandKind::Unknown;
    case CommandKind::SetSplit:
        return arguments[0] == "0" && isOwnVfo(arguments[1]) ? kind : CommandKind::Unknown;
    default:
        break;
    }
    return wellFormed ? kind : CommandKind::BadArguments;
}

} // namespace

Command readCommand(std::string_view line)
{
    std::vector<std::string_view> words = fields(line);
    if (words.empty())
        return {};
    const auto form = std::find_if(kCommandForms.begin(), kCommandForms.end(), [&](const auto& f) {
        return words[0] == f.longForm || (!f.shortForm.empty() && words[0] == f.shortForm);
    });
    if (form == kCommandForms.end())
        return {CommandKind::Unknown};
    words.erase(words.begin());
    if (words.size() == form->arguments + 1 && isOwnVfo(words[0]))
        words.erase(words.begin());
    if (words.size() != form->arguments)
        return {CommandKind::BadArguments};
    Command command{judged(form->kind, words)};
    if (command.kind == CommandKind::SetFrequency)
        command.frequencyHz = *number(words[0]);
    return command;
}

} // namespace vexa
