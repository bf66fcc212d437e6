#include "datetime/date_value.h"

#include <cmath>

namespace tavro::datetime {

namespace {
constexpr int64_t kSecondsPerDay = 86400;
// days_from_civil(1899, 12, 30) in the 1970-01-01 epoch.
constexpr int64_t kEpochOffset = -25569;

int64_t daysFrom1970(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

bool isValidTime(int hour, int minute, int second) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

int64_t daysFromCivil(int year, int month, int day) {
    return daysFrom1970(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset;
}

CivilDate civilFromDays(int64_t days) {
    int64_t z = days + kEpochOffset + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

DateValue makeDate(int year, int month, int day) {
    return static_cast<DateValue>(daysFromCivil(year, month, day));
}

DateValue makeDateTime(const CivilDateTime& p) {
    const double days = static_cast<double>(daysFromCivil(p.year, p.month, p.day));
    const double fraction = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / kSecondsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

CivilDateTime toCivil(DateValue value) {
    double whole = std::trunc(value);
    int64_t secs = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    int64_t days = static_cast<int64_t>(whole);
    if (secs >= kSecondsPerDay) {
        secs -= kSecondsPerDay;
        days += 1;
    }
    const CivilDate d = civilFromDays(days);
    return {d.year, d.month, d.day, static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
            static_cast<int>(secs % 60)};
}

DateValue dateOnly(DateValue value) {
    const CivilDateTime c = toCivil(value);
    return makeDate(c.year, c.month, c.day);
}

DateValue firstDayOfMonth(DateValue value) {
    const CivilDateTime c = toCivil(value);
    return makeDate(c.year, c.month, 1);
}

int weekdayOf(DateValue value) {
    const CivilDateTime c = toCivil(value);
    const int64_t days = daysFromCivil(c.year, c.month, c.day);
    // 1899-12-30 was a Saturday.
    return static_cast<int>(((days + 6) % 7 + 7) % 7);
}

DateValue addMonths(DateValue value, int months) {
    CivilDateTime c = toCivil(value);
    int64_t index = static_cast<int64_t>(c.year) * 12 + (c.month - 1) + months;
    c.year = static_cast<int>(index >= 0 ? index / 12 : (index - 11) / 12);
    c.month = static_cast<int>(index - static_cast<int64_t>(c.year) * 12) + 1;
    const int last = daysInMonth(c.year, c.month);
    if (c.day > last) c.day = last;
    return makeDateTime(c);
}

}  // namespace tavro::datetime
