"""The clock on the desktop: under a stand-in program manager, the mosaic wallpaper and the
desktop colour while it runs, and both put back at exit, after a kill too.

Wine has no program-manager window, so the tests start the helper's progman stand-in. The clock is then a child
window that xdotool does not list; the helper's report (run inside Wine) tells where it is,
and also reads the wallpaper and the desktop colour through the system calls. Wine 8 does not
draw a child window whose parent belongs to another process (a plain WS_CHILD window shows
nothing either), so while it lies under the stand-in the clock is seen through these calls and
through what it asks the holiday feed, not on the screen.
"""
import os
import subprocess
import tempfile

import numpy as np
import pytest
from PIL import Image

from conftest import SCREEN, WINEPREFIX, Desktop, helper, run
from conftest import desktop_report as report
from test_menu import keys, right_click, wait_for

SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
COLOURS_KEY = r"HKCU\Control Panel\Colors"
PICTURES = r"C:\tavro-e2e\Pictures"
PICTURES_UNIX = os.path.join(WINEPREFIX, "drive_c", "tavro-e2e", "Pictures")
OWN_WALLPAPER = PICTURES + r"\mosaic.bmp"
OWN_FILE = os.path.join(PICTURES_UNIX, "mosaic.bmp")
USER_WALLPAPER = r"C:\users\Public\sea.bmp"
USER_COLOUR = "10 20 30"
MOSAIC_COLOUR = "70 74 78"
BODY = np.array([0x46, 0x4A, 0x4E])
RECORD_VALUES = ("originalWallPaperParts", "originalWallPaper1", "originalDesktopColour")


def report_when(condition, timeout=30):
    """The helper report's view once condition holds for it, else the last one seen."""
    last = {}

    def holds():
        last["seen"] = report()
        return condition(last["seen"])

    wait_for(holds, timeout)
    return last["seen"]


def reg_value(key, name):
    return Desktop().reg_query(name, key=key)


def reg_put(key, name, kind, data):
    Desktop().reg_add(name, kind, data, key=key)


def reg_restore(key, name, saved):
    if saved is None:
        run(["wine", "reg", "delete", key, "/v", name, "/f"], timeout=60)
    else:
        reg_put(key, name, saved[0], saved[1])


class Shell:
    """A desktop with a stand-in program manager, a pictures folder of the test's own and a
    wallpaper and colour the user chose."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.progman = None

    def start_progman(self, *args):
        self.progman = self.desktop.start_helper("progman", *args)
        # The stand-in is up once a window of its title exists.
        self.desktop.find_windows("Program Manager", timeout=30)

    def start_clock(self, fake_time=None):
        clock = self.desktop.start(fake_time=fake_time)
        seen = report_when(lambda s: s.get("clock") == "1" and s.get("colour") == MOSAIC_COLOUR, timeout=60)
        assert seen.get("clock") == "1", seen
        return clock

    def kill_clock(self, clock):
        """Only the clock's own process: the wineserver, which holds the colour, stays."""
        clock.kill()
        clock.wait(30)
        return report_when(lambda s: s.get("clock") == "0")

    def exit_clock(self):
        """The exit item of the popup menu, opened with a right click on the clock."""
        assert right_click(self.desktop, 1600, 300), "no popup menu"
        keys(self.desktop, "x", wait=0)
        return report_when(lambda s: s.get("clock") == "0" and s.get("colour") != MOSAIC_COLOUR)


@pytest.fixture
def shell(desktop):
    saved = {
        (SHELL_FOLDERS, "My Pictures"): reg_value(SHELL_FOLDERS, "My Pictures"),
        (DESKTOP_KEY, "Wallpaper"): reg_value(DESKTOP_KEY, "Wallpaper"),
        (COLOURS_KEY, "Background"): reg_value(COLOURS_KEY, "Background"),
    }
    subprocess.run(["rm", "-rf", PICTURES_UNIX], check=True)
    os.makedirs(PICTURES_UNIX)
    reg_put(SHELL_FOLDERS, "My Pictures", "REG_EXPAND_SZ", PICTURES)
    reg_put(DESKTOP_KEY, "Wallpaper", "REG_SZ", USER_WALLPAPER)
    # Read by the next wineserver; the colour itself lives only as long as that wineserver.
    reg_put(COLOURS_KEY, "Background", "REG_SZ", USER_COLOUR)
    desktop.kill_all()
    s = Shell(desktop)
    s.start_progman()
    yield s
    desktop.kill_all()
    for (key, name), value in saved.items():
        reg_restore(key, name, value)
    subprocess.run(["rm", "-rf", os.path.dirname(PICTURES_UNIX)], check=True)


def test_the_clock_lies_under_the_program_manager_and_changes_the_desktop(shell):
    before = report()
    assert before["wallpaper"] == USER_WALLPAPER and before["colour"] == USER_COLOUR
    shell.start_clock()
    seen = report()
    assert seen["parent_class"] == "Progman" and seen["parent_title"] == "Program Manager"
    assert seen["rect"] == "1460,20,1900,600" and seen["visible"] == "1"
    assert seen["wallpaper"] == OWN_WALLPAPER
    assert reg_value(DESKTOP_KEY, "Wallpaper") == ("REG_SZ", OWN_WALLPAPER)
    assert seen["colour"] == MOSAIC_COLOUR



