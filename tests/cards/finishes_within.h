#pragma once
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>

namespace cardstest {

// Runs f in a child process and reports whether it returned within the time limit (a call that
// never returns is killed and reported as false, so a test fails instead of hanging). The child's
// exit code is f's result.
inline bool FinishesWithin(const std::function<int()>& f, int limitMs, int* exitCode) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        ADD_FAILURE() << "fork failed: " << std::strerror(errno);
        return false;
    }
    if (child == 0) {
        _exit(f());
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (exitCode != nullptr) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return WIFEXITED(status);
}

}  // namespace cardstest
