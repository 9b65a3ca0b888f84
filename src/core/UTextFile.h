#pragma once

#include <QByteArray>
#include <QString>

// Every line, the last one included, ends with CR LF; a lone CR or LF ends a
// line too. Text that is already in that form comes back unchanged, without
// a copy.
QString WithCrLf(QString text);

// The text of an EPH file's bytes: a leading UTF-8 byte-order mark skipped,
// empty text when any byte sequence is not UTF-8, cut at the first NUL,
// every line ended with CR LF.
QString DecodeTextFile(QByteArray bytes);

// DecodeTextFile of the file's bytes, read while other writers are refused.
// Raises `Cannot open file "%s". %s` with the full path and the system's reason.
QString ReadTextFile(const QString& path);
