"""The popup menu, the view switch and the countdown target dialog, driven with the mouse and keys."""
import datetime
import time

import numpy as np

from conftest import run, wait_for as conftest_wait_for

from sevenseg import field_text
from test_calendar import expected_grid, read_grid
from test_clock_spine import NOW_FIELDS, read_now, read_row
from test_settings import countdown

DIALOG = "目標時刻を日付形式で入力してください"
START = "2009-02-01 12:00:00"
FEBRUARY_HOLIDAYS = {datetime.date(2009, 2, 11)}  # the feed is unreachable: the computed ones


def our_windows(desktop):
    """Visible windows of the clock's process: (id, name, geometry)."""
    found = []
    for wid in run(["xdotool", "search", "--onlyvisible", "--class", "tavroclock.exe"], timeout=20).stdout.split():
        try:
            found.append((wid, run(["xdotool", "getwindowname", wid], timeout=20).stdout.strip(), desktop.geometry(wid)))
        except KeyError:
            pass  # gone meanwhile
    return found


def menus(desktop):
    """Geometries of the open menu levels, outermost first (menus have no title)."""
    return sorted((g for _, name, g in our_windows(desktop) if name == ""), key=lambda g: g[0])


def wait_for(condition, timeout=10.0):
    return conftest_wait_for(condition, timeout)


def xdo(desktop, *args):
    run(["xdotool", *args], timeout=20)


def right_click(desktop, x, y):
    xdo(desktop, "mousemove", str(x), str(y), "click", "3")
    return wait_for(lambda: menus(desktop))


def keys(desktop, *names, wait=0.5):
    for name in names:
        xdo(desktop, "key", name)
        time.sleep(wait)  # the menu or dialog takes the key before the next one


def clock_height(desktop):
    windows = desktop.find_windows()
    assert len(windows) == 1
    return desktop.geometry(windows[0])[3]


