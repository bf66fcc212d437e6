#include "almanac_window/almanac_window_win32.h"

#include <windowsx.h>

#include <cstring>
#include <string>

#include "almanac_window/almanac_place_win32.h"
#include "almanac_window/note_choices_win32.h"
#include "base/display_dpi_win32.h"
#include "base/owned_window_win32.h"
#include "base/unique_handle_win32.h"
#include "base/window_class_win32.h"

namespace tavro::almanac_window {

namespace {

constexpr wchar_t kWindowClass[] = L"TavroAlmanac";
constexpr int kMinWidth = 420, kMinHeight = 380;  // at 96 DPI

CivilDate civilDay(DateValue value) {
    const datetime::CivilDateTime c = datetime::toCivil(value);
    return addDaysInRange({c.year, c.month, c.day}, 0);
}

void setText(HWND control, const std::wstring& text) {
    // Unchanged texts are not set again: each set repaints and tells screen readers.
    wchar_t now[256] = {};
    if (GetWindowTextLengthW(control) == static_cast<int>(text.size()) && GetWindowTextW(control, now, 256) >= 0 &&
        text == now)
        return;
    SetWindowTextW(control, text.c_str());
}

}  // namespace

std::unique_ptr<AlmanacWindow> AlmanacWindow::create(HINSTANCE instance, HWND clock, DateValue today,
                                                     std::optional<DateValue> selectDay,
                                                     std::shared_ptr<const holidays::HolidayList> list,
                                                     WeekStart weekStart, AlmanacReminders reminders) {
    base::registerWindowClass(instance, {
        .name = kWindowClass,
        .procedure = base::ownedWindowProc<AlmanacWindow, &AlmanacWindow::hwnd_, &AlmanacWindow::handleMessage>,
        .style = CS_HREDRAW | CS_VREDRAW,
        .cursor = base::arrowCursor(),
        .icon = LoadIconW(instance, L"APPICON"),
        .background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
    });

    std::unique_ptr<AlmanacWindow> self(new AlmanacWindow(instance, datetime::dateOnly(today)));
    self->holidays_.takeList(list);
    self->search_.takeList(std::move(list));
    self->shown_ = readNoteChoices();
    self->weekStart_ = weekStart;
    self->reminders_ = std::move(reminders);
    self->selected_ = civilDay(selectDay.value_or(today));
    const RECT r = almanacOpeningRect(clock);
    // No owner: a window of its own with a task-bar button, whatever the clock hangs on. Not
    // WS_CLIPCHILDREN: the window paints the days under their controls.
    CreateWindowExW(0, kWindowClass, L"暦", WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left, r.bottom - r.top,
                    nullptr, nullptr, instance, self.get());
    if (!self->hwnd_) return nullptr;
    self->normalRect_ = r;
    self->dpi_ = base::windowDpi(self->hwnd_);
    self->look_ = loadAlmanacLook(self->dpi_);
    self->layout();  // the controls are made where they belong, not moved there afterwards
    if (!self->makeControls()) return nullptr;
    self->showMonth(self->selected_.year, self->selected_.month);
    ShowWindow(self->hwnd_, SW_SHOWNORMAL);
    self->dropDayPaints();
    SetForegroundWindow(self->hwnd_);
    SetFocus(self->selectedControl());
    UpdateWindow(self->hwnd_);
    return self;
}

AlmanacWindow::~AlmanacWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void AlmanacWindow::bringToFront() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
}

void AlmanacWindow::showToday(DateValue today) {
    today = datetime::dateOnly(today);
    if (today == today_) return;
    const CivilDate before = civilDay(today_);
    today_ = today;
    const CivilDate now = civilDay(today);
    if (model_.year == before.year && model_.month == before.month && (now.year != before.year || now.month != before.month))
        return select(now);
    showMonth(model_.year, model_.month);  // the frame moves within the month, or off it (the days' texts stay)
    UpdateWindow(hwnd_);
}

void AlmanacWindow::takeList(std::shared_ptr<const holidays::HolidayList> list) {
    holidays_.takeList(list);
    search_.takeList(std::move(list));
    showMonth(model_.year, model_.month);
    announceFocusedDay();
}

