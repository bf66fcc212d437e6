#include "almanac_window/almanac_paint_win32.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace tavro::almanac_window {

namespace {

// At 96 DPI, scaled to the window's.
constexpr int kMargin = 8, kButtonWidth = 40, kTodayWidth = 64, kButtonHeight = 28;

enum class Align { Left, Right, Centre };

// A line at the top of r, clipped to it. ExtTextOut, not DrawText: nothing is measured.
void drawText(HDC dc, HGDIOBJ font, COLORREF colour, std::wstring_view text, const RECT& r, Align align) {
    if (text.empty()) return;
    SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetTextAlign(dc, (align == Align::Left ? TA_LEFT : align == Align::Right ? TA_RIGHT : TA_CENTER) | TA_TOP);
    const int x = align == Align::Left ? r.left : align == Align::Right ? r.right : (r.left + r.right) / 2;
    ExtTextOutW(dc, x, r.top, ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

int textWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A line too wide for r ends in an ellipsis.
void drawFitted(HDC dc, HGDIOBJ font, COLORREF colour, std::wstring_view text, RECT r) {
    SelectObject(dc, font);
    if (textWidth(dc, text) <= r.right - r.left) return drawText(dc, font, colour, text, r, Align::Left);
    SetTextColor(dc, colour);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool meets(const RECT& a, const RECT& b) {
    RECT common;
    return IntersectRect(&common, &a, &b);
}

// The Moon's phase beside the day's number, as the symbols ● ◐ ○ ◑ show it (the dark part
// filled), drawn rather than written: fonts draw these symbols at sizes of their own, or not at all.
void drawPhase(HDC dc, almanac::MoonPhase phase, int left, int top, int size, COLORREF colour) {
    SelectObject(dc, GetStockObject(DC_PEN));
    SelectObject(dc, GetStockObject(phase == almanac::MoonPhase::New ? DC_BRUSH : NULL_BRUSH));
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    const int right = left + size, bottom = top + size, middle = left + size / 2;
    Ellipse(dc, left, top, right, bottom);
    if (phase != almanac::MoonPhase::FirstQuarter && phase != almanac::MoonPhase::LastQuarter) return;
    SelectObject(dc, GetStockObject(DC_BRUSH));
    // Counter-clockwise from the first point to the second: the left half for 上弦, the right for 下弦.
    if (phase == almanac::MoonPhase::FirstQuarter) Pie(dc, left, top, right, bottom, middle, top, middle, bottom);
    else Pie(dc, left, top, right, bottom, middle, bottom, middle, top);
}

struct DayInk {
    COLORREF ink, plain;  // the day's colour (its number, a holiday), and the other texts'
};

// Under the number: a holiday, solar term or reminder a line each, the notes as many to a line as fit,
// from the top down while lines fit above the old-calendar date.
void drawLines(HDC dc, const AlmanacCell& cell, RECT area, const AlmanacLook& look, DayInk ink) {
    const int width = area.right - area.left;
    const std::vector<CellLine>& lines = cell.lines;
    for (std::size_t i = 0; i < lines.size();) {
        const bool note = lines[i].kind == CellLineKind::Note;
        const bool small = note || lines[i].kind == CellLineKind::Reminder;
        const int height = small ? look.smallFontHeight : look.fontHeight;
        if (area.top + height > area.bottom) return;
        RECT r{area.left, area.top, area.right, area.top + height};
        if (lines[i].kind == CellLineKind::Reminder) {
            drawFitted(dc, look.smallFont.get(), ink.plain, lines[i++].text, r);
        } else if (!note) {
            const COLORREF colour = lines[i].kind == CellLineKind::Holiday ? ink.ink : ink.plain;
            drawFitted(dc, look.font.get(), colour, lines[i].text, r);
            ++i;
        } else {
            SelectObject(dc, look.smallFont.get());
            std::wstring row = lines[i++].text;
            while (i < lines.size() && lines[i].kind == CellLineKind::Note &&
                   textWidth(dc, row + L" " + lines[i].text) <= width)
                row += L" " + lines[i++].text;
            drawFitted(dc, look.smallFont.get(), ink.plain, row, r);
        }
        area.top += height;
    }
}

void drawDay(HDC dc, const AlmanacCell& cell, const RECT& r, const AlmanacLook& look, bool selected, bool focused,
             int dpi) {
    // Inside today's frame and the focus rectangle, which would otherwise cross the texts' edges.
    const int pad = look.frameWidth + MulDiv(3, dpi, 96);
    const bool inverse = selected && look.highContrast;
    const DayInk ink{inverse ? look.selectedText : look.colourOf(cell.colour), inverse ? look.selectedText : look.text};
    const RECT inner{r.left + pad, r.top + pad / 2, r.right - pad, r.bottom - pad / 2};
    drawText(dc, look.dayFont.get(), ink.ink, cell.number, inner, Align::Left);
    if (cell.phase) {
        SelectObject(dc, look.dayFont.get());
        const int size = look.fontHeight * 3 / 4;
        drawPhase(dc, *cell.phase, inner.left + textWidth(dc, cell.number) + pad, inner.top + (look.dayFontHeight - size) / 2,
                  size, ink.plain);
    }
    drawText(dc, look.font.get(), ink.plain, cell.rokuyo, inner, Align::Right);
    RECT sexagenary = inner;
    if (!cell.rokuyo.empty()) sexagenary.top += look.fontHeight;
    drawText(dc, look.smallFont.get(), ink.plain, cell.sexagenary, sexagenary, Align::Right);
    const RECT low{inner.left, inner.bottom - look.fontHeight, inner.right, inner.bottom};
    drawText(dc, look.font.get(), ink.plain, cell.oldDate, low, Align::Left);
    drawLines(dc, cell, {inner.left, inner.top + look.dayFontHeight, inner.right, low.top}, look, ink);
    if (cell.today) {
        SelectObject(dc, look.todayPen.get());
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    }
    if (focused) {
        const int inset = look.frameWidth + 1;  // inside today's frame, which it would otherwise hide under
        const RECT focus{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        SetTextColor(dc, ink.plain);
        DrawFocusRect(dc, &focus);
    }
}

// Each cell's right and bottom edges, and the grid's own left and top.
void drawGridLines(HDC dc, const AlmanacLayout& layout, const AlmanacLook& look) {
    SelectObject(dc, look.gridPen.get());
    const RECT& g = layout.grid;
    MoveToEx(dc, g.left, g.top, nullptr);
    LineTo(dc, g.right, g.top);
    MoveToEx(dc, g.left, g.top, nullptr);
    LineTo(dc, g.left, g.bottom);
    for (int c = 0; c < kColumns; ++c) {
        const int x = layout.cells[static_cast<std::size_t>(c)].right - 1;
        MoveToEx(dc, x, g.top, nullptr);
        LineTo(dc, x, g.bottom);
    }
    for (int row = 0; row < kRows; ++row) {
        const int y = layout.cells[static_cast<std::size_t>(row * kColumns)].bottom - 1;
        MoveToEx(dc, g.left, y, nullptr);
        LineTo(dc, g.right, y);
    }
}

}  // namespace

AlmanacLayout layoutAlmanac(int width, int height, int dpi, const AlmanacLook& look) {
    const auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
    AlmanacLayout l;
    l.client = {width, height};
    const int margin = px(kMargin);
    const int rowHeight = std::max(px(kButtonHeight), look.fontHeight * 3 / 2 + px(8));
    int x = width - margin - px(kButtonWidth);
    l.next = {x, margin, x + px(kButtonWidth), margin + rowHeight};
    x -= px(kTodayWidth) + px(4);
    l.today = {x, margin, x + px(kTodayWidth), margin + rowHeight};
    x -= px(kButtonWidth) + px(4);
    l.previous = {x, margin, x + px(kButtonWidth), margin + rowHeight};
    l.header = {margin, margin, margin + std::max(0, x - 2 * margin), margin + rowHeight};

    const int weekdaysTop = margin + rowHeight + px(4);
    l.weekdays = {margin, weekdaysTop, width - margin, weekdaysTop + look.fontHeight + px(6)};
    const int statusHeight = look.fontHeight + px(4);
    const int statusTop = std::max(static_cast<int>(l.weekdays.bottom), height - margin / 2 - statusHeight);
    l.status = {margin, statusTop, width - margin, statusTop + statusHeight};
    const int gridWidth = std::max(kColumns, width - 2 * margin);
    const int gridHeight = std::max(kRows, static_cast<int>(l.status.top - px(2) - l.weekdays.bottom));
    const int top = l.weekdays.bottom;
    for (int i = 0; i < kCells; ++i) {
        const int c = i % kColumns, r = i / kColumns;
        l.cells[static_cast<std::size_t>(i)] = {margin + gridWidth * c / kColumns, top + gridHeight * r / kRows,
                                                margin + gridWidth * (c + 1) / kColumns, top + gridHeight * (r + 1) / kRows};
    }
    l.grid = {margin, top, margin + gridWidth, top + gridHeight};
    return l;
}

HDC AlmanacPainter::canvas(HDC dc, SIZE size) {
    if (!dc_ || size.cx != size_.cx || size.cy != size_.cy) {
        dc_.reset();  // frees the bitmap it holds
        bitmap_.reset(CreateCompatibleBitmap(dc, std::max<LONG>(1, size.cx), std::max<LONG>(1, size.cy)));
        dc_.reset(CreateCompatibleDC(dc));
        if (!bitmap_ || !dc_) return nullptr;
        SelectObject(dc_.get(), bitmap_.get());
        SetBkMode(dc_.get(), TRANSPARENT);
        size_ = size;
    }
    return dc_.get();
}

void AlmanacPainter::paint(HDC dc, const RECT& area, const AlmanacMonth& month, const AlmanacLayout& layout,
                           const AlmanacLook& look, DayMarks marks, int dpi) {
    HDC back = canvas(dc, layout.client);
    if (!back) return;
    // The canvas's own objects back at the end: the look's are deleted when it changes.
    const base::ScopedSelect font(back, look.font.get()), pen(back, look.gridPen.get()),
        brush(back, GetStockObject(NULL_BRUSH));
    FillRect(back, &area, look.backgroundBrush.get());
    if (meets(area, layout.weekdays)) {
        const RECT& w = layout.weekdays;
        for (int c = 0; c < kColumns; ++c) {
            const RECT& cell = layout.cells[static_cast<std::size_t>(c)];
            const WeekdayLabel& label = month.weekdays[static_cast<std::size_t>(c)];
            const int top = (w.top + w.bottom - look.fontHeight) / 2;
            drawText(back, look.font.get(), look.colourOf(label.colour), label.name, {cell.left, top, cell.right, w.bottom},
                     Align::Centre);
        }
    }
    if (meets(area, layout.grid)) {
        if (marks.selected >= 0 && meets(area, layout.cells[static_cast<std::size_t>(marks.selected)]))
            FillRect(back, &layout.cells[static_cast<std::size_t>(marks.selected)], look.selectedBrush.get());
        drawGridLines(back, layout, look);
        for (int i = 0; i < kCells; ++i) {
            const RECT& r = layout.cells[static_cast<std::size_t>(i)];
            const AlmanacCell& cell = month.cells[static_cast<std::size_t>(i)];
            if (cell.day && meets(area, r)) drawDay(back, cell, r, look, i == marks.selected, i == marks.focused, dpi);
        }
    }
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, back, area.left, area.top, SRCCOPY);
}

}  // namespace tavro::almanac_window
