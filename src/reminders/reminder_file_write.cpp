// Writing reminders.ics: an unchanged reminder's event as it was read; a changed one with only the
// properties of what changed rewritten; a new one in full.
#include <algorithm>

#include "reminders/recurrence_text.h"
#include "reminders/reminder_file.h"
#include "reminders/wide_text.h"

namespace tavro::reminders {
namespace {

Reminder withoutSource(Reminder r) {
    r.source.reset();
    return r;
}

// Puts `replacement` where the first property of that name was, dropping the others of the name;
// appends it when there was none; nullopt removes them all.
void setProperty(IcsComponent& c, std::string_view name, std::optional<IcsProperty> replacement) {
    auto& props = c.properties;
    auto first = std::find_if(props.begin(), props.end(), [&](const IcsProperty& p) { return equalsNoCase(p.name, name); });
    if (first == props.end()) {
        if (replacement) props.push_back(std::move(*replacement));
        return;
    }
    const auto index = first - props.begin();
    props.erase(std::remove_if(props.begin() + index + 1, props.end(), [&](const IcsProperty& p) { return equalsNoCase(p.name, name); }),
                props.end());
    if (replacement) props[static_cast<std::size_t>(index)] = std::move(*replacement);
    else props.erase(props.begin() + index);
}

IcsProperty momentProperty(std::string name, LocalMinute m, bool wholeDay) {
    if (wholeDay) return {std::move(name), ";VALUE=DATE", formatIcsDate(dayOf(m))};
    return {std::move(name), "", formatIcsDateTime(m)};
}

std::optional<IcsProperty> flag(std::string name, bool on) {
    if (!on) return std::nullopt;
    return IcsProperty{std::move(name), "", "TRUE"};
}

std::optional<IcsProperty> exceptionsProperty(const Reminder& r) {
    if (r.exceptions.empty()) return std::nullopt;
    IcsProperty p{"EXDATE", r.wholeDay ? ";VALUE=DATE" : "", ""};
    for (LocalMinute m : r.exceptions) {
        if (!p.value.empty()) p.value += ',';
        p.value += r.wholeDay ? formatIcsDate(dayOf(m)) : formatIcsDateTime(m);
    }
    return p;
}

void writeRepeat(IcsComponent& ev, const Reminder& r) {
    if (r.repeat == Repeat::Unsupported) return;  // the rule stays as the file had it
    std::optional<IcsProperty> rrule, old;
    if (r.repeat == Repeat::Rule) rrule = IcsProperty{"RRULE", "", formatRecurrenceRule(r.rule, r.wholeDay)};
    if (r.repeat == Repeat::OldCalendarYearly) {
        RecurrenceRule yearly;
        yearly.frequency = Frequency::Yearly;
        yearly.interval = r.rule.interval;
        yearly.count = r.rule.count;
        yearly.until = r.rule.until;
        old = IcsProperty{"X-TAVRO-OLD-CALENDAR", "", formatRecurrenceRule(yearly, r.wholeDay)};
    }
    setProperty(ev, "RRULE", rrule);
    setProperty(ev, "X-TAVRO-OLD-CALENDAR", old);
}

// DTEND moves with the start; it goes when the start changes between a day and a time, or when
// it could not be read.
void moveEnd(IcsComponent& ev, const Reminder& r, const EventSource& source) {
    if (!ev.find("DTEND")) return;
    const Reminder& before = source.asRead;
    if (r.wholeDay != before.wholeDay || !source.end) {
        setProperty(ev, "DTEND", std::nullopt);
        return;
    }
    setProperty(ev, "DTEND", momentProperty("DTEND", *source.end + (r.start - before.start), r.wholeDay));
}

void writeAlarm(IcsComponent& ev, const Reminder& r, int alarmIndex) {
    if (!r.alarmOffset) {
        if (alarmIndex >= 0) ev.components.erase(ev.components.begin() + alarmIndex);
        return;
    }
    IcsComponent fresh{"VALARM", {}, {}};
    IcsComponent& alarm = alarmIndex >= 0 ? ev.components[static_cast<std::size_t>(alarmIndex)] : fresh;
    const bool audio = r.sound.kind != SoundKind::None;
    setProperty(alarm, "ACTION", IcsProperty{"ACTION", "", audio ? "AUDIO" : "DISPLAY"});
    setProperty(alarm, "TRIGGER", IcsProperty{"TRIGGER", "", formatIcsDuration(*r.alarmOffset)});
    std::optional<IcsProperty> attach;
    if (r.sound.kind == SoundKind::File) attach = IcsProperty{"ATTACH", "", fileUriFromPath(r.sound.path)};
    setProperty(alarm, "ATTACH", attach);
    std::optional<IcsProperty> description;
    if (!audio) description = IcsProperty{"DESCRIPTION", "", escapeIcsText(utf8FromWide(r.title))};
    setProperty(alarm, "DESCRIPTION", description);
    if (alarmIndex < 0) ev.components.push_back(std::move(fresh));
}

// The properties of what differs from `before` (everything for a new reminder).
IcsComponent eventOf(const Reminder& r, std::string_view nowUtc) {
    const Reminder* before = r.source ? &r.source->asRead : nullptr;
    IcsComponent ev = r.source ? r.source->event : IcsComponent{"VEVENT", {}, {}};
    const int alarmIndex = r.source ? r.source->alarmIndex : -1;
    const bool isNew = before == nullptr;
    if (isNew || r.uid != before->uid) setProperty(ev, "UID", IcsProperty{"UID", "", r.uid});
    setProperty(ev, "DTSTAMP", IcsProperty{"DTSTAMP", "", std::string(nowUtc)});
    if (isNew || r.title != before->title) {
        setProperty(ev, "SUMMARY", IcsProperty{"SUMMARY", "", escapeIcsText(utf8FromWide(r.title))});
    }
    const bool startChanged = isNew || r.start != before->start || r.wholeDay != before->wholeDay;
    if (startChanged) {
        setProperty(ev, "DTSTART", momentProperty("DTSTART", r.start, r.wholeDay));
        if (!isNew) moveEnd(ev, r, *r.source);
    }
    if (isNew || r.repeat != before->repeat || r.rule != before->rule || r.wholeDay != before->wholeDay) writeRepeat(ev, r);
    if (startChanged || r.exceptions != before->exceptions) setProperty(ev, "EXDATE", exceptionsProperty(r));
    if (isNew || r.skipHolidays != before->skipHolidays) setProperty(ev, "X-TAVRO-SKIP-HOLIDAYS", flag("X-TAVRO-SKIP-HOLIDAYS", r.skipHolidays));
    if (isNew || r.snoozeMinutes != before->snoozeMinutes) {
        std::optional<IcsProperty> snooze;
        if (r.snoozeMinutes != kDefaultSnoozeMinutes) snooze = IcsProperty{"X-TAVRO-SNOOZE", "", std::to_string(r.snoozeMinutes)};
        setProperty(ev, "X-TAVRO-SNOOZE", snooze);
    }
    if (isNew || r.off != before->off) setProperty(ev, "X-TAVRO-OFF", flag("X-TAVRO-OFF", r.off));
    if (isNew || r.alarmOffset != before->alarmOffset || r.sound != before->sound ||
        (r.sound.kind == SoundKind::None && r.title != before->title)) {
        writeAlarm(ev, r, alarmIndex);
    }
    if (ev.find("LAST-MODIFIED")) setProperty(ev, "LAST-MODIFIED", IcsProperty{"LAST-MODIFIED", "", std::string(nowUtc)});
    if (const IcsProperty* sequence = ev.find("SEQUENCE")) {
        int n = 0;
        for (char c : sequence->value) n = (c >= '0' && c <= '9' && n < 100000000) ? n * 10 + (c - '0') : n;
        setProperty(ev, "SEQUENCE", IcsProperty{"SEQUENCE", "", std::to_string(n + 1)});
    }
    return ev;
}

}  // namespace

bool isChanged(const Reminder& reminder) {
    return !reminder.source || withoutSource(reminder) != reminder.source->asRead;
}

bool sameReminder(const Reminder& a, const Reminder& b) {
    if (withoutSource(a) != withoutSource(b)) return false;
    if (!a.source || !b.source) return !a.source && !b.source;
    return a.source->event == b.source->event;
}

std::string writeReminderFile(const ReminderFile& file, std::string_view nowUtc) {
    IcsComponent calendar = file.calendar;
    if (calendar.name.empty()) calendar = emptyReminderFile().calendar;
    for (const Reminder& r : file.reminders) calendar.components.push_back(isChanged(r) ? eventOf(r, nowUtc) : r.source->event);
    return writeIcs(calendar);
}

}  // namespace tavro::reminders
