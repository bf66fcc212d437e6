"""The clock follows the display: a change of resolution in a Wine virtual desktop, a program
manager that starts left of the primary monitor, and 144 and 192 DPI, each from one start."""
import datetime
import glob
import os
import shutil
import subprocess
import tempfile
import time

import numpy as np
import pytest
from PIL import Image

from conftest import EXE, HELPER, HELPERS, ROOT, WINEPREFIX, run, wine_env
from sevenseg import GlyphReader, field_colours, field_text
from test_menu import wait_for

CHANGER = os.path.join(HELPERS, "display_change.exe")
VDESK = "tavrodisplay"


def unix_path(env, windows):
    r = subprocess.run(["winepath", "-u", windows], env=env, capture_output=True, text=True, timeout=60)
    return r.stdout.strip()


def in_desktop_too(env, name, *command):
    """Starts a program in the named virtual desktop (or the plain one); the explorer that takes it
    there does not end with it, so it is not waited for: the test's wineserver -k ends it."""
    prefix = ["explorer", f"/desktop={name}"] if name else []
    subprocess.Popen(["wine", *prefix, *command], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def report(env, in_desktop=None):
    """desktop_report's view, run in the virtual desktop when one is named."""
    with tempfile.TemporaryDirectory(dir="/tmp") as folder:
        target = os.path.join(folder, "report.txt")
        in_desktop_too(env, in_desktop, HELPER, "report", "Z:" + target.replace("/", "\\"))
        if not wait_for(lambda: os.path.exists(target), 30):
            return {}
        with open(target, encoding="utf-8") as f:
            return dict(line.split("=", 1) for line in f.read().splitlines())


def rect(seen):
    if "rect" not in seen:
        return None
    left, top, right, bottom = (int(v) for v in seen["rect"].split(","))
    return left, top, right - left, bottom - top


def periodic(img, step):
    """The picture repeats every `step` pixels across and down (above the logo)."""
    part = img[: img.shape[0] // 2].astype(int)
    return (part[:, step:] == part[:, :-step]).all() and (part[step:] == part[:-step]).all()


def logo_box(img, right, bottom):
    """The last column and row of the logo, found as what breaks the mosaic's repetition: each
    of the lowest 200 rows against the row 200 above it."""
    a = img.astype(int)
    ys, xs = np.nonzero((a[bottom - 200 :] != a[bottom - 400 : bottom - 200]).any(axis=2))
    return xs.max(), ys.max() + bottom - 200


def test_a_change_of_resolution_moves_the_clock_and_repaints_the_wallpaper(desktop):
    env = wine_env()
    desktop.procs.append(subprocess.Popen(["wine", "explorer", f"/desktop={VDESK},1920x1080", EXE], env=env,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    # A report started before the desktop is up would make it at the default size.
    assert wait_for(lambda: "1920x1080+0+0" in run(["xwininfo", "-root", "-children"]).stdout, 30)
    seen = {}
    assert wait_for(lambda: seen.update(report(env, VDESK)) or seen.get("visible") == "1", 60), seen
    assert rect(seen) == (1460, 20, 440, 580)
    in_desktop_too(env, VDESK, CHANGER, "mode", "1600", "900")
    assert wait_for(lambda: seen.update(report(env, VDESK)) or rect(seen) == (1140, 20, 440, 580), 30), seen
    path = unix_path(env, seen["wallpaper"])
    assert wait_for(lambda: Image.open(path).size == (1600, 900), 10)
    img = np.asarray(Image.open(path).convert("RGB"))
    assert periodic(img, 20) and not periodic(img, 10)
    # The logo ends 24 px left of the new right edge and 32 px above the new bottom.
    logo = np.asarray(Image.open(os.path.join(ROOT, "pictures", "logo.bmp")).convert("RGB")).astype(int)
    ys, xs = np.nonzero((logo != logo[0, 0]).any(axis=2))
    assert logo_box(img, 1600, 900) == (1600 - 24 - logo.shape[1] + xs.max(), 900 - 32 - logo.shape[0] + ys.max())


def test_under_a_program_manager_spanning_a_left_monitor_the_clock_keeps_its_screen_place(desktop):
    desktop.start(exe=CHANGER, args=("progman", "-1280"))
    assert desktop.find_windows("Program Manager")
    desktop.start("2009-02-01 12:00:00")
    seen = {}
    assert wait_for(lambda: seen.update(report(wine_env())) or seen.get("visible") == "1", 60), seen
    assert seen["parent_class"] == "Progman"
    assert rect(seen) == (1460, 20, 440, 580)


# At each DPI: window (left, top, width, height) on a 1920-wide screen, cell, dialog pixels.
DPI_CASES = {
    144: ((1230, 30, 660, 870), 30, (432, 111), (12, 12, 410, 27)),
    192: ((1000, 40, 880, 1160), 40, (576, 148), (16, 16, 546, 36)),
}
SCREEN = (1920, 1240)  # tall enough for the countdown row at 192 DPI


@pytest.fixture
def scaled(request, display):
    """A Wine session of its own at the DPI, on an X screen of its own."""
    dpi = request.param
    prefix = os.path.join(os.path.dirname(WINEPREFIX), f"wineprefix-dpi{dpi}")
    x_display = os.environ.get("TAVRO_DPI_DISPLAY", ":53")
    env = wine_env()
    env.update(WINEPREFIX=prefix, DISPLAY=x_display)
    xvfb = subprocess.Popen(["Xvfb", x_display, "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not os.path.isdir(prefix):
        run(["wineserver", "-w"], timeout=60)
        shutil.copytree(WINEPREFIX, prefix, symlinks=True)

    def wine(*args, timeout=60):
        return subprocess.run(["wine", *args], env=env, capture_output=True, timeout=timeout)

    wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    wine("reg", "delete", r"HKCU\Software\Quillmar-soft\tavroClock", "/f")
    wine("reg", "add", r"HKCU\Software\Quillmar-soft\tavroClock", "/v", "feedHost", "/t", "REG_SZ", "/d",
         "127.0.0.1:9", "/f")
    wine("reg", "add", r"HKCU\Software\Quillmar-soft\tavroClock", "/v", "targetDate", "/t", "REG_SZ", "/d",
         "2009/02/02 13:00:00", "/f")
    subprocess.run(["wineserver", "-k"], env=env, timeout=30)  # LogPixels is read when the session starts
    subprocess.run(["wineserver", "-w"], env=env, timeout=60)
    yield dpi, env, prefix
    subprocess.run(["wineserver", "-k"], env=env, timeout=30)
    xvfb.terminate()
    xvfb.wait(10)


def x(env, *args):
    return subprocess.run(list(args), env=env, capture_output=True, text=True, timeout=30).stdout


def screenshot(env):
    with tempfile.NamedTemporaryFile(suffix=".png") as f:
        subprocess.run(["import", "-window", "root", f.name], env=env, timeout=30)
        return np.asarray(Image.open(f.name).convert("RGB"))


def geometry(env, wid):
    info = dict(l.strip().split(":", 1) for l in x(env, "xwininfo", "-id", wid).splitlines() if ":" in l)
    keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
    return tuple(int(info[k]) for k in keys)


FEBRUARY_2009 = [[str(d) if 1 <= d <= 28 else "" for d in range(1 + 7 * r, 8 + 7 * r)] for r in range(6)]


@pytest.mark.parametrize("scaled", [144, 192], indirect=True)
def test_at_higher_dpi_the_clock_its_wallpaper_and_the_target_dialog_scale(scaled):
    dpi, env, prefix = scaled
    window, cell, client, edit = DPI_CASES[dpi]
    reader = GlyphReader(dpi / 192)
    subprocess.Popen(["faketime", "-f", "@2009-02-01 12:00:00", "wine", EXE], env=env,
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wids = wait_for(lambda: x(env, "xdotool", "search", "--onlyvisible", "--name", "^TavroClock$").split(), 60)
    assert wids and geometry(env, wids[0]) == window
    left, top = window[:2]

    def now(shot):
        texts = [field_text(reader.read_at(shot, left, top, gx, 1, n)).strip()
                 for gx, n in ((1, 4), (6, 2), (9, 2), (12, 2), (15, 2), (18, 2))]
        return datetime.datetime(*(int(t) for t in texts)) if all(t.isdigit() for t in texts) else None

    read = wait_for(lambda: (lambda s: now(s) and (s, now(s)))(screenshot(env)), 20)
    assert read, "the present time does not read"
    shot, shown = read
    assert datetime.datetime(2009, 2, 1, 12) <= shown <= datetime.datetime(2009, 2, 1, 12, 1)
    grid = [[field_text(reader.read_at(shot, left, top, 2.5 + 2.5 * c, 4.75 + 2.5 * r, 2)).strip() for c in range(7)]
            for r in range(6)]
    assert grid == FEBRUARY_2009
    assert field_colours(reader.read_at(shot, left, top, 2.5, 4.75, 2)) == {6}  # today
    assert field_colours(reader.read_at(shot, left, top, 10, 7.25, 2)) == {4}  # 11 February, a holiday
    assert field_colours(reader.read_at(shot, left, top, 17.5, 4.75, 2)) == {3}  # Saturday
    countdown = [field_text(reader.read_at(shot, left, top, gx, 26, n)) for gx, n in ((6, 5), (12, 2))]
    assert countdown == ["↓   1", " 0"] and field_colours(reader.read_at(shot, left, top, 12, 26, 2)) == {2}

    wallpaper = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "*", "mosaic.bmp"))
    assert wallpaper
    img = np.asarray(Image.open(wallpaper[0]).convert("RGB"))
    assert periodic(img, cell) and not periodic(img, cell // 2)

    x(env, "xdotool", "mousemove", str(left + 100), str(top + 100), "click", "3")
    assert wait_for(lambda: len(x(env, "xdotool", "search", "--onlyvisible", "--class", "tavroclock.exe").split()) > 1, 10)
    for key in ("s", "t"):
        x(env, "xdotool", "key", key)
        time.sleep(0.5)
    dialog = wait_for(lambda: x(env, "xdotool", "search", "--onlyvisible", "--name",
                                "^目標時刻を日付形式で入力してください$").split(), 15)
    assert dialog, "the target dialog did not open"
    with tempfile.TemporaryDirectory(dir="/tmp") as folder:
        dump = os.path.join(folder, "dump.txt")
        subprocess.run(["wine", HELPER, "dump", "Z:" + dump.replace("/", "\\"), "目標時刻を日付形式で入力してください"],
                       env=env, timeout=60)
        lines = [dict(f.split("=", 1) for f in l.split("\t")[1:]) for l in open(dump, encoding="utf-8")]
    box = tuple(int(v) for v in lines[0]["client"].split(","))
    assert box[2:] == client
    text_box = next(l for l in lines[1:] if l["class"].lower() == "edit")
    assert tuple(int(v) for v in text_box["rect"].split(",")) == edit

    typed = "2010/12/31 23:59:59"
    x(env, "xdotool", "type", "--delay", "50", typed)
    bx, by = box[0] + edit[0] + 2, box[1] + edit[1] + 2

    def ink():
        inner = screenshot(env)[by : by + edit[3] - 4, bx : bx + edit[2] - 4].astype(int).sum(axis=2) < 300
        cols = np.nonzero(inner)[1]
        return (inner,) if cols.size and cols.max() - cols.min() > len(typed) * dpi / 96 * 4 else None

    shown_ink = wait_for(ink, 10)
    assert shown_ink, "what was typed does not show whole"
    ink = shown_ink[0]
    rows, cols = np.nonzero(ink)
    # Whole: not cut at the top or bottom, not scrolled off at either side.
    assert rows.min() > 0 and rows.max() < ink.shape[0] - 1
    assert cols.min() <= 6 and cols.max() < ink.shape[1] - 4
