"""The clock where the user drags it: on the 24H2 stand-in shell (a child of another process's
window, which Wine does not draw: checked through the helper's report), through a restart, put
back by 「位置を元に戻す」 (its corner kept through a change of resolution: test_display);
dropped on a second monitor (Xephyr with two Xinerama heads) and read back from a screenshot;
and the wallpaper choice."""
import datetime
import os
import subprocess

import pytest
from PIL import Image

from conftest import BUILD, MOSAIC_COLOUR, Desktop, run, start_xvfb, wait_for, windows_path, worker_display
from clock_reader import ClockReader
from test_desktop import OWN, RECORD_VALUES, USER, USER_COLOUR, desktop_of, exit_clock, kill_clock, shell, start_clock, unix  # noqa: F401
from test_desktop_host import Shell

PLACE = {"placeMonitor": "\\\\.\\DISPLAY1", "placeCorner": "0x2", "placeX": "0x64", "placeY": "0x28", "placeDpi": "0x60"}


def drag(session, start, end, steps=6):
    """The last move and the release at once, as a quick flick: the clock took the press for where
    the pointer was when it got to the press, and landed a step short, one drop in two."""
    session.xdo("mousemove", *map(str, start), "mousedown", "1")
    for i in range(1, steps):
        session.xdo("mousemove", *(str(a + (b - a) * i // steps) for a, b in zip(start, end)))
    session.xdo("mousemove", *map(str, end), "mouseup", "1")


def stored(session):
    return {name: (session.reg_query(name) or (None, None))[1] for name in PLACE}


def test_a_child_of_the_24h2_shell_dragged_restarted_put_back_and_unlayered_for_its_setparent(desktop, tmp_path):
    shell = Shell(desktop, "24h2", str(tmp_path))
    start_clock(desktop)
    desktop.click(1480, 300)  # a press without a move
    assert desktop.report()["rect"] == "1460,20,1900,600" and desktop.reg_query("placeCorner") is None
    # To 100 px from the left and 40 above the bottom: the place is stored at the drop.
    drag(desktop, (1480, 300), (120, 740))
    seen = desktop.report(lambda s: s["rect"] == "100,460,540,1040")
    assert (seen["rect"], seen["parent_class"], seen["below"], seen["alpha"]) == (
        "100,460,540,1040", "Progman", "SHELLDLL_DefView", "255")
    assert stored(desktop) == PLACE
    kill_clock(desktop)
    start_clock(desktop)
    assert desktop.report()["rect"] == "100,460,540,1040"
    assert desktop.right_click(120, 740), "the popup menu did not open"
    desktop.keys("s", "r")
    assert desktop.report(lambda s: s["rect"] == "1460,20,1900,600")["rect"] == "1460,20,1900,600"
    assert set(stored(desktop).values()) == {None}

    # The icons move into a WorkerW: the clock, layered under Progman, goes there. Wine announces
    # no parent change, so a watch reads its parent and style over and over meanwhile.
    log = tmp_path / "parents.log"
    desktop.start(exe=os.path.join(BUILD, "helpers", "tavro_parentwatch.exe"), args=(windows_path(log), "8"))
    assert wait_for(lambda: desktop.report()["clock"] == "1", 15)
    assert desktop.helper("shell-do", "split").returncode == 0
    assert wait_for(log.exists, 30)
    # The step between (unlayered under Progman) lasts microseconds, too short for a loaded watch.
    changes = [line.split(" ", 1)[1] for line in log.read_text().splitlines()]
    assert changes[0] == "Progman layered=1" and changes[-1] == "WorkerW layered=0" and "WorkerW layered=1" not in changes, changes


@pytest.fixture
def two_monitors(display):
    """Xephyr with a 1920 x 1080 head and a 1280 x 1024 one right of it, in an Xvfb of its own;
    without RandR, Wine takes its monitors from Xinerama (with it, Wine saw the first head only)."""
    host_display = worker_display("TAVRO_TWO_MONITOR_HOST_DISPLAY", 54)
    host = start_xvfb(host_display, (3200, 1080))
    session = Desktop.own("two-monitors", worker_display("TAVRO_TWO_MONITOR_DISPLAY", 55))
    xephyr = subprocess.Popen(["Xephyr", session.display, "-screen", "1920x1080+0+0", "-screen", "1280x1024+1920+0",
                               "+xinerama", "-extension", "RANDR", "-nolisten", "tcp"],
                              env=dict(os.environ, DISPLAY=host_display), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert wait_for(lambda: run(["xdpyinfo"], 10, display=session.display).returncode == 0, 20)
    yield session.reset()
    session.kill_all()
    for server in (xephyr, host):
        server.terminate()
        server.wait(10)


def test_dropped_at_the_bottom_left_of_a_second_monitor_it_shows_there_after_a_restart(two_monitors, tmp_path):
    session = two_monitors
    session.start("2009-02-01 12:00:00")
    assert session.shown_on_desktop()["rect"] == "1460,20,1900,600"  # its start-up over: a press is taken
    # 5 px off the second monitor's left and bottom edges: it snaps onto them.
    drag(session, (1480, 300), (1480 + 1925 - 1460, 300 + 1024 - 5 - 600))
    assert wait_for(lambda: session.clock_geometry() == (1920, 444, 440, 580), 10)
    assert stored(session) == dict(PLACE, placeMonitor="\\\\.\\DISPLAY2", placeX="0x0", placeY="0x0")
    session.kill_all()
    session.start("2009-02-01 12:00:00")
    assert wait_for(lambda: session.clock_geometry() == (1920, 444, 440, 580), 30)
    reader, shots = ClockReader(0.5, 1920, 444), []
    assert wait_for(lambda: shots.append(session.screenshot()) or reader.now(shots[-1]), 20), "the time does not read there"
    Image.fromarray(shots[-1]).save(tmp_path / "second-monitor.png")
    assert datetime.datetime(2009, 2, 1, 12) <= reader.now(shots[-1]) <= datetime.datetime(2009, 2, 1, 12, 1)


def test_the_wallpaper_choice_off_puts_the_desktop_back_at_once_and_a_start_with_it_off_changes_nothing(shell):
    start_clock(shell)
    shell.menu_item("s", "w")
    back = shell.report(lambda s: desktop_of(s) == (USER, USER_COLOUR, "2", "0"), 60)
    assert desktop_of(back) == (USER, USER_COLOUR, "2", "0") and back["clock"] == "1"
    assert shell.reg_query("changeWallpaper") == ("REG_DWORD", "0x0")
    assert all(shell.reg_query(name) is None for name in RECORD_VALUES)
    # Killed with the choice off, it leaves nothing to put back; a start with it off writes no file.
    kill_clock(shell)
    os.remove(unix(OWN))
    shell.start()
    seen = shell.report(lambda s: s.get("visible") == "1", 60)
    assert desktop_of(seen) == (USER, USER_COLOUR, "2", "0") and not os.path.exists(unix(OWN))
    shell.menu_item("s", "w")
    on = shell.report(lambda s: s["colour"] == MOSAIC_COLOUR, 60)
    assert desktop_of(on) == (OWN, MOSAIC_COLOUR, "0", "0") and os.path.exists(unix(OWN))
    assert all(shell.reg_query(name) is not None for name in RECORD_VALUES)
    assert desktop_of(exit_clock(shell)) == (USER, USER_COLOUR, "2", "0")
