// The user's reminders in %APPDATA%\TavroClock\reminders.ics for the list, the editor and the 暦
// window: read at start, written at each change to a temporary file renamed over the old one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "reminders/reminder_book.h"
#include "reminders/reminder_file.h"

namespace tavro::app {

class ReminderFileBook final : public reminders::ReminderBook {
public:
    ReminderFileBook();
    std::shared_ptr<const reminders::ReminderSet> sharedSet() const override { return set_; }
    bool fileIsBroken() const override { return broken_; }
    std::wstring filePath() const override { return path_; }
    bool put(reminders::Reminder reminder) override;
    bool remove(std::string_view uid) override;
    bool setEnabled(std::string_view uid, bool on) override;
    bool startAnew() override;
    std::vector<std::wstring> dayLines(datetime::DateValue day) const override;
    void onChanged(std::function<void()> callback) override { changed_ = std::move(callback); }

private:
    bool save(reminders::ReminderFile next);

    std::wstring path_;
    bool broken_ = false;
    reminders::ReminderFile file_;
    std::shared_ptr<const reminders::ReminderSet> set_;
    std::function<void()> changed_;
};

}  // namespace tavro::app
