"""The clock follows the display: a change of resolution in a Wine virtual desktop (a dropped clock
keeps its corner) and 144 and 192 DPI, each from one start (a program manager that starts left of
the primary monitor: test_desktop)."""
import datetime
import glob
import os

import numpy as np
import pytest
from PIL import Image

from conftest import EXE, SCREEN, Desktop, run, start_xvfb, wait_for, worker_display
from clock_reader import GREEN, ClockReader, expected_grid
from test_menu import DIALOG
from test_place import drag


def rect(seen):
    if "rect" not in seen:
        return None
    left, top, right, bottom = (int(v) for v in seen["rect"].split(","))
    return left, top, right - left, bottom - top


def periodic(img, step):
    """The picture repeats every `step` pixels across and down (above the logo)."""
    part = img[: img.shape[0] // 2].astype(int)
    return (part[:, step:] == part[:, :-step]).all() and (part[step:] == part[:-step]).all()


def test_a_clock_dropped_at_the_bottom_left_keeps_that_corner_through_a_change_of_resolution(desktop):
    # The desktop named "shell" has a task bar, whose work area follows the new screen a little later.
    desktop.start(exe="explorer", args=("/desktop=shell,1920x1080", EXE))
    # A helper started before the desktop is up would make it at the default size.
    assert wait_for(lambda: "1920x1080+0+0" in run(["xwininfo", "-root", "-children"]).stdout, 30)
    inside = Desktop(virtual_desktop="shell")
    assert rect(inside.report(lambda s: s.get("visible") == "1", 60)) == (1460, 20, 440, 580)
    drag(inside, (1480, 300), (25, 1075))  # past the corner: it stops on the work area's edges
    seen = inside.report(lambda s: rect(s) and rect(s)[:2] != (1460, 20), 30)
    bar = SCREEN[1] - rect(seen)[1] - 580
    assert rect(seen)[0] == 0 and bar > 0, seen
    assert inside.helper("mode", "1600", "900").returncode == 0
    # Under Wine a process is told the task bar's new work area only when the desktop's monitors
    # are written again, which a new wallpaper does: the clock's own new one, when it comes after
    # the task bar's move, and not when before (seen under load: the clock then stood at the old
    # bottom for good, and new processes too read the old work area). The wallpaper set again as
    # it is, until a new process reads the new work area and once more after, stands in for a
    # shell that tells every process at once. No display message comes with it: the clock must
    # see the monitors changed at its ticks.
    wallpaper, work = seen["wallpaper"], f"0,0,1600,{900 - bar}"

    def told():
        assert inside.helper("set-wallpaper", wallpaper).returncode == 0
        return inside.report().get("work") == work
    assert wait_for(told, 60, step=1), inside.report()
    assert inside.helper("set-wallpaper", wallpaper).returncode == 0
    seen = inside.report(lambda s: rect(s) == (0, 900 - bar - 580, 440, 580), 60)
    assert rect(seen) == (0, 900 - bar - 580, 440, 580), seen
    path = run(["winepath", "-u", seen["wallpaper"]]).stdout.strip()
    assert wait_for(lambda: Image.open(path).size == (1600, 900), 30)
    img = np.asarray(Image.open(path).convert("RGB"))
    # (The logo's place at the screen's corner: test_download's screenshot of tools/run_clock.sh.)
    assert periodic(img, 20) and not periodic(img, 10)


# At each DPI: window (left, top, width, height) on a 1920-wide screen, mosaic cell, the target
# dialog's client size and its text box (left, top, width, height).
DPI_CASES = {
    144: ((1230, 30, 660, 870), 30, (432, 111), (12, 12, 410, 27)),
    192: ((1000, 40, 880, 1160), 40, (576, 148), (16, 16, 546, 36)),
}


@pytest.fixture
def scaled(request, display):
    """A Wine session of its own at the DPI, on an X screen of its own, tall enough for the
    countdown row at 192 DPI."""
    dpi = request.param
    session = Desktop.own(f"dpi{dpi}", worker_display("TAVRO_DPI_DISPLAY", 53))
    xvfb = start_xvfb(session.display, (1920, 1240))
    session.reg_add("LogPixels", "REG_DWORD", dpi, key=r"HKCU\Control Panel\Desktop")
    session.reset().reg_add("targetDate", "REG_SZ", "2009/02/02 13:00:00")
    session.kill_all()  # LogPixels is read when the session starts
    yield dpi, session
    session.kill_all()
    xvfb.terminate()
    xvfb.wait(10)


@pytest.mark.parametrize("scaled", [144, 192], indirect=True)
def test_at_higher_dpi_the_clock_its_wallpaper_and_the_target_dialog_scale(scaled):
    dpi, session = scaled
    window, cell, client, edit = DPI_CASES[dpi]
    session.start("2009-02-01 12:00:00")
    assert session.clock_geometry() == window
    reader = ClockReader(dpi / 192, *window[:2])
    shots = []
    assert wait_for(lambda: shots.append(session.screenshot()) or reader.now(shots[-1]), 20), "the time does not read"
    shot = shots[-1]
    now = reader.now(shot)
    assert datetime.datetime(2009, 2, 1, 12) <= now <= datetime.datetime(2009, 2, 1, 12, 1)
    assert reader.grid(shot) == expected_grid(2009, 2, 1, {11})
    left = datetime.datetime(2009, 2, 2, 13) - now  # 1 day and an hour, less the seconds run
    assert reader.countdown(shot) == (["↓   1", str(left.seconds // 3600), "%02d" % (left.seconds // 60 % 60),
                                       "%02d" % (left.seconds % 60)], {GREEN})

    wallpaper = glob.glob(os.path.join(session.prefix, "drive_c", "users", "*", "*", "mosaic.bmp"))
    assert wallpaper

    def scaled_cells():
        try:
            img = np.asarray(Image.open(wallpaper[0]).convert("RGB"))
        except OSError:  # being written
            return False
        return periodic(img, cell) and not periodic(img, cell // 2)

    # The prefix, copied from the shared one, holds a mosaic of 96 DPI until the clock writes its own.
    assert wait_for(scaled_cells, 20)

    session.menu_item("s", "t", dialog=DIALOG)
    [(box, controls)] = session.dialogs(DIALOG)
    assert box["client"][2:] == client
    text_box = next(c for c in controls.values() if c["class"].lower() == "edit")
    assert text_box["rect"] == edit

    typed = "2010/12/31 23:59:59"
    session.xdo("type", "--delay", "50", typed)
    bx, by = box["client"][0] + edit[0] + 2, box["client"][1] + edit[1] + 2

    def ink():
        inner = session.screenshot()[by : by + edit[3] - 4, bx : bx + edit[2] - 4].astype(int).sum(axis=2) < 300
        cols = np.nonzero(inner)[1]
        return (inner,) if cols.size and cols.max() - cols.min() > len(typed) * dpi / 96 * 4 else None

    shown_ink = wait_for(ink, 10)
    assert shown_ink, "what was typed does not show whole"
    rows, cols = np.nonzero(shown_ink[0])
    # Whole: not cut at the top or bottom, not scrolled off at either side.
    assert rows.min() > 0 and rows.max() < shown_ink[0].shape[0] - 1
    assert cols.min() <= 6 and cols.max() < shown_ink[0].shape[1] - 4
