#pragma once

#include "UOrvError.h"

#include <QString>

#include <functional>

// What an action raised: the message of its error, or NoError when it
// returned normally, so that an empty message is told apart from none.
inline const QString NoError = QStringLiteral("<no error>");

inline QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TOrvError& error) {
        return error.message();
    }
    return NoError;
}
