#pragma once

#include <QString>

#include <stdexcept>

// The one error type of the system: it carries the finished message that the
// user sees. Layers raise it; only the user-interface guard shows it.
class TOrvError : public std::runtime_error {
public:
    explicit TOrvError(const QString& message)
        : std::runtime_error(message.toStdString())
        , Message(message) {}

    const QString& message() const noexcept { return Message; }

private:
    QString Message;
};
