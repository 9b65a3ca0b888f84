#include "UPasswordPrompt.h"

#include <cstdio>

QString ReadPassword(const QString& prompt) {
    if (StdinIsTerminal()) {
        std::fputs(prompt.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
    std::string line = ReadStdinLineUnechoed();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}
