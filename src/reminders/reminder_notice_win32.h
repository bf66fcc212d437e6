// The reminders' notice windows 「TavroClock の予定」 and the one of missed reminders
// 「TavroClock の過ぎた予定」: at the bottom right of the work area, stacked, above other windows
// but shown without taking the keyboard focus; Tab, Enter and Esc once the user clicks one. A
// notice's sound loops until it is closed or a minute has passed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "reminders/alarm_sound_win32.h"
#include "reminders/reminder_notices.h"

namespace tavro::reminders {

class NoticeWindows {
public:
    // snooze: the notice's 「n分後にもう一度」 (the window closes itself).
    NoticeWindows(HINSTANCE instance, std::function<void(const DueNotice&)> snooze);
    ~NoticeWindows();
    NoticeWindows(const NoticeWindows&) = delete;
    NoticeWindows& operator=(const NoticeWindows&) = delete;

    void show(const DueNotice& notice);
    void showMissed(const std::vector<DueNotice>& missed);
    // The chime, unless a notice's sound loops.
    void chime(const std::wstring& file) { sound_.chime(file); }

    class Window;

private:
    friend class Window;
    void open(std::unique_ptr<Window> window);
    void closed(Window* window);

    HINSTANCE instance_;
    std::function<void(const DueNotice&)> snooze_;
    std::vector<std::unique_ptr<Window>> windows_;
    AlarmSound sound_;
    Window* sounding_ = nullptr;
};

}  // namespace tavro::reminders
