"""The clock on the desktop under a stand-in program manager (Wine has none; this one has no icon
view, so the clock lies on top of its children): the mosaic wallpaper, its style and the desktop
colour while it runs, the user's own back at exit, after a kill too; the desktop layouts and the
shell's changes are test_desktop_host's.
Wine 8 does not draw a child window of another process's window, so the helper's report (run inside
Wine) tells where the clock is and reads the desktop through the system calls."""
import glob
import os
import shutil
import subprocess

import numpy as np
import pytest
from PIL import Image

from conftest import EXE, MOSAIC_COLOUR, SCREEN, WINEPREFIX

SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
DESKTOP_KEY, COLOURS_KEY = r"HKCU\Control Panel\Desktop", r"HKCU\Control Panel\Colors"
PICTURES = r"C:\tavro-e2e\Pictures 한글"  # outside the ANSI code page: paths must survive every call
OWN = PICTURES + r"\mosaic.bmp"
USER, USER_COLOUR = r"C:\users\Public\sea.bmp", "10 20 30"
RECORD_VALUES = ("originalDesktop",)
PROFILE = next(p for p in glob.glob(os.path.join(WINEPREFIX, "drive_c", "users", "*")) if not p.endswith("Public"))
TRANSCODED = r"C:\users\%s\AppData\Roaming\Microsoft\Windows\Themes\TranscodedWallpaper" % os.path.basename(PROFILE)
COPIES = os.path.join(PROFILE, "AppData", "Local", "TavroClock")


def unix(path):
    return os.path.join(WINEPREFIX, "drive_c", *path[3:].split("\\"))


def set_wallpaper(desktop, path):
    assert desktop.helper("set-wallpaper", path).returncode == 0


def desktop_of(seen):
    return seen["wallpaper"], seen["colour"], seen["style"], seen["tile"]


def start_clock(desktop):
    desktop.start()
    return desktop.shown_on_desktop()


def kill_clock(desktop):
    """Only the clock's own process: the wineserver, which holds the colour, stays."""
    desktop.procs[-1].kill()
    return desktop.report(lambda s: s.get("clock") == "0")


def exit_clock(desktop):
    """The exit item of the popup menu, opened with a right click on the clock."""
    desktop.menu_item("x")
    return desktop.report(lambda s: s.get("clock") == "0" and s["colour"] != MOSAIC_COLOUR)


@pytest.fixture
def shell(desktop):
    """A pictures folder of the test's own, the user's wallpaper, style and colour (the colour is
    read by the next wineserver), and the stand-in program manager, spanning a monitor left of the
    primary too (from x -1280): the clock keeps its place on the screen."""
    values = [(SHELL_FOLDERS, "My Pictures", "REG_EXPAND_SZ", PICTURES), (DESKTOP_KEY, "Wallpaper", "REG_SZ", USER),
              (DESKTOP_KEY, "WallpaperStyle", "REG_SZ", "2"), (DESKTOP_KEY, "TileWallpaper", "REG_SZ", "0"),
              (COLOURS_KEY, "Background", "REG_SZ", USER_COLOUR)]
    saved = [(key, name, desktop.reg_query(name, key=key)) for key, name, _, _ in values]
    made = [os.path.dirname(unix(PICTURES)), COPIES, unix(TRANSCODED)]
    subprocess.run(["rm", "-rf", *made], check=True)
    os.makedirs(unix(PICTURES))
    for key, name, kind, data in values:
        desktop.reg_add(name, kind, data, key=key)
    desktop.kill_all()
    desktop.progman = desktop.start_helper("progman", "-1280")
    desktop.find_windows("Program Manager", timeout=30)
    yield desktop
    desktop.kill_all()
    for key, name, value in saved:
        if value:
            desktop.reg_add(name, *value, key=key)
        else:
            desktop.reg_delete_key(key, name)
    subprocess.run(["rm", "-rf", *made], check=True)


def test_the_clock_lies_under_the_program_manager_and_a_transcoded_wallpaper_comes_back_after_exit_a_kill_and_a_rerun(shell):
    users = np.zeros((48, 64, 3), np.uint8)
    users[..., 0], users[..., 1] = np.arange(64) * 4, np.arange(48)[:, None] * 5
    os.makedirs(os.path.dirname(unix(TRANSCODED)), exist_ok=True)
    Image.fromarray(users).save(unix(TRANSCODED), format="BMP")
    set_wallpaper(shell, TRANSCODED)
    written = None
    for killed_first, damaged in ((False, False), (True, False), (True, True)):
        if killed_first:
            start_clock(shell)
            shutil.copy(unix(OWN), unix(TRANSCODED))  # as the system does with a new wallpaper
            kill_clock(shell)
        if damaged:
            # Mended alone, the switch typed in another case; then a picture that differs is replaced.
            assert shell.run(["wine", EXE, "/Restore-Desktop"], timeout=120).returncode == 0
            assert desktop_of(shell.report()) == (TRANSCODED, USER_COLOUR, "2", "0")
            assert np.array_equal(np.asarray(Image.open(unix(TRANSCODED)).convert("RGB")), users)
            assert not os.path.exists(COPIES) or not os.listdir(COPIES)
            with open(unix(OWN), "r+b") as f:
                f.seek(-3, os.SEEK_END), f.write(b"\x01\x02\x03")
        seen = start_clock(shell)
        assert desktop_of(seen) == (OWN, MOSAIC_COLOUR, "0", "0")
        if written is None:
            assert (seen["parent_class"], seen["parent_title"], seen["rect"]) == ("Progman", "Program Manager", "1460,20,1900,600")
            assert all(shell.reg_query(name) is not None for name in RECORD_VALUES)
            # A screen-sized BMP3, the plain header every program reads (its picture: test_display, test_download).
            r = subprocess.run(["identify", "-format", "%m %w %h", unix(OWN)], capture_output=True, text=True, timeout=30)
            assert r.stdout == "BMP3 %d %d" % SCREEN
        # The same screen gives the same bytes: the file, often in a synced folder, is not written again.
        with open(unix(OWN), "rb") as f:
            now = (os.stat(unix(OWN)).st_mtime_ns, f.read())
        if written is None:
            written = now
        elif damaged:
            assert now[1] == written[1], "a picture that differs was not replaced"
        else:
            assert now == written, "the same picture was written again"
        shutil.copy(unix(OWN), unix(TRANSCODED))
        after = exit_clock(shell)
        assert desktop_of(after) == (TRANSCODED, USER_COLOUR, "2", "0")
        assert np.array_equal(np.asarray(Image.open(unix(after["wallpaper"])).convert("RGB")), users)
        assert not os.path.exists(COPIES) or not os.listdir(COPIES)
        # The mosaic's file stays; the record of the user's settings goes.
        assert os.path.exists(unix(OWN)) and all(shell.reg_query(name) is None for name in RECORD_VALUES)


def test_the_users_choice_while_running_wins_and_a_file_that_cannot_be_written_leaves_the_wallpaper(shell):
    # (A choice made after a kill wins too: the mending's table, tests/unit/desktop_changes_test.)
    picked = r"C:\users\Public\picked while running.bmp"
    start_clock(shell)
    set_wallpaper(shell, picked)
    assert desktop_of(exit_clock(shell))[:3] == (picked, USER_COLOUR, "2")
    # A folder in the file's place: the picture cannot be written; the colour still changes.
    os.remove(unix(OWN))
    os.makedirs(unix(OWN))
    start_clock(shell)
    assert desktop_of(shell.report())[::2] == (picked, "2")
    assert desktop_of(exit_clock(shell))[:2] == (picked, USER_COLOUR)
