#pragma once
// Starts a built program and kills it with SIGKILL after a delay, as a power cut or the OOM
// killer would: for crash tests that look at what the program left behind. Standard output and
// error are dropped; standard input comes from `inputPath` (or /dev/null). Header only (POSIX).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace testing_support {

// Answers true when the program was still running when the signal came.
inline bool killProgramAfter(const std::string& program, const std::vector<std::string>& args,
                             std::chrono::microseconds delay,
                             const std::string& inputPath = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inputPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status);
}

// A whole number from the environment, or `otherwise` when the variable is unset or empty.
inline unsigned long environmentNumber(const char* name, unsigned long otherwise) {
    const char* text = std::getenv(name);
    return text && *text ? std::stoul(text) : otherwise;
}

}  // namespace testing_support
