// Reading reminders.ics: each VEVENT the clock can show becomes a Reminder with its source kept.
#include <algorithm>
#include <cstdio>

#include "reminders/recurrence_text.h"
#include "reminders/reminder_file.h"
#include "reminders/wide_text.h"

namespace tavro::reminders {
namespace {

const int64_t kEarliestStartDay = datetime::daysFromCivil(1600, 1, 1);

bool isTrue(const IcsComponent& c, std::string_view name) {
    const IcsProperty* p = c.find(name);
    return p && (equalsNoCase(p->value, "TRUE") || p->value == "1");
}

uint64_t fnv1a(std::string_view s, uint64_t h = 1469598103934665603ULL) {
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ULL;
    return h;
}

struct Moment {
    LocalMinute minute = 0;
    bool wholeDay = false;
};

std::optional<Moment> momentOf(std::string_view value, const IcsProperty& p, const TimeContext& context) {
    const auto v = parseIcsDateTime(value);
    if (!v) return std::nullopt;
    const auto kind = parameterOf(p, "VALUE");
    if (kind && equalsNoCase(*kind, "DATE") && v->hasTime) return std::nullopt;
    const auto tzid = parameterOf(p, "TZID");
    return Moment{localMinuteOf(*v, tzid ? std::optional<std::string_view>(*tzid) : std::nullopt, context), !v->hasTime};
}

// The starts listed by EXDATE or RDATE lines, as this reminder's starts (a date on a timed
// reminder means its time on that day).
std::vector<LocalMinute> listedStarts(const IcsComponent& ev, std::string_view name, const Reminder& r, const TimeContext& context) {
    std::vector<LocalMinute> out;
    for (const IcsProperty& p : ev.properties) {
        if (!equalsNoCase(p.name, name)) continue;
        std::string_view rest = p.value;
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            if (item.find('/') != std::string_view::npos) continue;  // a PERIOD
            const auto m = momentOf(item, p, context);
            if (!m) continue;
            if (r.wholeDay) out.push_back(dayOf(m->minute) * kMinutesPerDay);
            else if (m->wholeDay) out.push_back(m->minute + minuteOfDay(r.start));
            else out.push_back(m->minute);
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// The alarm and sound of the first VALARM the clock can tell; -1 when there is none.
int readAlarm(const IcsComponent& ev, Reminder& r, const TimeContext& context) {
    for (std::size_t i = 0; i < ev.components.size(); ++i) {
        const IcsComponent& alarm = ev.components[i];
        if (!equalsNoCase(alarm.name, "VALARM")) continue;
        const IcsProperty* action = alarm.find("ACTION");
        const IcsProperty* trigger = alarm.find("TRIGGER");
        if (!action || !trigger) continue;
        const bool audio = equalsNoCase(action->value, "AUDIO");
        if (!audio && !equalsNoCase(action->value, "DISPLAY")) continue;
        std::optional<int64_t> offset;
        if (const auto when = parseIcsDateTime(trigger->value); when && when->hasTime) {
            if (r.repeat == Repeat::None) offset = localMinuteOf(*when, std::nullopt, context) - r.start;  // an absolute time
        } else if (const auto seconds = parseIcsDuration(trigger->value)) {
            const auto related = parameterOf(*trigger, "RELATED");
            const bool fromEnd = related && equalsNoCase(*related, "END");
            if (!fromEnd || (!ev.find("DTEND") && !ev.find("DURATION"))) offset = floorDiv(*seconds, 60);
        }
        if (!offset || *offset > kMaxAlarmOffsetMinutes || *offset < -kMaxAlarmOffsetMinutes) continue;
        r.alarmOffset = static_cast<int>(*offset);
        r.sound = Sound{audio ? SoundKind::SystemAlarm : SoundKind::None, {}};
        if (const IcsProperty* attach = alarm.find("ATTACH"); audio && attach) {
            if (const auto path = pathFromFileUri(attach->value)) r.sound = Sound{SoundKind::File, *path};
        }
        return static_cast<int>(i);
    }
    return -1;
}

void readRepeat(const IcsComponent& ev, Reminder& r, const TimeContext& context) {
    const UntilContext until{context.localOffsetMinutes};
    if (const IcsProperty* old = ev.find("X-TAVRO-OLD-CALENDAR")) {
        const auto rule = parseRecurrenceRule(old->value, until);
        r.repeat = rule && rule->frequency == Frequency::Yearly ? Repeat::OldCalendarYearly : Repeat::Unsupported;
        if (rule) r.rule = *rule;
        return;
    }
    const auto rules = std::count_if(ev.properties.begin(), ev.properties.end(),
                                     [](const IcsProperty& p) { return equalsNoCase(p.name, "RRULE"); });
    if (rules == 0) return;
    const auto rule = rules == 1 ? parseRecurrenceRule(ev.find("RRULE")->value, until) : std::nullopt;
    r.repeat = rule ? Repeat::Rule : Repeat::Unsupported;
    if (rule) r.rule = *rule;
}

struct ReadEvent {
    Reminder reminder;
    int alarmIndex = -1;
    std::optional<LocalMinute> end;
    bool usable = false;
};

ReadEvent readEvent(const IcsComponent& ev, const TimeContext& context) {
    ReadEvent out;
    Reminder& r = out.reminder;
    const IcsProperty* dtstart = ev.find("DTSTART");
    const auto start = dtstart ? momentOf(dtstart->value, *dtstart, context) : std::nullopt;
    if (const IcsProperty* uid = ev.find("UID")) r.uid = uid->value;
    if (const IcsProperty* rid = ev.find("RECURRENCE-ID")) {
        if (const auto m = momentOf(rid->value, *rid, context)) r.recurrenceId = m->minute;
    }
    if (!start) return out;
    r.start = start->minute;
    r.wholeDay = start->wholeDay;
    if (r.uid.empty()) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "tavro-no-uid-%016llx",
                      static_cast<unsigned long long>(fnv1a(contentLine(*dtstart), fnv1a(ev.find("SUMMARY") ? ev.find("SUMMARY")->value : ""))));
        r.uid = buf;
    }
    if (const IcsProperty* summary = ev.find("SUMMARY")) r.title = wideFromUtf8(unescapeIcsText(summary->value));
    if (const IcsProperty* status = ev.find("STATUS"); status && equalsNoCase(status->value, "CANCELLED")) return out;
    const int64_t day = dayOf(r.start);
    if (day < kEarliestStartDay || day > kLastDay) return out;
    readRepeat(ev, r, context);
    r.exceptions = listedStarts(ev, "EXDATE", r, context);
    r.additions = listedStarts(ev, "RDATE", r, context);
    r.skipHolidays = isTrue(ev, "X-TAVRO-SKIP-HOLIDAYS");
    r.off = isTrue(ev, "X-TAVRO-OFF");
    if (const IcsProperty* snooze = ev.find("X-TAVRO-SNOOZE")) {
        if (snooze->value == "10" || snooze->value == "15") r.snoozeMinutes = std::stoi(snooze->value);
    }
    out.alarmIndex = readAlarm(ev, r, context);
    if (const IcsProperty* end = ev.find("DTEND")) {
        if (const auto m = momentOf(end->value, *end, context); m && m->wholeDay == r.wholeDay) out.end = m->minute;
    }
    out.usable = true;
    return out;
}

// Zones the file defines with one fixed offset (no daylight time).
void addFixedZones(const IcsComponent& calendar, TimeContext& context) {
    for (const IcsComponent& tz : calendar.components) {
        if (!equalsNoCase(tz.name, "VTIMEZONE")) continue;
        const IcsProperty* tzid = tz.find("TZID");
        const IcsProperty* offset = nullptr;
        bool daylight = false;
        for (const IcsComponent& part : tz.components) {
            daylight |= equalsNoCase(part.name, "DAYLIGHT");
            if (equalsNoCase(part.name, "STANDARD") && part.find("TZOFFSETTO")) offset = part.find("TZOFFSETTO");
        }
        if (!tzid || !offset || daylight) continue;
        const std::string& v = offset->value;  // +0900
        if (v.size() < 5 || (v[0] != '+' && v[0] != '-')) continue;
        int hh = 0, mm = 0;
        if (std::sscanf(v.c_str() + 1, "%2d%2d", &hh, &mm) != 2 || hh > 23 || mm > 59) continue;
        context.zoneOffsets.emplace_back(tzid->value, (v[0] == '-' ? -1 : 1) * (hh * 60 + mm));
    }
}

}  // namespace

ReminderFileRead readReminderFile(std::string_view bytes, const TimeContext& givenContext) {
    ReminderFileRead result;
    IcsReadResult ics = readIcs(bytes);
    result.error = ics.error;
    result.line = ics.line;
    if (ics.error != IcsError::None) return result;
    IcsComponent& calendar = ics.calendar;
    const auto events = std::count_if(calendar.components.begin(), calendar.components.end(),
                                      [](const IcsComponent& c) { return equalsNoCase(c.name, "VEVENT"); });
    if (static_cast<std::size_t>(events) > kMaxEvents) {
        result.error = IcsError::TooLarge;
        return result;
    }
    TimeContext context = givenContext;
    addFixedZones(calendar, context);

    ReminderFile& file = result.file;
    file.calendar.name = calendar.name;
    file.calendar.properties = std::move(calendar.properties);
    std::vector<std::shared_ptr<EventSource>> sources;
    std::vector<std::pair<std::string, LocalMinute>> overrides;  // UID, RECURRENCE-ID of events that replace one
    for (IcsComponent& child : calendar.components) {
        if (!equalsNoCase(child.name, "VEVENT")) {
            file.calendar.components.push_back(std::move(child));
            continue;
        }
        ReadEvent ev = readEvent(child, context);
        if (ev.reminder.recurrenceId && !ev.reminder.uid.empty()) overrides.emplace_back(ev.reminder.uid, *ev.reminder.recurrenceId);
        if (!ev.usable) {
            ++file.unusableEvents;
            file.calendar.components.push_back(std::move(child));
            continue;
        }
        auto source = std::make_shared<EventSource>();
        source->event = std::move(child);
        source->alarmIndex = ev.alarmIndex;
        source->end = ev.end;
        sources.push_back(source);
        file.reminders.push_back(std::move(ev.reminder));
    }
    for (const auto& [uid, rid] : overrides) {
        for (Reminder& r : file.reminders) {
            if (r.uid == uid && !r.recurrenceId) r.replaced.push_back(rid);
        }
    }
    for (std::size_t i = 0; i < file.reminders.size(); ++i) {
        Reminder& r = file.reminders[i];
        std::sort(r.replaced.begin(), r.replaced.end());
        sources[i]->asRead = r;
        r.source = sources[i];
    }
    return result;
}

ReminderFile emptyReminderFile() {
    ReminderFile file;
    file.calendar.name = "VCALENDAR";
    file.calendar.properties = {{"PRODID", "", "-//TavroClock//TavroClock//JA"}, {"VERSION", "", "2.0"}, {"CALSCALE", "", "GREGORIAN"}};
    return file;
}

}  // namespace tavro::reminders
