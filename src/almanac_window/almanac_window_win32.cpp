#include "almanac_window/almanac_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "almanac_window/almanac_place_win32.h"
#include "base/display_dpi_win32.h"
#include "base/owned_window_win32.h"
#include "base/window_class_win32.h"

namespace tavro::almanac_window {

namespace {

constexpr wchar_t kWindowClass[] = L"TavroAlmanac";
enum : int { kHeaderId = 100, kPreviousId, kTodayId, kNextId, kFirstDayId = 200 };
// At 96 DPI, scaled to the window's.
constexpr int kMargin = 8, kButtonWidth = 40, kTodayWidth = 64, kButtonHeight = 28;
constexpr int kMinWidth = 420, kMinHeight = 380;

CivilDate civilDay(DateValue value) {
    const datetime::CivilDateTime c = datetime::toCivil(value);
    return addDaysInRange({c.year, c.month, c.day}, 0);
}

void setText(HWND control, const std::wstring& text) {
    // Unchanged texts are not set again: each set repaints and tells screen readers.
    wchar_t now[256] = {};
    if (GetWindowTextLengthW(control) == static_cast<int>(text.size()) && GetWindowTextW(control, now, 256) &&
        text == now)
        return;
    SetWindowTextW(control, text.c_str());
}

void drawLine(HDC dc, HFONT font, COLORREF colour, const std::wstring& text, RECT r, UINT format) {
    if (text.empty()) return;
    const base::ScopedSelect use(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX | DT_SINGLELINE);
}

}  // namespace

std::unique_ptr<AlmanacWindow> AlmanacWindow::create(HINSTANCE instance, HWND clock, DateValue today,
                                                     std::optional<DateValue> selectDay,
                                                     std::shared_ptr<const holidays::HolidayList> list,
                                                     WeekStart weekStart) {
    base::registerWindowClass(instance, {
        .name = kWindowClass,
        .procedure = base::ownedWindowProc<AlmanacWindow, &AlmanacWindow::hwnd_, &AlmanacWindow::handleMessage>,
        .style = CS_HREDRAW | CS_VREDRAW,
        .cursor = base::arrowCursor(),
        .icon = LoadIconW(instance, L"APPICON"),
        .background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
    });

    std::unique_ptr<AlmanacWindow> self(new AlmanacWindow(instance, datetime::dateOnly(today)));
    self->holidays_.takeList(std::move(list));
    self->weekStart_ = weekStart;
    const RECT r = almanacOpeningRect(clock);
    // The controls are made with their texts: setting them afterwards would cost as much again.
    self->selected_ = civilDay(selectDay.value_or(today));
    self->model_ =
        buildAlmanacMonth(self->selected_.year, self->selected_.month, self->today_, self->holidays_, {}, weekStart);
    // No owner: a window of its own with a task-bar button, whatever the clock hangs on.
    CreateWindowExW(0, kWindowClass, self->model_.title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, self.get());
    if (!self->hwnd_ || !self->makeControls()) return nullptr;
    self->normalRect_ = r;
    self->dpi_ = base::windowDpi(self->hwnd_);
    self->applyLook();
    self->showMonth(self->selected_.year, self->selected_.month);  // the buttons' states
    ShowWindow(self->hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(self->hwnd_);
    SetFocus(self->selectedControl());
    UpdateWindow(self->hwnd_);
    return self;
}

AlmanacWindow::~AlmanacWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool AlmanacWindow::makeControls() {
    const auto make = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    };
    header_ = make(L"STATIC", model_.header.c_str(), SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kHeaderId);
    previous_ = make(L"BUTTON", L"◀", BS_PUSHBUTTON, kPreviousId);
    todayButton_ = make(L"BUTTON", L"今日", BS_PUSHBUTTON, kTodayId);
    next_ = make(L"BUTTON", L"▶", BS_PUSHBUTTON, kNextId);
    if (!header_ || !previous_ || !todayButton_ || !next_) return false;
    for (int i = 0; i < kCells; ++i) {
        // Owner-drawn statics: the system reads their text to screen readers as it does any label's.
        days_[i] = make(L"STATIC", model_.cells[i].description.c_str(), SS_OWNERDRAW | SS_NOTIFY, kFirstDayId + i);
        if (!days_[i] || !SetWindowSubclass(days_[i], dayProc, static_cast<UINT_PTR>(i), reinterpret_cast<DWORD_PTR>(this)))
            return false;
    }
    return true;
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
        select(now);
    else
        showMonth(model_.year, model_.month);  // the frame moves within the month, or off it
}

void AlmanacWindow::takeList(std::shared_ptr<const holidays::HolidayList> list) {
    holidays_.takeList(std::move(list));
    showMonth(model_.year, model_.month);
}

void AlmanacWindow::setWeekStart(WeekStart weekStart) {
    if (weekStart == weekStart_) return;
    const bool focused = GetFocus() == selectedControl();
    weekStart_ = weekStart;
    showMonth(model_.year, model_.month);
    InvalidateRect(hwnd_, &weekdays_, TRUE);
    if (focused) SetFocus(selectedControl());  // the selected day stands in another cell now
}

void AlmanacWindow::select(CivilDate day) {
    const HWND before = selectedControl();
    selected_ = day;
    if (day.year != model_.year || day.month != model_.month) showMonth(day.year, day.month);
    const HWND after = selectedControl();
    InvalidateRect(before, nullptr, FALSE);
    InvalidateRect(after, nullptr, FALSE);
    // The focus follows only in the active window: a midnight move must not take it from others.
    if (GetActiveWindow() == hwnd_) SetFocus(after);
}

// The same 42 controls show every month: only their texts change.
void AlmanacWindow::showMonth(int year, int month) {
    model_ = buildAlmanacMonth(year, month, today_, holidays_, {}, weekStart_);
    setText(hwnd_, model_.title);
    setText(header_, model_.header);
    // A static paints itself at once when its text is set: with drawing off the controls are
    // painted once, all together, right after the last text, so a held key shows every month.
    // (Turned on again, drawing would make a window not yet shown visible without showing it.)
    const bool shown = IsWindowVisible(hwnd_);
    if (shown) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kCells; ++i) setText(days_[i], model_.cells[i].description);
    if (shown) SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd_, &grid_, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const bool first = isFirstMonth(year, month), last = isLastMonth(year, month);
    // A disabled button with the focus would leave the keys nowhere.
    if ((first && GetFocus() == previous_) || (last && GetFocus() == next_)) SetFocus(selectedControl());
    EnableWindow(previous_, !first);
    EnableWindow(next_, !last);
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
    return calendar::MonthGrid(day.year, day.month, weekStart_).cellOfDay(day.day);
}

