"""The clock window, its live time and its unlit target rows, read off the screen."""
import datetime
import time

from sevenseg import GlyphReader, field_colours, field_text

READER = GlyphReader()
WINDOW_LEFT, WINDOW_TOP = 1460, 20
# Pens of the present-time fields in window pixels (grid x * 20, row 1 * 20 + 14).
NOW_FIELDS = [(20, 4), (120, 2), (180, 2), (240, 2), (300, 2), (360, 2)]


def read_row(shot, row, fields):
    y = WINDOW_TOP + row * 20 + 14
    return [READER.read_field(shot, WINDOW_LEFT + x, y, n) for x, n in fields]


def read_now(shot):
    glyphs = read_row(shot, 1, NOW_FIELDS)
    texts = [field_text(g).strip() for g in glyphs]
    colours = set().union(*(field_colours(g) for g in glyphs))
    return datetime.datetime(*(int(t) for t in texts)), colours


def test_window_stands_at_the_top_right_and_shows_the_clock(desktop):
    start = datetime.datetime(2009, 2, 1, 12, 0, 0)
    desktop.start(start.strftime("%Y-%m-%d %H:%M:%S"))
    windows = desktop.find_windows()
    assert len(windows) == 1
    assert desktop.geometry(windows[0]) == (1460, 20, 440, 580)
    time.sleep(2.5)

    shot = desktop.screenshot()
    shown, colours = read_now(shot)
    assert start <= shown <= start + datetime.timedelta(seconds=40)
    assert colours == {6}, "the present time is orange"

    time.sleep(2.2)
    later, _ = read_now(desktop.screenshot())
    assert 2 <= (later - shown).total_seconds() <= 4

    # No target: six unlit target fields, an unlit sign and four unlit countdown fields.
    target = read_row(shot, 22, NOW_FIELDS)
    assert all(field_text(g).strip() == "" for g in target)
    countdown = read_row(shot, 26, [(120, 5), (240, 2), (300, 2), (360, 2)])
    assert field_text(countdown[0]) == "?    "
    assert all(field_text(g).strip() == "" for g in countdown[1:])


def test_a_second_copy_ends_at_once_without_a_window(desktop):
    desktop.start()
    assert len(desktop.find_windows()) == 1
    second = desktop.start()
    assert second.wait(30) == 0
    time.sleep(1.0)
    assert len(desktop.find_windows(timeout=2)) == 1
