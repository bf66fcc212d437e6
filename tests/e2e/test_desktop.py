"""The clock on the desktop: under a stand-in program manager, the mosaic wallpaper, its style and
the desktop colour while it runs, and the user's own put back at exit, after a kill too.

Wine has no program-manager window, so the tests start fake_progman. The clock is then a child
window that xdotool does not list; desktop_report (a helper run inside Wine) tells where it is,
and also reads the wallpaper, its style and the desktop colour through the system calls. Wine 8
does not draw a child window whose parent belongs to another process, so while it lies under the
stand-in the clock is seen through these calls and through what it asks the holiday feed, and
the wallpaper through the file it names, not on the screen.
"""
import glob
import os
import shutil
import subprocess
import tempfile

import numpy as np
import pytest
from PIL import Image

from conftest import HELPERS, SCREEN, WINEPREFIX, Desktop, run
from test_menu import keys, right_click, wait_for

SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
COLOURS_KEY = r"HKCU\Control Panel\Colors"
PICTURES = r"C:\tavro-e2e\Pictures"
OWN_WALLPAPER = PICTURES + r"\mosaic.bmp"
USER_WALLPAPER = r"C:\users\Public\sea.bmp"
USER_COLOUR = "10 20 30"
MOSAIC_COLOUR = "70 74 78"
BODY = np.array([0x46, 0x4A, 0x4E])
RECORD_VALUES = ("originalWallPaperParts", "originalWallPaper1", "originalDesktopColour")
PROFILE = next(p for p in glob.glob(os.path.join(WINEPREFIX, "drive_c", "users", "*")) if not p.endswith("Public"))
TRANSCODED = os.path.join(PROFILE, "AppData", "Roaming", "Microsoft", "Windows", "Themes", "TranscodedWallpaper")
COPIES = os.path.join(PROFILE, "AppData", "Local", "TavroClock")


def unix(path):
    return os.path.join(WINEPREFIX, "drive_c", *path[3:].split("\\"))


def helper(name, *args, timeout=60):
    return run(["wine", os.path.join(HELPERS, name + ".exe"), *args], timeout=timeout)


def set_wallpaper(path):
    assert helper("set_wallpaper", path).returncode == 0


def report():
    """desktop_report's view: clock, parent_class, parent_title, rect, visible, wallpaper, colour, style, tile."""
    with tempfile.TemporaryDirectory(dir="/tmp") as folder:
        target = os.path.join(folder, "report.txt")
        # Generous: SetSysColors broadcasts to every window and has been seen to stall.
        r = helper("desktop_report", "Z:" + target.replace("/", "\\"), timeout=90)
        assert r.returncode == 0, r.stderr
        with open(target, encoding="utf-8") as f:
            return dict(line.split("=", 1) for line in f.read().splitlines())


def report_when(condition, timeout=30):
    """desktop_report's view once condition holds for it, else the last one seen."""
    last = {}

    def holds():
        last["seen"] = report()
        return condition(last["seen"])

    wait_for(holds, timeout)
    return last["seen"]


def reg_put(key, name, kind, data):
    Desktop().reg_add(name, kind, data, key=key)


