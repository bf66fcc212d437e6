#include "almanac/month_almanac.h"

#include <iterator>

#include "almanac/astro_time.h"
#include "almanac/lunisolar_calendar.h"
#include "datetime/date_value.h"

namespace tavro::almanac {

Rokuyo rokuyoOf(int oldMonth, int oldDay) { return static_cast<Rokuyo>((oldMonth + oldDay) % 6); }

MonthAlmanac MonthAlmanac::forMonth(int year, int month) {
    MonthAlmanac almanac;
    if (year < kFirstAlmanacYear || year > kLastAlmanacYear || month < 1 || month > 12) return almanac;
    const int count = datetime::daysInMonth(year, month);
    const int64_t firstDay = datetime::daysFromCivil(year, month, 1);
    const int64_t endDay = firstDay + count;

    // The days of a civil year before its month 11 belong to the lunar year from last 冬至;
    // November and December may reach into the next one.
    LunarYear years[2] = {lunarYearFromSolstice(year - 1), {}};
    if (endDay > years[0].endDay) years[1] = lunarYearFromSolstice(year);
    for (int i = 0; i < count; ++i) {
        const int64_t day = firstDay + i;
        const LunarYear& ly = day < years[0].endDay ? years[0] : years[1];
        int m = 0;
        while (m + 1 < ly.count && ly.months[m + 1].firstDay <= day) ++m;
        const LunarMonth& lm = ly.months[m];
        DayAlmanac& out = almanac.days_[i];
        out.old = OldCalendarDate{lm.number, static_cast<int>(day - lm.firstDay) + 1, lm.leap};
        out.rokuyo = rokuyoOf(lm.number, out.old.day);
    }
    for (const SolarTermMoment& term : solarTermsBetween(firstDay, endDay)) {
        almanac.days_[static_cast<size_t>(jstDayOf(term.julianDayUt) - firstDay)].solarTerm = term.term;
    }
    almanac.dayCount_ = count;
    return almanac;
}

std::optional<DayAlmanac> MonthAlmanac::day(int dayOfMonth) const {
    if (dayOfMonth < 1 || dayOfMonth > dayCount_) return std::nullopt;
    return days_[static_cast<size_t>(dayOfMonth - 1)];
}

std::wstring_view rokuyoName(Rokuyo rokuyo) {
    static constexpr std::wstring_view kNames[] = {L"大安", L"赤口", L"先勝", L"友引", L"先負", L"仏滅"};
    const auto i = static_cast<size_t>(rokuyo);
    return i < std::size(kNames) ? kNames[i] : std::wstring_view{};
}

std::wstring_view solarTermName(int term) {
    static constexpr std::wstring_view kNames[] = {
        L"春分", L"清明", L"穀雨", L"立夏", L"小満", L"芒種", L"夏至", L"小暑", L"大暑", L"立秋", L"処暑", L"白露",
        L"秋分", L"寒露", L"霜降", L"立冬", L"小雪", L"大雪", L"冬至", L"小寒", L"大寒", L"立春", L"雨水", L"啓蟄",
    };
    return term >= 0 && term < 24 ? kNames[term] : std::wstring_view{};
}

}  // namespace tavro::almanac
