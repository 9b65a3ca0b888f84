#pragma once

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
TDateTime EncodeDateTime(const TDateTimeParts& parts);
TDateTimeParts DecodeDateTime(TDateTime value);

inline constexpr TDateTime OneDay = 1.0;
inline constexpr TDateTime OneSecond = 1.0 / 86400.0;
