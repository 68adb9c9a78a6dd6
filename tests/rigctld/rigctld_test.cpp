#include "rigctld/command.h"
#include "rigctld/dump_state.h"
#include "rigctld/line_buffer.h"
#include "rigctld/options.h"
#include "rigctld/replies.h"
#include "rigctld/set_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace vexa;
using namespace std::string_literals;

std::vector<std::string> linesFrom(LineBuffer& buffer)
{
    std::vector<std::string> lines;
    while (auto line = buffer.takeLine())
        lines.push_back(*line);
    return lines;
}

TEST(LineBuffer, GathersLinesWhateverThePackets)
{
    LineBuffer buffer;
    for (char c : std::string("F 14074000\r\nf"))
        ASSERT_TRUE(buffer.append(std::string(1, c)));
    ASSERT_TRUE(buffer.append("\nq\n\nhalf"));
    EXPECT_THAT(linesFrom(buffer), ::testing::ElementsAre("F 14074000", "f", "q", ""));
}

TEST(LineBuffer, RefusesALineBeyondTheLimitEvenBeforeItEnds)
{
    const std::string longest(LineBuffer::kLineLimit, 'x');
    LineBuffer fits;
    EXPECT_TRUE(fits.append(longest + "\r\n" + longest + "\r"));
    EXPECT_THAT(linesFrom(fits), ::testing::ElementsAre(longest));
    LineBuffer tooLong;
    EXPECT_TRUE(tooLong.append(longest));
    EXPECT_FALSE(tooLong.append("y"));
    EXPECT_FALSE(tooLong.append("\n"));
    EXPECT_EQ(tooLong.takeLine(), std::nullopt);
}

// One client's conversation with the server, the receiver taking every word
// (or none, when failing is set).
class Conversation {
public:
    explicit Conversation(RigState& rig) : rig_(rig) {}

    std::string send(std::string_view line)
    {
        std::string answers;
        for (const Command& command : readCommands(line)) {
            const Reply reply = replyTo(command, rig_, state_);
            answers += reply.answer;
            if (!reply.tuning || !reply.tuning->wordText)
                continue;
            tuned.push_back(reply.tuning->dialHz);
            const OscillatorRequestResult result{*reply.tuning->wordText,
                                                 failing ? std::optional<std::int32_t>() : 4};
            if (receiverTookWord(result))
                rig_.receiver.frequencyHz = reply.tuning->dialHz;
            answers += setAnswer(command, result);
        }
        return answers;
    }

    bool failing = false;
    std::vector<double> tuned; // the dial frequencies sent to the receiver

private:
    RigState& rig_;
    ConnectionState state_;
};

struct Exchange {
    std::string line;
    std::string answer;
};

// Each script runs on a fresh server, its lines in order; what the receiver
// was sent comes back.
std::vector<double> expectConversation(const std::vector<Exchange>& script)
{
    RigState rig;
    Conversation client(rig);
    for (const Exchange& exchange : script)
        EXPECT_EQ(client.send(exchange.line), exchange.answer) << exchange.line;
    return client.tuned;
}

TEST(Protocol, AnswersInTheFormAskedCommandByCommand)
{
    expectConversation({
        {"\\chk_vfo", "0\n"},
        {"+\\chk_vfo", "ChkVFO: 0\n"},
        {"+\\chk_vfo 1", "RPRT -1\n"},
        {"+\\set_freq 14074000", "set_freq: 14074000\nRPRT 0\n"},
        {"+f +m +v", "get_freq:\nFrequency: 14074000\nRPRT 0\n"
                     "get_mode:\nMode: USB\nPassband: 3000\nRPRT 0\n"
                     "get_vfo:\nVFO: VFOA\nRPRT 0\n"},
        {"fmv", "14074000\nUSB\n3000\nVFOA\n"},
        {";f", "get_freq:;Frequency: 14074000;RPRT 0\n"},
        {"|\\get_vfo_info VFOA", "get_vfo_info: VFOA|Freq: 14074000|Mode: USB|Width: 3000|Split: 0|"
                                  "SatMode: 0|RPRT 0\n"},
        {",\\get_lock_mode", "get_lock_mode:,Locked: 0,RPRT 0\n"},
        {"\\get_lock_mode", "0\nRPRT 0\n"},
        {"+\\set_mode USB 0", "set_mode: USB 0\nRPRT 0\n"},
        {"F 7000000 f", "RPRT 0\n7000000\n"},
        {"+\\dump_state", "dump_state:\n" + dumpState({}) + "RPRT 0\n"},
        // Not served: the same code in the form asked, the command's words with it.
        {"u SATMODE", "RPRT -11\n"},
        {"+\\get_level AF +f", "get_level: AF\nRPRT -11\nget_freq:\nFrequency: 7000000\nRPRT 0\n"},
        {"+\\set_freq x", "set_freq: x\nRPRT -1\n"},
        {"F 14 MHz", "RPRT -1\n"},
        {"\0\xff"s, "RPRT -11\n"},
        {" \t ", ""},
        {"q", "RPRT 0\n"},
    });
}

