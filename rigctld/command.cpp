#include "rigctld/command.h"

#include "rigctld/modes.h"

#include <algorithm>
#include <charconv>
#include <cstddef>

namespace vexa {

namespace {

using enum ArgumentKind;

// hamlib's names and labels, as its rigctld answers them.
const std::vector<CommandForm>& commandForms()
{
    static const std::vector<CommandForm> forms{
        {'\0', "chk_vfo", CommandKind::CheckVfo, {}, false, {"ChkVFO"}, false},
        {'\0', "dump_state", CommandKind::DumpState, {}, false, {""}, false},
        {'F', "set_freq", CommandKind::SetFrequency, {Frequency}, true, {}, true},
        {'f', "get_freq", CommandKind::GetFrequency, {}, true, {"Frequency"}, false},
        {'M', "set_mode", CommandKind::SetMode, {ModeName, Passband}, true, {}, true},
        {'m', "get_mode", CommandKind::GetMode, {}, true, {"Mode", "Passband"}, false},
        {'V', "set_vfo", CommandKind::SetVfo, {VfoName}, false, {}, true},
        {'v', "get_vfo", CommandKind::GetVfo, {}, false, {"VFO"}, false},
        {'S', "set_split_vfo", CommandKind::SetSplitVfo, {Number, VfoName}, true, {}, true},
        {'s', "get_split_vfo", CommandKind::GetSplitVfo, {}, true, {"Split", "TX VFO"}, false},
        {'I', "set_split_freq", CommandKind::SetSplitFrequency, {Frequency}, true, {}, true},
        {'i', "get_split_freq", CommandKind::GetSplitFrequency, {}, true, {"TX Frequency"}, false},
        {'X', "set_split_mode", CommandKind::SetSplitMode, {ModeName, Passband}, true, {}, true},
        {'x', "get_split_mode", CommandKind::GetSplitMode, {}, true, {"TX Mode", "TX Passband"},
         false},
        {'T', "set_ptt", CommandKind::SetPtt, {Number}, true, {}, true},
        {'t', "get_ptt", CommandKind::GetPtt, {}, true, {"PTT"}, false},
        {'\0', "get_powerstat", CommandKind::GetPowerStatus, {}, false, {"Power Status"}, false},
        {'\0', "set_lock_mode", CommandKind::SetLockMode, {Number}, false, {}, true},
        {'\0', "get_lock_mode", CommandKind::GetLockMode, {}, false, {"Locked"}, true},
        {'\0', "get_vfo_info", CommandKind::GetVfoInfo, {VfoName}, false,
         {"Freq", "Mode", "Width", "Split", "SatMode"}, false},
        {'q', "", CommandKind::Quit, {}, false, {}, true},
        {'Q', "", CommandKind::Quit, {}, false, {}, true},
    };
    return forms;
}

const CommandForm* shortForm(char c)
{
    if (c == '\0') // the mark of a command without a short form
        return nullptr;
    const auto& forms = commandForms();
    const auto form = std::find_if(forms.begin(), forms.end(),
                                   [c](const CommandForm& f) { return f.shortForm == c; });
    return form == forms.end() ? nullptr : &*form;
}

const CommandForm* longForm(std::string_view name)
{
    const auto& forms = commandForms();
    const auto form = std::find_if(forms.begin(), forms.end(), [name](const CommandForm& f) {
        return !f.longName.empty() && f.longName == name;
    });
    return form == forms.end() ? nullptr : &*form;
}

std::optional<VfoChoice> vfoChoice(std::string_view name)
{
    if (name == "VFOA" || name == "Main")
        return VfoChoice::A;
    if (name == "VFOB" || name == "Sub")
        return VfoChoice::B;
    if (name == "currVFO")
        return VfoChoice::Current;
    return std::nullopt;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isFormPrefix(char c) { return c == '+' || c == ';' || c == '|' || c == ','; }

// A number that fills the whole field; "inf" and "nan" are numbers too, which
// the tuning then refuses.
template <typename T>
std::optional<T> number(std::string_view field)
{
    T value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

// The blank-separated words of a line, read one at a time.
class Words {
public:
    explicit Words(std::string_view line) : line_(line) {}

    bool atEnd()
    {
        skipBlanks();
        return at_ == line_.size();
    }

    std::string_view peek()
    {
        skipBlanks();
        std::size_t end = at_;
        while (end < line_.size() && !isBlank(line_[end]))
            ++end;
        return line_.substr(at_, end - at_);
    }

    std::string_view take()
    {
        const std::string_view word = peek();
        at_ += word.size();
        taken_ = at_;
        return word;
    }

    char takeChar()
    {
        skipBlanks();
        taken_ = at_ + 1;
        return line_[at_++];
    }

    // From the start of the next word to the end of the last one taken.
    std::size_t next()
    {
        skipBlanks();
        return at_;
    }
    std::string_view takenSince(std::size_t start) const
    {
        return line_.substr(start, taken_ - start);
    }

private:
    void skipBlanks()
    {
        while (at_ < line_.size() && isBlank(line_[at_]))
            ++at_;
    }

    std::string_view line_;
    std::size_t at_ = 0;
    std::size_t taken_ = 0;
};

// Whether a word starts a command: a long name this server serves, a single
// command letter, or letters of commands without arguments written together
// ("fmv"); each may carry its answer form first.
bool startsCommand(std::string_view word)
{
    if (!word.empty() && isFormPrefix(word.front()))
        word.remove_prefix(1);
    if (word.empty())
        return false;
    if (word.front() == '\\')
        return longForm(word.substr(1)) != nullptr;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const CommandForm* form = shortForm(word[i]);
        if (!form || (i + 1 < word.size() && !form->arguments.empty()))
            return false;
    }
    return true;
}

// Keeps a value that is there.
template <typename T>
bool store(std::optional<T> value, T& field)
{
    if (value)
        field = *value;
    return value.has_value();
}

// Stores one argument's value; false when the word is not of its kind.
bool takeArgument(ArgumentKind kind, std::string_view word, Command& command)
{
    switch (kind) {
    case Frequency:
        return store(number<double>(word), command.hz);
    case ModeName:
        command.mode = std::string(word);
        return isKnownMode(word);
    case Passband:
        return store(number<long>(word), command.passbandHz);
    case VfoName:
        command.named = vfoChoice(word);
        return command.named.has_value();
    case Number:
        return store(number<long>(word), command.integer);
    }
    return false;
}

// The command's name and form; the words are at the name.
Command readName(Words& words)
{
    Command command;
    if (isFormPrefix(words.peek().front())) {
        const char prefix = words.takeChar();
        command.answerForm = {true, prefix == '+' ? '\n' : prefix};
    }
    if (words.atEnd())
        return command; // a form without a command: one not served
    if (words.peek().front() == '\\') {
        const std::string_view name = words.take().substr(1);
        command.form = longForm(name);
        command.name = std::string(name);
        return command;
    }
    const char letter = words.takeChar();
    command.form = shortForm(letter);
    command.name = command.form && !command.form->longName.empty() ? command.form->longName
                                                                    : std::string(1, letter);
    return command;
}

void readArguments(Words& words, Command& command)
{
    if (!command.form) {
        while (!words.atEnd() && !startsCommand(words.peek()))
            command.arguments.emplace_back(words.take());
        return;
    }
    if (command.form->takesVfo && !words.atEnd()) {
        if (const auto vfo = vfoChoice(words.peek())) {
            command.vfo = vfo;
            words.take();
        }
    }
    for (const ArgumentKind kind : command.form->arguments) {
        if (words.atEnd()) {
            command.wellFormed = false;
            break;
        }
        command.arguments.emplace_back(words.take());
        command.wellFormed = takeArgument(kind, command.arguments.back(), command) &&
                             command.wellFormed;
    }
    while (!words.atEnd() && !startsCommand(words.peek())) {
        command.arguments.emplace_back(words.take());
        command.wellFormed = false;
    }
}

Command readCommand(Words& words)
{
    const std::size_t start = words.next();
    Command command = readName(words);
    readArguments(words, command);
    command.sent = std::string(words.takenSince(start));
    return command;
}

} // namespace

std::vector<Command> readCommands(std::string_view line)
{
    std::vector<Command> commands;
    Words words(line);
    while (!words.atEnd())
        commands.push_back(readCommand(words));
    return commands;
}

std::string_view vfoName(Vfo vfo)
{
    return vfo == Vfo::A ? "VFOA" : "VFOB";
}

} // namespace vexa
