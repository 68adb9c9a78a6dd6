// vexa-emulated-receiver: owns an emulated receiver, runs a program that sees
// it, prints every request the receiver gets and takes commands on stdin.
// Usage and commands: README.md beside this file.

#include "emulated_receiver/emulated_receiver.h"
#include "emulated_receiver/no_file_access_override.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace vexa::testing;

namespace {

constexpr const char* kName = "vexa-emulated-receiver";

std::mutex outputMutex;

// Lines come from the command loop and from umockdev's thread.
void say(const std::string& line)
{
    const std::lock_guard lock(outputMutex);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void usage()
{
    std::fprintf(stderr,
                 "usage: %s [--unplugged] [--outcome success|stall|timeout|nodevice|io] "
                 "[--manufacturer TEXT] [--product TEXT] [--serial TEXT] [--second-device] "
                 "-- COMMAND [ARG...]\n",
                 kName);
}

struct Options {
    bool plugged = true;
    bool secondDevice = false;
    Outcome outcome = Outcome::Success;
    Identity identity = receiverIdentity();
    std::vector<char*> command; // null-terminated for execvp
};

std::optional<Options> parse(int argc, char* argv[])
{
    Options options;
    int i = 1;
    for (; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--unplugged") {
            options.plugged = false;
        } else if (arg == "--second-device") {
            options.secondDevice = true;
        } else if (arg == "--outcome" && i + 1 < argc && outcomeNamed(argv[i + 1])) {
            options.outcome = *outcomeNamed(argv[++i]);
        } else if (arg == "--manufacturer" && i + 1 < argc) {
            options.identity.manufacturer = argv[++i];
        } else if (arg == "--product" && i + 1 < argc) {
            options.identity.product = argv[++i];
        } else if (arg == "--serial" && i + 1 < argc) {
            options.identity.serial = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (i + 1 >= argc)
        return std::nullopt;
    options.command.assign(argv + i + 1, argv + argc);
    options.command.push_back(nullptr);
    return options;
}

// The testbed's uevents only work with the preload in this very process, so
// start again with it rather than make every caller use umockdev-wrapper.
[[noreturn]] void restartWithPreload(char* argv[])
{
    std::string preload = "libumockdev-preload.so.0";
    if (const char* existing = std::getenv("LD_PRELOAD"); existing != nullptr && *existing)
        preload += std::string(":") + existing;
    ::setenv("LD_PRELOAD", preload.c_str(), 1);
    ::execv("/proc/self/exe", argv);
    std::fprintf(stderr, "%s: cannot restart with the umockdev preload: %s\n", kName,
                 std::strerror(errno));
    std::exit(127);
}

// The child inherits LD_PRELOAD and UMOCKDEV_DIR, and so sees the receiver.
pid_t startChild(const Options& options, const sigset_t& unblocked)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::sigprocmask(SIG_SETMASK, &unblocked, nullptr);
    // Commands on stdin are the harness's, not the child's.
    if (const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC); nothing >= 0)
        ::dup2(nothing, STDIN_FILENO);
    // As root the child would open the node whatever its mode; without the
    // override "deny" binds it as it binds an operator's account.
    if (::geteuid() == 0)
        dropFileAccessOverrideForChildren();
    ::execvp(options.command[0], options.command.data());
    std::fprintf(stderr, "%s: cannot start %s: %s\n", kName, options.command[0],
                 std::strerror(errno));
    std::_Exit(127);
}

void obey(EmulatedReceiver& receiver, std::string_view command)
try {
    if (command.empty())
        return;
    if (const auto acknowledgement = receiver.obey(command))
        say(*acknowledgement);
    else
        std::fprintf(stderr, "%s: unknown command: %.*s\n", kName,
                     static_cast<int>(command.size()), command.data());
} catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", kName, failure.what());
}

int exitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Takes commands until the child ends, and returns its exit code; "quit",
// SIGINT or SIGTERM end the child.
int serve(EmulatedReceiver& receiver, pid_t child, int signals)
{
    pollfd fds[2] = {{signals, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    nfds_t watched = 2;
    std::string pending;
    bool quitting = false;
    for (;;) {
        if (::poll(fds, watched, -1) < 0) {
            if (errno == EINTR)
                continue;
            std::perror(kName);
            ::kill(child, SIGTERM);
            ::waitpid(child, nullptr, 0);
            return 1;
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signals, &info, sizeof info) == sizeof info && info.ssi_signo != SIGCHLD)
                ::kill(child, SIGTERM);
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child)
                return quitting ? 0 : exitCodeOf(status);
        }
        if (watched > 1 && (fds[1].revents & (POLLIN | POLLHUP))) {
            char chunk[256];
            const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (got <= 0) {
                watched = 1; // no more commands; wait for the child alone
                continue;
            }
            pending.append(chunk, static_cast<std::size_t>(got));
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                const std::string command = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (command == "quit") {
                    quitting = true;
                    ::kill(child, SIGTERM);
                } else {
                    obey(receiver, command);
                }
            }
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        usage();
        return 2;
    }
    if (!umockdevPreloaded())
        restartWithPreload(argv);

    sigset_t handled;
    sigemptyset(&handled);
    for (const int signal : {SIGCHLD, SIGINT, SIGTERM})
        sigaddset(&handled, signal);
    sigset_t previous;
    ::sigprocmask(SIG_BLOCK, &handled, &previous);
    const int signals = ::signalfd(-1, &handled, SFD_CLOEXEC);
    if (signals < 0) {
        std::perror(kName);
        return 1;
    }

    try {
        EmulatedReceiver receiver(options->plugged);
        receiver.setIdentity(options->identity);
        receiver.setOutcome(options->outcome);
        receiver.onTransfer([](const ControlTransfer& transfer) { say(describe(transfer)); });
        // The second device's lines start apart, so that readers of the
        // receiver's lines never take them for its own.
        receiver.onSecondDeviceTransfer(
            [](const ControlTransfer& transfer) { say("second " + describe(transfer)); });
        if (options->secondDevice)
            receiver.plugSecondDevice();
        const pid_t child = startChild(*options, previous);
        if (child < 0) {
            std::perror(kName);
            return 1;
        }
        return serve(receiver, child, signals);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", kName, failure.what());
        return 1;
    }
}
