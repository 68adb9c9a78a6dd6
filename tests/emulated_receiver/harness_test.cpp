// The harness as its users run it: a separate process that starts a program
// (here receiver_client) and takes commands on stdin.

#include <gmock/gmock.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

class Harness {
public:
    explicit Harness(std::vector<std::string> options)
    {
        int toHarness[2];
        int fromHarness[2];
        if (::pipe(toHarness) != 0 || ::pipe(fromHarness) != 0)
            throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toHarness[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromHarness[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, toHarness[1]);
        posix_spawn_file_actions_addclose(&actions, fromHarness[0]);

        std::vector<std::string> args{HARNESS_PATH};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&pid_, HARNESS_PATH, &actions, nullptr, argv.data(), cleanEnvironment());
        posix_spawn_file_actions_destroy(&actions);
        ::close(toHarness[0]);
        ::close(fromHarness[1]);
        if (spawned != 0)
            throw std::runtime_error("cannot start the harness");
        commands_ = ::fdopen(toHarness[1], "w");
        output_ = ::fdopen(fromHarness[0], "r");
    }

    ~Harness()
    {
        if (commands_ != nullptr)
            std::fclose(commands_);
        std::fclose(output_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }

    void command(const std::string& line)
    {
        std::fputs((line + "\n").c_str(), commands_);
        std::fflush(commands_);
    }

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

    int exitCode()
    {
        std::fclose(commands_);
        commands_ = nullptr;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    bool readLine(std::string& line)
    {
        char* text = nullptr;
        std::size_t capacity = 0;
        const ssize_t length = ::getline(&text, &capacity, output_);
        if (length > 0)
            line.assign(text, static_cast<std::size_t>(text[length - 1] == '\n' ? length - 1 : length));
        std::free(text);
        if (length > 0)
            lines_.push_back(line);
        return length > 0;
    }

    // The harness restarts itself with the preload; its caller need not know.
    static char** cleanEnvironment()
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

    std::vector<std::string> lines_;
    pid_t pid_ = 0;
    FILE* commands_ = nullptr;
    FILE* output_ = nullptr;
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
