#include "UClock.h"

#include <QDateTime>

namespace {

// Local time and offset from the system's time zone, through Qt.
class TSystemClock final : public IClock {
public:
    TDateTime Now() const override {
        const QDateTime now = QDateTime::currentDateTime();
        const QDate date = now.date();
        const QTime time = now.time();
        return EncodeDateTime({date.year(), date.month(), date.day(), time.hour(), time.minute(),
                               time.second(), time.msec()});
    }

    int UtcOffsetMinutes() const override {
        return QDateTime::currentDateTime().offsetFromUtc() / 60;
    }
};

const IClock* CurrentClock = nullptr;

const IClock& SystemClock() {
    static const TSystemClock clock;
    return clock;
}

} // namespace

const IClock& Clock() {
    return CurrentClock ? *CurrentClock : SystemClock();
}

TClockOverride::TClockOverride(const IClock& clock)
    : Previous(CurrentClock) {
    CurrentClock = &clock;
}

TClockOverride::~TClockOverride() {
    CurrentClock = Previous;
}
