"""The popup menu, the view switch and the countdown target dialog, driven with the mouse and keys."""
import datetime

import numpy as np

from conftest import MENU_POINT, wait_for
from clock_reader import GREEN, TARGET, ClockReader, expected_grid

DIALOG = "目標時刻を日付形式で入力してください"
START = "2009-02-01 12:00:00"
READER = ClockReader()


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


def shown_now(desktop):
    return READER.now(desktop.screenshot())


def runs_on(desktop, seconds=1):
    """Whether the shown time moves on by seconds within a few seconds."""
    before = wait_for(lambda: shown_now(desktop))
    return before and wait_for(lambda: ((shown_now(desktop) or before) - before).total_seconds() >= seconds, 15)


def current_view_row(desktop, x, y):
    """The checked rows of the view submenu and of the popup, opened by a right click at (x, y)."""
    assert desktop.right_click(x, y)
    desktop.keys("v")
    levels = wait_for(lambda: len(desktop.menus()) == 2 and desktop.menus())
    assert levels, "the view submenu did not open"
    top, view = levels
    assert view[0] >= top[0] + top[2] - 8  # beside the popup
    assert abs(top[3] / 6 - view[3] / 3) <= 2  # six items there (暦 and 予定 among them), three here: one row height
    shot = desktop.screenshot()
    desktop.keys("Escape", "Escape")
    assert wait_for(lambda: not desktop.menus(), 15)
    return checked_rows(shot, view, 3), checked_rows(shot, top, 6)


def choose_view(desktop, x, y, key, height, stored):
    assert desktop.right_click(x, y)
    desktop.keys("v", key)
    assert wait_for(lambda: desktop.clock_geometry()[3] == height, 5), f"view {stored} is not {height} high"
    assert not desktop.menus()
    assert desktop.reg_query("viewMode") == ("REG_DWORD", hex(stored))


def test_the_menu_opens_at_a_right_click_with_the_view_checked_the_views_are_stored_and_the_target_dialog(desktop):
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 13:00:00")
    desktop.start(START)
    assert desktop.find_windows()
    for button in ("1", "2"):  # left and middle clicks do nothing
        desktop.click(*MENU_POINT, button)
    assert wait_for(lambda: shown_now(desktop))
    assert not desktop.menus() and [n for _, n, _ in desktop.our_windows()] == ["TavroClock"]

    opened = desktop.right_click(*MENU_POINT)
    assert len(opened) == 1 and opened[0][:2] == MENU_POINT
    desktop.click(400, 600)  # a click elsewhere closes it and does nothing
    assert wait_for(lambda: not desktop.menus(), 15)
    assert current_view_row(desktop, *MENU_POINT) == ([2], [])  # the countdown view is the default
    assert desktop.clock_geometry()[3] == 580 and desktop.reg_query("viewMode") is None
    assert runs_on(desktop), "the clock stopped"

    choose_view(desktop, *MENU_POINT, "c", 80, 1)
    desktop.kill_all()
    process = desktop.start(START)
    assert desktop.clock_geometry() == (1460, 20, 440, 80)
    assert current_view_row(desktop, 1600, 60)[0] == [0]
    # Seconds pass while the lower panels lie hidden: back in view they are up to date.
    assert wait_for(lambda: (shown_now(desktop) or datetime.datetime.min) >= datetime.datetime(2009, 2, 1, 12, 0, 3))
    choose_view(desktop, 1600, 60, "l", 420, 2)
    choose_view(desktop, *MENU_POINT, "t", 580, 3)
    shot = desktop.screenshot()
    now = READER.now(shot)
    assert READER.grid(shot) == expected_grid(2009, 2, 1, {11})  # the feed is unreachable: computed holidays
    assert READER.texts(shot, TARGET) == ["2009", "2", "1", "13", "00", "00"]
    texts, colours = READER.countdown(shot)
    shown = datetime.timedelta(hours=int(texts[1]), minutes=int(texts[2]), seconds=int(texts[3]))
    assert texts[0] == "↓   0" and colours == {GREEN}
    assert abs((shown - (datetime.datetime(2009, 2, 1, 13) - now)).total_seconds()) <= 1

    # The countdown dialog stores and shows a target, refuses other text, clears and cancels.
    target = lambda: READER.texts(desktop.screenshot(), TARGET)

    def press(dialog, left):
        _, (x, y, _, _) = dialog
        desktop.click(x + left + 40, y + 52)
        assert wait_for(lambda: desktop.dialog_window(DIALOG) is None, 15)

    # Text that is no date: the message, and the dialog stays.
    dialog = desktop.menu_item("s", "t", dialog=DIALOG)
    assert dialog[1][2:] == (288, 74)  # the client area: nothing decorates it without a window manager
    desktop.xdo("type", "--delay", "50", "abc")
    desktop.keys("Return")
    assert wait_for(lambda: desktop.dialog_window("変換不能"), 5), "no message box"
    desktop.keys("Return")  # the box's only button
    assert wait_for(lambda: desktop.dialog_window("変換不能") is None, 15)
    assert desktop.dialog_window(DIALOG) is not None
    # Cancel after a valid date changes nothing.
    desktop.keys("ctrl+a", "BackSpace")
    desktop.xdo("type", "--delay", "50", "2010/2/3")
    press(dialog, 200)
    assert desktop.reg_query("targetDate") == ("REG_SZ", "2009/02/01 13:00:00")
    assert target() == ["2009", "2", "1", "13", "00", "00"]

    # Clear blanks the target and countdown rows.
    press(desktop.menu_item("s", "t", dialog=DIALOG), 112)
    assert wait_for(lambda: target() == [""] * 6, 15)
    assert READER.countdown(desktop.screenshot())[0] == ["?    ", "", "", ""]
    assert desktop.reg_query("targetDate") == ("REG_SZ", "1899/12/30 00:00:00")

    # A typed target is stored and shown; the clock runs on while the dialog is open.
    desktop.menu_item("s", "t", dialog=DIALOG)
    desktop.xdo("type", "--delay", "50", "2010/2/3")
    assert runs_on(desktop), "the clock stopped"
    desktop.keys("Return", wait=0)
    assert wait_for(lambda: desktop.dialog_window(DIALOG) is None, 15)
    assert wait_for(lambda: target() == ["2010", "2", "3", "0", "00", "00"], 15)
    assert desktop.reg_query("targetDate") == ("REG_SZ", "2010/02/03 00:00:00")
    texts, colours = READER.countdown(desktop.screenshot())
    assert texts[0].startswith("↓") and colours == {GREEN}  # 367 days ahead

    # The exit item ends the process.
    desktop.menu_item("x")
    assert process.wait(15) == 0
    assert desktop.find_windows(timeout=1) == []
