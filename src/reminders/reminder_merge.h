// A file changed on disk (another program, a sync tool) while the clock holds changes of its own
// not yet written: a three-way merge by reminder. For each reminder (by UID and RECURRENCE-ID):
// changed on one side only, that side's version; changed on both, the clock's (a conflict);
// deleted on one side and unchanged on the other, deleted; deleted on one side and changed on
// the other, the changed one (a conflict: nothing the user wrote is lost); added on either, kept.
// The calendar's other components and properties are the disk's.
#pragma once

#include <cstddef>

#include "reminders/reminder_file.h"

namespace tavro::reminders {

struct MergeResult {
    ReminderFile file;           // write this, then read it back as the next base
    std::size_t conflicts = 0;   // reminders changed on both sides (or changed on one, deleted on the other)
};

// base: the file as the clock last read or wrote it; mine: the clock's reminders now (edited from
// base); theirs: the file as read from disk now.
MergeResult mergeReminderFiles(const ReminderFile& base, const ReminderFile& mine, const ReminderFile& theirs);

}  // namespace tavro::reminders
