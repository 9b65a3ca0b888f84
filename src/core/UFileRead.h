#pragma once

#include <QByteArray>
#include <QString>

// The whole content of a file, opened for reading with other readers
// allowed and writers refused. Raises TOrvError with
// `Cannot open file "%s". %s` (the full path and the system's reason).
// One backend per platform.
QByteArray ReadFileDenyingWriters(const QString& path);

// The message of a file that cannot be read.
QString CannotOpenFileMessage(const QString& path, const QString& reason);
