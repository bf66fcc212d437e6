// The JST days on which the Sun reaches a longitude, and the 節月 (the months of the 節: 立春
// opens 寅月, 啓蟄 卯月 … 小寒 丑月; the day of a 節 belongs to the month it opens). Days are
// counted as datetime::daysFromCivil counts them.
#pragma once

#include <cstdint>

namespace tavro::almanac {

// The JST day on which the Sun's apparent longitude reaches degrees, for the crossing nearest
// nearDay (within half a year). One evaluation of the longitude in most cases; within an hour of a
// JST midnight the longitude at that midnight decides, so the day is the one the moment falls on.
int64_t dayOfSolarLongitude(double degrees, int64_t nearDay);

struct SetsuMonth {
    int index = 0;          // 0 = 寅月 … 11 = 丑月
    int64_t firstDay = 0;   // the day of its 節
    int64_t endDay = 0;     // the day of the next 節
};

// The 節月 the day belongs to.
SetsuMonth setsuMonthOfDay(int64_t day);
SetsuMonth nextSetsuMonth(const SetsuMonth& month);
SetsuMonth previousSetsuMonth(const SetsuMonth& month);

// The month's branch (寅月: 寅, 2) and the longitude of its 節 (寅月: 315°).
inline constexpr int branchOfSetsuMonth(int index) { return (index + 2) % 12; }
inline constexpr double setsuLongitude(int index) { return (315 + 30 * index) % 360; }

}  // namespace tavro::almanac
