#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The character of a 6-bit value in the base64 alphabet of RFC 4648.
// Raises TOrvError("GetBase64Character: Invalid input.") outside 0..63.
QChar GetBase64Character(int value);

// Base64 with "=" padding and CR LF after every 76 characters of complete
// three-byte groups; the final padded group is never followed by a break.
QString Base64Encode(const QByteArray& bytes);

// Base64Encode of the text's UTF-8 bytes, without a byte-order mark.
QString Base64EncodeUtf8(const QString& text);
