#include "rigctld/command.h"
#include "rigctld/dump_state.h"
#include "rigctld/line_buffer.h"
#include "rigctld/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace vexa;

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

TEST(Command, ReadsTheFormsClientsSend)
{
    const struct {
        const char* line;
        CommandKind kind;
        double frequencyHz;
    } cases[] = {
        {"F 14074000.000000", CommandKind::SetFrequency, 14074000},
        {"\t\\set_freq   currVFO \t 7e6 ", CommandKind::SetFrequency, 7e6},
        {"F VFOA 1", CommandKind::SetFrequency, 1},
        {"F VFOB 1", CommandKind::BadArguments, 0},
        {"F 1 2", CommandKind::BadArguments, 0},
        {"F", CommandKind::BadArguments, 0},
        {"F 0x10", CommandKind::BadArguments, 0},
        {"f VFOA", CommandKind::GetFrequency, 0},
        {"M VFOA PKTUSB 0", CommandKind::SetMode, 0},
        {"M USB wide", CommandKind::BadArguments, 0},
        {"S 1 VFOB", CommandKind::Unknown, 0},
        {"\\chk_vfo", CommandKind::CheckVfo, 0},
        {"chk_vfo", CommandKind::Unknown, 0},
        {"ff", CommandKind::Unknown, 0},
        {" \t ", CommandKind::None, 0},
    };
    for (const auto& c : cases) {
        const Command command = readCommand(c.line);
        EXPECT_EQ(command.kind, c.kind) << c.line;
        EXPECT_EQ(command.frequencyHz, c.frequencyHz) << c.line;
    }
}

TEST(DumpState, IsTheTwentyTwoLinesOfVersionZero)
{
    const std::string block = dumpState({});
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 22);
    EXPECT_THAT(block, ::testing::StartsWith("0\n2\n1\n0 511999999 0x1ff -1 -1 0x1 0\n"));
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
