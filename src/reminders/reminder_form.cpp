#include "reminders/reminder_form.h"

#include <algorithm>

namespace tavro::reminders {

namespace {
constexpr int kMaxFormInterval = 999;

bool isOffered(int lead) { return std::find(std::begin(kAlarmLeads), std::end(kAlarmLeads), lead) != std::end(kAlarmLeads); }
}  // namespace

ReminderForm formOf(const Reminder& reminder) {
    ReminderForm form;
    form.title = reminder.title;
    form.day = dayOf(reminder.start);
    form.minuteOfDay = reminder.wholeDay ? 9 * 60 : minuteOfDay(reminder.start);
    form.wholeDay = reminder.wholeDay;
    form.repeat = repeatChoiceOf(reminder);
    form.told = reminder.alarmOffset.has_value();
    if (const auto offset = reminder.alarmOffset) {
        if (reminder.wholeDay && *offset >= 0 && *offset < kMinutesPerDay) form.wholeDayAlarm = *offset;
        else if (!reminder.wholeDay && isOffered(-*offset)) form.lead = -*offset;
        else form.keptOffset = offset;
    }
    form.sound = reminder.sound;
    form.snoozeMinutes = std::find(std::begin(kSnoozeChoices), std::end(kSnoozeChoices), reminder.snoozeMinutes) !=
                                 std::end(kSnoozeChoices)
                             ? reminder.snoozeMinutes
                             : kDefaultSnoozeMinutes;
    return form;
}

std::wstring formProblem(const ReminderForm& form) {
    const Reminder made = reminderFromForm({}, form);
    if (std::wstring problem = editProblem(made); !problem.empty()) return problem;
    const RepeatKind kind = form.repeat.kind;
    if (kind == RepeatKind::Weekly && (form.repeat.weekdayMask & 0x7F) == 0) return L"曜日を 1 つ以上選んでください。";
    const bool hasInterval = kind == RepeatKind::Daily || kind == RepeatKind::Weekly || kind == RepeatKind::MonthlyByDay ||
                             kind == RepeatKind::MonthlyLastDay || kind == RepeatKind::MonthlyNthWeekday ||
                             kind == RepeatKind::Yearly || kind == RepeatKind::OldCalendarYearly;
    if (hasInterval && (form.repeat.interval < 1 || form.repeat.interval > kMaxFormInterval)) return L"間隔は 1 から 999 までです。";
    if (kind != RepeatKind::Once && kind != RepeatKind::Other && form.repeat.end == RepeatEnd::AfterCount &&
        (form.repeat.count < 1 || form.repeat.count > 999))
        return L"回数は 1 から 999 までです。";
    if (form.told && form.sound.kind == SoundKind::File && form.sound.path.empty()) return L"音のファイルを選んでください。";
    return L"";
}

Reminder reminderFromForm(const Reminder& was, const ReminderForm& form) {
    Reminder r = was;
    r.title = form.title;
    r.wholeDay = form.wholeDay;
    r.start = form.day * kMinutesPerDay + (form.wholeDay ? 0 : std::clamp(form.minuteOfDay, 0, 1439));
    applyRepeatChoice(r, form.repeat);
    if (!form.told) r.alarmOffset.reset();
    else if (form.keptOffset) r.alarmOffset = form.keptOffset;
    else r.alarmOffset = form.wholeDay ? std::clamp(form.wholeDayAlarm, 0, 1439) : -form.lead;
    r.sound = form.sound;
    if (r.sound.kind != SoundKind::File) r.sound.path.clear();
    r.snoozeMinutes = form.snoozeMinutes;
    return r;
}

std::wstring leadText(int lead) {
    if (lead == 0) return L"予定の時刻";
    if (lead % 1440 == 0) return std::to_wstring(lead / 1440) + L"日前";
    if (lead % 60 == 0) return std::to_wstring(lead / 60) + L"時間前";
    return std::to_wstring(lead) + L"分前";
}

}  // namespace tavro::reminders