void AlmanacWindow::setWeekStart(WeekStart weekStart) {
    if (weekStart == weekStart_) return;
    const bool focused = GetFocus() == selectedControl();
    weekStart_ = weekStart;
    showMonth(model_.year, model_.month);
    InvalidateRect(hwnd_, &layout_.weekdays, FALSE);
    if (focused) SetFocus(selectedControl());  // the selected day stands in another cell now
}

void AlmanacWindow::refreshDays() {
    showMonth(model_.year, model_.month);
    announceFocusedDay();
    UpdateWindow(hwnd_);
}

void AlmanacWindow::select(CivilDate day, bool takeFocus) {
    const HWND focused = GetFocus();
    const bool fromDay = cellOfControl(focused) >= 0;
    const int before = cellOf(selected_);
    selected_ = day;
    setText(status_, L"");  // what it told was of the day left
    const bool paged = day.year != model_.year || day.month != model_.month;
    if (paged) {
        showMonth(day.year, day.month);
    } else {
        invalidateCell(before);
        invalidateCell(cellOf(day));
    }
    // The focus follows only in the active window: a midnight move must not take it from others.
    if (GetActiveWindow() == hwnd_ && (fromDay || takeFocus)) SetFocus(selectedControl());
    if (paged && GetFocus() == focused) announceFocusedDay();  // the same control, with a new day
    UpdateWindow(hwnd_);  // at once, so that a held key shows every month
}

// The same 42 controls show every month: they answer for their texts from the model, so that
// nothing is set on them; the window paints the month in one pass.
void AlmanacWindow::showMonth(int year, int month) {
    model_ = buildAlmanacMonth(year, month, today_, holidays_, reminders_.dayLines, shown_, weekStart_);
    setText(hwnd_, model_.title);
    setText(header_, model_.header);
    RECT area;
    UnionRect(&area, &layout_.weekdays, &layout_.grid);
    RedrawWindow(hwnd_, &area, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    const bool first = isFirstMonth(year, month), last = isLastMonth(year, month);
    // A disabled button with the focus would leave the keys nowhere.
    if ((first && GetFocus() == previous_) || (last && GetFocus() == next_)) SetFocus(selectedControl());
    // Set only when it changes: each is a trip to the window server.
    if (!IsWindowEnabled(previous_) != first) EnableWindow(previous_, !first);
    if (!IsWindowEnabled(next_) != last) EnableWindow(next_, !last);
}

void AlmanacWindow::pageMonths(int months) {
    const CivilDate target = addMonthsInRange(selected_, months);
    if (target.year == model_.year && target.month == model_.month) {
        wheel_.drop();  // at an end: nothing is kept to be unwound later
        return;
    }
    select(target);
}

int AlmanacWindow::cellOf(const CivilDate& day) const {
    if (day.year != model_.year || day.month != model_.month) return -1;
    return model_.cellOfDay(day.day);
}

HWND AlmanacWindow::selectedControl() const {
    const int cell = cellOf(selected_);
    return cell >= 0 ? days_[static_cast<std::size_t>(cell)] : hwnd_;
}

int AlmanacWindow::cellOfControl(HWND control) const {
    for (int i = 0; i < kCells; ++i)
        if (control && days_[static_cast<std::size_t>(i)] == control) return i;
    return -1;
}

void AlmanacWindow::invalidateCell(int cell) {
    if (cell >= 0 && cell < kCells)
        RedrawWindow(hwnd_, &layout_.cells[static_cast<std::size_t>(cell)], nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
}

void AlmanacWindow::announceFocusedDay() {
    const HWND focus = GetFocus();
    if (cellOfControl(focus) >= 0) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, focus, OBJID_CLIENT, CHILDID_SELF);
}

bool AlmanacWindow::onKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
        case VK_PRIOR: pageMonths(control ? -12 : -1); return true;
        case VK_NEXT: pageMonths(control ? 12 : 1); return true;
        case VK_LEFT: select(addDaysInRange(selected_, -1)); return true;
        case VK_RIGHT: select(addDaysInRange(selected_, 1)); return true;
        case VK_UP: select(addDaysInRange(selected_, -kColumns)); return true;
        case VK_DOWN: select(addDaysInRange(selected_, kColumns)); return true;
        case VK_HOME: select(civilDay(today_)); return true;
        case VK_TAB: moveFocus(shift); return true;
        case VK_F3: find(shift ? almanac::SearchDirection::Previous : almanac::SearchDirection::Next); return true;
        case VK_ESCAPE: PostMessageW(hwnd_, WM_CLOSE, 0, 0); return true;
        case 'C':
            if (!control) return false;
            copySelected();
            return true;
        default: return false;
    }
}

