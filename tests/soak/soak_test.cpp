// Ten thousand requests through the libusb module against the emulated
// receiver, a quarter of them failing (stall, device gone, I/O error, no
// receiver, receiver unplugged while open): afterwards no descriptor, device
// handle or memory may have piled up. The requests run in soak_client, so
// that what the receiver records in this process does not count.

#include "emulated_receiver/emulated_receiver.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>

extern char** environ;

namespace {

using vexa::testing::EmulatedReceiver;
using vexa::testing::outcomeNamed;

// Growth allowed after the warm-up. A sound run grows by a page or two; one
// leaked 32-byte block per request would add about 300 KiB.
constexpr long kRssGrowthBoundKiB = 256;

// soak_client with its standard input and output connected to this process;
// it inherits the umockdev preload and UMOCKDEV_DIR, and so sees the receiver.
class Client {
public:
    Client()
    {
        int toClient[2];
        int fromClient[2];
        if (::pipe2(toClient, O_CLOEXEC) != 0 || ::pipe2(fromClient, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toClient[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromClient[1], STDOUT_FILENO);
        char* argv[] = {const_cast<char*>(SOAK_CLIENT_PATH), nullptr};
        const int spawned = posix_spawn(&pid_, SOAK_CLIENT_PATH, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toClient[0]);
        ::close(fromClient[1]);
        input_ = ::fdopen(toClient[1], "w");
        output_ = ::fdopen(fromClient[0], "r");
        if (spawned != 0 || input_ == nullptr || output_ == nullptr)
            throw std::runtime_error("cannot start " SOAK_CLIENT_PATH);
    }

    ~Client()
    {
        std::fclose(input_);
        std::fclose(output_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }

    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool readLine(std::string& line)
    {
        line.clear();
        for (int c; (c = std::fgetc(output_)) != EOF && c != '\n';)
            line += static_cast<char>(c);
        return !line.empty();
    }

    void writeLine(const std::string& line)
    {
        std::fputs((line + "\n").c_str(), input_);
        std::fflush(input_);
    }

    int exitCode()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = 0;
    std::FILE* input_ = nullptr;
    std::FILE* output_ = nullptr;
};

bool obey(EmulatedReceiver& receiver, const std::string& command)
{
    if (command == "plug")
        receiver.plug();
    else if (command == "unplug")
        receiver.unplug();
    else if (const auto outcome = outcomeNamed(command.substr(command.find(' ') + 1));
             command.starts_with("outcome ") && outcome)
        receiver.setOutcome(*outcome);
    else
        return false;
    return true;
}

struct Report {
    std::size_t transfers = 0;
    std::size_t warmFds = 0;
    std::size_t endFds = 0;
    long warmRssKiB = 0;
    long endRssKiB = 0;
    int wrong = -1;
};

TEST(Soak, TenThousandRequestsLeaveNoDescriptorHandleOrMemoryBehind)
{
    EmulatedReceiver receiver; // before the client's libusb starts
    Client client;
    Report report;
    for (std::string line; client.readLine(line);) {
        if (line.starts_with("report ")) {
            std::istringstream(line.substr(7)) >> report.transfers >> report.warmFds >>
                report.endFds >> report.warmRssKiB >> report.endRssKiB >> report.wrong;
            break;
        }
        ASSERT_TRUE(obey(receiver, line)) << "unknown command: " << line;
        client.writeLine("done");
    }
    ASSERT_EQ(client.exitCode(), 0);

    EXPECT_EQ(report.wrong, 0) << "requests with a wrong result, see above";
    EXPECT_EQ(receiver.transfers().size(), report.transfers);
    EXPECT_EQ(report.endFds, report.warmFds) << "open descriptors grew";
    EXPECT_GT(report.warmRssKiB, 0);
    EXPECT_LT(report.endRssKiB - report.warmRssKiB, kRssGrowthBoundKiB)
        << "resident memory grew from " << report.warmRssKiB << " KiB to " << report.endRssKiB
        << " KiB";
}

} // namespace
