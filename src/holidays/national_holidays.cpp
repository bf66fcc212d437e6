#include "holidays/national_holidays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tavro::holidays {

namespace {

using datetime::daysFromCivil;

constexpr int kFirstYear = 1948;
constexpr int kLastYear = 2150;
constexpr const wchar_t* kDayOff = L"休日";

struct Entry {
    int64_t day;
    const wchar_t* name;
};

struct OneOff {
    int year;
    int month;
    int day;
    const wchar_t* name;
};

// Days made holidays by their own laws, named as the Cabinet Office lists them.
constexpr OneOff kOneOffs[] = {
    {1959, 4, 10, L"結婚の儀"},            // 皇太子明仁親王の結婚の儀
    {1989, 2, 24, L"大喪の礼"},            // 昭和天皇の大喪の礼
    {1990, 11, 12, L"即位礼正殿の儀"},
    {1993, 6, 9, L"結婚の儀"},             // 皇太子徳仁親王の結婚の儀
    {2019, 5, 1, L"休日（祝日扱い）"},     // 天皇の即位の日
    {2019, 10, 22, L"休日（祝日扱い）"},   // 即位礼正殿の儀の行われる日
};

int weekday(int64_t day) { return datetime::weekdayOf(static_cast<datetime::DateValue>(day)); }

// Day of the month of the n-th Monday.
int nthMonday(int year, int month, int n) {
    const int first = weekday(daysFromCivil(year, month, 1));
    return 1 + (8 - first) % 7 + 7 * (n - 1);
}

// The approximation used for the equinox days the Cabinet Office announces a year ahead.
// Before 1980 the leap term counts from 1983 and truncates toward zero, as integer division does.
int equinoxDay(int year, double c1900, double c1980, double c2100) {
    const int n = year - 1980;
    const int leapTerm = year < 1980 ? (year - 1983) / 4 : n / 4;
    const double c = year < 1980 ? c1900 : year < 2100 ? c1980 : c2100;
    return static_cast<int>(c + 0.242194 * n - leapTerm);
}

int vernalEquinoxDay(int year) { return equinoxDay(year, 20.8357, 20.8431, 21.8510); }
int autumnalEquinoxDay(int year) { return equinoxDay(year, 23.2588, 23.2488, 24.2488); }

// The "national holidays" proper of one year: the named days and the one-off days the law treats alike.
std::vector<Entry> namedDays(int y) {
    std::vector<Entry> out;
    auto add = [&](int m, int d, const wchar_t* name) { out.push_back({daysFromCivil(y, m, d), name}); };

    add(1, 1, L"元日");
    add(1, y < 2000 ? 15 : nthMonday(y, 1, 2), L"成人の日");
    if (y >= 1967) add(2, 11, L"建国記念の日");
    if (y >= 2020) add(2, 23, L"天皇誕生日");
    add(3, vernalEquinoxDay(y), L"春分の日");
    add(4, 29, y <= 1988 ? L"天皇誕生日" : y <= 2006 ? L"みどりの日" : L"昭和の日");
    add(5, 3, L"憲法記念日");
    if (y >= 2007) add(5, 4, L"みどりの日");
    add(5, 5, L"こどもの日");

    // The Olympic years moved 海の日, スポーツの日 and 山の日 around the games.
    if (y == 2020) {
        add(7, 23, L"海の日");
        add(7, 24, L"スポーツの日");
        add(8, 10, L"山の日");
    } else if (y == 2021) {
        add(7, 22, L"海の日");
        add(7, 23, L"スポーツの日");
        add(8, 8, L"山の日");
    } else {
        if (y >= 2003) add(7, nthMonday(y, 7, 3), L"海の日");
        else if (y >= 1996) add(7, 20, L"海の日");
        if (y >= 2016) add(8, 11, L"山の日");
        if (y >= 2022) add(10, nthMonday(y, 10, 2), L"スポーツの日");
        // 2019 is still 体育の日 by law; the Cabinet Office lists it with the coming name.
        else if (y == 2019) add(10, nthMonday(y, 10, 2), L"体育の日（スポーツの日）");
        else if (y >= 2000) add(10, nthMonday(y, 10, 2), L"体育の日");
        else if (y >= 1966) add(10, 10, L"体育の日");
    }

    if (y >= 2003) add(9, nthMonday(y, 9, 3), L"敬老の日");
    else if (y >= 1966) add(9, 15, L"敬老の日");
    add(9, autumnalEquinoxDay(y), L"秋分の日");
    add(11, 3, L"文化の日");
    add(11, 23, L"勤労感謝の日");
    if (y >= 1989 && y <= 2018) add(12, 23, L"天皇誕生日");

    for (const OneOff& o : kOneOffs)
        if (o.year == y) add(o.month, o.day, o.name);

    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.day < b.day; });
    return out;
}