void AlmanacWindow::onCommand(int id, bool byKeyboard) {
    switch (id) {
        case kPreviousId: pageMonths(-1); break;
        case kNextId: pageMonths(1); break;
        case kTodayId: select(civilDay(today_)); break;
        default: return;
    }
    // A click leaves the keys with the days; a button pressed from the keyboard keeps them.
    if (!byKeyboard) SetFocus(selectedControl());
}

void AlmanacWindow::onWheel(int delta) {
    // A fast spin queues notches faster than months are shown: those already queued for this
    // window are added in first, and one month is shown for them all.
    int months = wheel_.add(delta);
    MSG more;
    while (PeekMessageW(&more, nullptr, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_NOREMOVE) &&
           (more.hwnd == hwnd_ || IsChild(hwnd_, more.hwnd)) &&
           PeekMessageW(&more, more.hwnd, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE))
        months += wheel_.add(GET_WHEEL_DELTA_WPARAM(more.wParam));
    if (months) pageMonths(months);
}

void AlmanacWindow::find(almanac::SearchDirection direction) {
    if (!lastKind_) {
        // Nothing chosen yet: the kinds to choose from, at the day.
        const auto row = direction == almanac::SearchDirection::Next ? MenuRow::FindNext : MenuRow::FindPrevious;
        if (const auto choice = trackAlmanacMenu(hwnd_, menuPointOf(selectedControl()), shown_, row)) onMenuChoice(*choice);
        return;
    }
    const std::optional<CivilDate> found = search_.find(*lastKind_, selected_, direction);
    if (found) select(*found, true);
    setText(status_, searchStatusText(*lastKind_, direction, found));
}

void AlmanacWindow::toggleGroup(almanac::NoteGroup group) {
    shown_.show(group, !shown_.shows(group));
    storeNoteChoice(group, shown_.shows(group));
    showMonth(model_.year, model_.month);
    announceFocusedDay();
    UpdateWindow(hwnd_);
}

void AlmanacWindow::onMenuChoice(const MenuChoice& choice) {
    switch (choice.row) {
        case MenuRow::FindNext:
        case MenuRow::FindPrevious:
            if (choice.index < 0 || choice.index >= almanac::kDayKindCount) return;
            lastKind_ = static_cast<almanac::DayKind>(choice.index);
            return find(choice.row == MenuRow::FindNext ? almanac::SearchDirection::Next : almanac::SearchDirection::Previous);
        case MenuRow::Shown:
            if (choice.index >= 0 && choice.index < almanac::kNoteGroupCount) toggleGroup(static_cast<almanac::NoteGroup>(choice.index));
            return;
        case MenuRow::Copy: return copySelected();
        case MenuRow::AddReminder:
            if (reminders_.addOnDay) reminders_.addOnDay(hwnd_, datetime::makeDate(selected_.year, selected_.month, selected_.day));
            return;
        case MenuRow::Line: return;
    }
}

// Below the control, or at the mouse when it was a click.
POINT AlmanacWindow::menuPointOf(HWND control) const {
    RECT r{};
    GetWindowRect(control, &r);
    return {r.left, control == hwnd_ ? r.top : r.bottom};
}

void AlmanacWindow::onContextMenu(HWND from, LPARAM at) {
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) point = menuPointOf(cellOfControl(from) >= 0 ? from : selectedControl());
    if (const auto choice = trackAlmanacMenu(hwnd_, point, shown_)) onMenuChoice(*choice);
}

