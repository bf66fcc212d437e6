// The clock window: start-up, the tick, painting and shutdown.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "almanac_window/almanac_window_win32.h"
#include "app/calendar_tooltip_win32.h"
#include "app/canvas_clock_painter.h"
#include "app/clock_drag_win32.h"
#include "app/clock_tick.h"
#include "app/layout.h"
#include "app/menu_texts.h"
#include "app/shell_watch_win32.h"
#include "calendar/day_texts.h"
#include "desktop/clock_place.h"
#include "desktop/desktop_changes_win32.h"
#include "desktop/desktop_follower_win32.h"
#include "dialogs/settings_session.h"
#include "holidays/feed_keeper_win32.h"
#include "holidays/holiday_days.h"
#include "holidays/holiday_list_keeper_win32.h"
#include "notify/clock_notifier_win32.h"
#include "reminders/reminder_keeper_win32.h"
#include "render/canvas.h"
#include "render/dib_canvas_win32.h"
#include "reminders/reminder_list_window_win32.h"
#include "settings/clock_look.h"

namespace tavro::app {

// State shared by the whole program.
struct Program {
    DateValue targetDateValue = 0;
};

class FrmMain {
public:
    // Nothing when the window or its canvas cannot be made.
    static std::unique_ptr<FrmMain> create(HINSTANCE instance, Program& program);
    ~FrmMain();
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    FrmMain(HINSTANCE instance, Program& program) : instance_(instance), program_(program) {}
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool createWindow();
    // The clock's place (frm_main_place_win32.cpp): where the stored place says on the monitors
    // there are now, at that monitor's scale.
    void placeWindow();
    // The scale of the monitor the clock stands on; the panels drawn anew when it changed.
    void takeScale(int dpi);
    void onDropped(const desktop::ScreenRect& where);
    void resetPlace();
    // Off: the desktop as it was found, at once; on: the mosaic wallpaper and colour, as at start.
    void setChangeWallpaper(bool on, bool store = true);
    void showWindow();
    void attachToDesktop();
    // The clock went to another host: its place there, and the DPI read again (a parent in
    // another process may have reset the process's awareness).
    void onAttached();
    void recreateWindow();
    void onShellRestarted();
    bool Form_Load();
    void loadPictures();
    // The screen-sized mosaic with the logo at the work area's corner, at the present scale.
    render::Image paintDesktopPicture();
    // The panel canvas at the present scale: the mosaic, the static parts, then every field
    // drawn anew.
    bool buildPanels();
    // Resolution, work area or scaling changed: new desktop picture, place and panels.
    void onDisplayChanged();
    void Form_Unload();
    // The tick, then the repaint of what it drew and the timer armed for the next second.
    void tickRepaintAndRearm();
    void armTimer();
    // The clock was set or the machine woke: tick at once.
    void onClockMoved();
    // What the holiday list and the feed have brought, drawn; the downloads due started.
    void pumpFeed();
    void drawCalendarThenFetchHolidays(DateValue now);
    void showNewTarget();
    // The day tooltips: made with each window, placed at the present scale.
    void attachDayTooltips();
    void onPaint();
    void invalidate(const DirtyRect& dirty);

    // The popup menu and what its items do (frm_main_menu_win32.cpp).
    void onRightClick();
    // The menu at a screen point, from the clock or from the notification-area icon.
    void openMenuAt(POINT at);
    void runMenuCommand(unsigned command);
    // The check marks the menu shows at its next opening.
    MenuChecks menuChecks() const;
    // A view item: the window's height, the check mark and the stored viewMode.
    void setViewMode(ViewMode mode);
    // The 暦 window opened on selectDay's month (today's when none), or the open one brought to the front.
    void openAlmanacWindow(std::optional<DateValue> selectDay);
    // A double click on the calendar panel opens it, on the day under the pointer if any.
    void onDoubleClick(int x, int y);
    // The user's reminders (frm_main_reminder_list_win32.cpp): their list, and what the 暦 window
    // shows and offers of them.
    void openReminderList();
    almanac_window::AlmanacReminders almanacReminders();
    // The notification-area icon and the notice at zero (frm_main_notify_win32.cpp).
    void startNotifier();
    // The reminders' keeper (frm_main_reminders_win32.cpp): made at start, told of the holidays;
    // its changes shown on the calendar, in the day tooltips and the icon's tip.
    void startReminders();
    void remindersChanged();
    calendar::DayExtraLines reminderLines() const;
    // The days of the calendar's month with a reminder, for their marks.
    std::vector<DateValue> reminderDays(DateValue inMonth) const;
    // The settings window and the looks it shows at once (frm_main_settings_win32.cpp).
    void openSettingsWindow();
    void showSettings(const dialogs::ClockSettings& settings);
    desktop::HostChoices hostChoices() const;
    calendar::WeekStart weekStart() const;
    // The day tooltips' font follows the clock's size.
    int tooltipDpi() const { return clockDpi_ * look_.scalePercent / 100; }

    HINSTANCE instance_;
    Program& program_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<ShellWatch> watch_;
    std::unique_ptr<desktop::DesktopFollower> follower_;
    bool unloaded_ = false;
    ViewMode viewMode_ = ViewCountdown;
    float drawScale_ = 0.5f;  // of the monitor the clock stands on
    int clockDpi_ = 96;
    float wallScale_ = 0.5f;  // of the desktop picture: the primary monitor's
    SIZE wallSize_{};          // of the desktop picture: the screen's
    std::optional<desktop::StoredPlace> storedPlace_;
    bool placeShownDefault_ = false;  // the settings window shows the default place, not yet kept
    settings::ClockLook look_;
    int panelsBuilt_ = 0;  // how often the panels were drawn anew
    // As the clock was last placed: the display-change messages can come before the monitors
    // (a work area above all) tell the new screen, so each tick compares them.
    std::vector<desktop::MonitorInfo> placedOn_;
    int wholeRepaints_ = 0;  // ticks left that draw the whole clock again
    bool changeWallpaper_ = true;
    ClockDrag drag_{[this](const desktop::ScreenRect& where) { onDropped(where); }};
    std::unique_ptr<render::DibCanvas> canvas_;
    render::Image img7seg_;    // the glyph sheet
    render::Image imgTMwaku_;  // the frame picture
    render::Image imgMosaic_;  // the mosaic tile
    render::Image picTavro_;   // the logo
    ClockState state_;
    holidays::FeedKeeper feed_;
    DateValue calendarDate_ = 0;  // the date the calendar was drawn for
    holidays::FeedOrComputedHolidays holidays_;
    calendar::CalendarDayTexts dayTexts_;
    std::unique_ptr<CalendarTooltip> dayTooltips_;
    holidays::HolidayListKeeper holidayList_;
    std::unique_ptr<CanvasClockPainter> painter_;
    std::unique_ptr<desktop::DesktopChanges> desktop_;
    std::unique_ptr<almanac_window::AlmanacWindow> almanac_;
    std::unique_ptr<notify::ClockNotifier> notifier_;
    std::unique_ptr<reminders::ReminderKeeper> reminders_;
    std::unique_ptr<reminders::ReminderListWindow> reminderList_;
};

}  // namespace tavro::app
