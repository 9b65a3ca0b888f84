#pragma once

#include <cstdint>

// Date-times as the client holds them: local time in the OLE Automation form,
// days since 1899-12-30 00:00 with the time of day as the fraction.
using TDateTime = double;

struct TDateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Round-trips to the millisecond for every date from year 1 to 9999.
// EncodeDateTime raises TOrvError for parts that name no date and time;
// DecodeDateTime raises it for a value outside the years 0 to 9999.
TDateTime EncodeDateTime(const TDateTimeParts& parts);
TDateTimeParts DecodeDateTime(TDateTime value);

// The same instant as milliseconds since 1899-12-30 00:00 on a straight
// line. Before that day the OLE form counts the time of day away from zero
// (-1.25 is 1899-12-29 06:00), so plain arithmetic on values there is wrong;
// shifting by an offset goes through these.
std::int64_t DateTimeToMs(TDateTime value);
TDateTime MsToDateTime(std::int64_t ms);

// Days since 1899-12-30 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day);
bool IsValidDate(int year, int month, int day);

inline constexpr TDateTime OneDay = 1.0;
inline constexpr TDateTime OneSecond = 1.0 / 86400.0;
inline constexpr std::int64_t MsPerDay = 86400000;
