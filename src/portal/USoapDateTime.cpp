#include "USoapDateTime.h"

#include "UClock.h"
#include "UOrvError.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void InvalidText(QByteArrayView text) {
    throw TOrvError(QStringLiteral("Invalid property element: %1")
                        .arg(QString::fromUtf8(text.data(), text.size())));
}

// Reads exactly count digits at pos.
bool Digits(QByteArrayView text, qsizetype& pos, int count, int& value) {
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    pos += count;
    return true;
}

bool Expect(QByteArrayView text, qsizetype& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

QByteArray FormatSoapDateTime(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(value);
    if (parts.Year < 1 || parts.Year > 9999) {
        throw TOrvError(QStringLiteral("Invalid date-time value"));
    }
    char text[48];
    int length = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", parts.Year,
                               parts.Month, parts.Day, parts.Hour, parts.Minute, parts.Second,
                               parts.Millisecond);
    const int offset = Clock().UtcOffsetMinutes();
    if (offset == 0) {
        text[length++] = 'Z';
    } else {
        const int magnitude = std::abs(offset);
        length += std::snprintf(text + length, sizeof text - size_t(length), "%s%.2d:%.2d",
                                offset > 0 ? "+" : "-", magnitude / 60, magnitude % 60);
    }
    return QByteArray(text, length);
}

TDateTime ParseSoapDateTime(QByteArrayView text) {
    return ParseSoapDateTime(text, Clock().UtcOffsetMinutes());
}

TDateTime ParseSoapDateTime(QByteArrayView raw, int utcOffsetMinutes) {
    const QByteArrayView text = raw.trimmed();
    qsizetype pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, pos, 4, year) || !Expect(text, pos, '-') || !Digits(text, pos, 2, month) ||
        !Expect(text, pos, '-') || !Digits(text, pos, 2, day) || !Expect(text, pos, 'T') ||
        !Digits(text, pos, 2, hour) || !Expect(text, pos, ':') || !Digits(text, pos, 2, minute) ||
        !Expect(text, pos, ':') || !Digits(text, pos, 2, second)) {
        InvalidText(raw);
    }
    bool fractionZero = true;
    if (Expect(text, pos, '.')) {
        const qsizetype start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            fractionZero = fractionZero && text[pos] == '0';
            ++pos;
        }
        if (pos == start) {
            InvalidText(raw);
        }
    }
    int offsetMinutes = 0;
    if (!Expect(text, pos, 'Z') && pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        const int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        int offsetHours = 0, offsetMins = 0;
        if (!Digits(text, pos, 2, offsetHours) || !Expect(text, pos, ':') ||
            !Digits(text, pos, 2, offsetMins) || offsetMins > 59 ||
            offsetHours * 60 + offsetMins > 14 * 60) {
            InvalidText(raw);
        }
        offsetMinutes = sign * (offsetHours * 60 + offsetMins);
    }
    // 24:00:00 is the end of the day, which xsd:dateTime allows.
    const bool endOfDay = hour == 24 && minute == 0 && second == 0 && fractionZero;
    if (pos != text.size() || year < 1 || !IsValidDate(year, month, day) ||
        (hour > 23 && !endOfDay) || minute > 59 || second > 59) {
        InvalidText(raw);
    }
    const std::int64_t utcSeconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 +
                                    minute * 60 + second - std::int64_t(offsetMinutes) * 60;
    const std::int64_t localSeconds = utcSeconds + std::int64_t(utcOffsetMinutes) * 60;
    return MsToDateTime(localSeconds * 1000);
}