TEST(Protocol, SplitKeepsTheTransmitVfoAwayFromTheReceiver)
{
    const std::vector<double> tuned = expectConversation({
        {"S 1 VFOA", "RPRT -1\n"}, // the receiving VFO cannot transmit apart from itself
        {"s", "0\nVFOA\n"},
        {"S 1 VFOB", "RPRT 0\n"},
        {"s", "1\nVFOB\n"},
        {"I 14076000", "RPRT 0\n"},
        {"X PKTUSB 2400", "RPRT 0\n"},
        {"i x", "14076000\nPKTUSB\n2400\n"},
        {"V VFOB", "RPRT 0\n"},
        {"F 14077000", "RPRT 0\n"},
        {"v f m", "VFOB\n14077000\nPKTUSB\n2400\n"},
        {"V VFOA", "RPRT 0\n"},
        {"f m", "0\nUSB\n3000\n"},
        {"f VFOB", "14077000\n"},
        {"F Sub 14078000", "RPRT 0\n"},
        {"i", "14078000\n"},
        {"S 0 VFOA", "RPRT 0\n"},
        {"S 2 VFOB", "RPRT -1\n"},
        {"V VFOC", "RPRT -1\n"},
    });
    EXPECT_THAT(tuned, ::testing::IsEmpty());
}

TEST(Protocol, ModesReadBackPerVfoAndPttOnlyOff)
{
    expectConversation({
        {"m", "USB\n3000\n"},
        {"M LSB 2700", "RPRT 0\n"},
        {"M PKTLSB 0", "RPRT 0\n"}, // 0 and -1 keep the passband
        {"m", "PKTLSB\n2700\n"},
        {"M CW -1", "RPRT 0\n"},
        {"m", "CW\n2700\n"},
        {"M VFOB FM 12000", "RPRT 0\n"},
        {"m", "CW\n2700\n"},
        {"M NOMODE 3000", "RPRT -1\n"},
        {"M USB -5", "RPRT -1\n"},
        {"\\set_lock_mode 1", "RPRT 0\n"},
        {"M USB 3000", "RPRT 0\n"}, // locked: taken, nothing changed
        {"m", "CW\n2700\n"},
        {"T 0", "RPRT 0\n"},
        {"T 1", "RPRT -11\n"},
        {"T x", "RPRT -1\n"},
        {"t", "0\n"},
    });
}

TEST(Protocol, FrequenciesAreWholeHzRoundedAsTheWordIs)
{
    RigState rig;
    Conversation client(rig);
    for (const auto& [line, readBack] : std::vector<std::pair<std::string, std::string>>{
             {"F 14074000.5", "14074000\n"}, // a tie goes to the even neighbour
             {"F 14074001.5", "14074002\n"},
             {"F 14074000.000000", "14074000\n"},
             {"F 7074000.49", "7074000\n"},
             {"I 14076000.5", "14076000\n"}}) {
        EXPECT_EQ(client.send(line), "RPRT 0\n") << line;
        EXPECT_EQ(client.send(line[0] == 'I' ? "i" : "f"), readBack) << line;
    }
    EXPECT_THAT(client.tuned, ::testing::ElementsAre(14074000, 14074002, 14074000, 7074000));
}

TEST(Protocol, OneClientsVfoNeverRedirectsAnothersSets)
{
    RigState rig;
    Conversation splitting(rig);
    Conversation tracking(rig);
    EXPECT_EQ(splitting.send("V VFOB"), "RPRT 0\n");
    EXPECT_EQ(tracking.send("F 145800000"), "RPRT 0\n");
    EXPECT_EQ(splitting.send("F 14076000"), "RPRT 0\n");
    EXPECT_THAT(tracking.tuned, ::testing::ElementsAre(145800000));
    EXPECT_THAT(splitting.tuned, ::testing::IsEmpty());
    EXPECT_EQ(tracking.send("f v"), "145800000\nVFOA\n");
}

