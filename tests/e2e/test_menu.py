"""The popup menu, the view switch and the countdown target dialog, driven with the mouse and keys."""
import datetime
import time

import numpy as np

from sevenseg import field_text
from test_calendar import expected_grid, read_grid
from test_clock_spine import NOW_FIELDS, read_now, read_row
from test_settings import countdown

DIALOG = "目標時刻を日付形式で入力してください"
START = "2009-02-01 12:00:00"
FEBRUARY_HOLIDAYS = {datetime.date(2009, 2, 11)}  # the feed is unreachable: the computed ones


def our_windows(desktop):
    """Visible windows of the clock's process: (id, name, geometry)."""
    r = desktop_run(desktop, ["xdotool", "search", "--onlyvisible", "--class", "tavroclock.exe"])
    found = []
    for wid in r.stdout.split():
        name = desktop_run(desktop, ["xdotool", "getwindowname", wid]).stdout.strip()
        try:
            found.append((wid, name, desktop.geometry(wid)))
        except KeyError:
            pass  # gone meanwhile
    return found


def desktop_run(desktop, cmd):
    from conftest import run
    return run(cmd, timeout=20)


def menus(desktop):
    """Geometries of the open menu levels, outermost first (menus have no title)."""
    return sorted((g for _, name, g in our_windows(desktop) if name == ""), key=lambda g: g[0])


def wait_for(condition, timeout=10.0):
    end = time.time() + timeout
    while True:
        value = condition()
        if value or time.time() >= end:
            return value
        time.sleep(0.2)


def xdo(desktop, *args):
    desktop_run(desktop, ["xdotool", *args])


def right_click(desktop, x, y):
    xdo(desktop, "mousemove", str(x), str(y))
    time.sleep(0.2)
    xdo(desktop, "click", "3")
    return wait_for(lambda: menus(desktop))


def keys(desktop, *names, wait=0.5):
    for name in names:
        xdo(desktop, "key", name)
        time.sleep(wait)


def clock_height(desktop):
    windows = desktop.find_windows()
    assert len(windows) == 1
    return desktop.geometry(windows[0])[3]


def checked_rows(shot, menu, rows):
    """Rows of a menu level that show a mark in the check column left of the captions."""
    x, y, w, h = menu
    marked = []
    for i in range(rows):
        top = y + 3 + i * (h - 6) // rows
        bottom = y + 3 + (i + 1) * (h - 6) // rows
        strip = shot[top:bottom, x + 3 : x + 18].astype(int)
        background = np.median(strip.reshape(-1, 3), axis=0)
        if (np.abs(strip - background).sum(axis=2) > 150).sum() >= 6:
            marked.append(i)
    return marked


def dialog_window(desktop, name=DIALOG):
    found = [(wid, g) for wid, n, g in our_windows(desktop) if n == name]
    return found[0] if found else None


def open_target_dialog(desktop):
    assert right_click(desktop, 1600, 300)
    keys(desktop, "s", "t")
    found = wait_for(lambda: dialog_window(desktop))
    assert found, "the target dialog did not open"
    return found


def target_row(shot):
    return [field_text(g).strip() for g in read_row(shot, 22, NOW_FIELDS)]


def test_a_right_click_opens_the_menu_at_the_pointer_with_the_current_view_checked(desktop):
    desktop.start(START)
    assert desktop.find_windows()
    time.sleep(1.5)
    opened = right_click(desktop, 1600, 300)
    assert len(opened) == 1
    x, y, w, h = opened[0]
    assert (x, y) == (1600, 300)
    before, _ = read_now(desktop.screenshot())

    keys(desktop, "v")
    levels = wait_for(lambda: len(menus(desktop)) == 2 and menus(desktop))
    assert levels, "the view submenu did not open"
    top, view = levels
    assert view[0] >= top[0] + top[2] - 8  # beside the popup
    # Four items in the popup, three in the view submenu: the same row height.
    assert abs(top[3] / 4 - view[3] / 3) <= 2
    shot = desktop.screenshot("/tmp/menu-e2e-view-submenu.png")
    assert checked_rows(shot, view, 3) == [2]  # the countdown view is the default
    assert checked_rows(shot, top, 4) == []

    # The clock ran on while the menu was open.
    time.sleep(1.2)
    after, _ = read_now(desktop.screenshot())
    assert (after - before).total_seconds() >= 1

    keys(desktop, "Escape", "Escape")
    assert wait_for(lambda: not menus(desktop), 5)
    assert clock_height(desktop) == 580
    assert desktop.reg_query("viewMode") is None


def test_a_click_elsewhere_closes_the_menu_and_does_nothing(desktop):
    desktop.start(START)
    assert desktop.find_windows()
    assert right_click(desktop, 1600, 300)
    xdo(desktop, "mousemove", "400", "600")
    xdo(desktop, "click", "1")
    assert wait_for(lambda: not menus(desktop), 5)
    assert clock_height(desktop) == 580
    # And the next right click opens it again.
    assert right_click(desktop, 1700, 100)
    keys(desktop, "Escape")


def test_left_and_middle_clicks_do_nothing(desktop):
    desktop.start(START)
    assert desktop.find_windows()
    for button in ("1", "2"):
        xdo(desktop, "mousemove", "1600", "300")
        xdo(desktop, "click", button)
        time.sleep(1.0)
        assert not menus(desktop)
        assert [n for _, n, _ in our_windows(desktop)] == ["TavroClock"]
    assert clock_height(desktop) == 580


