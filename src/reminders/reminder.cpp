#include "reminders/reminder.h"

#include <cstdio>

#include "reminders/ics_values.h"
#include "reminders/wide_text.h"

namespace tavro::reminders {

std::string reminderKey(const Reminder& reminder) {
    if (!reminder.recurrenceId) return reminder.uid;
    return reminder.uid + "/" + formatIcsDateTime(*reminder.recurrenceId);
}

std::wstring editProblem(const Reminder& reminder) {
    const std::size_t length = characterCount(reminder.title);
    if (reminder.title.find_first_not_of(L" \t\r\n\u3000") == std::wstring::npos) return L"タイトルを入力してください。";
    if (length > kMaxTitleCharacters) return L"タイトルは 100 文字までです。";
    if (reminder.repeat == Repeat::Rule || reminder.repeat == Repeat::OldCalendarYearly) {
        if (reminder.rule.until && *reminder.rule.until < reminder.start) return L"終わりの日が始まりより前です。";
        if (reminder.rule.count < 0 || reminder.rule.count > 999) return L"回数は 1 から 999 までです。";
    }
    return L"";
}

Reminder newReminder(std::string uid, std::wstring title, LocalMinute start, bool wholeDay) {
    Reminder r;
    r.uid = std::move(uid);
    r.title = std::move(title);
    r.wholeDay = wholeDay;
    r.start = wholeDay ? dayOf(start) * kMinutesPerDay : start;
    r.alarmOffset = wholeDay ? kDefaultWholeDayAlarm : 0;
    return r;
}

std::string uidFromRandom(uint64_t high, uint64_t low) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%08llx-%04llx-%04llx-%04llx-%012llx@tavroclock", static_cast<unsigned long long>(high >> 32),
                  static_cast<unsigned long long>((high >> 16) & 0xFFFF), static_cast<unsigned long long>(high & 0xFFFF),
                  static_cast<unsigned long long>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
    return buf;
}

}  // namespace tavro::reminders
