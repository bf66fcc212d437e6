// Arbitrary bytes as reminders.ics and as the stored told text: no crash, no hang; a file that
// reads is written again and reads back to as many reminders; every reminder's schedule answers.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reminders/reminder_file.h"
#include "reminders/schedule.h"
#include "reminders/told_occurrences.h"

using namespace tavro::reminders;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ToldOccurrences told = ToldOccurrences::parse(bytes);
    if (ToldOccurrences::parse(told.text()) != told) std::abort();
    const ReminderFileRead read = readReminderFile(bytes);
    if (read.error != IcsError::None) {
        if (!read.file.reminders.empty()) std::abort();
        return 0;
    }
    const std::string written = writeReminderFile(read.file, "20260101T000000Z");
    const ReminderFileRead back = readReminderFile(written);
    if (back.error != IcsError::None || back.file.reminders.size() != read.file.reminders.size()) std::abort();
    const LocalMinute from = minuteFromCivil(2026, 1, 1);
    for (const Reminder& r : read.file.reminders) {
        const Schedule s(r, [](int64_t day) { return day % 7 == 0; });
        const auto next = s.nextAtOrAfter(from);
        const auto latest = s.latestIn(from - 400 * 1440, from);
        if ((next && *next < from) || (latest && *latest > from)) std::abort();
        s.between(from, from + 40 * 1440, 50);
    }
    return 0;
}
