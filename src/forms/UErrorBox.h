#pragma once

#include <QString>

class QWidget;

// The message as the application-wide error box shows it: a full stop is
// appended when the last character's code is above that of ".", so a message
// ending in "!" or ")" stands as it is and one ending in a letter gets a ".".
QString WithFullStop(const QString& message);

// The application-wide error box: titled with the application's name, an
// error icon and one "OK" button.
void ShowOrvError(QWidget* parent, const QString& message);
