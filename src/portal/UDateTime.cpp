#include "UDateTime.h"

#include "UOrvError.h"

#include <cmath>

namespace {

// Days between 1970-01-01 and 1899-12-30.
constexpr std::int64_t OleEpochFromUnixDays = -25569;
// Year 0 to year 9999, with a little room so that shifting by an offset
// never fails at the very ends.
constexpr double MinValue = -694000.0;
constexpr double MaxValue = 2958467.0;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

[[noreturn]] void InvalidValue() {
    throw TOrvError(QStringLiteral("Invalid date-time value"));
}

} // namespace

bool IsValidDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int length = (month == 2 && leap) ? 29 : lengths[month - 1];
    return day <= length;
}

std::int64_t DaysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil, rebased to 1899-12-30.
    const std::int64_t y = std::int64_t(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = month > 2 ? month - 3 : month + 9;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - OleEpochFromUnixDays;
}

TDateTime EncodeDateTime(const TDateTimeParts& parts) {
    if (parts.Year < 1 || parts.Year > 9999 || !IsValidDate(parts.Year, parts.Month, parts.Day) ||
        parts.Hour < 0 || parts.Hour > 23 || parts.Minute < 0 || parts.Minute > 59 ||
        parts.Second < 0 || parts.Second > 59 || parts.Millisecond < 0 || parts.Millisecond > 999) {
        InvalidValue();
    }
    const std::int64_t days = DaysFromCivil(parts.Year, parts.Month, parts.Day);
    const std::int64_t timeMs =
        ((std::int64_t(parts.Hour) * 60 + parts.Minute) * 60 + parts.Second) * 1000 +
        parts.Millisecond;
    return MsToDateTime(days * MsPerDay + timeMs);
}

std::int64_t DateTimeToMs(TDateTime value) {
    if (!std::isfinite(value) || value < MinValue || value > MaxValue) {
        InvalidValue();
    }
    std::int64_t days = std::int64_t(std::trunc(value));
    const double fraction = std::fabs(value - std::trunc(value));
    std::int64_t timeMs = std::llround(fraction * double(MsPerDay));
    if (timeMs >= MsPerDay) {
        // Rounded up to the next midnight: the next calendar day either way.
        timeMs -= MsPerDay;
        days += 1;
    }
    return days * MsPerDay + timeMs;
}

TDateTime MsToDateTime(std::int64_t ms) {
    const std::int64_t days = FloorDiv(ms, MsPerDay);
    const double fraction = double(ms - days * MsPerDay) / double(MsPerDay);
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

TDateTimeParts DecodeDateTime(TDateTime value) {
    const std::int64_t ms = DateTimeToMs(value);
    const std::int64_t days = FloorDiv(ms, MsPerDay);
    std::int64_t timeMs = ms - days * MsPerDay;

    // Howard Hinnant's civil_from_days.
    const std::int64_t z = days + OleEpochFromUnixDays + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;

    TDateTimeParts parts;
    parts.Year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
    parts.Month = int(month);
    parts.Day = int(doy - (153 * mp + 2) / 5 + 1);
    parts.Millisecond = int(timeMs % 1000);
    timeMs /= 1000;
    parts.Second = int(timeMs % 60);
    timeMs /= 60;
    parts.Minute = int(timeMs % 60);
    parts.Hour = int(timeMs / 60);
    return parts;
}