def checked_rows(shot, menu, rows):
    """Rows of a menu level that show a mark in the check column left of the captions."""
    x, y, w, h = menu
    marked = []
    for i in range(rows):
        strip = shot[y + 3 + i * (h - 6) // rows : y + 3 + (i + 1) * (h - 6) // rows, x + 3 : x + 18].astype(int)
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


def shown_now(desktop):
    """The present time read off the screen, None while it does not read yet."""
    try:
        return read_now(desktop.screenshot())[0]
    except ValueError:
        return None


def target_row(shot):
    return [field_text(g).strip() for g in read_row(shot, 22, NOW_FIELDS)]


def current_view_row(desktop, x, y):
    """The checked row of the view submenu opened by a right click at (x, y); the menus closed."""
    assert right_click(desktop, x, y)
    keys(desktop, "v")
    levels = wait_for(lambda: len(menus(desktop)) == 2 and menus(desktop))
    assert levels, "the view submenu did not open"
    top, view = levels
    assert view[0] >= top[0] + top[2] - 8  # beside the popup
    assert abs(top[3] / 4 - view[3] / 3) <= 2  # four items there, three here: one row height
    shot = desktop.screenshot()
    keys(desktop, "Escape", "Escape")
    assert wait_for(lambda: not menus(desktop), 5)
    return checked_rows(shot, view, 3), checked_rows(shot, top, 4)


def choose_view(desktop, x, y, key, height, stored):
    assert right_click(desktop, x, y)
    keys(desktop, "v", key)
    assert wait_for(lambda: clock_height(desktop) == height, 5), f"view {stored} is not {height} high"
    assert not menus(desktop)
    assert desktop.reg_query("viewMode") == ("REG_DWORD", hex(stored))


def test_the_menu_opens_at_a_right_click_with_the_view_checked_and_the_views_are_stored(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    desktop.start(START)
    assert desktop.find_windows()
    for button in ("1", "2"):  # left and middle clicks do nothing
        xdo(desktop, "mousemove", "1600", "300")
        xdo(desktop, "click", button)
    before = wait_for(lambda: shown_now(desktop), 10)
    assert before
    assert not menus(desktop) and [n for _, n, _ in our_windows(desktop)] == ["TavroClock"]

    opened = right_click(desktop, 1600, 300)
    assert len(opened) == 1 and opened[0][:2] == (1600, 300)
    xdo(desktop, "mousemove", "400", "600")  # a click elsewhere closes it and does nothing
    xdo(desktop, "click", "1")
    assert wait_for(lambda: not menus(desktop), 5)
    assert current_view_row(desktop, 1600, 300) == ([2], [])  # the countdown view is the default
    assert clock_height(desktop) == 580 and desktop.reg_query("viewMode") is None
    assert wait_for(lambda: ((shown_now(desktop) or before) - before).total_seconds() >= 1, 5), "the clock stopped"

    choose_view(desktop, 1600, 300, "c", 80, 1)
    desktop.kill_all()
    desktop.start(START)
    assert desktop.geometry(desktop.find_windows()[0]) == (1460, 20, 440, 80)
    assert current_view_row(desktop, 1600, 60)[0] == [0]
    # Seconds pass while the lower panels lie hidden: back in view they are up to date.
    assert wait_for(lambda: (shown_now(desktop) or before) >= datetime.datetime(2009, 2, 1, 12, 0, 3), 10)
    choose_view(desktop, 1600, 60, "l", 420, 2)
    choose_view(desktop, 1600, 300, "t", 580, 3)
    shot = desktop.screenshot()
    now, _ = read_now(shot)
    assert read_grid(shot) == expected_grid(2009, 2, 1, FEBRUARY_HOLIDAYS)
    assert target_row(shot) == ["2009", "2", "1", "13", "00", "00"]
    texts, colours = countdown(shot)
    shown = datetime.timedelta(hours=int(texts[1]), minutes=int(texts[2]), seconds=int(texts[3]))
    assert texts[0] == "↓   0" and colours == {2}
    assert abs((shown - (datetime.datetime(2009, 2, 1, 13) - now)).total_seconds()) <= 1


def click_button(desktop, dialog, left):
    _, (x, y, _, _) = dialog
    xdo(desktop, "mousemove", str(x + left + 40), str(y + 52))
    xdo(desktop, "click", "1")


def test_the_countdown_dialog_stores_and_shows_a_target_refuses_other_text_clears_and_cancels(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    process = desktop.start(START)
    assert desktop.find_windows()
    assert wait_for(lambda: target_row(desktop.screenshot()) == ["2009", "2", "1", "13", "00", "00"], 10)

    # Text that is no date (or none): the message, and the dialog stays.
    dialog = open_target_dialog(desktop)
    assert dialog[1][2:] == (288, 74)  # the client area: nothing decorates it without a window manager
    for typed in ("abc", ""):
        if typed:
            xdo(desktop, "type", "--delay", "50", typed)
        keys(desktop, "Return")
        assert wait_for(lambda: dialog_window(desktop, "変換不能"), 5), f"no message box for {typed!r}"
        assert dialog_window(desktop) is not None
        keys(desktop, "Return")  # the box's only button
        assert wait_for(lambda: dialog_window(desktop, "変換不能") is None, 5)
        assert dialog_window(desktop) is not None
        keys(desktop, "ctrl+a", "BackSpace")
    # Cancel after a valid date changes nothing.
    xdo(desktop, "type", "--delay", "50", "2010/2/3")
    click_button(desktop, dialog, 200)
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    assert desktop.reg_query("targetDate") == ("REG_SZ", "2009/02/01 13:00:00")
    assert target_row(desktop.screenshot()) == ["2009", "2", "1", "13", "00", "00"]

    # Clear blanks the target and countdown rows.
    click_button(desktop, open_target_dialog(desktop), 112)
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    assert wait_for(lambda: target_row(desktop.screenshot()) == [""] * 6, 3)
    texts, _ = countdown(desktop.screenshot())
    assert texts[0] == "?    " and all(t.strip() == "" for t in texts[1:])
    assert desktop.reg_query("targetDate") == ("REG_SZ", "1899/12/30 00:00:00")

    # A typed target is stored and shown; the clock runs on while the dialog is open.
    open_target_dialog(desktop)
    before, _ = read_now(desktop.screenshot())
    xdo(desktop, "type", "--delay", "50", "2010/2/3")
    assert wait_for(lambda: ((shown_now(desktop) or before) - before).total_seconds() >= 1, 5), "the clock stopped"
    keys(desktop, "Return", wait=0)
    assert wait_for(lambda: dialog_window(desktop) is None, 5)
    assert wait_for(lambda: target_row(desktop.screenshot()) == ["2010", "2", "3", "0", "00", "00"], 5)
    assert desktop.reg_query("targetDate") == ("REG_SZ", "2010/02/03 00:00:00")
    texts, colours = countdown(desktop.screenshot())
    assert texts[0].startswith("↓") and colours == {2}  # 367 days ahead

    # The exit item ends the process.
    assert right_click(desktop, 1600, 300)
    keys(desktop, "x", wait=0)
    assert process.wait(15) == 0
    assert desktop.find_windows(timeout=1) == []
