"""A feed that stalls holds up neither the clock, its unlit target rows, nor its exit."""
import datetime
import time

import pytest

from conftest import CLOCK_KEY, wait_for
from clock_reader import TARGET, ClockReader

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


@pytest.mark.parametrize("mode", ["trickle", "silent"])
def test_a_stalled_feed_holds_up_neither_the_clock_nor_the_exit(desktop, feed, mode):
    server = feed(mode=mode, lifetime=90)
    # No wallpaper to begin with: an earlier test's killed clock may have left its own.
    desktop.reg_add("Wallpaper", "REG_SZ", "", key=DESKTOP_KEY)
    start = datetime.datetime(2009, 2, 1, 12, 0, 0)
    clock = desktop.start(start.strftime("%Y-%m-%d %H:%M:%S"))
    started = time.time()
    windows = desktop.find_windows(timeout=20)
    assert time.time() - started < 12, "the window waited for the feed"
    assert len(windows) == 1 and desktop.geometry(windows[0]) == (1460, 20, 440, 580)
    assert wait_for(lambda: server.requests, 10), "the feed was never asked"
    reader = ClockReader()
    shot = desktop.screenshot()
    first = reader.now(shot)
    assert first and start <= first <= start + datetime.timedelta(seconds=40)
    time.sleep(3)
    second = reader.now(desktop.screenshot())
    assert 2 <= (second - first).total_seconds() <= 5
    # No target: six unlit target fields, an unlit sign and four unlit countdown fields.
    assert reader.texts(shot, TARGET) == [""] * 6
    assert reader.countdown(shot) == (["?    ", "", "", ""], set())

    # Exit while the download still runs: the desktop comes back and the process ends at once.
    assert desktop.helper("close").returncode == 0
    asked = time.time()
    clock.wait(10)
    # Hiding the window costs 2 s under Wine on Xvfb: it waits for a window manager to withdraw
    # it, and there is none. Without a download the rest took 11 ms; with one the whole exit is no longer.
    assert time.time() - asked <= 3.0
    assert desktop.reg_query("Wallpaper", key=DESKTOP_KEY) == ("REG_SZ", "")
    assert desktop.reg_query("originalDesktop", key=CLOCK_KEY) is None
