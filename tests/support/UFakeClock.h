#pragma once

#include "UClock.h"

// A clock standing still at a chosen local time and UTC offset. While it
// lives it is the clock everything asks (Clock()).
//
//     TFakeClock clock(EncodeDateTime({2024, 1, 15, 12}), 60); // +01:00
class TFakeClock final : public IClock {
public:
    explicit TFakeClock(TDateTime now = 0, int utcOffsetMinutes = 0)
        : NowValue(now)
        , OffsetMinutes(utcOffsetMinutes)
        , Override(*this) {}

    TDateTime Now() const override { return NowValue; }
    int UtcOffsetMinutes() const override { return OffsetMinutes; }

    TDateTime NowValue;
    int OffsetMinutes;

private:
    TClockOverride Override;
};
