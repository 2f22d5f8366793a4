#pragma once
// A built program that keeps running while a test talks to it (a server): started as a user
// starts it, its first line of standard output read (the line that announces where it
// listens), stopped with a signal as Ctrl-C or a service manager stops it. Header only (POSIX).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_program.h"

namespace testing_support {

class RunningProgram {
  public:
    // Starts `program` with `args`; standard error goes to `errPath`. Waits (up to 30 s) for the
    // first line of standard output.
    RunningProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::string& errPath)
        : errPath_(errPath) {
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int spawned =
            posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        out_ = pipeEnds[0];
        if (spawned != 0) throw std::runtime_error("cannot start " + program);
        firstLine_ = readLine(std::chrono::seconds(30));
    }
    ~RunningProgram() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    const std::string& firstLine() const { return firstLine_; }
    // The http://127.0.0.1:PORT URL in the first line (its path and query too), "" if none.
    std::string url() const {
        std::smatch match;
        static const std::regex kUrl(R"(http://127\.0\.0\.1:[0-9]+\S*)");
        return std::regex_search(firstLine_, match, kUrl) ? match.str() : "";
    }
    int port() const {
        std::smatch match;
        static const std::regex kPort(R"(http://127\.0\.0\.1:([0-9]+))");
        return std::regex_search(firstLine_, match, kPort) ? std::stoi(match[1]) : -1;
    }

    // Sends the signal and waits for the program to end; answers its exit status (128 + signal
    // when a signal ended it, -1 when it did not end within 30 s).
    int stop(int signal = SIGTERM) {
        if (pid_ <= 0) return exitCode_;
        kill(pid_, signal);
        for (int i = 0; i < 3000; ++i) {
            int status = 0;
            const pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return exitCode_;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    // What the program wrote to standard error so far.
    std::string errors() const { return slurp(errPath_); }

  private:
    std::string readLine(std::chrono::seconds timeout) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{out_, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0) continue;
            char c = 0;
            const ssize_t got = read(out_, &c, 1);
            if (got <= 0) break;
            if (c == '\n') return line;
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int exitCode_ = -1;
    std::string errPath_;
    std::string firstLine_;
};

}  // namespace testing_support
