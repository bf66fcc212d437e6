// The once-a-second redraw of the present time, the target row and the countdown.
#pragma once

#include <cstdint>
#include <string_view>

#include "datetime/date_value.h"
#include "render/seven_segment.h"

namespace tavro::app {

using datetime::DateValue;

// A moment split into its parts; -1 in a part means "not drawn yet", which never equals a real value.
struct DateParts {
    DateValue value = 0;
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

// What the tick draws with. The window draws on its canvas; tests record the calls.
class ClockPainter : public render::FieldPainter {
public:
    virtual void showMonthOf(DateValue now) = 0;  // the date changed: the calendar of its month
};

// The digits' colours, rows of the glyph sheet: the present date and time, and the target with
// the countdown (a passed countdown is red whatever they are).
struct DigitColours {
    int now = render::kColourOrange;
    int target = render::kColourGreen;
    bool operator==(const DigitColours&) const = default;
};
// The user's choice of row: orange, the default, is the clock's own pair (the present orange, the
// target and the countdown green); any other colours every row.
DigitColours digitColoursFor(int row);

struct ClockState {
    DateParts lastNow;
    DateParts lastCountdown;
    DateParts shownTarget;
    DigitColours colours;
};

void splitDate(DateParts& parts);

void drawDateTime(ClockPainter& painter, const DateParts& cur, const DateParts& prev, int x, int y, int colour,
                  bool force);

// The six unlit target fields and the four unlit countdown fields.
void drawTargetRowBlank(ClockPainter& painter);
void drawCountdownRowBlank(ClockPainter& painter);

// The signed whole seconds from `from` to `to`, counted on the real time line (values before
// 1899-12-30 are not linear in the date type).
int64_t secondsBetween(DateValue from, DateValue to);

// A target set since the last drawing: its row drawn and the countdown row unlit until the
// next tick counts it; nothing when it is the one shown.
void pickUpTarget(ClockState& state, DateValue targetDateValue, ClockPainter& painter);

// The tick: `now` is the present local time in whole seconds.
void tim10ms_Timer(ClockState& state, DateValue now, DateValue targetDateValue, ClockPainter& painter);

// Start-up's part: the stored target drawn, every field marked undrawn, then the first tick.
void startClock(ClockState& state, DateValue storedTarget, DateValue now, ClockPainter& painter);

}  // namespace tavro::app
