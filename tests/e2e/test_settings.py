"""The stored view and countdown target, read at start-up."""
import pytest

from conftest import wait_for
from sevenseg import field_colours, field_text
from test_clock_spine import NOW_FIELDS, read_row

COUNTDOWN_FIELDS = [(120, 5), (240, 2), (300, 2), (360, 2)]
BLANK = ([""] * 6, ["?    ", "", "", ""], None)


def countdown(shot):
    """The countdown row's field texts and the colours they are drawn in."""
    glyphs = read_row(shot, 26, COUNTDOWN_FIELDS)
    return [field_text(g) for g in glyphs], set().union(*(field_colours(g) for g in glyphs))


# viewMode as stored -> the window's height: 1 clock, 2 with the calendar, anything else (or none,
# or a value of another type) everything.
@pytest.mark.parametrize("kind,stored,height", [("REG_DWORD", 1, 80), ("REG_DWORD", 2, 420), ("REG_DWORD", 3, 580),
                                                ("REG_DWORD", 0, 580), ("REG_DWORD", 7, 580), (None, None, 580),
                                                ("REG_SZ", "1", 580)])
def test_the_stored_view_sets_the_window_height(desktop, kind, stored, height):
    if kind:
        desktop.reg_add("viewMode", kind, stored)
    desktop.start()
    windows = desktop.find_windows()
    assert len(windows) == 1
    assert desktop.geometry(windows[0]) == (1460, 20, 440, height)


# targetDate as stored, at 2009-02-01 12:00:00 -> the target row, the countdown row (direction and
# days, hours, minutes, seconds; None: not checked) and its colours (green ahead, red past).
@pytest.mark.parametrize("kind,stored,target,expected,colours", [
    ("REG_SZ", "2009/02/01 13:00:00", ["2009", "2", "1", "13", "00", "00"], ["↓   0", "0", "59", None], {2}),
    ("REG_SZ", "2009/01/31 12:00:00", ["2009", "1", "31", "12", "00", "00"], ["↑   1", "0", "00", None], {4}),
    ("REG_SZ", "not a date", *BLANK), ("REG_DWORD", "20100203", *BLANK), ("REG_SZ", "2010/2/30", *BLANK)])
def test_the_stored_target_shows_with_its_countdown(desktop, kind, stored, target, expected, colours):
    desktop.reg_add("targetDate", kind, stored)
    desktop.start("2009-02-01 12:00:00")
    assert desktop.find_windows()

    def rows():
        shot = desktop.screenshot()
        texts, shown = countdown(shot)
        return ([field_text(g).strip() for g in read_row(shot, 22, NOW_FIELDS)],
                [texts[0]] + [t.strip() if want is not None else None for t, want in zip(texts[1:], expected[1:])], shown)

    seen = []
    wait_for(lambda: seen.append(rows()) or seen[-1][:2] == (target, expected), 10)
    assert seen[-1][:2] == (target, expected)
    assert colours is None or seen[-1][2] == colours
