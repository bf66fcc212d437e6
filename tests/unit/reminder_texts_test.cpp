// The reminders' texts as the list, the notice, the day texts and the tip show them, and the
// edit dialog's choices to and from a rule.
#include <gtest/gtest.h>

#include "reminders/ics_values.h"
#include "reminders/recurrence_text.h"
#include "reminders/reminder_texts.h"
#include "reminders/repeat_choice.h"
#include "reminders/wide_text.h"

namespace tavro::reminders {
namespace {

LocalMinute at(const char* text) {
    const auto v = parseIcsDateTime(text);
    return v->day * kMinutesPerDay + v->secondOfDay / 60;
}

TEST(ReminderTexts, TimesAndTimeLeft) {
    EXPECT_EQ(occurrenceTimeText(at("20261210T090500"), false), L"2026/12/10 09:05");
    EXPECT_EQ(occurrenceTimeText(at("20260105T000000"), true), L"2026/01/05");
    EXPECT_EQ(nextReminderTipText(at("20261211T100000"), false, L"会議"), L"次の予定 12/11 10:00 会議");
    EXPECT_EQ(nextReminderTipText(at("20260105T000000"), true, L"誕生日"), L"次の予定 1/5 誕生日");
    EXPECT_EQ(dayEntryText(9 * 60 + 5, false, L"会議"), L"9:05 会議");
    EXPECT_EQ(dayEntryText(0, true, L"誕生日"), L"終日 誕生日");
    const LocalMinute now = at("20261207T060000");
    EXPECT_EQ(timeLeftText(now, now + 3 * 1440 + 4 * 60 + 59), L"あと 3日 4時間");
    EXPECT_EQ(timeLeftText(now, now + 1440), L"あと 1日 0時間");
    EXPECT_EQ(timeLeftText(now, now + 125), L"あと 2時間 5分");
    EXPECT_EQ(timeLeftText(now, now + 25), L"あと 25分");
    EXPECT_EQ(timeLeftText(now, now), L"まもなく");
    EXPECT_EQ(timeLeftText(now, now - 1), L"");
}

// Each choice of the dialog: applied to a reminder, described for the list, read back the same.
TEST(ReminderTexts, RepeatChoicesTheirDescriptionAndTheWayBack) {
    struct Case { RepeatChoice choice; const char* start; const wchar_t* text; } cases[] = {
        {{RepeatKind::Once}, "20261210T100000", L"しない"},
        {{RepeatKind::Daily, 2}, "20261210T100000", L"2日ごと"},
        {{RepeatKind::Weekdays, 1, 0, 1, 0, RepeatEnd::Never, 0, 0, true}, "20261210T100000", L"平日、祝日は除く"},
        {{RepeatKind::Weekly, 1, 0x0B}, "20261210T100000", L"毎週 月・水・日"},
        {{RepeatKind::Weekly, 2, 0x04, 1, 0, RepeatEnd::AfterCount, 5}, "20261210T100000", L"2週ごと 火、5回"},
        {{RepeatKind::MonthlyByDay, 3}, "20261210T100000", L"3か月ごと 10日"},
        {{RepeatKind::MonthlyLastDay}, "20261231T100000", L"毎月 末日"},
        {{RepeatKind::MonthlyNthWeekday, 1, 0, 2, 2}, "20261208T100000", L"毎月 第2火曜日"},
        {{RepeatKind::MonthlyNthWeekday, 1, 0, -1, 5, RepeatEnd::OnDate, 0, 46477}, "20261225T100000", L"毎月 最終金曜日、2027/03/31まで"},
        {{RepeatKind::Yearly}, "20261210T100000", L"毎年 12月10日"},
        {{RepeatKind::OldCalendarYearly}, "20260502T000000", L"毎年（旧暦）3月16日"},
    };
    for (const Case& c : cases) {
        Reminder r = newReminder("u", L"t", at(c.start), false);
        applyRepeatChoice(r, c.choice);
        EXPECT_EQ(repeatText(r), c.text);
        RepeatChoice back = repeatChoiceOf(r);
        RepeatChoice want = c.choice;
        if (want.kind == RepeatKind::Weekdays) want.weekdayMask = back.weekdayMask;
        if (want.kind != RepeatKind::MonthlyNthWeekday) want.nth = back.nth, want.nthWeekday = back.nthWeekday;
        EXPECT_EQ(back, want) << c.start;
    }
    Reminder r = newReminder("u", L"t", at("20261208T100000"), false);
    applyRepeatChoice(r, {RepeatKind::Weekly, 2, 0x0A, 1, 0, RepeatEnd::AfterCount, 5});
    EXPECT_EQ(formatRecurrenceRule(r.rule, false), "FREQ=WEEKLY;INTERVAL=2;COUNT=5;BYDAY=MO,WE");
    applyRepeatChoice(r, {RepeatKind::MonthlyNthWeekday, 1, 0, -1, 5, RepeatEnd::OnDate, 0, 46477});
    EXPECT_EQ(formatRecurrenceRule(r.rule, true), "FREQ=MONTHLY;UNTIL=20270331;BYDAY=-1FR");
    EXPECT_EQ(nthWeekdayChoiceFor(at("20261208T100000")).nth, 2);
    EXPECT_EQ(nthWeekdayChoiceFor(at("20261229T100000")).nth, -1);
}

TEST(ReminderTexts, WhatTheEditorRefusesAndWideText) {
    Reminder r = newReminder("u", L"会議", at("20261210T100000"), false);
    EXPECT_EQ(editProblem(r), L"");
    r.title = L" \u3000";
    EXPECT_EQ(editProblem(r), L"タイトルを入力してください。");
    r.title = std::wstring(100, L'あ');
    EXPECT_EQ(editProblem(r), L"");
    r.title += L'い';
    EXPECT_EQ(editProblem(r), L"タイトルは 100 文字までです。");
    r.title = L"会議";
    applyRepeatChoice(r, {RepeatKind::Daily, 1, 0, 1, 0, RepeatEnd::OnDate, 0, dayOf(r.start) - 1});
    EXPECT_EQ(editProblem(r), L"終わりの日が始まりより前です。");
    EXPECT_EQ(uidFromRandom(0x0123456789abcdefULL, 0xfedcba9876543210ULL), "01234567-89ab-cdef-fedc-ba9876543210@tavroclock");
    const std::string emoji = "a\xF0\x9F\x8E\x82\xE4\xBC\x9A";  // a, 🎂, 会
    EXPECT_EQ(utf16FromUtf8(emoji), u"a\U0001F382会");
    EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(emoji)), emoji);
    EXPECT_EQ(utf8FromUtf16(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(characterCount(wideFromUtf8(emoji)), 3u);
    EXPECT_EQ(wideFromUtf8("\xE4\xBC"), L"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace tavro::reminders
