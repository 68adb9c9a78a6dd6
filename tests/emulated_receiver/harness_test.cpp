// The harness as its users run it: a separate process that starts a program
// (here receiver_client) and takes commands on stdin.

#include "support/child_process.h"

#include <gmock/gmock.h>

#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The harness restarts itself with the preload; its caller need not know.
char** cleanEnvironment()
{
    static std::vector<char*> kept;
    kept.clear();
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, "LD_PRELOAD=", 11) != 0 &&
            std::strncmp(*entry, "UMOCKDEV_DIR=", 13) != 0)
            kept.push_back(*entry);
    kept.push_back(nullptr);
    return kept.data();
}

std::vector<std::string> harnessWith(const std::vector<std::string>& options)
{
    std::vector<std::string> arguments{HARNESS_PATH};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

class Harness {
public:
    explicit Harness(const std::vector<std::string>& options)
        : process_(harnessWith(options), cleanEnvironment())
    {
    }

    void command(const std::string& line) { process_.writeLine(line); }

    // Reads lines until one equals wanted; false at the end of the output.
    // The program's lines and the harness's own interleave as they come.
    bool readUntil(const std::string& wanted)
    {
        for (std::string line; readLine(line);)
            if (line == wanted)
                return true;
        return false;
    }

    // Every line read so far, after reading up to the end of the output.
    const std::vector<std::string>& readAll()
    {
        for (std::string line; readLine(line);) {
        }
        return lines_;
    }

    int exitCode() { return process_.exitCode(); }

private:
    bool readLine(std::string& line)
    {
        if (!process_.readLine(line))
            return false;
        lines_.push_back(line);
        return true;
    }

    vexa::testing::ChildProcess process_;
    std::vector<std::string> lines_;
};

using ::testing::IsSupersetOf;

constexpr const char* k28MHzRequest =
    "request 32 value 0755 index 0000 data 00 00 80 03 frequency 28.000000 MHz";

TEST(Harness, PrintsEachRequestAndObeysCommands)
{
    Harness harness({"--", CLIENT_PATH});
    ASSERT_TRUE(harness.readUntil(k28MHzRequest));
    ASSERT_TRUE(harness.readUntil("RC=4   Hex=3800000"));
    harness.command("outcome stall");
    ASSERT_TRUE(harness.readUntil("RC=-9   Hex=3800000"));
    harness.command("unplug");
    ASSERT_TRUE(harness.readUntil(" Error: Device not found!"));
    // Each command is acknowledged.
    EXPECT_THAT(harness.readAll(), IsSupersetOf({"outcome stall", "unplugged"}));
    EXPECT_EQ(harness.exitCode(), 0);
}

TEST(Harness, DeniedAccessLeavesTheProgramWithoutReceiver)
{
    Harness harness({"--", CLIENT_PATH});
    ASSERT_TRUE(harness.readUntil("RC=4   Hex=3800000"));
    harness.command("deny");
    ASSERT_TRUE(harness.readUntil(" Error: Device not found!"));
    EXPECT_EQ(harness.exitCode(), 0);
}

TEST(Harness, StartsWithTheReceiverUnpluggedOnRequest)
{
    Harness harness({"--unplugged", "--", CLIENT_PATH});
    EXPECT_EQ(harness.readAll(), std::vector<std::string>{" Error: Device not found!"});
    EXPECT_EQ(harness.exitCode(), 0);
}

TEST(Harness, WithoutAProgramToRunItShowsItsUsage)
{
    for (const auto& options : std::vector<std::vector<std::string>>{
             {}, {"--"}, {CLIENT_PATH}, {"--outcome", "sometimes", "--", CLIENT_PATH}}) {
        Harness harness(options);
        EXPECT_EQ(harness.exitCode(), 2);
    }
}

} // namespace
