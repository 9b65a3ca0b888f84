#include "UPasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace {

// Echo off for the object's lifetime; restored on every way out.
class TEchoOff {
public:
    TEchoOff() {
        Active = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &Saved) == 0;
        if (Active) {
            termios quiet = Saved;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
    }
    ~TEchoOff() {
        if (Active) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &Saved);
            std::fputs("\n", stderr);
        }
    }
    TEchoOff(const TEchoOff&) = delete;
    TEchoOff& operator=(const TEchoOff&) = delete;

private:
    termios Saved{};
    bool Active = false;
};

} // namespace

bool StdinIsTerminal() {
    return ::isatty(STDIN_FILENO) != 0;
}

std::string ReadStdinLineUnechoed() {
    std::string line;
    const TEchoOff echoOff;
    std::getline(std::cin, line);
    return line;
}
