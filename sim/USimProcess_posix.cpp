#include "USimProcess.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <iostream>
#include <pthread.h>
#include <termios.h>
#include <unistd.h>

namespace Sim {

namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

// Restores the terminal's echo on every way out.
class TEchoOff {
public:
    TEchoOff() {
        if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &Saved) == 0) {
            termios quiet = Saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            Active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~TEchoOff() {
        if (Active) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &Saved);
            std::cerr << '\n';
        }
    }
    TEchoOff(const TEchoOff&) = delete;
    TEchoOff& operator=(const TEchoOff&) = delete;

private:
    termios Saved{};
    bool Active = false;
};

} // namespace

void PrepareStopSignals() {
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void WaitForStop(std::optional<double> seconds) {
    const sigset_t set = StopSet();
    if (!seconds) {
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {
        }
        return;
    }
    timespec left{};
    left.tv_sec = static_cast<time_t>(*seconds);
    left.tv_nsec = static_cast<long>((*seconds - static_cast<double>(left.tv_sec)) * 1e9);
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (true) {
        if (sigtimedwait(&set, nullptr, &left) >= 0 || errno != EINTR)
            return; // a stop signal, or the time is up (EAGAIN)
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const double elapsed = static_cast<double>(now.tv_sec - start.tv_sec) +
                               static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e9;
        const double remaining = *seconds - elapsed;
        if (remaining <= 0)
            return;
        left.tv_sec = static_cast<time_t>(remaining);
        left.tv_nsec = static_cast<long>((remaining - static_cast<double>(left.tv_sec)) * 1e9);
    }
}

std::optional<std::string> ReadSecretLine(const std::string& prompt) {
    if (isatty(STDIN_FILENO))
        std::cerr << prompt << std::flush;
    const TEchoOff echoOff;
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace Sim