bool contains(const std::vector<Entry>& list, int64_t day) {
    return std::any_of(list.begin(), list.end(), [day](const Entry& e) { return e.day == day; });
}

// Every holiday of one year, substitute and citizens' holidays included, sorted.
// Neither kind can reach across a year end (no holiday falls on 12/30 or 12/31).
std::vector<Entry> holidaysOfYear(int y) {
    const std::vector<Entry> named = namedDays(y);
    std::vector<Entry> all = named;

    // 振替休日: in force from 1973-04-12; until 2006 only the next day, from 2007 the next
    // day that is not itself a national holiday.
    const int64_t substituteStart = daysFromCivil(1973, 4, 12);
    const int64_t chainStart = daysFromCivil(2007, 1, 1);
    for (const Entry& h : named) {
        if (h.day < substituteStart || weekday(h.day) != 0) continue;
        int64_t next = h.day + 1;
        if (h.day >= chainStart) {
            while (contains(named, next)) ++next;
        } else if (contains(named, next)) {
            continue;
        }
        all.push_back({next, kDayOff});
    }

    // 国民の休日: from 1985-12-27, a plain day between two national holidays; a Sunday stays a
    // Sunday (the Cabinet Office list has no 5/4 in 1986, 1997 or 2003).
    const int64_t citizensStart = daysFromCivil(1985, 12, 27);
    for (size_t i = 0; i + 1 < named.size(); ++i) {
        if (named[i + 1].day - named[i].day != 2) continue;
        const int64_t middle = named[i].day + 1;
        if (middle < citizensStart || weekday(middle) == 0 || contains(all, middle)) continue;
        all.push_back({middle, kDayOff});
    }

    std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) { return a.day < b.day; });
    return all;
}

}  // namespace

std::vector<NationalHoliday> nationalHolidays(datetime::DateValue from, datetime::DateValue to) {
    if (std::isnan(from) || std::isnan(to)) return {};
    const int64_t first = daysFromCivil(kFirstYear, 7, 20);
    const int64_t last = daysFromCivil(kLastYear, 12, 31);
    // Clamp before converting so that huge or infinite values stay in range.
    const double lo = std::clamp(from, static_cast<double>(first - 1), static_cast<double>(last + 1));
    const double hi = std::clamp(to, static_cast<double>(first - 1), static_cast<double>(last + 1));
    const int64_t fromDay = std::max(first, static_cast<int64_t>(datetime::dateOnly(lo)));
    const int64_t toDay = std::min(last, static_cast<int64_t>(datetime::dateOnly(hi)));
    if (fromDay > toDay) return {};

    std::vector<NationalHoliday> out;
    const int firstYear = datetime::civilFromDays(fromDay).year;
    const int lastYear = datetime::civilFromDays(toDay).year;
    for (int y = firstYear; y <= lastYear; ++y) {
        for (const Entry& e : holidaysOfYear(y))
            if (e.day >= fromDay && e.day <= toDay)
                out.push_back({static_cast<datetime::DateValue>(e.day), e.name});
    }
    return out;
}

}  // namespace tavro::holidays
