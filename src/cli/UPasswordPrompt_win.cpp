#include "UPasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <windows.h>

namespace {

// Console echo off for the object's lifetime.
class TEchoOff {
public:
    explicit TEchoOff(HANDLE input)
        : Input(input) {
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

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

} // namespace

bool StdinIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

// A console gives the typed characters as UTF-16, whatever its code page, so
// a password with accents gives the same digest as in the window. Redirected
// input is read as UTF-8 bytes.
std::string ReadStdinLineUnechoed() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (!StdinIsTerminal()) {
        std::string line;
        std::getline(std::cin, line);
        return line;
    }
    const TEchoOff echoOff(input);
    std::wstring line;
    wchar_t buffer[256];
    while (true) {
        DWORD read = 0;
        if (!ReadConsoleW(input, buffer, DWORD(std::size(buffer)), &read, nullptr) || read == 0)
            break;
        line.append(buffer, read);
        if (const auto end = line.find(L'\n'); end != std::wstring::npos) {
            line.resize(end);
            break;
        }
    }
    if (!line.empty() && line.back() == L'\r')
        line.pop_back();
    SecureZeroMemory(buffer, sizeof buffer);
    std::string bytes = ToUtf8(line);
    SecureZeroMemory(line.data(), line.size() * sizeof(wchar_t));
    return bytes;
}
