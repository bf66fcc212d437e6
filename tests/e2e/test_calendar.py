"""The month calendar read off the screen: 42 cells, each a day number or blank, and its colour."""
import calendar
import datetime
import subprocess
import time

from conftest import EXE, wait_for, wine_env
from feed_server import FeedServer
from sevenseg import GlyphReader, field_colours, field_text
from test_clock_spine import WINDOW_LEFT, WINDOW_TOP, read_row

READER = GlyphReader()
ORANGE, RED, LIGHTBLUE, WHITE, GREEN = 6, 4, 3, 7, 2


def read_grid(shot):
    cells = []
    for r in range(6):
        for c in range(7):
            glyphs = READER.read_field(shot, WINDOW_LEFT + 50 + 50 * c, WINDOW_TOP + 109 + 50 * r, 2)
            text = field_text(glyphs).strip()
            colours = field_colours(glyphs)
            assert all(g[2] < 40 for g in glyphs), ("unreadable cell", r, c, glyphs)
            cells.append((int(text) if text else None, colours.pop() if len(colours) == 1 else None))
    return cells


def expected_grid(year, month, today, holidays):
    first = datetime.date(year, month, 1)
    column = (first.weekday() + 1) % 7  # Sunday first
    cells = [(None, None)] * column
    for day in range(1, calendar.monthrange(year, month)[1] + 1):
        weekday = (column + day - 1) % 7
        red = weekday == 0 or datetime.date(year, month, day) in holidays
        cells.append((day, ORANGE if day == today else RED if red else LIGHTBLUE if weekday == 6 else WHITE))
    return cells + [(None, None)] * (42 - len(cells))


def test_the_month_with_the_feeds_holidays(desktop, feed):
    server = feed(["2009-01-01", "2009-01-12", "2009-02-11", "2009-02-14", "2009-03-20"])
    desktop.start("2009-02-03 12:00:00")
    assert desktop.find_windows()
    time.sleep(2.0)
    holidays = {datetime.date(2009, 2, 11), datetime.date(2009, 2, 14)}  # 2/14 a Saturday: red, not light blue
    assert read_grid(desktop.screenshot()) == expected_grid(2009, 2, 3, holidays)
    assert server.requests == [
        "/calendar/feeds/test@example.org/public/attendees-only?start-min=2009-01-01&start-max=2009-03-01"]


def test_a_clock_moved_while_running(desktop, tmp_path):
    """One start, the clock moved by a time-stamp file; the feed answers 200 with a login page."""
    server = FeedServer(mode="html")
    desktop.reg_add("feedHost", "REG_SZ", f"127.0.0.1:{server.port}")
    desktop.reg_add("targetDate", "REG_SZ", "2027/01/15 12:00:00")
    stamp = tmp_path / "now"
    stamp.write_text("@2027-01-15 11:59:50\n")
    env = dict(wine_env(), FAKETIME_TIMESTAMP_FILE=str(stamp), FAKETIME_NO_CACHE="1",
               LD_PRELOAD="/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1")
    desktop.procs.append(subprocess.Popen(["wine", EXE], env=env, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL))
    try:
        assert desktop.find_windows()

        def shows(year, month, day, holidays):
            want = expected_grid(year, month, day, {datetime.date(year, month, d) for d in holidays})
            return wait_for(lambda: read_grid(desktop.screenshot()) == want, 15)

        def countdown():
            glyphs = read_row(desktop.screenshot(), 26, [(120, 5), (240, 2), (300, 2), (360, 2)])
            return field_text(glyphs[0])[0], set().union(*(field_colours(g) for g in glyphs))

        # Not a feed: the computed holidays (1/1, Coming of Age Day 1/11) stay after it answered.
        assert wait_for(lambda: server.requests, 15)
        time.sleep(1.5)
        assert shows(2027, 1, 15, {1, 11})
        # The target passes: red with the up sign. Set back before it: green with the down sign.
        assert wait_for(lambda: countdown() == ("↑", {RED}), 30)
        stamp.write_text("@2027-01-15 11:58:00\n")
        assert wait_for(lambda: countdown() == ("↓", {GREEN}), 10)
        # A month later on the same day number: February's grid.
        stamp.write_text("@2027-02-15 12:00:00\n")
        assert shows(2027, 2, 15, {11, 23})
        # Midnight: the 16th becomes today.
        stamp.write_text("@2027-02-15 23:59:58\n")
        assert shows(2027, 2, 16, {11, 23})
        assert len(server.requests) >= 3
    finally:
        server.stop()
