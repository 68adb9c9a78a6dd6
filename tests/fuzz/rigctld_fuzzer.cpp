// libFuzzer target for what a network client's bytes meet first: the line
// reader and the command reader, and the reply each command gets. A client
// may send anything; the checks below hold for every input and report a
// violation through abort().

#include "property_check.h"

#include "oscillator/tuning.h"
#include "rigctld/command.h"
#include "rigctld/line_buffer.h"
#include "rigctld/replies.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace vexa;
using vexa::fuzzing::check;

bool isBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Every answer ends its last line, and a result code is never positive.
void checkAnswer(const std::string& answer, std::string_view line)
{
    check(answer.empty() || answer.back() == '\n', "answer without a line end", line);
    for (std::size_t at = answer.find("RPRT "); at != std::string::npos;
         at = answer.find("RPRT ", at + 1))
        check(answer.compare(at, 6, "RPRT 0") == 0 || answer.compare(at, 6, "RPRT -") == 0,
              "positive result code", line);
}

void checkReply(std::string_view line, const RigState& state)
{
    const Reply reply = replyTo(readCommand(line), state);
    checkAnswer(reply.answer, line);
    const bool waitsForReceiver = reply.tuning && reply.tuning->wordText;
    check(isBlankLine(line) == (reply.answer.empty() && !waitsForReceiver && !reply.closes),
          "a command without an answer, or a blank line with one", line);
    if (!reply.tuning)
        return;
    const Tuning& tuning = *reply.tuning;
    check(waitsForReceiver == reply.answer.empty(), "a set answered before it was sent", line);
    if (tuning.wordText) {
        check(tuning.dialHz >= 0, "a negative dial frequency is sent", line);
        check(tuning.wordText == oscillatorWordText(tuning.oscillatorMhz),
              "the word is not the window's for that frequency", line);
    } else {
        check(reply.answer == kInvalidArgument, "a refused set answers other than -1", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte chooses the packet size, as clients send anything from
    // one character to many lines at once.
    if (size == 0)
        return 0;
    const std::size_t packet = data[0] % 16 + 1;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const RigState state{{3, -12000}, 14074000};
    LineBuffer lines;
    for (std::size_t at = 0; at < input.size(); at += packet) {
        if (!lines.append(input.substr(at, packet)))
            return 0; // that client is dropped
        while (const auto line = lines.takeLine()) {
            check(line->size() <= LineBuffer::kLineLimit, "a line beyond the limit", *line);
            checkReply(*line, state);
        }
    }
    return 0;
}
