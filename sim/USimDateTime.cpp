#include "USimDateTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace Sim {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned DaysInMonth(int y, unsigned m) {
    static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

class TCursor {
public:
    explicit TCursor(std::string_view text)
        : Text(text) {}

    // Exactly count digits.
    bool Digits(std::size_t count, int& value) {
        if (Pos + count > Text.size())
            return false;
        value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const char c = Text[Pos + i];
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        Pos += count;
        return true;
    }

    bool Char(char c) {
        if (Pos < Text.size() && Text[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }

    bool AtEnd() const { return Pos == Text.size(); }
    char Peek() const { return Pos < Text.size() ? Text[Pos] : '\0'; }

private:
    std::string_view Text;
    std::size_t Pos = 0;
};

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<TUtcMs> ParseXsDateTime(std::string_view text) {
    TCursor c(Trim(text));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!c.Digits(4, year) || !c.Char('-') || !c.Digits(2, month) || !c.Char('-') ||
        !c.Digits(2, day) || !c.Char('T') || !c.Digits(2, hour) || !c.Char(':') ||
        !c.Digits(2, minute) || !c.Char(':') || !c.Digits(2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 ||
        static_cast<unsigned>(day) > DaysInMonth(year, static_cast<unsigned>(month)))
        return std::nullopt;
    // 24:00:00 is the end of the day in XML Schema.
    const bool endOfDay = hour == 24 && minute == 0 && second == 0;
    if ((hour > 23 && !endOfDay) || minute > 59 || second > 59)
        return std::nullopt;

    int millis = 0;
    if (c.Char('.')) {
        int digits = 0, digit = 0;
        while (c.Digits(1, digit)) {
            if (digits < 3)
                millis = millis * 10 + digit;
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        for (int i = digits; i < 3; ++i)
            millis *= 10;
    }

    int offsetMinutes = 0;
    if (c.Char('Z')) {
    } else if (c.Peek() == '+' || c.Peek() == '-') {
        const bool negative = c.Peek() == '-';
        c.Char(c.Peek());
        int oh = 0, om = 0;
        if (!c.Digits(2, oh) || !c.Char(':') || !c.Digits(2, om) || oh > 14 || om > 59 ||
            (oh == 14 && om != 0))
            return std::nullopt;
        offsetMinutes = (negative ? -1 : 1) * (oh * 60 + om);
    }
    if (!c.AtEnd())
        return std::nullopt;

    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    const std::int64_t seconds =
        days * 86400 + hour * 3600 + minute * 60 + second - std::int64_t{offsetMinutes} * 60;
    return seconds * 1000 + millis;
}

std::string FormatXsDateTime(TUtcMs instant, int offsetMinutes) {
    const TUtcMs local = instant + std::int64_t{offsetMinutes} * 60000;
    std::int64_t days = local / 86400000;
    std::int64_t msOfDay = local % 86400000;
    if (msOfDay < 0) {
        msOfDay += 86400000;
        --days;
    }
    int y = 0;
    unsigned m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    const auto ms = static_cast<int>(msOfDay % 1000);
    const auto s = static_cast<int>(msOfDay / 1000 % 60);
    const auto mi = static_cast<int>(msOfDay / 60000 % 60);
    const auto h = static_cast<int>(msOfDay / 3600000);

    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d", y, m, d, h, mi, s);
    std::string out(buf, static_cast<std::size_t>(n));
    if (ms != 0) {
        n = std::snprintf(buf, sizeof buf, ".%03d", ms);
        out.append(buf, static_cast<std::size_t>(n));
        while (out.back() == '0')
            out.pop_back();
    }
    if (offsetMinutes == 0) {
        out += 'Z';
    } else {
        const int a = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
        n = std::snprintf(buf, sizeof buf, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', a / 60,
                          a % 60);
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

int LocalOffsetMinutes(TUtcMs instant) {
    const std::time_t t = static_cast<std::time_t>(instant / 1000);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr)
        return 0;
    return static_cast<int>(tm.tm_gmtoff / 60);
}

std::string FormatLocalXsDateTime(TUtcMs instant) {
    return FormatXsDateTime(instant, LocalOffsetMinutes(instant));
}

TUtcMs NowUtcMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace Sim
