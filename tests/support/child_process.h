#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexa::testing {

// A program started with its standard input and output connected to the
// test, which talks to it a line at a time.
class ChildProcess {
public:
    // arguments[0] is the program's path; environment as for execve.
    ChildProcess(std::vector<std::string> arguments, char* const* environment)
    {
        int toChild[2];
        int fromChild[2];
        // Close-on-exec, so the child holds only the ends it is given.
        if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environment);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        input_ = ::fdopen(toChild[1], "w");
        output_ = ::fdopen(fromChild[0], "r");
        if (spawned != 0 || input_ == nullptr || output_ == nullptr)
            throw std::runtime_error("cannot start " + arguments[0]);
    }

    ~ChildProcess()
    {
        closeInput();
        std::fclose(output_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void writeLine(const std::string& line)
    {
        std::fputs((line + "\n").c_str(), input_);
        std::fflush(input_);
    }

    // The next line of output without its line feed; false at the end.
    bool readLine(std::string& line)
    {
        char* text = nullptr;
        std::size_t capacity = 0;
        const ssize_t length = ::getline(&text, &capacity, output_);
        if (length > 0)
            line.assign(text, static_cast<std::size_t>(text[length - 1] == '\n' ? length - 1
                                                                                 : length));
        std::free(text);
        return length > 0;
    }

    // Closes its input and waits for it to end: its exit status, or 128 plus
    // the signal that ended it.
    int exitCode()
    {
        closeInput();
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    void closeInput()
    {
        if (input_ != nullptr)
            std::fclose(input_);
        input_ = nullptr;
    }

    pid_t pid_ = 0;
    std::FILE* input_ = nullptr;
    std::FILE* output_ = nullptr;
};

} // namespace vexa::testing
