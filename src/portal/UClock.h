#pragma once

#include "UDateTime.h"

// The local time and the offset from UTC in force now. Everything that needs
// either asks the current clock, so tests can fix both.
class IClock {
public:
    virtual ~IClock() = default;
    // Local date and time now.
    virtual TDateTime Now() const = 0;
    // Minutes east of UTC in force now (daylight saving included).
    virtual int UtcOffsetMinutes() const = 0;
};

// The clock in use: the system's unless a test installed its own.
const IClock& Clock();

// Installs a clock for the lifetime of this object (tests only).
class TClockOverride {
public:
    explicit TClockOverride(const IClock& clock);
    ~TClockOverride();
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;

private:
    const IClock* Previous;
};
