#include "UDatumText.h"

#include <QLocale>

namespace {

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString FormatDatum(TDateTime datum, const QString& timeSeparator) {
    // The core gives 0 for a row without a date; 30.12.1899 would mislead.
    if (datum == 0)
        return QString();
    // Seconds are cut off, not rounded.
    const TDateTimeParts parts = DecodeDateTime(datum);
    return TwoDigits(parts.Day) + QLatin1Char('.') + TwoDigits(parts.Month) + QLatin1Char('.') +
           QStringLiteral("%1").arg(parts.Year, 4, 10, QLatin1Char('0')) + QLatin1Char(' ') +
           TwoDigits(parts.Hour) + timeSeparator + TwoDigits(parts.Minute);
}

QString LocaleTimeSeparator() {
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    const qsizetype hour = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    if (hour >= 0) {
        qsizetype i = hour;
        while (i < format.size() && format.at(i).toLower() == QLatin1Char('h'))
            ++i;
        qsizetype end = i;
        while (end < format.size() && format.at(end) != QLatin1Char('m'))
            ++end;
        if (end < format.size() && end > i)
            return format.mid(i, end - i);
    }
    return QStringLiteral(":");
}
