// The one list of the user's reminders, 「予定 - TavroClock」: title, next time, repeat and time
// left, sorted by the next time, a check box per row to turn one off without deleting it, and
// 「追加...」 「編集...」 「削除」. Double click or Enter edits, Delete deletes. A file that could not
// be read is named, with the offer to start anew. Not modal: the clock goes on meanwhile.
#pragma once

#include <windows.h>

#include <memory>

#include "reminders/reminder_book.h"

namespace tavro::reminders {

class ReminderListWindow {
public:
    ReminderListWindow(ReminderBook& book, bool weekStartsMonday);
    ~ReminderListWindow();
    ReminderListWindow(const ReminderListWindow&) = delete;
    ReminderListWindow& operator=(const ReminderListWindow&) = delete;

    // Opens it, or brings the open one to the front.
    void show();
    bool isOpen() const;
    // The book changed (the clock's own change or the file's): the rows anew.
    void refresh();
    void setWeekStart(bool weekStartsMonday);

private:
    class Box;
    std::unique_ptr<Box> box_;
};

// The edit dialog for a new reminder on a day, saved into the book; false when cancelled or not saved.
bool addReminderOnDay(HWND owner, ReminderBook& book, int64_t day, bool weekStartsMonday);

}  // namespace tavro::reminders
