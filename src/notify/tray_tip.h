// The notification-area icon's tip: the program's name, today with its weekday and 六曜, and the
// countdown to the minute when a target is set.
#pragma once

#include <string>
#include <string_view>

#include "almanac/month_almanac.h"
#include "datetime/date_value.h"

namespace tavro::notify {

using datetime::DateValue;

// "TavroClock\n2026年12月9日（水） 先勝\n目標まで 21日 3時間 5分" ("目標から …" once passed). Leading
// zero units are left out ("目標まで 5分"); the minutes are whole minutes, cut, not rounded. The
// tip keeps to the 127 characters the notification area takes.
class TrayTip {
public:
    // The text for `now` (whole seconds) and the target (0: none), then the next reminder's line
    // (「次の予定 12/11 10:00 会議」) when there is one. The month's almanac is worked out once per month.
    std::wstring text(DateValue now, DateValue target, std::wstring_view reminderLine = {});

private:
    int year_ = 0, month_ = 0;
    almanac::MonthAlmanac almanac_;
};

// The minute a moment lies in: the tip changes only when this does.
long long minuteOf(DateValue value);

}  // namespace tavro::notify
