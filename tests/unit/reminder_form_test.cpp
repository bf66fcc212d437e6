// The edit dialog's fields: what it refuses, and a reminder through the fields and back.
#include <gtest/gtest.h>

#include "reminders/reminder_form.h"

namespace tavro::reminders {
namespace {

constexpr int64_t kDay = 46366;  // 2026-12-10, a Thursday

ReminderForm meeting() {
    ReminderForm f;
    f.title = L"会議";
    f.day = kDay;
    f.minuteOfDay = 10 * 60;
    return f;
}

TEST(ReminderForm, WhatIsRefusedBeforeSaving) {
    struct Case { void (*change)(ReminderForm&); const wchar_t* problem; } cases[] = {
        {[](ReminderForm&) {}, L""},
        {[](ReminderForm& f) { f.title = L"\u3000 "; }, L"タイトルを入力してください。"},
        {[](ReminderForm& f) { f.title = std::wstring(101, L'a'); }, L"タイトルは 100 文字までです。"},
        {[](ReminderForm& f) { f.repeat = {RepeatKind::Daily, 1, 0, 1, 0, RepeatEnd::OnDate, 0, kDay - 1}; },
         L"終わりの日が始まりより前です。"},
        {[](ReminderForm& f) { f.repeat = {RepeatKind::Daily, 1, 0, 1, 0, RepeatEnd::OnDate, 0, kDay}; }, L""},
        {[](ReminderForm& f) { f.repeat = {RepeatKind::Weekly, 1, 0}; }, L"曜日を 1 つ以上選んでください。"},
        {[](ReminderForm& f) { f.repeat = {RepeatKind::Weekly, 1000, 0x10}; }, L"間隔は 1 から 999 までです。"},
        {[](ReminderForm& f) { f.repeat = {RepeatKind::Daily, 1, 0, 1, 0, RepeatEnd::AfterCount, 0}; }, L"回数は 1 から 999 までです。"},
        {[](ReminderForm& f) { f.sound = {SoundKind::File, L""}; }, L"音のファイルを選んでください。"},
        {[](ReminderForm& f) { f.sound = {SoundKind::File, L""}; f.told = false; }, L""},
    };
    for (const Case& c : cases) {
        ReminderForm f = meeting();
        c.change(f);
        EXPECT_EQ(formProblem(f), c.problem);
    }
}

TEST(ReminderForm, FieldsToAReminderAndBack) {
    ReminderForm f = meeting();
    f.repeat = {RepeatKind::MonthlyNthWeekday, 1, 0, 2, 4};
    f.lead = 15;
    f.sound = {SoundKind::File, L"C:\\a.wav"};
    f.snoozeMinutes = 10;
    Reminder was = newReminder("uid-1", L"old", 0, false);
    was.exceptions = {kDay * kMinutesPerDay + 31 * kMinutesPerDay};
    const Reminder r = reminderFromForm(was, f);
    EXPECT_EQ(r.uid, "uid-1");
    EXPECT_EQ(r.exceptions, was.exceptions);
    EXPECT_EQ(r.start, kDay * kMinutesPerDay + 600);
    EXPECT_EQ(r.alarmOffset, -15);
    EXPECT_EQ(formOf(r), f);

    f.wholeDay = true;
    f.wholeDayAlarm = 8 * 60;
    const Reminder day = reminderFromForm(was, f);
    EXPECT_EQ(day.start, kDay * kMinutesPerDay);
    EXPECT_EQ(day.alarmOffset, 480);

    Reminder other = r;  // another program's alarm, 20 minutes before: kept as it was
    other.alarmOffset = -20;
    EXPECT_EQ(reminderFromForm(other, formOf(other)).alarmOffset, -20);
    other.alarmOffset.reset();
    EXPECT_FALSE(formOf(other).told);
    EXPECT_EQ(leadText(0), L"予定の時刻");
    EXPECT_EQ(leadText(60), L"1時間前");
    EXPECT_EQ(leadText(1440), L"1日前");
    EXPECT_EQ(leadText(15), L"15分前");
}

}  // namespace
}  // namespace tavro::reminders
