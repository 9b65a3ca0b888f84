#pragma once

#include <QString>

#include <string>

// Whether standard input is a terminal, where a password can be typed unseen.
bool StdinIsTerminal();

// Shows prompt on standard error and reads one line from standard input
// without echo when it is a terminal; the end of input gives an empty text.
QString ReadPassword(const QString& prompt);

// Platform backend: one line of standard input with echo off while it is typed.
std::string ReadStdinLineUnechoed();
