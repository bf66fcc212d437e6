// The 暦 window: a month of days with 六曜, holidays, solar terms, old-calendar dates and the
// day's notes (干支, the Moon, 雑節, 選日, each group shown by the user's choice), paged by buttons,
// keys and the wheel, with 「次の…」 to the next day of a kind (F3, Shift+F3). The month is painted
// by the window in one pass; each day is still a child control over its cell whose text, asked
// with WM_GETTEXT, is the day's full description from the month model, so screen readers read it
// and other programs can ask for it. The selected day has the keyboard focus; Tab goes on to
// 「◀」 「今日」 「▶」.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "almanac/note_search.h"
#include "almanac_window/almanac_look_win32.h"
#include "almanac_window/almanac_menu_win32.h"
#include "almanac_window/almanac_month.h"
#include "almanac_window/almanac_paint_win32.h"
#include "almanac_window/almanac_search.h"
#include "holidays/holiday_days.h"

namespace tavro::almanac_window {

// The user's reminders as the window shows them: a day's lines (「10:00 会議」, in time order) in
// its cell as far as they fit and all of them in its text, and the edit dialog for a new one on a day.
struct AlmanacReminders {
    calendar::DayExtraLines dayLines;
    std::function<void(HWND owner, DateValue day)> addOnDay;
};

class AlmanacWindow {
public:
    // Opens on the month of selectDay (today when none) with that day selected; nothing when the
    // window cannot be made.
    static std::unique_ptr<AlmanacWindow> create(HINSTANCE instance, HWND clock, DateValue today,
                                                 std::optional<DateValue> selectDay,
                                                 std::shared_ptr<const holidays::HolidayList> list,
                                                 WeekStart weekStart = WeekStart::Sunday,
                                                 AlmanacReminders reminders = {});
    ~AlmanacWindow();
    AlmanacWindow(const AlmanacWindow&) = delete;
    AlmanacWindow& operator=(const AlmanacWindow&) = delete;

    bool isOpen() const { return hwnd_ != nullptr; }
    // Brought to the front as it is.
    void bringToFront();
    // The clock's date: the today frame moves; the month follows when it showed the old today's.
    void showToday(DateValue today);
    // A newer holiday list from the clock's keeper.
    void takeList(std::shared_ptr<const holidays::HolidayList> list);
    // The week's first day: the header row and the grid laid out anew.
    void setWeekStart(WeekStart weekStart);
    // The reminders changed: the days' lines and texts anew.
    void refreshDays();

private:
    enum : int { kHeaderId = 100, kPreviousId, kTodayId, kNextId, kStatusId, kFirstDayId = 200 };

    AlmanacWindow(HINSTANCE instance, DateValue today) : instance_(instance), today_(today) {}
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK dayProc(HWND day, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR cell,
                                    DWORD_PTR self) noexcept;
    static LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) noexcept;
    LRESULT answerText(int cell, WPARAM size, LPARAM buffer) const;

    bool makeControls();
    void applyLook();
    void layout();
    // The day selected, and its month shown when it is another than the one shown. The focus
    // follows it from a day, or with takeFocus from anywhere in the window.
    void select(CivilDate day, bool takeFocus = false);
    void showMonth(int year, int month);
    void pageMonths(int months);
    bool onKey(WPARAM key);
    void onCommand(int id, bool byKeyboard);
    void onWheel(int delta);
    void onPaint();
    void onContextMenu(HWND from, LPARAM at);
    void onMenuChoice(const MenuChoice& choice);
    void find(almanac::SearchDirection direction);
    void toggleGroup(almanac::NoteGroup group);
    void moveFocus(bool back);
    void restoreFocus();
    void invalidateCell(int cell);
    void dropDayPaints();
    void announceFocusedDay();
    void copySelected() const;
    HWND selectedControl() const;
    int cellOf(const CivilDate& day) const;
    int cellOfControl(HWND control) const;
    POINT menuPointOf(HWND control) const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND header_ = nullptr, previous_ = nullptr, todayButton_ = nullptr, next_ = nullptr, status_ = nullptr;
    HWND lastFocus_ = nullptr;  // where the focus was when the window was left
    std::array<HWND, kCells> days_{};
    DateValue today_;
    WeekStart weekStart_ = WeekStart::Sunday;
    CivilDate selected_{};
    AlmanacMonth model_;
    almanac::NoteGroups shown_;
    holidays::FeedOrComputedHolidays holidays_;  // the list, else the act's rules: never the network
    AlmanacSearch search_;
    std::optional<almanac::DayKind> lastKind_;  // what F3 looks for
    WheelMonths wheel_;
    int dpi_ = 96;
    AlmanacLook look_;
    AlmanacLayout layout_;
    AlmanacPainter painter_;
    AlmanacReminders reminders_;
    RECT normalRect_{};  // the last place neither minimised nor maximised, kept at closing
};

}  // namespace tavro::almanac_window
