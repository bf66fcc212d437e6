#include "reminders/reminder_merge.h"

#include <map>

namespace tavro::reminders {
namespace {

std::map<std::string, const Reminder*> byKey(const ReminderFile& file) {
    std::map<std::string, const Reminder*> out;
    for (const Reminder& r : file.reminders) out.emplace(reminderKey(r), &r);
    return out;
}

const Reminder* lookup(const std::map<std::string, const Reminder*>& m, const std::string& key) {
    const auto it = m.find(key);
    return it == m.end() ? nullptr : it->second;
}

}  // namespace

MergeResult mergeReminderFiles(const ReminderFile& base, const ReminderFile& mine, const ReminderFile& theirs) {
    MergeResult result;
    result.file.calendar = theirs.calendar;
    result.file.unusableEvents = theirs.unusableEvents;
    const auto baseKeys = byKey(base), mineKeys = byKey(mine), theirKeys = byKey(theirs);
    for (const Reminder& t : theirs.reminders) {
        const std::string key = reminderKey(t);
        const Reminder* b = lookup(baseKeys, key);
        const Reminder* m = lookup(mineKeys, key);
        const bool theirsChanged = !b || !sameReminder(t, *b);
        if (!m) {  // deleted here, or added there
            if (!b || theirsChanged) result.file.reminders.push_back(t);
            if (b && theirsChanged) ++result.conflicts;
            continue;
        }
        const bool mineChanged = !b || isChanged(*m) || !sameReminder(*m, *b);
        if (!mineChanged) {
            result.file.reminders.push_back(t);
        } else if (!theirsChanged || sameReminder(*m, t)) {
            result.file.reminders.push_back(*m);
        } else {
            result.file.reminders.push_back(*m);
            ++result.conflicts;
        }
    }
    for (const Reminder& m : mine.reminders) {
        const std::string key = reminderKey(m);
        if (lookup(theirKeys, key)) continue;
        const Reminder* b = lookup(baseKeys, key);
        if (!b) {
            result.file.reminders.push_back(m);  // added here
        } else if (isChanged(m) || !sameReminder(m, *b)) {
            result.file.reminders.push_back(m);  // changed here, deleted there
            ++result.conflicts;
        }
    }
    return result;
}

}  // namespace tavro::reminders
