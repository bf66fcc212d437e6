// 雑節 of a civil year, each as the JST day it falls on (days counted as datetime::daysFromCivil):
//   節分          the day before 立春 (315°)
//   彼岸入り/明け  the day of 春分 (0°) or 秋分 (180°), minus and plus 3
//   社日          the 戊 day nearest 春分 and 秋分; on a 癸 day of the equinox (both 戊 days 5 away)
//                 the earlier if the equinox is before 12:00 JST, else the later
//   八十八夜, 二百十日, 二百二十日   the 88th, 210th and 220th day, the day of 立春 the first
//   入梅, 半夏生   the Sun at 80° and 100°
//   土用入り       the Sun at 297°, 27°, 117°, 207°; 土用 lasts to the day before 立春, 立夏, 立秋, 立冬,
//                 and each 丑 day in it is 「土用の丑」 (the day of 土用入り included)
#pragma once

#include <array>
#include <cstdint>

#include "almanac/day_note.h"

namespace tavro::almanac {

struct DoyoSpan {
    int64_t firstDay = 0;  // 土用入り
    int64_t endDay = 0;    // the day of the 立春, 立夏, 立秋 or 立冬 that ends it
};

struct YearZassetsu {
    int year = 0;
    int64_t risshun = 0;  // 立春
    int64_t springEquinox = 0, autumnEquinox = 0;
    int64_t springShanichi = 0, autumnShanichi = 0;
    int64_t nyubai = 0, hangesho = 0;
    std::array<DoyoSpan, 4> doyo{};  // winter (January), spring, summer, autumn
};

// About a dozen solar-longitude days; the civil year's 土用 all begin and end within it.
YearZassetsu zassetsuOfYear(int year);

// The 雑節 of a day of that year (土用の丑 by the day's 干支).
NoteSet zassetsuOn(const YearZassetsu& year, int64_t day);

// 社日 by the rule above, from the day of the equinox and whether its moment is before noon.
int64_t shanichiNear(int64_t equinoxDay, bool equinoxBeforeNoon);

}  // namespace tavro::almanac
