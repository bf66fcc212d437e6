#include "reminders/local_minute.h"

#include <cmath>

namespace tavro::reminders {

LocalMinute minuteFromDateValue(datetime::DateValue value) {
    if (!std::isfinite(value) || std::fabs(value) > 3e6) return kNever;
    const datetime::CivilDateTime c = datetime::toCivil(value);
    return minuteFromCivil(c.year, c.month, c.day, c.hour, c.minute);
}

datetime::DateValue dateValueFromMinute(LocalMinute minute) {
    const datetime::CivilDate d = datetime::civilFromDays(dayOf(minute));
    const int m = minuteOfDay(minute);
    return datetime::makeDateTime({d.year, d.month, d.day, m / 60, m % 60, 0});
}

LocalMinute minuteFromCivil(int year, int month, int day, int hour, int minute) {
    return datetime::daysFromCivil(year, month, day) * kMinutesPerDay + hour * 60 + minute;
}

}  // namespace tavro::reminders
