#pragma once

#include <unistd.h>

// Owns a file descriptor: closed on every way out.
class TFd {
public:
    explicit TFd(int fd) noexcept
        : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;

    int Get() const noexcept { return Fd; }
    explicit operator bool() const noexcept { return Fd >= 0; }
    // Closes now, so a failing close can be reported.
    int Close() noexcept {
        const int result = ::close(Fd);
        Fd = -1;
        return result;
    }

private:
    int Fd;
};