TEST(Protocol, AFailedSetIsAnsweredRejectedAndKeepsTheLastFrequency)
{
    RigState rig;
    Conversation client(rig);
    client.send("F 7000000");
    client.failing = true;
    EXPECT_EQ(client.send("F 14074000 f"), "RPRT -9\n7000000\n");
    EXPECT_EQ(client.send("+F 14074000"), "set_freq: 14074000\nRPRT -9\n");
    EXPECT_EQ(client.send("F -1 F 600000000 F inf F nan"), "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\n");
    EXPECT_EQ(client.tuned.size(), 3u); // none of the refused ones
}

TEST(Command, ReadsEachCommandWithItsOwnWords)
{
    const struct {
        const char* line;
        std::vector<std::string> sent;
        std::vector<bool> wellFormed;
    } cases[] = {
        {"F 14074000.000000", {"F 14074000.000000"}, {true}},
        {"\t\\set_freq   currVFO \t 7e6 ", {"\\set_freq   currVFO \t 7e6"}, {true}},
        {"F 1 2", {"F 1 2"}, {false}},
        {"F", {"F"}, {false}},
        {"F 0x10", {"F 0x10"}, {false}},
        {"fmv", {"f", "m", "v"}, {true, true, true}},
        {"+f +m\t+v", {"+f", "+m", "+v"}, {true, true, true}},
        {"M VFOA PKTUSB -1 f", {"M VFOA PKTUSB -1", "f"}, {true, true}},
        {"M USB wide", {"M USB wide"}, {false}},
        {"chk_vfo", {"chk_vfo"}, {true}},  // not the long form: one command not served
        {"L RFPOWER 0.5 \\get_freq", {"L RFPOWER 0.5", "\\get_freq"}, {true, true}},
        {"u SATMODE s", {"u SATMODE", "s"}, {true, true}},
        {"+", {"+"}, {true}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> sent;
        std::vector<bool> wellFormed;
        for (const Command& command : readCommands(c.line)) {
            sent.push_back(command.sent);
            wellFormed.push_back(command.wellFormed);
        }
        EXPECT_EQ(sent, c.sent) << c.line;
        EXPECT_EQ(wellFormed, c.wellFormed) << c.line;
    }
}

TEST(SetLog, ShowsAClientsWordsWithoutTerminalControls)
{
    EXPECT_EQ(printable("\\set_vfo_opt 1"), "\\set_vfo_opt 1");
    EXPECT_EQ(printable("u \x1b[2J\x7f\xc3\xa9\t"s), "u \\x1B[2J\\x7F\\xC3\\xA9\\x09");
}

TEST(DumpState, IsTheTwentyTwoLinesOfVersionZero)
{
    const std::string block = dumpState({});
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 22);
    EXPECT_THAT(block, ::testing::StartsWith("0\n2\n1\n0 511999999 0x1dff -1 -1 0x3 0\n"));
}

TEST(Options, ReadsValuesAndNamesTheWrongOne)
{
    const ParsedOptions good = parseOptions(
        {"--port=7356", "--multiplier", "4", "--offset", "-12e3", "--frequency", "7074000"});
    EXPECT_EQ(good.error, "");
    EXPECT_EQ(good.options.port, 7356);
    EXPECT_EQ(good.options.dial.multiplier, 4);
    EXPECT_EQ(good.options.dial.offsetHz, -12000);
    EXPECT_EQ(good.options.startDialHz, 7074000);
    // Each wrong command line names the option at fault.
    for (const auto& [wrong, named] : std::vector<std::pair<std::vector<std::string_view>, std::string>>{
             {{"--port", "0"}, "--port"},
             {{"--port", "65536"}, "--port"},
             {{"--multiplier", "-2"}, "--multiplier"},
             {{"--offset", "nan"}, "--offset"},
             {{"--frequency", "-1"}, "--frequency"},
             {{"--frequency", "9e9"}, "--frequency"},
             // In range with the default multiplier, not with 4.
             {{"--frequency", "300e6", "--multiplier", "4"}, "--frequency"},
             // Within the range only before it is rounded to whole Hz.
             {{"--frequency", "511999999.6"}, "--frequency"},
             {{"--port"}, "--port"},
             {{"--verbose"}, "unknown option \"--verbose\""}}) {
        const ParsedOptions parsed = parseOptions(wrong);
        EXPECT_THAT(parsed.error, ::testing::HasSubstr(named)) << wrong[0];
    }
    EXPECT_EQ(parseOptions({"--frequency", "300e6"}).error, "");
    EXPECT_TRUE(parseOptions({"--port", "1", "--help"}).helpAsked);
    EXPECT_TRUE(parseOptions({"-h"}).helpAsked);
}

} // namespace
