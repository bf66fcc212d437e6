// The 暦 window: a month of days with 六曜, holidays, solar terms and old-calendar dates, paged by
// buttons, keys and the wheel. Each day is a child control whose window text is the day's full
// description, so screen readers read it and other programs can ask for it with WM_GETTEXT.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "almanac_window/almanac_look_win32.h"
#include "almanac_window/almanac_month.h"
#include "holidays/holiday_days.h"

namespace tavro::almanac_window {

class AlmanacWindow {
public:
    // Opens on the month of selectDay (today when none) with that day selected; nothing when the
    // window cannot be made.
    static std::unique_ptr<AlmanacWindow> create(HINSTANCE instance, HWND clock, DateValue today,
                                                 std::optional<DateValue> selectDay,
                                                 std::shared_ptr<const holidays::HolidayList> list,
                                                 WeekStart weekStart = WeekStart::Sunday);
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

private:
    AlmanacWindow(HINSTANCE instance, DateValue today) : instance_(instance), today_(today) {}
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK dayProc(HWND day, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR cell,
                                    DWORD_PTR self);

    bool makeControls();
    void applyLook();
    void layout();
    // The day selected, and its month shown when it is another than the one shown.
    void select(CivilDate day);
    void showMonth(int year, int month);
    void pageMonths(int months);
    bool onKey(WPARAM key);
    void onCommand(int id);
    void onWheel(int delta);
    void onPaint();
    void drawDay(const DRAWITEMSTRUCT& item) const;
    void copySelected() const;
    HWND selectedControl() const;
    int cellOf(const CivilDate& day) const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND header_ = nullptr, previous_ = nullptr, todayButton_ = nullptr, next_ = nullptr;
    std::array<HWND, kCells> days_{};
    RECT weekdays_{};  // the row of weekday names, painted by the window itself
    RECT grid_{};      // the day controls
    DateValue today_;
    WeekStart weekStart_ = WeekStart::Sunday;
    CivilDate selected_{};
    AlmanacMonth model_;
    holidays::FeedOrComputedHolidays holidays_;  // the list, else the act's rules: never the network
    WheelMonths wheel_;
    int dpi_ = 96;
    AlmanacLook look_;
    RECT normalRect_{};  // the last place neither minimised nor maximised, kept at closing
};

}  // namespace tavro::almanac_window