def test_view_one_is_stored_and_the_next_start_opens_with_it(desktop):
    desktop.start(START)
    assert desktop.find_windows()
    assert right_click(desktop, 1600, 300)
    keys(desktop, "v", "c")
    assert wait_for(lambda: clock_height(desktop) == 80, 5)
    assert not menus(desktop)
    assert desktop.reg_query("viewMode") == ("REG_DWORD", "0x1")

    desktop.kill_all()
    desktop.start(START)
    windows = desktop.find_windows()
    assert desktop.geometry(windows[0]) == (1460, 20, 440, 80)
    assert right_click(desktop, 1600, 60)
    keys(desktop, "v")
    levels = wait_for(lambda: len(menus(desktop)) == 2 and menus(desktop))
    assert levels
    assert checked_rows(desktop.screenshot(), levels[1], 3) == [0]
    keys(desktop, "Escape", "Escape")


def test_from_view_one_to_the_countdown_view_the_panels_are_up_to_date(desktop):
    desktop.reg_add("viewMode", "REG_DWORD", 1)
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    desktop.start(START)
    assert desktop.find_windows()
    time.sleep(2.5)  # seconds pass while the lower panels lie hidden
    assert right_click(desktop, 1600, 60)
    keys(desktop, "v", "l")
    assert wait_for(lambda: clock_height(desktop) == 420, 5)
    assert desktop.reg_query("viewMode") == ("REG_DWORD", "0x2")
    assert right_click(desktop, 1600, 300)
    keys(desktop, "v", "t")
    assert wait_for(lambda: clock_height(desktop) == 580, 5)
    assert desktop.reg_query("viewMode") == ("REG_DWORD", "0x3")

    shot = desktop.screenshot()
    now, _ = read_now(shot)
    assert read_grid(shot) == expected_grid(2009, 2, 1, FEBRUARY_HOLIDAYS)
    assert target_row(shot) == ["2009", "2", "1", "13", "00", "00"]
    texts, colours = countdown(shot)
    left = datetime.datetime(2009, 2, 1, 13) - now
    shown = datetime.timedelta(hours=int(texts[1]), minutes=int(texts[2]), seconds=int(texts[3]))
    assert texts[0] == "↓   0" and colours == {2}
    assert abs((shown - left).total_seconds()) <= 1


def test_a_typed_target_is_stored_and_shows_on_the_clock(desktop):
    desktop.start(START)
    assert desktop.find_windows()
    time.sleep(1.5)
    assert target_row(desktop.screenshot()) == [""] * 6
    _, (x, y, w, h) = open_target_dialog(desktop)
    assert (w, h) == (288, 74)  # the client area: nothing decorates it without a window manager
    before, _ = read_now(desktop.screenshot())
    xdo(desktop, "type", "--delay", "50", "2010/2/3")
    time.sleep(1.2)
    after, _ = read_now(desktop.screenshot())
    assert (after - before).total_seconds() >= 1, "the clock stopped while the dialog was open"

    # That it is drawn at once, not at the next tick, is for the tick's unit tests: a screenshot
    # under load can take longer than the second between the two.
    keys(desktop, "Return", wait=0)
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    shown = wait_for(lambda: target_row(desktop.screenshot()) == ["2010", "2", "3", "0", "00", "00"], 5)
    assert shown
    assert desktop.reg_query("targetDate") == ("REG_SZ", "2010/02/03 00:00:00")
    texts, colours = countdown(desktop.screenshot())
    assert texts[0].startswith("↓") and colours == {2}  # 367 days ahead


def test_text_that_is_no_date_gives_the_message_and_keeps_the_dialog(desktop):
    desktop.start(START)
    assert desktop.find_windows()
    open_target_dialog(desktop)
    for typed in ("abc", ""):
        if typed:
            xdo(desktop, "type", "--delay", "50", typed)
        keys(desktop, "Return")
        box = wait_for(lambda: dialog_window(desktop, "変換不能"), 5)
        assert box, f"no message box for {typed!r}"
        assert dialog_window(desktop) is not None
        keys(desktop, "Return")  # the box's only button
        assert wait_for(lambda: dialog_window(desktop, "変換不能") is None, 5)
        assert dialog_window(desktop) is not None
        keys(desktop, "ctrl+a", "BackSpace")
    keys(desktop, "Escape")
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    assert desktop.reg_query("targetDate") is None


def click_button(desktop, dialog, left):
    _, (x, y, _, _) = dialog
    xdo(desktop, "mousemove", str(x + left + 40), str(y + 52))
    xdo(desktop, "click", "1")


def test_clear_blanks_the_target_and_countdown_rows(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    desktop.start(START)
    assert desktop.find_windows()
    time.sleep(1.5)
    assert target_row(desktop.screenshot()) == ["2009", "2", "1", "13", "00", "00"]
    dialog = open_target_dialog(desktop)
    click_button(desktop, dialog, 112)  # Clear
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    assert wait_for(lambda: target_row(desktop.screenshot()) == [""] * 6, 3)
    texts, _ = countdown(desktop.screenshot())
    assert texts[0] == "?    " and all(t.strip() == "" for t in texts[1:])
    assert desktop.reg_query("targetDate") == ("REG_SZ", "1899/12/30 00:00:00")


def test_cancel_after_a_valid_date_changes_nothing(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    desktop.start(START)
    assert desktop.find_windows()
    dialog = open_target_dialog(desktop)
    xdo(desktop, "type", "--delay", "50", "2010/2/3")
    click_button(desktop, dialog, 200)  # Cancel
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    time.sleep(1.5)
    assert target_row(desktop.screenshot()) == ["2009", "2", "1", "13", "00", "00"]
    assert desktop.reg_query("targetDate") == ("REG_SZ", "2009/02/01 13:00:00")


def test_the_exit_item_ends_the_process(desktop):
    process = desktop.start(START)
    assert desktop.find_windows()
    assert right_click(desktop, 1600, 300)
    keys(desktop, "x", wait=0)
    assert process.wait(15) == 0
    assert desktop.find_windows(timeout=1) == []
