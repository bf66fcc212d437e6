#include "app/clock_tick.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace tavro::app {

namespace {
constexpr int kTargetRow = 22;
constexpr int kCountdownRow = 26;

int64_t linearSeconds(DateValue v) {
    const datetime::CivilDateTime c = datetime::toCivil(v);
    return datetime::daysFromCivil(c.year, c.month, c.day) * 86400 + c.hour * 3600 + c.minute * 60 + c.second;
}

void markCountdownUndrawn(DateParts& c) { c.day = c.hour = c.minute = c.second = -1; }
}  // namespace

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
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (force || cur.year != prev.year) painter.draw7seg(fx, fy, L"0000", std::to_wstring(cur.year), colour);
    if (force || cur.month != prev.month) painter.draw7seg(fx + 5, fy, L"Z0", std::to_wstring(cur.month), colour);
    if (force || cur.day != prev.day) painter.draw7seg(fx + 8, fy, L"Z0", std::to_wstring(cur.day), colour);
    if (force || cur.hour != prev.hour) painter.draw7seg(fx + 11, fy, L"Z0", std::to_wstring(cur.hour), colour);
    if (force || cur.minute != prev.minute)
        painter.draw7seg(fx + 14, fy, L"00", std::to_wstring(cur.minute), colour);
    if (force || cur.second != prev.second)
        painter.draw7seg(fx + 17, fy, L"00", std::to_wstring(cur.second), colour);
}

void drawTargetRowBlank(ClockPainter& painter) {
    painter.draw7seg(1, kTargetRow, L"0000", L"", kColourGreen);
    painter.draw7seg(6, kTargetRow, L"Z0", L"", kColourGreen);
    painter.draw7seg(9, kTargetRow, L"Z0", L"", kColourGreen);
    painter.draw7seg(12, kTargetRow, L"Z0", L"", kColourGreen);
    painter.draw7seg(15, kTargetRow, L"00", L"", kColourGreen);
    painter.draw7seg(18, kTargetRow, L"00", L"", kColourGreen);
}

void drawCountdownRowBlank(ClockPainter& painter) {
    painter.draw7seg(6, kCountdownRow, L"↓ZZZ0", L"", kColourGreen);
    painter.draw7seg(12, kCountdownRow, L"Z0", L"", kColourGreen);
    painter.draw7seg(15, kCountdownRow, L"00", L"", kColourGreen);
    painter.draw7seg(18, kCountdownRow, L"00", L"", kColourGreen);
}

int64_t secondsBetween(DateValue from, DateValue to) { return linearSeconds(to) - linearSeconds(from); }

void pickUpTarget(ClockState& state, DateValue targetDateValue, ClockPainter& painter) {
    if (targetDateValue == state.shownTarget.value) return;
    state.shownTarget.value = targetDateValue;
    splitDate(state.shownTarget);
    if (state.shownTarget.value == 0) {
        drawTargetRowBlank(painter);
    } else {
        drawDateTime(painter, state.shownTarget, state.shownTarget, 1, kTargetRow, kColourGreen, true);
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
    drawDateTime(painter, n, state.lastNow, 1, 1, kColourOrange, false);

    const int64_t secs = secondsBetween(now, state.shownTarget.value);
    if (secs >= -std::numeric_limits<int32_t>::max() && secs <= std::numeric_limits<int32_t>::max()) {
        const int64_t a = std::llabs(secs);
        DateParts c;
        c.value = static_cast<double>(secs);
        c.day = static_cast<int32_t>(a / 86400 % 10000);
        c.hour = static_cast<int32_t>(a / 3600 % 24);
        c.minute = static_cast<int32_t>(a / 60 % 60);
        c.second = static_cast<int32_t>(a % 60);
        const int colour = secs < 0 ? kColourRed : kColourGreen;
        // Crossing the target either way (a clock set back counts down again) changes the colour
        // of all four fields and the sign.
        if ((c.value < 0) != (state.lastCountdown.value < 0)) markCountdownUndrawn(state.lastCountdown);

        DateParts& last = state.lastCountdown;
        if (c.day != last.day)
            painter.draw7seg(6, kCountdownRow, L"↓ZZZ0", (secs < 0 ? L"-" : L"") + std::to_wstring(c.day), colour);
        if (c.hour != last.hour) painter.draw7seg(12, kCountdownRow, L"Z0", std::to_wstring(c.hour), colour);
        if (c.minute != last.minute) painter.draw7seg(15, kCountdownRow, L"00", std::to_wstring(c.minute), colour);
        if (c.second != last.second) painter.draw7seg(18, kCountdownRow, L"00", std::to_wstring(c.second), colour);
        state.lastCountdown = c;
    }

    // Any other date, not only another day number: after a sleep from the 15th of one month to the
    // 15th of the next the grid must be the new month's.
    if (n.day != state.lastNow.day || n.month != state.lastNow.month || n.year != state.lastNow.year)
        painter.drawCalender(now);
    state.lastNow = n;
}

void startClock(ClockState& state, DateValue storedTarget, DateValue now, ClockPainter& painter) {
    state.shownTarget.value = storedTarget;
    splitDate(state.shownTarget);
    if (storedTarget == 0) {
        drawTargetRowBlank(painter);
    } else {
        drawDateTime(painter, state.shownTarget, state.shownTarget, 1, kTargetRow, kColourGreen, true);
    }
    // The countdown row starts unlit in both cases: a target too far away to count is never drawn by the tick.
    drawCountdownRowBlank(painter);
    DateParts& n = state.lastNow;
    n.year = n.month = n.day = n.hour = n.minute = n.second = -1;
    markCountdownUndrawn(state.lastCountdown);
    tim10ms_Timer(state, now, storedTarget, painter);
}

}  // namespace tavro::app