void AlmanacWindow::copySelected() const {
    const int cell = cellOf(selected_);
    if (cell < 0 || !OpenClipboard(hwnd_)) return;
    const std::wstring& text = model_.cells[static_cast<std::size_t>(cell)].description;
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    base::UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (void* p = memory ? GlobalLock(memory.get()) : nullptr) {
        memcpy(p, text.c_str(), bytes);
        GlobalUnlock(memory.get());
        // The clipboard owns the memory once it took it.
        if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
    }
    CloseClipboard();
}

void AlmanacWindow::applyLook() {
    look_ = loadAlmanacLook(dpi_);
    const auto font = reinterpret_cast<WPARAM>(look_.font.get());
    for (HWND control : {previous_, todayButton_, next_, status_}) SendMessageW(control, WM_SETFONT, font, FALSE);
    SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(look_.headerFont.get()), FALSE);
    layout();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    dropDayPaints();
}

// The controls are moved only where the client's new size moves them.
void AlmanacWindow::layout() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const AlmanacLayout was = layout_;
    layout_ = layoutAlmanac(client.right, client.bottom, dpi_, look_);
    const auto place = [](HWND control, const RECT& r, const RECT& before) {
        if (control && !EqualRect(&r, &before))
            SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(header_, layout_.header, was.header);
    place(previous_, layout_.previous, was.previous);
    place(todayButton_, layout_.today, was.today);
    place(next_, layout_.next, was.next);
    place(status_, layout_.status, was.status);
    for (std::size_t i = 0; i < kCells; ++i) place(days_[i], layout_.cells[i], was.cells[i]);
}

void AlmanacWindow::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    // The controls that paint themselves are left to them.
    for (const RECT* r : {&layout_.header, &layout_.previous, &layout_.today, &layout_.next, &layout_.status})
        ExcludeClipRect(dc, r->left, r->top, r->right, r->bottom);
    const HWND focus = GetFocus();
    painter_.paint(dc, ps.rcPaint, model_, layout_, look_, {cellOf(selected_), cellOfControl(focus)}, dpi_);
    EndPaint(hwnd_, &ps);
}

LRESULT AlmanacWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: onPaint(); return 0;
        case WM_ERASEBKGND: return 1;  // the paint fills what it paints
        case WM_DRAWITEM: return TRUE;  // the days are painted with the window
        case WM_CTLCOLORSTATIC:
            SetTextColor(reinterpret_cast<HDC>(wParam), look_.text);
            SetBkColor(reinterpret_cast<HDC>(wParam), look_.background);
            return reinterpret_cast<LRESULT>(look_.backgroundBrush.get());
        case WM_SIZE:
            layout();
            dropDayPaints();  // invalidated with the window
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) onCommand(LOWORD(wParam), false);
            return 0;
        case WM_KEYDOWN:
            if (onKey(wParam)) return 0;
            break;
        case WM_CONTEXTMENU: onContextMenu(reinterpret_cast<HWND>(wParam), lParam); return 0;
        case WM_MOUSEWHEEL: onWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) lastFocus_ = GetFocus();
            else restoreFocus();
            return 0;
        case WM_SETFOCUS: restoreFocus(); return 0;
        case WM_GETMINMAXINFO: {
            auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
            info.ptMinTrackSize = {MulDiv(kMinWidth, dpi_, 96), MulDiv(kMinHeight, dpi_, 96)};
            return 0;
        }
        case WM_WINDOWPOSCHANGED:
            if (IsWindowVisible(hwnd_) && !IsIconic(hwnd_) && !IsZoomed(hwnd_)) GetWindowRect(hwnd_, &normalRect_);
            break;  // DefWindowProc sends WM_SIZE
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            const RECT& r = *reinterpret_cast<const RECT*>(lParam);
            applyLook();  // the fonts first, so that the move's WM_SIZE lays out with them
            SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            applyLook();  // the message font, high contrast or the system's colours changed
            break;
        case WM_DESTROY: storeAlmanacRect(normalRect_); return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tavro::almanac_window
