#include "reminders/old_calendar_days.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "almanac/lunisolar_calendar.h"
#include "reminders/local_minute.h"

namespace tavro::reminders {
namespace {

// Lunar years from the 冬至 of 1898 up to that of 2100 reach every day of 1900..2100.
constexpr int kFirstSolstice = 1898;
constexpr int kLastSolstice = 2100;
constexpr int kYears = kLastSolstice - kFirstSolstice + 1;

const almanac::LunarYear& lunarYear(int solsticeYear) {
    static std::array<almanac::LunarYear, kYears> years;
    static std::array<std::once_flag, kYears> once;
    const auto i = static_cast<std::size_t>(solsticeYear - kFirstSolstice);
    std::call_once(once[i], [&] { years[i] = almanac::lunarYearFromSolstice(solsticeYear); });
    return years[i];
}

// The lunar year (by its 冬至 year) and month index holding a day; false outside the table.
bool locate(int64_t day, int& solsticeYear, int& index) {
    if (day < kFirstDay || day > kLastDay) return false;
    int y = datetime::civilFromDays(day).year;
    if (y > kLastSolstice) y = kLastSolstice;
    // A day before its year's month 11 lies in the lunar year of the 冬至 before.
    while (y > kFirstSolstice && lunarYear(y).months[0].firstDay > day) --y;
    const almanac::LunarYear& ly = lunarYear(y);
    if (day < ly.months[0].firstDay || day >= ly.endDay) return false;
    int m = 0;
    while (m + 1 < ly.count && ly.months[m + 1].firstDay <= day) ++m;
    solsticeYear = y;
    index = m;
    return true;
}

int64_t monthEnd(const almanac::LunarYear& ly, int index) {
    return index + 1 < ly.count ? ly.months[index + 1].firstDay : ly.endDay;
}

}  // namespace

std::optional<almanac::OldCalendarDate> oldDateOfDay(int64_t day) {
    int y = 0, m = 0;
    if (!locate(day, y, m)) return std::nullopt;
    const almanac::LunarMonth& lm = lunarYear(y).months[m];
    return almanac::OldCalendarDate{lm.number, static_cast<int>(day - lm.firstDay) + 1, lm.leap};
}

std::optional<int> oldYearOfDay(int64_t day) {
    int y = 0, m = 0;
    if (!locate(day, y, m)) return std::nullopt;
    // Months 11 and 12 at the head of a lunar year end the old year of its 冬至; the rest begin the next.
    return lunarYear(y).months[m].number >= 11 ? y : y + 1;
}

std::optional<int64_t> dayOfOldDate(int oldYear, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 30) return std::nullopt;
    const int solstice = month >= 11 ? oldYear : oldYear - 1;
    if (solstice < kFirstSolstice || solstice > kLastSolstice) return std::nullopt;
    const almanac::LunarYear& ly = lunarYear(solstice);
    for (int i = 0; i < ly.count; ++i) {
        const almanac::LunarMonth& lm = ly.months[i];
        if (lm.leap || lm.number != month) continue;
        const int64_t last = monthEnd(ly, i) - 1;
        const int64_t result = std::min(lm.firstDay + day - 1, last);
        if (result < kFirstDay || result > kLastDay) return std::nullopt;
        return result;
    }
    return std::nullopt;
}

}  // namespace tavro::reminders
