"""The stored view and countdown target, read at start-up."""
import time

import pytest

from sevenseg import field_colours, field_text
from test_clock_spine import NOW_FIELDS, read_row

COUNTDOWN_FIELDS = [(120, 5), (240, 2), (300, 2), (360, 2)]


@pytest.mark.parametrize("stored,height", [(1, 80), (2, 420), (3, 580), (0, 580), (7, 580), (None, 580)])
def test_the_stored_view_sets_the_window_height(desktop, stored, height):
    if stored is not None:
        desktop.reg_add("viewMode", "REG_DWORD", stored)
    desktop.start()
    windows = desktop.find_windows()
    assert len(windows) == 1
    assert desktop.geometry(windows[0]) == (1460, 20, 440, height)


def countdown(shot):
    glyphs = read_row(shot, 26, COUNTDOWN_FIELDS)
    return [field_text(g) for g in glyphs], set().union(*(field_colours(g) for g in glyphs))


def test_a_target_one_hour_ahead_counts_down_in_green(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    desktop.start("2009-02-01 12:00:00")
    assert desktop.find_windows()
    time.sleep(1.5)
    shot = desktop.screenshot()
    target = [field_text(g).strip() for g in read_row(shot, 22, NOW_FIELDS)]
    assert target == ["2009", "2", "1", "13", "00", "00"]
    texts, colours = countdown(shot)
    assert texts[0] == "↓   0"
    assert texts[1].strip() == "0" and texts[2] == "59"
    assert colours == {2}


def test_a_past_target_counts_up_in_red(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/01/31 12:00:00")
    desktop.start("2009-02-01 12:00:00")
    assert desktop.find_windows()
    time.sleep(1.5)
    texts, colours = countdown(desktop.screenshot())
    assert texts[0] == "↑   1"
    assert texts[1].strip() == "0" and texts[2] == "00"
    assert colours == {4}


@pytest.mark.parametrize("kind,data", [("REG_SZ", "not a date"), ("REG_DWORD", "20100203"), ("REG_SZ", "2010/2/30")])
def test_a_bad_stored_target_starts_with_blank_rows(desktop, kind, data):
    desktop.reg_add("targetDate", kind, data)
    desktop.start("2009-02-01 12:00:00")
    assert desktop.find_windows()
    time.sleep(1.5)
    shot = desktop.screenshot()
    assert all(field_text(g).strip() == "" for g in read_row(shot, 22, NOW_FIELDS))
    texts, _ = countdown(shot)
    assert texts[0] == "?    " and all(t.strip() == "" for t in texts[1:])
