// The system's tooltip over the calendar's days: one tool per cell, its text asked for when it
// is about to show, so screen readers and the user's tooltip settings apply.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "base/unique_handle_win32.h"

namespace tavro::app {

class CalendarTooltip {
public:
    // The text for a cell, "" for none (a blank cell shows no tooltip).
    using CellText = std::function<std::wstring(int column, int row)>;

    // Nothing when the control cannot be made; the clock then works without it.
    static std::unique_ptr<CalendarTooltip> create(HWND owner, HINSTANCE instance, CellText text);
    ~CalendarTooltip();
    CalendarTooltip(const CalendarTooltip&) = delete;
    CalendarTooltip& operator=(const CalendarTooltip&) = delete;

    // The cells' hover areas at this scale, and the font at this DPI.
    void place(float drawScale, int dpi);
    // The calendar shows another month: a tooltip that is up tells the new month's day.
    void refresh();
    // While inactive it shows nothing (it hides at once).
    void activate(bool active);
    // The tooltip's notifications to its owner; true when this answered one.
    bool onNotify(NMHDR& header);

private:
    CalendarTooltip(HWND owner, HWND tip, CellText text) : owner_(owner), tip_(tip), text_(std::move(text)) {}
    TTTOOLINFOW tool(UINT_PTR cell) const;

    HWND owner_;
    HWND tip_;
    CellText text_;
    base::UniqueFont font_;
    std::wstring shown_;  // the text handed to the control must outlive the notification
};

}  // namespace tavro::app
