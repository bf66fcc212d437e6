#include "app/frm_main_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "app/local_time_win32.h"
#include "app/shell_watch_win32.h"
#include "app/static_panels.h"
#include "almanac_window/note_choices_win32.h"
#include "base/display_dpi_win32.h"
#include "base/owned_window_win32.h"
#include "base/window_class_win32.h"
#include "calendar/month_calendar.h"
#include "datetime/date_parser.h"
#include "desktop/clock_place_win32.h"
#include "desktop/desktop_changes_win32.h"
#include "render/frames.h"
#include "render/gdi_text_win32.h"
#include "render/picture_resources_win32.h"
#include "settings/registry_store.h"

namespace tavro::app {

namespace {
constexpr wchar_t kWindowClass[] = L"TavroClockMain";
constexpr wchar_t kWindowTitle[] = L"TavroClock";
// Posted by the feed's thread when its fetch ends.
constexpr UINT kFeedDone = WM_APP + 17;
// A Wine virtual desktop paints a new wallpaper over the top-level windows, on its own time (a
// second or more later under load), and tells them nothing: the clock is drawn whole at each tick
// for a while after it changed the wallpaper.
constexpr int kWholeRepaintTicks = 10;
}  // namespace

std::unique_ptr<FrmMain> FrmMain::create(HINSTANCE instance, Program& program) {
    base::registerWindowClass(instance, {
        .name = kWindowClass,
        .procedure = base::ownedWindowProc<FrmMain, &FrmMain::hwnd_, &FrmMain::handleMessage>,
        .style = CS_DBLCLKS,  // a double click on the calendar opens the 暦 window
        .cursor = base::arrowCursor(),
        .icon = LoadIconW(instance, L"APPICON"),
    });
    base::makeProcessDpiAware();
    std::unique_ptr<FrmMain> form(new FrmMain(instance, program));
    FrmMain* self = form.get();
    form->watch_ = ShellWatch::create(instance, {
        .shellRestarted = [self] { self->onShellRestarted(); },
        .sessionEnding =
            [self] {
                // Log-off: the wallpaper first, the colour's broadcast to every window can stall.
                if (self->desktop_) self->desktop_->restore(desktop::RestoreOrder::WallPaperFirst);
                self->Form_Unload();
            },
        .windowLost = [self] { self->recreateWindow(); },
        .displayChanged = [self] { self->onDisplayChanged(); },
        .clockMoved = [self] { self->onClockMoved(); },
        .tick = [self] { self->tickRepaintAndRearm(); },
    });
    form->follower_ =
        std::make_unique<desktop::DesktopFollower>([self] { return self->hwnd_; }, [self] { self->onAttached(); });
    if (!form->watch_ || !form->createWindow() || !form->Form_Load()) return nullptr;
    form->showWindow();
    form->startReminders();
    form->startNotifier();
    form->pumpFeed();
    return form;
}

bool FrmMain::createWindow() {
    // A tool window: a desktop clock has no task-bar button.
    CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, kWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                    this);
    return hwnd_ != nullptr;
}

void FrmMain::attachDayTooltips() {
    // The control goes with the window it belongs to; a new window gets a new one.
    dayTooltips_ = CalendarTooltip::create(hwnd_, instance_, [this](int column, int row) {
        // The notes the user chose in the 暦 window, as they are at each showing.
        return dayTexts_.forCell(column, row, holidays_, reminderLines(), almanac_window::readNoteChoices());
    });
    if (dayTooltips_) dayTooltips_->place(drawScale_, tooltipDpi());
}

void FrmMain::showWindow() {
    attachDayTooltips();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    armTimer();
}

// The program manager went away and took the clock window with it: a new window, the same
// canvas and state, parented to whatever program manager there is now.
void FrmMain::recreateWindow() {
    if (hwnd_ || unloaded_) return;
    if (!createWindow()) return;
    attachToDesktop();
    placeWindow();
    showWindow();
}

void FrmMain::onShellRestarted() {
    if (unloaded_) return;
    if (hwnd_ && !IsWindow(hwnd_)) hwnd_ = nullptr;
    if (!hwnd_) {
        recreateWindow();
        return;
    }
    attachToDesktop();
    placeWindow();
}

