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

QString ReadPassword(const QString& prompt) {
    if (StdinIsTerminal()) {
        std::fputs(prompt.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
    std::string line;
    {
        const TEchoOff echoOff;
        std::getline(std::cin, line);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}
