// The 暦 window's controls: the day controls, which answer for their texts from the month model
// and paint nothing, the buttons with the keys a dialog would give them, and the focus's way
// around them.
#include "almanac_window/almanac_window_win32.h"

#include <commctrl.h>

#include <algorithm>

namespace tavro::almanac_window {

bool AlmanacWindow::makeControls() {
    const auto make = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int id, const RECT& r) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    };
    header_ = make(L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kHeaderId, layout_.header);
    previous_ = make(L"BUTTON", L"◀", BS_PUSHBUTTON, kPreviousId, layout_.previous);
    todayButton_ = make(L"BUTTON", L"今日", BS_PUSHBUTTON, kTodayId, layout_.today);
    next_ = make(L"BUTTON", L"▶", BS_PUSHBUTTON, kNextId, layout_.next);
    status_ = make(L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kStatusId, layout_.status);
    if (!header_ || !previous_ || !todayButton_ || !next_ || !status_) return false;
    for (HWND button : {previous_, todayButton_, next_})
        if (!SetWindowSubclass(button, buttonProc, 0, reinterpret_cast<DWORD_PTR>(this))) return false;
    for (int i = 0; i < kCells; ++i) {
        // Statics: the system reads their text to screen readers as it does any label's. Owner
        // drawn, so that nothing of theirs is ever painted over the window's cells.
        HWND& day = days_[static_cast<std::size_t>(i)];
        day = make(L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, kFirstDayId + i, layout_.cells[static_cast<std::size_t>(i)]);
        if (!day || !SetWindowSubclass(day, dayProc, static_cast<UINT_PTR>(i), reinterpret_cast<DWORD_PTR>(this)))
            return false;
    }
    const auto font = reinterpret_cast<WPARAM>(look_.font.get());
    for (HWND control : {previous_, todayButton_, next_, status_}) SendMessageW(control, WM_SETFONT, font, FALSE);
    SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(look_.headerFont.get()), FALSE);
    return true;
}

LRESULT AlmanacWindow::answerText(int cell, WPARAM size, LPARAM buffer) const {
    const std::wstring& text = model_.cells[static_cast<std::size_t>(cell)].description;
    if (size == 0 || !buffer) return 0;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::copy_n(text.data(), n, out);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}

LRESULT CALLBACK AlmanacWindow::dayProc(HWND day, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR cell,
                                        DWORD_PTR selfData) noexcept {
    auto* self = reinterpret_cast<AlmanacWindow*>(selfData);
    const AlmanacCell& shown = self->model_.cells[cell];
    switch (message) {
        case WM_GETTEXT: return self->answerText(static_cast<int>(cell), wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(shown.description.size());
        case WM_PAINT: {
            PAINTSTRUCT ps;  // the window paints the cell
            BeginPaint(day, &ps);
            EndPaint(day, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (self->onKey(wParam)) return 0;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:  // the context menu is of the day clicked
            if (shown.day) self->select({self->model_.year, self->model_.month, shown.day}, true);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: self->invalidateCell(static_cast<int>(cell)); break;
        case WM_NCDESTROY: RemoveWindowSubclass(day, dayProc, cell); break;
    }
    return DefSubclassProc(day, message, wParam, lParam);
}

LRESULT CALLBACK AlmanacWindow::buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR selfData) noexcept {
    auto* self = reinterpret_cast<AlmanacWindow*>(selfData);
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_SPACE || wParam == VK_RETURN) {
                self->onCommand(GetDlgCtrlID(button), true);
                return 0;
            }
            if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN) return 0;
            if (self->onKey(wParam)) return 0;
            break;
        case WM_CHAR:
            if (wParam == L' ' || wParam == L'\r') return 0;  // pressed at its key-down already
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(button, buttonProc, id); break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

// The grid (the selected day) and the three buttons, in a ring; a disabled button is passed by.
void AlmanacWindow::moveFocus(bool back) {
    const std::array<HWND, 4> ring{selectedControl(), previous_, todayButton_, next_};
    const HWND focus = GetFocus();
    const auto at = std::find(ring.begin(), ring.end(), focus);
    const int from = at == ring.end() ? 0 : static_cast<int>(at - ring.begin());
    for (int step = 1; step < 4; ++step) {
        const HWND to = ring[static_cast<std::size_t>((from + (back ? 4 - step : step)) % 4)];
        if (IsWindowEnabled(to)) {
            SetFocus(to);
            return;
        }
    }
}

// The day controls paint nothing, but each paint asked of them would cost a trip through the
// message loop and the window server (42 of them took 11 to 100 ms under Wine): the window
// paints their cells, and what the system asks of them is dropped.
void AlmanacWindow::dropDayPaints() {
    for (HWND day : days_)
        if (day) RedrawWindow(day, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE);
}

// Back where it was when the window was left: a button, else the selected day.
void AlmanacWindow::restoreFocus() {
    const bool button = lastFocus_ == previous_ || lastFocus_ == todayButton_ || lastFocus_ == next_;
    SetFocus(button && IsWindowEnabled(lastFocus_) ? lastFocus_ : selectedControl());
}

}  // namespace tavro::almanac_window