FrmMain::~FrmMain() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT FrmMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = onClockMoveMessage(message, wParam, [this] { onClockMoved(); })) return *answer;
    if (drag_.onMessage(hwnd_, message)) return 0;
    switch (message) {
        case kFeedDone:
            pumpFeed();
            return 0;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the canvas covers every pixel
        case WM_RBUTTONUP:
            onRightClick();
            return 0;
        case WM_LBUTTONDBLCLK:
            onDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_NOTIFY:
            if (dayTooltips_ && dayTooltips_->onNotify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
            break;
        case WM_STYLECHANGED:
            // Someone else's style change or frame change may have dropped the layered style.
            if (wParam == static_cast<WPARAM>(GWL_EXSTYLE)) follower_->check();
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // a click on the clock does not lift it above other windows
        case WM_CLOSE:
            Form_Unload();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            dayTooltips_.reset();
            if (unloaded_) PostQuitMessage(0);
            else watch_->reportWindowLost();  // not asked for: the parent went away
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FrmMain::Form_Load() {
    viewMode_ = viewModeFromStored(settings::readSetting(settings::kViewMode));
    storedPlace_ = desktop::readStoredPlace();
    // Any value but 0 is on, as is a missing one.
    changeWallpaper_ = settings::readSetting(settings::kChangeWallpaper) != 0;
    look_ = settings::readClockLook(*settings::makeRegistryRecordStore());
    follower_->setChoices(hostChoices());  // and the clock attached as they say
    loadPictures();
    if (changeWallpaper_) desktop_ = desktop::DesktopChanges::apply(paintDesktopPicture());
    else desktop::DesktopChanges::putBackEarlierRun();  // what a killed run left, the user's choice is off
    placeWindow();

    const std::wstring stored = settings::readSetting(settings::kTargetDate);
    program_.targetDateValue = datetime::parseDateText(stored, datetime::toCivil(localNow()).year).value_or(0.0);
    feed_.load();
    holidays_.takeList(holidayList_.load(datetime::toCivil(localNow()).year));  // before the first calendar
    return buildPanels();
}

render::Image FrmMain::paintDesktopPicture() {
    // The wallpaper spans the screen at the primary monitor's scale, wherever the clock stands.
    wallScale_ = drawScaleForDpi(base::primaryMonitorDpi());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    wallSize_ = {screenWidth, screenHeight};
    render::Image screen(std::max(screenWidth, 1), std::max(screenHeight, 1));
    render::Canvas screenCanvas = screen.canvas();
    render::paddingMosaic(screenCanvas, imgMosaic_, wallScale_);
    RECT work{0, 0, screenWidth, screenHeight};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Right after a change of resolution the work area may still be the old screen's; the
    // work-area change that follows paints it again.
    render::composeLogo(screenCanvas, picTavro_, std::min<int>(work.right, screenWidth),
                        std::min<int>(work.bottom, screenHeight));
    return screen;
}

bool FrmMain::buildPanels() {
    // The canvas holds every panel; the views only cut it off at the window's lower edge.
    auto dib = render::DibCanvas::create(cellsToPixels(drawScale_, kPanelCells), cellsToPixels(drawScale_, kFullPanelRows));
    if (!dib) return false;  // the old panels stay
    painter_.reset();
    canvas_ = std::move(dib);
    render::Canvas& canvas = canvas_->canvas();
    // Its own mosaic at its own scale, whatever the wallpaper is.
    render::paddingMosaic(canvas, imgMosaic_, drawScale_);
    {
        render::GdiGlyphRasterizer glyphs(canvas_->dc());
        drawStaticPanels(canvas, imgTMwaku_, glyphs, drawScale_);
    }
    painter_ = std::make_unique<CanvasClockPainter>(canvas, img7seg_, drawScale_,
                                                    [this](DateValue now) { drawCalendarThenFetchHolidays(now); });
    canvas_->flush();
    ++panelsBuilt_;
    state_ = {};
    state_.colours = digitColoursFor(look_.digitColour);
    startClock(state_, program_.targetDateValue, localNow(), *painter_);
    painter_->takeDirty();
    return true;
}

void FrmMain::onDisplayChanged() {
    if (unloaded_ || !canvas_) return;
    if (desktop_) desktop_->replacePicture(paintDesktopPicture());
    wholeRepaints_ = kWholeRepaintTicks;
    if (!hwnd_) return;
    placeWindow();  // the panels drawn anew where the clock's monitor changed its scale
}

void FrmMain::loadPictures() {
    using render::loadPictureResource;
    if (auto p = loadPictureResource(L"SEVEN_SEGMENT")) img7seg_ = std::move(*p);
    if (auto p = loadPictureResource(L"FRAME")) imgTMwaku_ = std::move(*p);
    if (auto p = loadPictureResource(L"MOSAIC_TILE")) imgMosaic_ = std::move(*p);
    if (auto p = loadPictureResource(L"LOGO")) picTavro_ = std::move(*p);
}

void FrmMain::attachToDesktop() { follower_->check(); }

void FrmMain::onAttached() {
    // A change of the screen that came with no message of its own (seen under Wine, under load,
    // as a clock moved into place over a wallpaper of the old size): the picture is made anew.
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (canvas_ && desktop_ && (drawScaleForDpi(base::primaryMonitorDpi()) != wallScale_ || screen.cx != wallSize_.cx ||
                                screen.cy != wallSize_.cy))
        return onDisplayChanged();
    placeWindow();
}

void FrmMain::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    watch_->stopTimers();
    feed_.abandon();  // they wind down while the desktop is put back
    holidayList_.abandon();
    almanac_.reset();  // it keeps its place as it closes, also at log-off
    reminderList_.reset();
    ShowWindow(hwnd_, SW_HIDE);
    if (desktop_) desktop_->restore();
    if (reminders_) reminders_->stop(localNow());
    reminders_.reset();  // its notices close
    notifier_.reset();  // the icon leaves the notification area
}

// The periodic event: one timer, re-armed for just after each whole second, so the process
// wakes about once a second instead of every 10 ms. On the watch's window, which outlives a
// clock window taken away with its parent.
void FrmMain::armTimer() { watch_->armTick(millisecondsToNextSecond()); }

void FrmMain::tickRepaintAndRearm() {
    if (unloaded_) return;
    // A parent of another process can take the window without a WM_DESTROY here (seen under
    // Wine): a window gone is made again, as after a WM_DESTROY.
    if (hwnd_ && !IsWindow(hwnd_)) hwnd_ = nullptr;
    if (!hwnd_) recreateWindow();
    canvas_->flush();
    const DateValue now = localNow();
    tim10ms_Timer(state_, now, program_.targetDateValue, *painter_);
    if (reminders_) reminders_->tick(now);
    if (notifier_) notifier_->second(program_.targetDateValue, now);
    invalidate(painter_->takeDirty());
    if (wholeRepaints_ > 0 && hwnd_) --wholeRepaints_, InvalidateRect(hwnd_, nullptr, FALSE);
    armTimer();
    follower_->tick();  // a host gone or moved shows within the second
    if (hwnd_) drag_.releaseIfUp(hwnd_);
    // Monitors that settled after the display-change message: the place and the picture again.
    if (hwnd_ && !drag_.dragging() && desktop::currentMonitors() != placedOn_) onDisplayChanged();
    pumpFeed();
}

void FrmMain::onClockMoved() {
    if (unloaded_) return;
    // What fell in the gap (sleep, a clock set forward) is told now, as missed.
    if (reminders_) reminders_->clockMoved(localNow());
    if (hwnd_) tickRepaintAndRearm();
}

// The calendar is drawn at once with what is known; the feed is asked in the background.
void FrmMain::drawCalendarThenFetchHolidays(DateValue now) {
    calendarDate_ = datetime::dateOnly(now);
    calendar::drawCalender(*painter_, now, holidays_, weekStart(), reminderDays(now));
    dayTexts_.showMonth(datetime::firstDayOfMonth(now), weekStart());
    if (dayTooltips_) dayTooltips_->refresh();
    if (almanac_ && almanac_->isOpen()) almanac_->showToday(calendarDate_);
}

void FrmMain::pumpFeed() {
    if (unloaded_) return;
    bool redraw = false;
    if (auto list = holidayList_.pump(calendarDate_, hwnd_, kFeedDone)) {
        if (almanac_ && almanac_->isOpen()) almanac_->takeList(list);
        if (reminders_) reminders_->holidaysChanged(reminders::holidayTestFromList(list.get()));
        redraw = holidays_.takeList(std::move(list));
    }
    // A fetch's dates are for the day still shown, so for the calendar's month.
    if (auto dates = feed_.pump(calendarDate_, hwnd_, kFeedDone))
        redraw = holidays_.takeFeed(datetime::firstDayOfMonth(calendarDate_), std::move(*dates)) || redraw;
    if (redraw) {
        canvas_->flush();
        calendar::drawCalender(*painter_, calendarDate_, holidays_, weekStart(), reminderDays(calendarDate_));
        invalidate(painter_->takeDirty());
        if (dayTooltips_) dayTooltips_->refresh();
    }
}

// A target just set shows at once, not only at the next whole second.
void FrmMain::showNewTarget() {
    canvas_->flush();
    pickUpTarget(state_, program_.targetDateValue, *painter_);
    invalidate(painter_->takeDirty());
}

void FrmMain::invalidate(const DirtyRect& dirty) {
    // A window lost meanwhile is drawn whole when it comes back; without one, InvalidateRect
    // would mark every window.
    if (!dirty.any || !hwnd_) return;
    const RECT r{dirty.left, dirty.top, dirty.right, dirty.bottom};
    InvalidateRect(hwnd_, &r, FALSE);
}

void FrmMain::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const RECT& r = ps.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_->dc(), r.left, r.top, SRCCOPY);
    EndPaint(hwnd_, &ps);
}

}  // namespace tavro::app
