#include "rigctld/answer_text.h"

#include <cstddef>

namespace vexa {

namespace {

std::string resultLine(int code)
{
    return "RPRT " + std::to_string(code) + "\n";
}

// The extended answer's first field: what was asked, "set_freq: 14074000".
std::string header(const Command& command)
{
    std::string text = command.name + ":";
    for (const std::string& argument : command.arguments)
        text += " " + argument;
    return text + command.answerForm.separator;
}

} // namespace

std::string answerText(const Command& command, const std::vector<std::string>& values, int code)
{
    const AnswerForm& form = command.answerForm;
    // The one answer without a header or result: clients read it to learn
    // whether commands carry VFO names.
    if (command.kind() == CommandKind::CheckVfo) {
        if (code != 0)
            return resultLine(code);
        return (form.extended ? std::string(command.form->labels.front()) + ": " : "") +
               values.front() + "\n";
    }
    std::string text = form.extended ? header(command) : "";
    if (code != 0)
        return text + resultLine(code);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string_view label = command.form->labels[i];
        if (form.extended && !label.empty())
            text += std::string(label) + ": ";
        text += values[i];
        // A block of lines of its own ends its last.
        if (values[i].empty() || values[i].back() != '\n')
            text += form.extended ? form.separator : '\n';
    }
    if (form.extended || command.form->plainReportsResult)
        text += resultLine(code);
    return text;
}

} // namespace vexa