class Shell:
    """A desktop with a stand-in program manager, a pictures folder of the test's own and a
    wallpaper, style and colour the user chose."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.progman = None

    def start_progman(self, *args):
        self.progman = self.desktop.start(exe=os.path.join(HELPERS, "fake_progman.exe"), args=args)
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
    saved = {(key, name): desktop.reg_query(name, key=key) for key, name in
             [(SHELL_FOLDERS, "My Pictures"), (DESKTOP_KEY, "Wallpaper"), (DESKTOP_KEY, "WallpaperStyle"),
              (DESKTOP_KEY, "TileWallpaper"), (COLOURS_KEY, "Background")]}
    made = [os.path.dirname(unix(PICTURES)), COPIES, TRANSCODED]
    subprocess.run(["rm", "-rf", *made], check=True)
    os.makedirs(unix(PICTURES))
    reg_put(SHELL_FOLDERS, "My Pictures", "REG_EXPAND_SZ", PICTURES)
    reg_put(DESKTOP_KEY, "Wallpaper", "REG_SZ", USER_WALLPAPER)
    reg_put(DESKTOP_KEY, "WallpaperStyle", "REG_SZ", "2")
    reg_put(DESKTOP_KEY, "TileWallpaper", "REG_SZ", "0")
    # Read by the next wineserver; the colour itself lives only as long as that wineserver.
    reg_put(COLOURS_KEY, "Background", "REG_SZ", USER_COLOUR)
    desktop.kill_all()
    s = Shell(desktop)
    s.start_progman()
    yield s
    desktop.kill_all()
    for (key, name), value in saved.items():
        if value is None:
            run(["wine", "reg", "delete", key, "/v", name, "/f"], timeout=60)
        else:
            reg_put(key, name, *value)
    subprocess.run(["rm", "-rf", *made], check=True)


def test_the_clock_lies_under_the_program_manager_changes_the_desktop_and_puts_it_back(shell):
    before = report()
    assert (before["wallpaper"], before["colour"], before["style"]) == (USER_WALLPAPER, USER_COLOUR, "2")
    clock = shell.start_clock()
    seen = report()
    assert seen["parent_class"] == "Progman" and seen["parent_title"] == "Program Manager"
    assert seen["rect"] == "1460,20,1900,600" and seen["visible"] == "1"
    assert (seen["wallpaper"], seen["colour"], seen["style"], seen["tile"]) == (OWN_WALLPAPER, MOSAIC_COLOUR, "0", "0")
    assert all(shell.desktop.reg_query(name) is not None for name in RECORD_VALUES)

    # The file: a screen-sized BMP3 (the plain header every program reads) of one tile repeated
    # every 20 px from the top left, bevel bright at its corner, and the logo 24 px left of and
    # 32 px above the work area's corner (the whole screen here), 246 x 60 px at most.
    picture = np.asarray(Image.open(unix(OWN_WALLPAPER)).convert("RGB")).astype(int)
    r = subprocess.run(["identify", "-format", "%m", unix(OWN_WALLPAPER)], capture_output=True, text=True, timeout=30)
    assert r.stdout == "BMP3" and picture.shape == (SCREEN[1], SCREEN[0], 3)
    tile = picture[:20, :20]
    assert np.abs(tile[10, 10] - BODY).max() <= 3 and tile[0, 0].sum() > tile[10, 10].sum() + 20
    tiled = np.tile(tile, (SCREEN[1] // 20 + 1, SCREEN[0] // 20 + 1, 1))[: SCREEN[1], : SCREEN[0]]
    differs = np.argwhere((picture != tiled).any(axis=2))
    assert len(differs) > 1000
    (top, left), (bottom, right) = differs.min(axis=0), differs.max(axis=0)
    assert SCREEN[0] - 270 <= left and right <= SCREEN[0] - 25 and right - left >= 200
    assert SCREEN[1] - 92 <= top and bottom <= SCREEN[1] - 33 and bottom - top >= 40

    after = shell.exit_clock()
    assert (after["wallpaper"], after["colour"], after["style"], after["tile"]) == (USER_WALLPAPER, USER_COLOUR, "2", "0")
    clock.wait(30)
    # The file stays; the record of the user's settings goes.
    assert os.path.exists(unix(OWN_WALLPAPER))
    assert all(shell.desktop.reg_query(name) is None for name in RECORD_VALUES)


def test_a_transcoded_wallpaper_comes_back_as_the_users_picture_after_exit_a_kill_and_a_second_run(shell):
    users = np.zeros((48, 64, 3), np.uint8)
    users[..., 0], users[..., 1] = np.arange(64) * 4, np.arange(48)[:, None] * 5
    os.makedirs(os.path.dirname(TRANSCODED), exist_ok=True)
    Image.fromarray(users).save(TRANSCODED, format="BMP")
    windows_path = "C:\\" + os.path.relpath(TRANSCODED, os.path.join(WINEPREFIX, "drive_c")).replace("/", "\\")
    set_wallpaper(windows_path)

    def run_once(kill_first):
        if kill_first:
            shell.start_clock()
            shutil.copy(unix(OWN_WALLPAPER), TRANSCODED)  # as the system does with a new wallpaper
            shell.kill_clock(shell.desktop.procs[-1])
        shell.start_clock()
        assert (report()["style"], report()["tile"]) == ("0", "0")
        shutil.copy(unix(OWN_WALLPAPER), TRANSCODED)
        after = shell.exit_clock()
        assert (after["wallpaper"], after["colour"], after["style"], after["tile"]) == (windows_path, USER_COLOUR, "2", "0")
        assert np.array_equal(np.asarray(Image.open(unix(after["wallpaper"])).convert("RGB")), users)
        assert not os.listdir(COPIES) if os.path.isdir(COPIES) else True

    run_once(kill_first=False)
    run_once(kill_first=True)
    run_once(kill_first=False)


def test_the_users_later_choice_wins_while_running_and_after_a_kill(shell):
    shell.start_clock()
    set_wallpaper(r"C:\users\Public\picked while running.bmp")
    after = shell.exit_clock()
    assert (after["wallpaper"], after["colour"]) == (r"C:\users\Public\picked while running.bmp", USER_COLOUR)

    shell.kill_clock(shell.start_clock())
    set_wallpaper(r"C:\users\Public\picked after the kill.bmp")
    shell.start_clock()
    after = shell.exit_clock()
    assert (after["wallpaper"], after["colour"]) == (r"C:\users\Public\picked after the kill.bmp", USER_COLOUR)


def test_after_a_kill_and_a_renamed_pictures_folder_the_next_exit_puts_back_the_users_originals(shell):
    left = shell.kill_clock(shell.start_clock())
    assert (left["wallpaper"], left["colour"]) == (OWN_WALLPAPER, MOSAIC_COLOUR)
    assert shell.desktop.reg_query("originalDesktopColour") is not None
    os.rename(unix(PICTURES), unix(PICTURES + "2"))
    reg_put(SHELL_FOLDERS, "My Pictures", "REG_EXPAND_SZ", PICTURES + "2")

    shell.start_clock()
    assert report()["wallpaper"] == PICTURES + r"2\mosaic.bmp"
    after = shell.exit_clock()
    assert (after["wallpaper"], after["colour"], after["style"]) == (USER_WALLPAPER, USER_COLOUR, "2")


def test_a_pictures_folder_that_cannot_be_written_leaves_the_wallpaper_alone(shell):
    # A folder in the file's place: the picture cannot be written there.
    os.makedirs(unix(OWN_WALLPAPER))
    shell.start_clock()
    seen = report()
    assert (seen["wallpaper"], seen["colour"], seen["style"]) == (USER_WALLPAPER, MOSAIC_COLOUR, "2")
    assert seen["parent_class"] == "Progman"
    after = shell.exit_clock()
    assert (after["wallpaper"], after["colour"]) == (USER_WALLPAPER, USER_COLOUR)


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

    # The shell ends and takes its windows, the clock's among them, with it.
    shell.progman.kill()
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