HWND AlmanacWindow::selectedControl() const {
    const int cell = cellOf(selected_);
    return cell >= 0 ? days_[cell] : hwnd_;
}

bool AlmanacWindow::onKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case VK_PRIOR: pageMonths(control ? -12 : -1); return true;
        case VK_NEXT: pageMonths(control ? 12 : 1); return true;
        case VK_LEFT: select(addDaysInRange(selected_, -1)); return true;
        case VK_RIGHT: select(addDaysInRange(selected_, 1)); return true;
        case VK_UP: select(addDaysInRange(selected_, -kColumns)); return true;
        case VK_DOWN: select(addDaysInRange(selected_, kColumns)); return true;
        case VK_HOME: select(civilDay(today_)); return true;
        case VK_ESCAPE: PostMessageW(hwnd_, WM_CLOSE, 0, 0); return true;
        case 'C':
            if (!control) return false;
            copySelected();
            return true;
        default: return false;
    }
}

void AlmanacWindow::onCommand(int id) {
    switch (id) {
        case kPreviousId: pageMonths(-1); break;
        case kNextId: pageMonths(1); break;
        case kTodayId: select(civilDay(today_)); break;
        default: return;
    }
    SetFocus(selectedControl());  // the keys go on working after a click on a button
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

void AlmanacWindow::copySelected() const {
    const int cell = cellOf(selected_);
    if (cell < 0 || !OpenClipboard(hwnd_)) return;
    const std::wstring& text = model_.cells[cell].description;
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = GlobalLock(memory)) {
            memcpy(p, text.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it took it.
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

LRESULT CALLBACK AlmanacWindow::dayProc(HWND day, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR cell,
                                        DWORD_PTR selfData) {
    auto* self = reinterpret_cast<AlmanacWindow*>(selfData);
    switch (message) {
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (self->onKey(wParam)) return 0;
            break;
        case WM_LBUTTONDOWN:
            if (const int d = self->model_.cells[cell].day) self->select({self->model_.year, self->model_.month, d});
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(day, nullptr, FALSE); break;
        case WM_NCDESTROY: RemoveWindowSubclass(day, dayProc, cell); break;
    }
    return DefSubclassProc(day, message, wParam, lParam);
}

void AlmanacWindow::applyLook() {
    look_ = loadAlmanacLook(dpi_);
    const auto font = reinterpret_cast<WPARAM>(look_.font.get());
    for (HWND control : {previous_, todayButton_, next_}) SendMessageW(control, WM_SETFONT, font, FALSE);
    SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(look_.headerFont.get()), FALSE);
    layout();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// The header and its buttons on top, the weekday names under them, and the grid filling the rest.
void AlmanacWindow::layout() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const auto px = [this](int at96) { return MulDiv(at96, dpi_, 96); };
    const int margin = px(kMargin), width = client.right, height = client.bottom;
    const int rowHeight = std::max(px(kButtonHeight), look_.fontHeight * 3 / 2 + px(8));
    int x = width - margin - px(kButtonWidth);
    const auto place = [](HWND control, int left, int top, int w, int h) {
        SetWindowPos(control, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(next_, x, margin, px(kButtonWidth), rowHeight);
    x -= px(kTodayWidth) + px(4);
    place(todayButton_, x, margin, px(kTodayWidth), rowHeight);
    x -= px(kButtonWidth) + px(4);
    place(previous_, x, margin, px(kButtonWidth), rowHeight);
    place(header_, margin, margin, std::max(0, x - 2 * margin), rowHeight);

    weekdays_ = {margin, margin + rowHeight + px(4), width - margin, margin + rowHeight + px(4) + look_.fontHeight + px(6)};
    const int gridWidth = std::max(kColumns, width - 2 * margin);
    const int gridHeight = std::max(kRows, height - static_cast<int>(weekdays_.bottom) - margin);
    for (int i = 0; i < kCells; ++i) {
        const int c = i % kColumns, r = i / kColumns;
        const int left = margin + gridWidth * c / kColumns, right = margin + gridWidth * (c + 1) / kColumns;
        const int top = weekdays_.bottom + gridHeight * r / kRows, bottom = weekdays_.bottom + gridHeight * (r + 1) / kRows;
        place(days_[i], left, top, right - left, bottom - top);
    }
    grid_ = {margin, weekdays_.bottom, margin + gridWidth, weekdays_.bottom + gridHeight};
    InvalidateRect(hwnd_, &weekdays_, TRUE);
}

void AlmanacWindow::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    SetBkMode(dc, TRANSPARENT);
    const int width = weekdays_.right - weekdays_.left;
    for (int c = 0; c < kColumns; ++c) {
        RECT r{weekdays_.left + width * c / kColumns, weekdays_.top, weekdays_.left + width * (c + 1) / kColumns,
               weekdays_.bottom};
        const AlmanacWeekday& weekday = model_.weekdays[static_cast<std::size_t>(c)];
        drawLine(dc, static_cast<HFONT>(look_.font.get()), look_.colourOf(weekday.colour), weekday.name, r,
                 DT_CENTER | DT_VCENTER);
    }
    EndPaint(hwnd_, &ps);
}

void AlmanacWindow::drawDay(const DRAWITEMSTRUCT& item) const {
    const int index = static_cast<int>(item.CtlID) - kFirstDayId;
    if (index < 0 || index >= kCells) return;
    const AlmanacCell& cell = model_.cells[index];
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = cell.day && cellOf(selected_) == index;
    const base::UniqueGdiObject back(CreateSolidBrush(selected ? look_.selectedBack : look_.background));
    FillRect(dc, &r, static_cast<HBRUSH>(back.get()));
    // The grid: each cell draws its right and bottom edges, and the first row and column their top and left.
    const base::UniqueGdiObject gridPen(CreatePen(PS_SOLID, 1, look_.grid));
    {
        const base::ScopedSelect pen(dc, gridPen.get());
        const int left = index % kColumns == 0 ? r.left : r.left - 1, top = index < kColumns ? r.top : r.top - 1;
        MoveToEx(dc, left, r.bottom - 1, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.right - 1, top);
        if (index % kColumns == 0) LineTo(dc, left, top), LineTo(dc, left, r.bottom);  // the grid's own frame
        if (index < kColumns) MoveToEx(dc, r.left, r.top, nullptr), LineTo(dc, r.right, r.top);
    }
    if (!cell.day) return;
    SetBkMode(dc, TRANSPARENT);
    const int pad = MulDiv(4, dpi_, 96);
    const COLORREF ink = selected && look_.highContrast ? look_.selectedText : look_.colourOf(cell.colour);
    const COLORREF plain = selected && look_.highContrast ? look_.selectedText : look_.text;
    const auto font = static_cast<HFONT>(look_.font.get());
    RECT inner{r.left + pad, r.top + pad / 2, r.right - pad, r.bottom - pad};
    drawLine(dc, static_cast<HFONT>(look_.dayFont.get()), ink, cell.number, inner, DT_LEFT | DT_TOP);
    drawLine(dc, font, plain, cell.rokuyo, inner, DT_RIGHT | DT_TOP);
    RECT low = inner;
    low.top = inner.bottom - look_.fontHeight;
    drawLine(dc, font, plain, cell.oldDate, low, DT_LEFT | DT_BOTTOM);
    low.bottom = low.top;
    low.top -= look_.fontHeight;
    // A holiday's name is red as the day is; a solar term is told in the plain colour.
    drawLine(dc, font, cell.holiday ? ink : plain, cell.note, low, DT_LEFT | DT_BOTTOM | DT_END_ELLIPSIS);
    const int frame = MulDiv(3, dpi_, 96);
    if (cell.today) {
        const base::UniqueGdiObject framePen(CreatePen(PS_INSIDEFRAME, frame, look_.todayFrame));
        const base::ScopedSelect pen(dc, framePen.get());
        const base::ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    }
    if (GetFocus() == item.hwndItem) {
        const int inset = frame + 2;  // inside today's frame, which it would otherwise hide under
        RECT focus{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        SetTextColor(dc, plain);
        DrawFocusRect(dc, &focus);
    }
}

LRESULT AlmanacWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: onPaint(); return 0;
        case WM_DRAWITEM: drawDay(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_CTLCOLORSTATIC:
            SetTextColor(reinterpret_cast<HDC>(wParam), look_.text);
            SetBkColor(reinterpret_cast<HDC>(wParam), look_.background);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        case WM_SIZE: layout(); return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) onCommand(LOWORD(wParam));
            return 0;
        case WM_KEYDOWN:
            if (onKey(wParam)) return 0;
            break;
        case WM_MOUSEWHEEL: onWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(selectedControl());
            return 0;
        case WM_SETFOCUS: SetFocus(selectedControl()); return 0;
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
