// The reminders' texts as the notice, the list, the calendar and the icon's tip show them.
#pragma once

#include <string>
#include <string_view>

#include "reminders/reminder.h"

namespace tavro::reminders {

// 「2026/12/10 10:00」, a whole day 「2026/12/10」: the notice's time and the missed list's.
std::wstring occurrenceTimeText(LocalMinute start, bool wholeDay);

// The list's time left: 「あと 3日 4時間」, 「あと 2時間 5分」, 「あと 25分」, under a minute
// 「まもなく」, whole minutes cut; empty when the time has passed.
std::wstring timeLeftText(LocalMinute now, LocalMinute start);

// A day's entry for the tooltip and the 暦 window's day text: 「10:00 会議」, a whole day 「終日 誕生日」.
std::wstring dayEntryText(int minuteOfDay, bool wholeDay, std::wstring_view title);

// The icon's tip line: 「次の予定 12/11 10:00 会議」 (a whole day without the time).
std::wstring nextReminderTipText(LocalMinute start, bool wholeDay, std::wstring_view title);

// The list's repeat column: 「しない」, 「毎日」, 「平日」, 「毎週 月・水」, 「2週ごと 火」,
// 「毎月 10日」, 「毎月 末日」, 「毎月 第2火曜日」, 「毎月 最終金曜日」, 「毎年 12月10日」,
// 「毎年（旧暦）3月15日」, 「その他の繰り返し」, with 「、祝日は除く」, 「、5回」 or
// 「、2027/03/31まで」 after it.
std::wstring repeatText(const Reminder& reminder);

}  // namespace tavro::reminders
