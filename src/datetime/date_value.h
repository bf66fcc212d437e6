// The date-time value of the whole program: days since 1899-12-30 00:00:00 as a double,
// the time of day as the fraction. 0 means "no countdown target" everywhere.
#pragma once

#include <cstdint>

namespace tavro::datetime {

using DateValue = double;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CivilDate&) const = default;
};

struct CivilDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const CivilDateTime&) const = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidDate(int year, int month, int day);
bool isValidTime(int hour, int minute, int second);

// Whole days between 1899-12-30 and the given proleptic Gregorian date.
int64_t daysFromCivil(int year, int month, int day);
CivilDate civilFromDays(int64_t days);

// A pure date (fraction 0).
DateValue makeDate(int year, int month, int day);
// Before 1899-12-30 the whole part counts the days and the fraction is the time of day
// whatever the sign: 1899-12-29 06:00 is -1.25.
DateValue makeDateTime(const CivilDateTime& parts);
// The inverse of makeDateTime, rounded to the nearest second.
CivilDateTime toCivil(DateValue value);
// The date part of a value, time dropped.
DateValue dateOnly(DateValue value);
// The first day of the value's month, at 00:00.
DateValue firstDayOfMonth(DateValue value);

// 0 = Sunday … 6 = Saturday.
int weekdayOf(DateValue value);

// Calendar-month arithmetic: the day is kept, clamped to the last day of the target month;
// the time of day is kept.
DateValue addMonths(DateValue value, int months);

}  // namespace tavro::datetime
