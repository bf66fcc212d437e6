// Reads a reminders.ics and prints what the clock makes of it, for the cross-check against
// python3-dateutil and python3-icalendar (tests/reminders/check_against_dateutil.py):
//   reminders_dump occurrences FILE FIRST_YEAR LAST_YEAR LIMIT
//       R <uid> <repeat 0..3> <whole day 0/1> <alarm offset or -> <sound 0..2>
//       T <title, newlines as \n>
//       O <yyyymmdd[Thhmm]>           each occurrence in the years, at most LIMIT per reminder
//   reminders_dump regenerate IN OUT   writes IN again with every reminder's own properties rewritten
//   reminders_dump rewrite IN OUT      writes IN again as the clock does when nothing changed
// A file the clock refuses prints "E <error number> <line>" and exits with 1.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "reminders/ics_values.h"
#include "reminders/reminder_file.h"
#include "reminders/schedule.h"
#include "reminders/wide_text.h"

using namespace tavro::reminders;

namespace {

std::string readAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int printOccurrences(const ReminderFile& file, int firstYear, int lastYear, std::size_t limit) {
    const LocalMinute from = minuteFromCivil(firstYear, 1, 1);
    const LocalMinute to = minuteFromCivil(lastYear + 1, 1, 1);
    for (const Reminder& r : file.reminders) {
        std::printf("R %s %d %d %s %d\n", r.uid.c_str(), static_cast<int>(r.repeat), r.wholeDay ? 1 : 0,
                    r.alarmOffset ? std::to_string(*r.alarmOffset).c_str() : "-", static_cast<int>(r.sound.kind));
        std::string title = utf8FromWide(r.title);
        for (std::size_t i = 0; (i = title.find('\n', i)) != std::string::npos;) title.replace(i, 1, "\\n");
        std::printf("T %s\n", title.c_str());
        const Schedule schedule(r, nullptr);
        for (LocalMinute m : schedule.between(from, to, limit)) {
            std::printf("O %s\n", (r.wholeDay ? formatIcsDate(dayOf(m)) : formatIcsDateTime(m).substr(0, 13)).c_str());
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "occurrences" && argc == 6) || ((mode == "regenerate" || mode == "rewrite") && argc == 4))) {
        std::fprintf(stderr, "usage: reminders_dump occurrences FILE FIRST_YEAR LAST_YEAR LIMIT | regenerate IN OUT | rewrite IN OUT\n");
        return 2;
    }
    ReminderFileRead read = readReminderFile(readAll(argv[2]));
    if (read.error != IcsError::None) {
        std::printf("E %d %zu\n", static_cast<int>(read.error), read.line);
        return 1;
    }
    if (mode == "occurrences") return printOccurrences(read.file, std::atoi(argv[3]), std::atoi(argv[4]), std::strtoul(argv[5], nullptr, 10));
    if (mode == "regenerate") {
        for (Reminder& r : read.file.reminders) {
            auto source = std::make_shared<EventSource>(*r.source);
            source->asRead = Reminder{};  // nothing equal: every property the clock owns is written anew
            source->asRead.start = -1;
            source->asRead.snoozeMinutes = -1;
            source->asRead.off = !r.off;
            source->asRead.skipHolidays = !r.skipHolidays;
            r.source = source;
        }
    }
    std::ofstream(argv[3], std::ios::binary) << writeReminderFile(read.file, "20260101T000000Z");
    return 0;
}
