#include "UErrorBox.h"

#include "UDialogs.h"

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowOrvError(QWidget* parent, const QString& message) {
    TDialogs::OrvError(parent, WithFullStop(message));
}
