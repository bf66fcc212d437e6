"""Reads the clock's seven-segment fields back out of a screenshot, using the glyph sheet as the font,
at any drawScale s: the glyph at grid (x, y) covers the pixels floor(s*(40x+1)) .. floor(s*(40x+39)) - 1
and floor(s*(40y+28)) .. floor(s*(40y+92)) - 1, the sheet's cell shrunk by area averaging.

tools/run_clock.sh waits with it until the clock has drawn; the end-to-end tests read every field.
  clock_reader.py SHOT [LEFT TOP RIGHT BOTTOM]
prints the date and time the clock shows in the screenshot (its window where given, else at
1460,20 at 96 DPI) and exits 1 while they do not read as one.
"""
import calendar
import datetime
import math
import os
import sys
import time

import numpy as np
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LOOKUP = "0123456789+-↑↓←→"
SHEET = Image.open(os.path.join(ROOT, "pictures", "seven_segment.bmp")).convert("RGB")
GREEN, LIGHTBLUE, RED, ORANGE, WHITE = 2, 3, 4, 6, 7  # colour rows of the sheet
# Fields as (grid x, grid y, positions).
NOW = [(1, 1, 4), (6, 1, 2), (9, 1, 2), (12, 1, 2), (15, 1, 2), (18, 1, 2)]
TARGET = [(x, 22, n) for x, _, n in NOW]
COUNTDOWN = [(6, 26, 5), (12, 26, 2), (15, 26, 2), (18, 26, 2)]


class ClockReader:
    """The fields of a clock window whose top left is at screen pixel (left, top)."""

    def __init__(self, scale=0.5, left=1460, top=20):
        self.scale, self.left, self.top = scale, left, top
        self.refs = {}  # (width, height) -> [(name, colour row, picture)]

    def _refs(self, w, h):
        if (w, h) not in self.refs:
            refs = []
            for row in range(9):
                for k, ch in enumerate(LOOKUP):
                    cell = SHEET.crop((38 * k, 64 * row, 38 * k + 38, 64 * row + 64)).resize((w, h), Image.BOX)
                    name = ch if row else (" " if k < 10 else "?")  # unlit: blank, or the sign's place
                    refs.append((name, row, np.asarray(cell, dtype=float)))
            self.refs[(w, h)] = refs
        return self.refs[(w, h)]

    def glyphs(self, shot, gx, gy, positions):
        """[(character, colour row, distance)] of a field at grid (gx, gy)."""
        s, out = self.scale, []
        for i in range(positions):
            X, Y = 40 * (gx + i), 40 * gy + 28
            x0, y0 = math.floor(s * (X + 1)), math.floor(s * Y)
            w, h = math.floor(s * (X + 39)) - x0, math.floor(s * (Y + 64)) - y0
            crop = shot[self.top + y0 : self.top + y0 + h, self.left + x0 : self.left + x0 + w].astype(float)
            mask = np.ones((h, w, 1))
            mask[int(h * 25 / 32) :, int(w * 12 / 19) :] = 0  # where decimal points land
            out.append(min(((name, row, float((np.abs(crop - ref) * mask).mean())) for name, row, ref in self._refs(w, h)),
                           key=lambda g: g[2]))
        return out

    def texts(self, shot, fields, strip=True):
        texts = ["".join(g[0] for g in self.glyphs(shot, *f)) for f in fields]
        return [t.strip() for t in texts] if strip else texts

    def colours(self, shot, fields):
        """The colour rows the lit glyphs of the fields are drawn in."""
        return {g[1] for f in fields for g in self.glyphs(shot, *f) if g[0] not in " ?"}

    def now(self, shot):
        """The present time shown, None while it does not read as one."""
        try:
            return datetime.datetime(*(int(t) for t in self.texts(shot, NOW)))
        except ValueError:
            return None

    def countdown(self, shot):
        """The countdown row's texts (sign and days unstripped) and its colours."""
        texts = self.texts(shot, COUNTDOWN, strip=False)
        return [texts[0]] + [t.strip() for t in texts[1:]], self.colours(shot, COUNTDOWN)

    def shows(self, screenshot, want, timeout=30):
        """Whether the calendar in screenshot()'s pictures reads as want (expected_grid) within timeout seconds."""
        end = time.time() + timeout
        while self.grid(screenshot()) != want:
            if time.time() >= end:
                return False
            time.sleep(0.2)
        return True

    def grid(self, shot):
        """The calendar's 42 cells: (day or None, its colour or None); unreadable cells as "?"."""
        cells = []
        for r in range(6):
            for c in range(7):
                glyphs = self.glyphs(shot, 2.5 + 2.5 * c, 4.75 + 2.5 * r, 2)
                text = "".join(g[0] for g in glyphs).strip()
                colours = {g[1] for g in glyphs if g[0] != " "}
                readable = all(g[2] < 40 for g in glyphs) and (text.isdigit() or not text)
                cells.append((int(text) if text and readable else None if readable else "?",
                              colours.pop() if len(colours) == 1 else None))
        return cells


def expected_grid(year, month, today, holidays, monday_first=False):
    """The cells of the month with today orange, Sundays and holidays red, Saturdays light blue."""
    first = datetime.date(year, month, 1)
    column = first.weekday() if monday_first else (first.weekday() + 1) % 7
    cells = [(None, None)] * column
    for day in range(1, calendar.monthrange(year, month)[1] + 1):
        weekday = datetime.date(year, month, day).isoweekday() % 7  # 0 Sunday .. 6 Saturday
        red = weekday == 0 or day in holidays
        cells.append((day, ORANGE if day == today else RED if red else LIGHTBLUE if weekday == 6 else WHITE))
    return cells + [(None, None)] * (42 - len(cells))


def main(shot, left=1460, top=20, right=1900, bottom=None):
    now = ClockReader((int(right) - int(left)) / 880, int(left), int(top)).now(np.asarray(Image.open(shot).convert("RGB")))
    print(now or "the time does not read")
    return 0 if now else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
