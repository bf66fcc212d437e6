"""The month calendar read off the screen: 42 cells, each a day number or blank, and its colour."""
import calendar
import datetime
import time

from sevenseg import GlyphReader, field_colours, field_text
from test_clock_spine import WINDOW_LEFT, WINDOW_TOP

READER = GlyphReader()
ORANGE, RED, LIGHTBLUE, WHITE = 6, 4, 3, 7


def read_grid(shot):
    cells = []
    for r in range(6):
        for c in range(7):
            x = WINDOW_LEFT + 50 + 50 * c
            y = WINDOW_TOP + 95 + 50 * r + 14
            glyphs = READER.read_field(shot, x, y, 2)
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
        if day == today:
            colour = ORANGE
        elif weekday == 0 or datetime.date(year, month, day) in holidays:
            colour = RED
        elif weekday == 6:
            colour = LIGHTBLUE
        else:
            colour = WHITE
        cells.append((day, colour))
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


def test_an_answer_without_holidays_leaves_only_sundays_red(desktop, feed):
    feed([])
    desktop.start("2009-08-05 09:00:00")
    assert desktop.find_windows()
    time.sleep(2.0)
    grid = read_grid(desktop.screenshot())
    assert grid == expected_grid(2009, 8, 5, set())
    assert grid[:6] == [(None, None)] * 6 and grid[36] == (31, WHITE)


def test_at_midnight_the_next_day_becomes_today_and_the_feed_is_asked_again(desktop, feed):
    server = feed(["2009-02-11"])
    # Far enough from midnight for Wine to start and the first screenshot to be taken.
    desktop.start("2009-02-10 23:59:40")
    assert desktop.find_windows()
    time.sleep(1.0)
    before = read_grid(desktop.screenshot())
    assert before[9 + 0] == (10, ORANGE)  # Feb 2009 starts on Sunday: day d is cell d - 1
    deadline = time.time() + 40
    while len(server.requests) < 2 and time.time() < deadline:
        time.sleep(0.3)
    time.sleep(1.0)
    after = read_grid(desktop.screenshot())
    assert after == expected_grid(2009, 2, 11, {datetime.date(2009, 2, 11)})
    assert len(server.requests) == 2 and server.requests[0] == server.requests[1]


def test_with_the_feed_unreachable_the_national_holidays_are_red(desktop):
    # The desktop fixture points the feed at a closed port.
    desktop.start("2009-05-01 10:00:00")
    assert desktop.find_windows()
    time.sleep(2.5)
    golden_week = {datetime.date(2009, 5, d) for d in (3, 4, 5, 6)}  # 5/6 substitute for Sunday 5/3
    assert read_grid(desktop.screenshot()) == expected_grid(2009, 5, 1, golden_week)
