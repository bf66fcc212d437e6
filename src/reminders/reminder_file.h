// The reminders as the file reminders.ics holds them: one VEVENT per reminder, what iCalendar
// cannot say in X-TAVRO- properties, and everything the clock does not use kept for the next write.
//
//   X-TAVRO-SKIP-HOLIDAYS:TRUE     祝日は除く
//   X-TAVRO-OLD-CALENDAR:FREQ=YEARLY;INTERVAL=1[;COUNT=n|;UNTIL=d]
//                                  毎年（旧暦）, instead of an RRULE (so that another program shows
//                                  the first day alone rather than wrong days)
//   X-TAVRO-SNOOZE:10              snooze minutes (5, 10, 15)
//   X-TAVRO-OFF:TRUE               turned off in the list
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reminders/ics_document.h"
#include "reminders/ics_values.h"
#include "reminders/reminder.h"

namespace tavro::reminders {

// The VEVENT a reminder was read from and the reminder as read: a reminder equal to `asRead` is
// written back exactly as it came; a changed one has its own properties replaced and the rest kept.
struct EventSource {
    IcsComponent event;
    Reminder asRead;     // its `source` empty
    int alarmIndex = -1; // the VALARM among event.components the reminder's alarm came from
    std::optional<LocalMinute> end;  // DTEND as read, made local: it moves with the start
};

struct ReminderFile {
    // The VCALENDAR's own properties and every component that is not a reminder (VTIMEZONE, VTODO,
    // events the clock cannot use), kept in order.
    IcsComponent calendar;
    std::vector<Reminder> reminders;
    std::size_t unusableEvents = 0;  // VEVENTs kept but not shown (no DTSTART, outside 1600..2100, cancelled)
};

inline constexpr std::size_t kMaxEvents = 10000;  // more VEVENTs than this: the file is refused (TooLarge)

struct ReminderFileRead {
    ReminderFile file;
    IcsError error = IcsError::None;  // None: `file` holds the file; else it is empty and must not be written over
    std::size_t line = 0;
};

// A file's bytes as reminders. The time context says how zoned and UTC times become local.
ReminderFileRead readReminderFile(std::string_view bytes, const TimeContext& context = {});

// A new, empty file's calendar (PRODID, VERSION, CALSCALE).
ReminderFile emptyReminderFile();

// The file's bytes. `nowUtc` (a UTC date-time as 20261210T010000Z) stamps DTSTAMP and LAST-MODIFIED
// of the reminders changed or made since they were read.
std::string writeReminderFile(const ReminderFile& file, std::string_view nowUtc);

// True when a reminder differs from what was read (or was made here): it will be rewritten.
bool isChanged(const Reminder& reminder);

// Same reminder in two reads: the same fields and the same kept event.
bool sameReminder(const Reminder& a, const Reminder& b);

}  // namespace tavro::reminders
