#include "UPasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <io.h>
#include <windows.h>

namespace {

// Console echo off for the object's lifetime.
class TEchoOff {
public:
    TEchoOff()
        : Input(GetStdHandle(STD_INPUT_HANDLE)) {
        Active = GetConsoleMode(Input, &Saved) != 0;
        if (Active)
            SetConsoleMode(Input, Saved & ~DWORD(ENABLE_ECHO_INPUT));
    }
    ~TEchoOff() {
        if (Active) {
            SetConsoleMode(Input, Saved);
            std::fputs("\n", stderr);
        }
    }
    TEchoOff(const TEchoOff&) = delete;
    TEchoOff& operator=(const TEchoOff&) = delete;

private:
    HANDLE Input;
    DWORD Saved = 0;
    bool Active = false;
};

} // namespace

bool StdinIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

std::string ReadStdinLineUnechoed() {
    std::string line;
    const TEchoOff echoOff;
    std::getline(std::cin, line);
    return line;
}
