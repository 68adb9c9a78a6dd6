// libFuzzer target for what a network client's bytes meet first: the line
// reader and the command reader, and the reply each command gets, against a
// server's state that the commands change. A client may send anything; the
// checks below hold for every input and report a violation through abort().

#include "property_check.h"

#include "oscillator/tuning.h"
#include "rigctld/command.h"
#include "rigctld/line_buffer.h"
#include "rigctld/replies.h"

#include <cmath>
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

bool isWhole(double hz)
{
    return std::nearbyint(hz) == hz;
}

// Every answer ends its last line, a result code is never positive, and a
// failure ends the answer with its code (a client's words that it repeats
// may hold anything).
void checkAnswer(const Reply& reply, std::string_view line)
{
    const std::string& answer = reply.answer;
    check(answer.empty() || answer.back() == '\n', "answer without a line end", line);
    check(reply.code <= 0, "positive result code", line);
    const std::string result = "RPRT " + std::to_string(reply.code) + "\n";
    check(reply.code == 0 || answer.ends_with(result), "a failure without its code", line);
}

void checkReply(const Reply& reply, std::string_view line)
{
    checkAnswer(reply, line);
    const bool waitsForReceiver = reply.tuning && reply.tuning->wordText;
    check(waitsForReceiver == reply.answer.empty(),
          "a command without an answer, or a set answered before it was sent", line);
    if (!reply.tuning)
        return;
    const Tuning& tuning = *reply.tuning;
    if (tuning.wordText) {
        check(tuning.dialHz >= 0 && isWhole(tuning.dialHz), "a dial frequency sent not whole",
              line);
        check(tuning.wordText == oscillatorWordText(tuning.oscillatorMhz),
              "the word is not the window's for that frequency", line);
    } else {
        check(reply.code == kInvalidArgument, "a refused set answers other than -1", line);
    }
}

void checkLine(std::string_view line, RigState& rig, ConnectionState& connection)
{
    const std::vector<Command> commands = readCommands(line);
    check(isBlankLine(line) == commands.empty(), "a blank line with a command, or none", line);
    for (const Command& command : commands) {
        checkReply(replyTo(command, rig, connection), line);
        check(isWhole(rig.receiver.frequencyHz) && isWhole(rig.transmitter.frequencyHz),
              "a frequency kept not whole", line);
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
    RigState rig;
    rig.dial = {3, -12000};
    rig.receiver.frequencyHz = 14074000;
    ConnectionState connection;
    LineBuffer lines;
    for (std::size_t at = 0; at < input.size(); at += packet) {
        if (!lines.append(input.substr(at, packet)))
            return 0; // that client is dropped
        while (const auto line = lines.takeLine()) {
            check(line->size() <= LineBuffer::kLineLimit, "a line beyond the limit", *line);
            checkLine(*line, rig, connection);
        }
    }
    return 0;
}
