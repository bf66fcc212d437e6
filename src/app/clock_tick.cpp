#include "app/clock_tick.h"

#include "app/layout.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace tavro::app {

namespace {
using render::kColourGreen;
using render::kColourOrange;
using render::kColourRed;

int64_t linearSeconds(DateValue v) {
    const datetime::CivilDateTime c = datetime::toCivil(v);
    return datetime::daysFromCivil(c.year, c.month, c.day) * 86400 + c.hour * 3600 + c.minute * 60 + c.second;
}

void markCountdownUndrawn(DateParts& c) { c.day = c.hour = c.minute = c.second = -1; }
}  // namespace

DigitColours digitColoursFor(int row) {
    if (row == kColourOrange) return {};
    return {row, row};
}

void splitDate(DateParts& parts) {
    const datetime::CivilDateTime c = datetime::toCivil(parts.value);
    parts.year = c.year;
    parts.month = c.month;
    parts.day = c.day;
    parts.hour = c.hour;
    parts.minute = c.minute;
    parts.second = c.second;
}

void drawDateTime(ClockPainter& painter, const DateParts& cur, const DateParts& prev, int x, int y, int colour,
                  bool force) {
    constexpr int32_t DateParts::*kParts[6] = {&DateParts::year, &DateParts::month,  &DateParts::day,
                                               &DateParts::hour, &DateParts::minute, &DateParts::second};
    for (int i = 0; i < 6; ++i) {
        const int32_t DateParts::*part = kParts[i];
        if (force || cur.*part != prev.*part)
            painter.draw7seg(static_cast<float>(x) + kDateTimeFields[i].x, static_cast<float>(y),
                             kDateTimeFields[i].fieldTemplate, std::to_wstring(cur.*part), colour);
    }
}

void drawTargetRowBlank(ClockPainter& painter) {
    for (const FieldPlace& f : kDateTimeFields)
        painter.draw7seg(kDateTimeLeft + f.x, kTargetRow, f.fieldTemplate, L"", kColourGreen);
}

void drawCountdownRowBlank(ClockPainter& painter) {
    for (const FieldPlace& f : kCountdownFields) painter.draw7seg(f.x, kCountdownRow, f.fieldTemplate, L"", kColourGreen);
}

int64_t secondsBetween(DateValue from, DateValue to) { return linearSeconds(to) - linearSeconds(from); }

void pickUpTarget(ClockState& state, DateValue targetDateValue, ClockPainter& painter) {
    if (targetDateValue == state.shownTarget.value) return;
    state.shownTarget.value = targetDateValue;
    splitDate(state.shownTarget);
    if (state.shownTarget.value == 0) {
        drawTargetRowBlank(painter);
    } else {
        drawDateTime(painter, state.shownTarget, state.shownTarget, kDateTimeLeft, kTargetRow, state.colours.target, true);
        markCountdownUndrawn(state.lastCountdown);
    }
    drawCountdownRowBlank(painter);
}

void tim10ms_Timer(ClockState& state, DateValue now, DateValue targetDateValue, ClockPainter& painter) {
    DateParts n;
    n.value = now;
    if (now == state.lastNow.value) return;
    pickUpTarget(state, targetDateValue, painter);

    splitDate(n);
    drawDateTime(painter, n, state.lastNow, kDateTimeLeft, kNowRow, state.colours.now, false);

    const int64_t secs = secondsBetween(now, state.shownTarget.value);
    if (secs >= -std::numeric_limits<int32_t>::max() && secs <= std::numeric_limits<int32_t>::max()) {
        const int64_t a = std::llabs(secs);
        DateParts c;
        c.value = static_cast<double>(secs);
        c.day = static_cast<int32_t>(a / 86400 % 10000);
        c.hour = static_cast<int32_t>(a / 3600 % 24);
        c.minute = static_cast<int32_t>(a / 60 % 60);
        c.second = static_cast<int32_t>(a % 60);
        const int colour = secs < 0 ? kColourRed : state.colours.target;
        // Crossing the target either way (a clock set back counts down again) changes the colour
        // of all four fields and the sign.
        if ((c.value < 0) != (state.lastCountdown.value < 0)) markCountdownUndrawn(state.lastCountdown);

        DateParts& last = state.lastCountdown;
        const auto field = [&](int i, const std::wstring& text) {
            painter.draw7seg(kCountdownFields[i].x, kCountdownRow, kCountdownFields[i].fieldTemplate, text, colour);
        };
        if (c.day != last.day) field(0, (secs < 0 ? L"-" : L"") + std::to_wstring(c.day));
        if (c.hour != last.hour) field(1, std::to_wstring(c.hour));
        if (c.minute != last.minute) field(2, std::to_wstring(c.minute));
        if (c.second != last.second) field(3, std::to_wstring(c.second));
        state.lastCountdown = c;
    }

    // Any other date, not only another day number: after a sleep from the 15th of one month to the
    // 15th of the next the grid must be the new month's.
    if (n.day != state.lastNow.day || n.month != state.lastNow.month || n.year != state.lastNow.year)
        painter.showMonthOf(now);
    state.lastNow = n;
}

void startClock(ClockState& state, DateValue storedTarget, DateValue now, ClockPainter& painter) {
    state.shownTarget.value = storedTarget;
    splitDate(state.shownTarget);
    if (storedTarget == 0) {
        drawTargetRowBlank(painter);
    } else {
        drawDateTime(painter, state.shownTarget, state.shownTarget, kDateTimeLeft, kTargetRow, state.colours.target, true);
    }
    // The countdown row starts unlit in both cases: a target too far away to count is never drawn by the tick.
    drawCountdownRowBlank(painter);
    DateParts& n = state.lastNow;
    n.year = n.month = n.day = n.hour = n.minute = n.second = -1;
    markCountdownUndrawn(state.lastCountdown);
    tim10ms_Timer(state, now, storedTarget, painter);
}

}  // namespace tavro::app
