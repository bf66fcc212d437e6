#include "almanac/zassetsu.h"

#include <cmath>

#include "almanac/astro_time.h"
#include "almanac/sexagenary.h"
#include "almanac/solar_day.h"
#include "almanac/solar_longitude.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

constexpr int kStemTsuchinoe = 4;  // 戊

bool passedByNoon(double degrees, int64_t day) {
    const double noonTt = ttFromUt(julianDayUtOfJstMidnight(day) + 0.5);
    return std::remainder(apparentSolarLongitude(noonTt) - degrees, 360.0) > 0;
}

}  // namespace

int64_t shanichiNear(int64_t equinoxDay, bool equinoxBeforeNoon) {
    const int toNext = (kStemTsuchinoe - stemOf(sexagenaryOfDay(equinoxDay)) + 10) % 10;
    if (toNext < 5) return equinoxDay + toNext;
    if (toNext > 5) return equinoxDay + toNext - 10;
    return equinoxBeforeNoon ? equinoxDay - 5 : equinoxDay + 5;
}

YearZassetsu zassetsuOfYear(int year) {
    const auto near = [year](double degrees, int month, int day) {
        return dayOfSolarLongitude(degrees, datetime::daysFromCivil(year, month, day));
    };
    YearZassetsu z;
    z.year = year;
    z.risshun = near(315, 2, 4);
    z.springEquinox = near(0, 3, 20);
    z.autumnEquinox = near(180, 9, 23);
    z.springShanichi = shanichiNear(z.springEquinox, passedByNoon(0, z.springEquinox));
    z.autumnShanichi = shanichiNear(z.autumnEquinox, passedByNoon(180, z.autumnEquinox));
    z.nyubai = near(80, 6, 11);
    z.hangesho = near(100, 7, 2);
    z.doyo = {{
        {near(297, 1, 17), z.risshun},
        {near(27, 4, 17), near(45, 5, 5)},
        {near(117, 7, 20), near(135, 8, 7)},
        {near(207, 10, 20), near(225, 11, 7)},
    }};
    return z;
}

NoteSet zassetsuOn(const YearZassetsu& z, int64_t day) {
    NoteSet notes;
    const auto mark = [&](bool on, DayNote note) {
        if (on) notes.add(note);
    };
    mark(day == z.risshun - 1, DayNote::Setsubun);
    mark(day == z.springEquinox - 3 || day == z.autumnEquinox - 3, DayNote::HiganIri);
    mark(day == z.springEquinox + 3 || day == z.autumnEquinox + 3, DayNote::HiganAke);
    mark(day == z.springShanichi || day == z.autumnShanichi, DayNote::Shanichi);
    mark(day == z.risshun + 87, DayNote::Hachijuhachiya);
    mark(day == z.risshun + 209, DayNote::Nihyakutoka);
    mark(day == z.risshun + 219, DayNote::Nihyakuhatsuka);
    mark(day == z.nyubai, DayNote::Nyubai);
    mark(day == z.hangesho, DayNote::Hangesho);
    const bool ox = branchOf(sexagenaryOfDay(day)) == branch::kOx;
    for (const DoyoSpan& doyo : z.doyo) {
        mark(day == doyo.firstDay, DayNote::DoyoIri);
        mark(ox && day >= doyo.firstDay && day < doyo.endDay, DayNote::DoyoUshi);
    }
    return notes;
}

}  // namespace tavro::almanac
