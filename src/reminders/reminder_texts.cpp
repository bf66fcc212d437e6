#include "reminders/reminder_texts.h"

#include <cstdio>

#include "reminders/old_calendar_days.h"
#include "reminders/repeat_choice.h"

namespace tavro::reminders {
namespace {

constexpr const wchar_t* kWeekdays[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};

std::wstring number(int64_t n) { return std::to_wstring(n); }

std::wstring clockText(int minuteOfDay) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"%d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    return buf;
}

std::wstring dateText(int64_t day) {
    const datetime::CivilDate c = datetime::civilFromDays(day);
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%04d/%02d/%02d", c.year, c.month, c.day);
    return buf;
}

// 「毎週」 or 「2週ごと」 and the like.
std::wstring every(int interval, const wchar_t* each, const wchar_t* unit) {
    return interval > 1 ? number(interval) + unit + L"ごと" : std::wstring(each);
}

}  // namespace

std::wstring occurrenceTimeText(LocalMinute start, bool wholeDay) {
    std::wstring text = dateText(dayOf(start));
    if (!wholeDay) {
        wchar_t buf[16];
        std::swprintf(buf, 16, L" %02d:%02d", minuteOfDay(start) / 60, minuteOfDay(start) % 60);
        text += buf;
    }
    return text;
}

std::wstring timeLeftText(LocalMinute now, LocalMinute start) {
    if (start < now) return L"";
    const int64_t minutes = start - now;
    if (minutes < 1) return L"まもなく";
    const int64_t days = minutes / 1440, hours = minutes / 60 % 24, mins = minutes % 60;
    if (days > 0) return L"あと " + number(days) + L"日 " + number(hours) + L"時間";
    if (hours > 0) return L"あと " + number(hours) + L"時間 " + number(mins) + L"分";
    return L"あと " + number(mins) + L"分";
}

std::wstring dayEntryText(int minuteOfDay, bool wholeDay, std::wstring_view title) {
    return (wholeDay ? std::wstring(L"終日") : clockText(minuteOfDay)) + L" " + std::wstring(title);
}

std::wstring nextReminderTipText(LocalMinute start, bool wholeDay, std::wstring_view title) {
    const datetime::CivilDate c = datetime::civilFromDays(dayOf(start));
    std::wstring text = L"次の予定 " + number(c.month) + L"/" + number(c.day) + L" ";
    if (!wholeDay) text += clockText(minuteOfDay(start)) + L" ";
    return text + std::wstring(title);
}

std::wstring repeatText(const Reminder& reminder) {
    const RepeatChoice choice = repeatChoiceOf(reminder);
    const datetime::CivilDate c = datetime::civilFromDays(dayOf(reminder.start));
    std::wstring text;
    switch (choice.kind) {
    case RepeatKind::Once: text = L"しない"; break;
    case RepeatKind::Daily: text = every(choice.interval, L"毎日", L"日"); break;
    case RepeatKind::Weekdays: text = L"平日"; break;
    case RepeatKind::Weekly: {
        text = every(choice.interval, L"毎週", L"週") + L" ";
        bool first = true;
        for (int d = 1; d <= 7; ++d) {  // Monday first
            if (!(choice.weekdayMask >> (d % 7) & 1)) continue;
            if (!first) text += L"・";
            text += kWeekdays[d % 7];
            first = false;
        }
        break;
    }
    case RepeatKind::MonthlyByDay: text = every(choice.interval, L"毎月", L"か月") + L" " + number(c.day) + L"日"; break;
    case RepeatKind::MonthlyLastDay: text = every(choice.interval, L"毎月", L"か月") + L" 末日"; break;
    case RepeatKind::MonthlyNthWeekday:
        text = every(choice.interval, L"毎月", L"か月") + (choice.nth < 0 ? std::wstring(L" 最終") : L" 第" + number(choice.nth)) +
               kWeekdays[choice.nthWeekday] + L"曜日";
        break;
    case RepeatKind::Yearly: text = every(choice.interval, L"毎年", L"年") + L" " + number(c.month) + L"月" + number(c.day) + L"日"; break;
    case RepeatKind::OldCalendarYearly: {
        text = every(choice.interval, L"毎年", L"年") + L"（旧暦）";
        if (const auto old = oldDateOfDay(dayOf(reminder.start))) text += number(old->month) + L"月" + number(old->day) + L"日";
        break;
    }
    case RepeatKind::Other: text = L"その他の繰り返し"; break;
    }
    if (choice.kind == RepeatKind::Once) return choice.skipHolidays ? text + L"、祝日は除く" : text;
    if (choice.skipHolidays) text += L"、祝日は除く";
    if (choice.end == RepeatEnd::AfterCount) text += L"、" + number(choice.count) + L"回";
    if (choice.end == RepeatEnd::OnDate) text += L"、" + dateText(choice.lastDay) + L"まで";
    return text;
}

}  // namespace tavro::reminders
