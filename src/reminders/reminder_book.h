// What the list window, the edit dialog and the 暦 window ask of the user's reminders: the set as
// it stands, the file's state, and the changes, each saved as it is made.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date_value.h"
#include "reminders/reminder_set.h"

namespace tavro::reminders {

class ReminderBook {
public:
    virtual ~ReminderBook() = default;
    virtual std::shared_ptr<const ReminderSet> sharedSet() const = 0;
    // The file could not be read: nothing is written over it until startAnew.
    virtual bool fileIsBroken() const = 0;
    virtual std::wstring filePath() const = 0;
    // Adds the reminder or replaces the one of its UID; false when it could not be saved.
    virtual bool put(Reminder reminder) = 0;
    virtual bool remove(std::string_view uid) = 0;
    virtual bool setEnabled(std::string_view uid, bool on) = 0;
    // Moves a broken file aside and starts with no reminders.
    virtual bool startAnew() = 0;
    // A day's reminders as 「10:00 会議」, in time order.
    virtual std::vector<std::wstring> dayLines(datetime::DateValue day) const = 0;
    // Called after every change, the clock's own and the file's.
    virtual void onChanged(std::function<void()> callback) = 0;
};

}  // namespace tavro::reminders
