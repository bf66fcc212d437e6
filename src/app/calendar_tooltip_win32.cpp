#include "app/calendar_tooltip_win32.h"

#include "app/layout.h"
#include "base/dialog_font_win32.h"
#include "calendar/month_calendar.h"

namespace tavro::app {

namespace {
using calendar::kColumns;
constexpr UINT_PTR kCells = calendar::kCells;
// Wide enough for the longest first line; a maximum width is also what makes "\r\n" break lines.
constexpr int kMaxTipWidthAt96 = 480;
}  // namespace

std::unique_ptr<CalendarTooltip> CalendarTooltip::create(HWND owner, HINSTANCE instance, CellText text) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // TTS_ALWAYSTIP: the clock is never the active window. TTS_NOPREFIX: "&" is text.
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                     instance, nullptr);
    if (!tip) return nullptr;
    std::unique_ptr<CalendarTooltip> self(new CalendarTooltip(owner, tip, std::move(text)));
    for (UINT_PTR cell = 0; cell < kCells; ++cell) {
        TTTOOLINFOW info = self->tool(cell);
        info.uFlags = TTF_SUBCLASS;
        info.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    return self;
}

CalendarTooltip::~CalendarTooltip() {
    if (IsWindow(tip_)) DestroyWindow(tip_);
}

TTTOOLINFOW CalendarTooltip::tool(UINT_PTR cell) const {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner_;
    info.uId = cell;
    return info;
}

void CalendarTooltip::place(float drawScale, int dpi) {
    for (UINT_PTR cell = 0; cell < kCells; ++cell) {
        TTTOOLINFOW info = tool(cell);
        const calendar::CellArea a = calendar::cellArea(calendar::calendarSquares(cellPixels(drawScale)),
                                                        static_cast<int>(cell % kColumns),
                                                        static_cast<int>(cell / kColumns));
        info.rect = {a.left, a.top, a.right, a.bottom};
        SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    // The dialogs' font: the default tooltip font may have no Japanese glyphs.
    if (base::UniqueFont font = base::dialogFont(dpi > 0 ? dpi : 96)) {
        SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        font_ = std::move(font);  // the old one goes after the control let go of it
    }
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kMaxTipWidthAt96, dpi > 0 ? dpi : 96, 96));
}

void CalendarTooltip::refresh() {
    TTTOOLINFOW current = tool(0);
    if (!SendMessageW(tip_, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current))) return;
    const int cell = static_cast<int>(current.uId);
    if (text_(cell % kColumns, cell / kColumns).empty()) {
        SendMessageW(tip_, TTM_POP, 0, 0);
        return;
    }
    // Shown again, which asks for the text anew.
    TTTOOLINFOW info = tool(current.uId);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CalendarTooltip::activate(bool active) { SendMessageW(tip_, TTM_ACTIVATE, active, 0); }

bool CalendarTooltip::onNotify(NMHDR& header) {
    if (header.hwndFrom != tip_ || header.code != TTN_GETDISPINFOW) return false;
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    const int cell = static_cast<int>(info.hdr.idFrom);
    shown_ = cell >= 0 && cell < static_cast<int>(kCells) ? text_(cell % kColumns, cell / kColumns) : std::wstring();
    info.lpszText = shown_.data();
    info.szText[0] = L'\0';
    info.hinst = nullptr;
    return true;
}

}  // namespace tavro::app