def test_the_wallpaper_file_is_a_screen_sized_mosaic_with_the_logo(shell):
    shell.start_clock()
    r = subprocess.run(["identify", "-format", "%m %w %h", OWN_FILE], capture_output=True, text=True, timeout=30)
    assert r.returncode == 0, r.stderr
    # BMP3: the plain BITMAPINFOHEADER that every program reads.
    assert r.stdout.split() == ["BMP3", str(SCREEN[0]), str(SCREEN[1])]
    with tempfile.TemporaryDirectory(dir="/tmp") as folder:
        png = os.path.join(folder, "mosaic.png")
        subprocess.run(["convert", OWN_FILE, png], check=True, timeout=60)
        picture = np.asarray(Image.open(png).convert("RGB")).astype(int)

    # One tile repeated every 20 px from the top left: bevel bright at its corner, body inside.
    tile = picture[:20, :20]
    assert np.abs(tile[10, 10] - BODY).max() <= 3
    assert tile[0, 0].sum() > tile[10, 10].sum() + 20
    tiled = np.tile(tile, (SCREEN[1] // 20 + 1, SCREEN[0] // 20 + 1, 1))[: SCREEN[1], : SCREEN[0]]
    differs = np.argwhere((picture != tiled).any(axis=2))
    # Only the logo differs: it ends 24 px left of and 32 px above the work area's corner
    # (the whole screen here), 246 x 60 px at most.
    assert len(differs) > 1000
    top, left = differs.min(axis=0)
    bottom, right = differs.max(axis=0)
    assert SCREEN[0] - 270 <= left and right <= SCREEN[0] - 25
    assert SCREEN[1] - 92 <= top and bottom <= SCREEN[1] - 33
    assert right - left >= 200 and bottom - top >= 40


@pytest.mark.parametrize("wallpaper", [USER_WALLPAPER, ""])
def test_exit_puts_back_the_wallpaper_and_the_colour(shell, wallpaper):
    helper("set-wallpaper", wallpaper)
    assert report()["wallpaper"] == wallpaper
    clock = shell.start_clock()
    assert report()["wallpaper"] == OWN_WALLPAPER
    after = shell.exit_clock()
    assert after["wallpaper"] == wallpaper
    assert reg_value(DESKTOP_KEY, "Wallpaper") == ("REG_SZ", wallpaper)
    assert after["colour"] == USER_COLOUR
    clock.wait(30)
    # The file stays; the record of the user's settings goes.
    assert os.path.exists(OWN_FILE)
    assert all(shell.desktop.reg_query(name) is None for name in RECORD_VALUES)


def test_a_wallpaper_picked_while_the_clock_runs_stays(shell):
    shell.start_clock()
    picked = r"C:\users\Public\picked while running.bmp"
    assert helper("set-wallpaper", picked).returncode == 0
    after = shell.exit_clock()
    assert after["wallpaper"] == picked
    assert after["colour"] == USER_COLOUR


def test_a_pictures_folder_that_cannot_be_written_leaves_the_wallpaper_alone(shell):
    # A folder in the file's place: the picture cannot be written there.
    os.makedirs(OWN_FILE)
    shell.start_clock()
    seen = report()
    assert seen["wallpaper"] == USER_WALLPAPER
    assert seen["colour"] == MOSAIC_COLOUR
    assert seen["parent_class"] == "Progman"
    after = shell.exit_clock()
    assert after["wallpaper"] == USER_WALLPAPER
    assert after["colour"] == USER_COLOUR


def test_after_a_kill_the_next_exit_puts_back_the_users_originals(shell):
    left = shell.kill_clock(shell.start_clock())
    assert left["clock"] == "0"
    assert left["wallpaper"] == OWN_WALLPAPER and left["colour"] == MOSAIC_COLOUR
    assert shell.desktop.reg_query("originalDesktopColour") is not None

    shell.start_clock()
    after = shell.exit_clock()
    assert after["wallpaper"] == USER_WALLPAPER
    assert after["colour"] == USER_COLOUR


def test_after_a_kill_a_wallpaper_the_user_picked_since_wins(shell):
    shell.kill_clock(shell.start_clock())
    picked = r"C:\users\Public\picked after the kill.bmp"
    assert helper("set-wallpaper", picked).returncode == 0
    shell.start_clock()
    after = shell.exit_clock()
    assert after["wallpaper"] == picked
    assert after["colour"] == USER_COLOUR


def test_the_clock_comes_back_under_a_restarted_program_manager_and_ticks_on(shell, feed):
    # Started shortly before a new month: a calendar asked for January can only come from the
    # clock ticking on past midnight after it came back.
    server = feed()

    def months_asked():
        return [r.split("?")[1] for r in server.requests]

    shell.start_clock(fake_time="2026-12-31 23:59:25")
    december = "start-min=2026-11-01&start-max=2027-01-01"
    january = "start-min=2026-12-01&start-max=2027-02-01"
    assert months_asked() == [december]

    assert helper("close", "Program Manager").returncode == 0
    shell.progman.wait(30)
    gone = report_when(lambda s: s.get("clock") == "0" or s.get("parent_class") != "Progman", timeout=15)
    assert gone.get("parent_class") != "Progman"

    shell.start_progman("announce")
    back = report_when(lambda s: s.get("parent_class") == "Progman", timeout=30)
    assert back["parent_title"] == "Program Manager"
    assert back["rect"] == "1460,20,1900,600" and back["visible"] == "1"
    assert back["wallpaper"] == OWN_WALLPAPER and back["colour"] == MOSAIC_COLOUR
    assert months_asked() == [december], "came back without its canvas"

    wait_for(lambda: len(server.requests) >= 2, 60)
    assert months_asked() == [december, january]
    assert report()["parent_class"] == "Progman"

    after = shell.exit_clock()
    assert after["wallpaper"] == USER_WALLPAPER and after["colour"] == USER_COLOUR
