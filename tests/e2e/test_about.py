"""The about box, its system-information button and the two link items, driven through the popup menu.

The box's controls are read from outside by the test helper (window texts and
rectangles), and its labels on the screen are compared pixel for pixel with the same text drawn
in the dialogs' font by that helper. Started programs are that helper too, which
writes its command line to the file named by TAVRO_LAUNCH_RECORD.
"""
import shutil

import numpy as np
import pytest
from PIL import Image

from conftest import BUILD, HELPER, SCREEN, helper, run
from test_clock_spine import read_now
from test_menu import dialog_window, keys, our_windows, right_click, wait_for, xdo

START = "2009-02-01 12:00:00"
APP_TITLE = "TavroClock"
ABOUT = APP_TITLE + "のバージョン情報"
NO_SYSINFO = "現時点ではシステム情報を使用できません"
TAVRO_HOME = "http://www.tavro.co.jp/"
QUILLMAR_HOME = "http://www.quillmar-soft.com/japan/"

MSINFO_PATH_KEY = r"HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO"
MSINFO_LOCATION_KEY = r"HKLM\SOFTWARE\Microsoft\Shared Tools Location"
HTTP_COMMAND_KEY = r"HKCR\http\shell\open\command"

RECORDER = HELPER  # started with no verb, the helper records how it was started

# Control ids and their rectangles in twips (left, top, width, height); 15 twips to the pixel.
TWIPS_PER_PIXEL = 15
CLIENT_TWIPS = (5730, 3555)
PIC_ICON, LBL_TITLE, LBL_VERSION, LBL_DESCRIPTION, LBL_DISCLAIMER, CMD_OK, CMD_SYSINFO = (
    1101, 1102, 1103, 1104, 1105, 1, 1106)
LAYOUT_TWIPS = {
    PIC_ICON: (240, 240, 240, 240),
    LBL_TITLE: (1050, 240, 3885, 480),
    LBL_VERSION: (1050, 780, 3885, 225),
    LBL_DESCRIPTION: (1050, 1125, 3885, 1170),
    LBL_DISCLAIMER: (255, 2625, 3870, 825),
    CMD_OK: (4245, 2625, 1380, 345),
    CMD_SYSINFO: (4260, 3075, 1380, 345),
}


def pixels(twips):
    return int(twips / TWIPS_PER_PIXEL + 0.5)


CLIENT = tuple(pixels(t) for t in CLIENT_TWIPS)
LAYOUT = {cid: tuple(pixels(t) for t in rect) for cid, rect in LAYOUT_TWIPS.items()}


def windows_path(path):
    r = run(["winepath", "-w", path], timeout=30)
    assert r.returncode == 0, r.stderr
    return r.stdout.strip()


def fields(line):
    kind, *rest = line.split("\t")
    return kind, dict(f.split("=", 1) for f in rest)


def dialogs(tmp_path, caption):
    """Top-level dialogs titled caption, as seen from another process: [(window, {id: control})]."""
    out = tmp_path / "dialogs.txt"
    if out.exists():
        out.unlink()
    r = helper("dump", windows_path(str(out)), caption, timeout=30)
    assert r.returncode == 0, f"about_controls dump failed: {r.returncode}"
    found = []
    for line in out.read_text(encoding="utf-8").splitlines():
        kind, values = fields(line)
        if kind == "window":
            values["client"] = tuple(int(v) for v in values["client"].split(","))
            found.append((values, {}))
        else:
            values["rect"] = tuple(int(v) for v in values["rect"].split(","))
            found[-1][1][int(values["id"])] = values
    return found


def rendered_label(tmp_path, text, width, height):
    """text as a dialog label in the dialogs' font draws it, from the helper: an RGB array."""
    out = tmp_path / "label.ppm"
    r = helper("render", windows_path(str(out)), str(width), str(height), text, timeout=30)
    assert r.returncode == 0, f"about_controls render failed: {r.returncode}"
    return np.asarray(Image.open(out).convert("RGB")).astype(int)


def on_screen(shot, client, rect):
    x, y = client[0] + rect[0], client[1] + rect[1]
    return shot[y : y + rect[3], x : x + rect[2]].astype(int)


def open_about(desktop):
    assert right_click(desktop, 1600, 300), "the popup menu did not open"
    keys(desktop, "h", "a")  # ヘルプ(&H) > バージョン情報(&A)...
    found = wait_for(lambda: dialog_window(desktop, ABOUT))
    assert found, "the about box did not open"
    return found


def click_control(desktop, box, control_id):
    _, (x, y, _, _) = box
    left, top, width, height = LAYOUT[control_id]
    xdo(desktop, "mousemove", str(x + left + width // 2), str(y + top + height // 2))
    xdo(desktop, "click", "1")


def read_record(path, timeout=15):
    """The launch record as a dict once the stand-in has written it, else None."""
    if not wait_for(path.exists, timeout):
        return None
    return dict(line.split("=", 1) for line in path.read_text(encoding="utf-8").splitlines())


class SavedKeys:
    """Registry keys exported before a test changes them and put back afterwards."""

    def __init__(self, folder):
        self.folder = folder
        self.saved = []  # (key, exported file or None when the key was missing)

    def save(self, key):
        exported = self.folder / f"saved-{len(self.saved)}.reg"
        r = run(["wine", "reg", "export", key, windows_path(str(exported)), "/y"])
        self.saved.append((key, exported if r.returncode == 0 and exported.exists() else None))

    def restore(self):
        for key, exported in reversed(self.saved):
            run(["wine", "reg", "delete", key, "/f"])
            if exported:
                r = run(["wine", "reg", "import", windows_path(str(exported))])
                assert r.returncode == 0, f"{key} could not be put back: {r.stderr}"


@pytest.fixture
def no_msinfo_keys(desktop, tmp_path):
    """Neither key of the system-information tool exists; both come back as they were."""
    saved = SavedKeys(tmp_path)
    for key in (MSINFO_PATH_KEY, MSINFO_LOCATION_KEY):
        saved.save(key)
        desktop.reg_delete_key(key)
        assert run(["wine", "reg", "query", key]).returncode != 0, f"{key} is still there"
    yield
    saved.restore()


@pytest.fixture
def launch_record(tmp_path, monkeypatch):
    """The file the stand-in writes; the clock and what it starts inherit its name."""
    record = tmp_path / "launch.txt"
    monkeypatch.setenv("TAVRO_LAUNCH_RECORD", windows_path(str(record)))
    return record


@pytest.fixture
def http_handler(desktop, tmp_path):
    """The stand-in as the http protocol's open command; the earlier command comes back after."""
    saved = SavedKeys(tmp_path)
    saved.save(HTTP_COMMAND_KEY)
    recorder = windows_path(RECORDER)
    desktop.reg_add(None, "REG_SZ", f'"{recorder}" "%1"', key=HTTP_COMMAND_KEY)
    yield recorder
    saved.restore()


def test_the_about_box_shows_caption_layout_and_version_closes_with_enter_and_esc_and_links_open(
        desktop, tmp_path, http_handler, launch_record):
    desktop.start(START)
    assert desktop.find_windows()
    wid, (x, y, width, height) = open_about(desktop)
    assert run(["xdotool", "getwindowname", wid], timeout=20).stdout.strip() == ABOUT
    # The client area (nothing decorates it without a window manager), centred on the screen.
    assert (width, height) == CLIENT and x == (SCREEN[0] - CLIENT[0]) // 2
    assert abs(y + CLIENT[1] / 2 - SCREEN[1] / 2) <= 20  # the caption bar pushes it down a little

    found = dialogs(tmp_path, ABOUT)
    assert len(found) == 1
    window, controls = found[0]
    assert window["client"] == (x, y, width, height)
    assert {cid: c["rect"] for cid, c in controls.items()} == LAYOUT
    assert [controls[c]["text"] for c in (LBL_TITLE, LBL_VERSION, LBL_DESCRIPTION, LBL_DISCLAIMER, CMD_OK, CMD_SYSINFO)] \
        == [APP_TITLE, "Version 1.0.23", "", "", "OK", "ｼｽﾃﾑ情報(&S)..."]

    # The labels show that text in the dialogs' font, told apart from a near miss.
    shot = desktop.screenshot()
    client = window["client"]
    for cid, text, wrong in ((LBL_VERSION, "Version 1.0.23", "Version 1.0.24"), (LBL_TITLE, APP_TITLE, "TavroCIock")):
        rect = LAYOUT[cid]
        shown = on_screen(shot, client, rect)
        assert (shown != rendered_label(tmp_path, text, rect[2], rect[3])).any(axis=2).sum() == 0, text
        assert (shown != rendered_label(tmp_path, wrong, rect[2], rect[3])).any(axis=2).sum() > 0, wrong
    # The etched separator at 2445 twips: a grey row, two white rows below; the icon not flat.
    assert (on_screen(shot, client, (pixels(90), pixels(2445), pixels(5654) - pixels(90), 1)) == 0x80).all()
    assert (on_screen(shot, client, (pixels(105), pixels(2445) + 1, pixels(5654) - pixels(105), 2)) == 0xFF).all()
    assert len(np.unique(on_screen(shot, client, LAYOUT[PIC_ICON]).reshape(-1, 3), axis=0)) > 4

    # The clock ticks while the box is open; Enter and Esc close it.
    for key in ("Return", "Escape"):
        if key == "Escape":
            open_about(desktop)
        before, _ = read_now(desktop.screenshot())
        assert wait_for(lambda: (read_now(desktop.screenshot())[0] - before).total_seconds() >= 2, 6), "clock stopped"
        keys(desktop, key, wait=0)
        assert wait_for(lambda: dialog_window(desktop, ABOUT) is None, 5), f"{key} did not close the box"
        assert [name for _, name, _ in our_windows(desktop)] == [APP_TITLE]

    # The two link items hand their exact addresses to the shell, started in the program's folder.
    for access_key, address in (("s", TAVRO_HOME), ("h", QUILLMAR_HOME)):
        if launch_record.exists():
            launch_record.unlink()
        assert right_click(desktop, 1600, 300)
        keys(desktop, "h", access_key)
        record = read_record(launch_record)
        assert record, f"the http handler was not started for {address}"
        assert record["command"] == f'"{http_handler}" "{address}"' and record["show"] == "1"
        assert record["folder"].rstrip("\\").lower() == windows_path(BUILD).rstrip("\\").lower()
        assert [name for _, name, _ in our_windows(desktop)] == [APP_TITLE]


def test_the_system_information_button_without_keys_with_the_path_key_and_with_the_location_key(
        desktop, no_msinfo_keys, launch_record, tmp_path):
    desktop.start(START)
    assert desktop.find_windows()
    box = open_about(desktop)

    def press_expecting_message():
        click_control(desktop, box, CMD_SYSINFO)
        message = wait_for(lambda: dialogs(tmp_path, APP_TITLE), 10)
        assert message and len(message) == 1, "no message box"
        window, controls = message[0]
        visible = [c for c in controls.values() if c["visible"] == "1"]
        assert [c["text"] for c in visible if c["class"] == "Static" and c["text"]] == [NO_SYSINFO]
        assert [c["text"] for c in visible if c["class"] == "Button"] == ["OK"]
        # No icon: below the line of text the empty picture control shows one colour.
        text = next(c for c in visible if c["text"] == NO_SYSINFO)["rect"]
        shot = desktop.screenshot()
        for left, top, width, height in [c["rect"] for c in visible if c["class"] == "Static" and not c["text"]]:
            below = max(top, text[1] + text[3])
            if top + height > below:
                area = on_screen(shot, window["client"], (left, below, width, top + height - below))
                assert len(np.unique(area.reshape(-1, 3), axis=0)) == 1, "an icon is shown"
        assert not launch_record.exists()
        keys(desktop, "Return")
        assert wait_for(lambda: not dialogs(tmp_path, APP_TITLE), 5)
        assert dialog_window(desktop, ABOUT) is not None  # the box stays open

    def press_expecting_start(command):
        click_control(desktop, box, CMD_SYSINFO)
        record = read_record(launch_record)
        assert record and record["command"] == command, record
        assert int(record["flags"]) & 1 and record["show"] == "1"  # STARTF_USESHOWWINDOW, SW_SHOWNORMAL
        assert not wait_for(lambda: dialogs(tmp_path, APP_TITLE), 1), "a message box came as well"
        launch_record.unlink()

    press_expecting_message()  # neither key
    recorder = windows_path(RECORDER)
    desktop.reg_add("PATH", "REG_SZ", recorder, key=MSINFO_PATH_KEY)
    press_expecting_start(f'"{recorder}"')
    desktop.reg_delete_key(MSINFO_PATH_KEY)
    # Only the location key: MSINFO32.EXE from that folder, the message while it is missing.
    folder = tmp_path / "tools"
    folder.mkdir()
    tools = windows_path(str(folder))
    desktop.reg_add("MSINFO", "REG_SZ", tools, key=MSINFO_LOCATION_KEY)
    shutil.copy(RECORDER, folder / "other.exe")
    press_expecting_message()
    shutil.copy(RECORDER, folder / "MSINFO32.EXE")
    press_expecting_start(f'"{tools}\\MSINFO32.EXE"')
    keys(desktop, "Escape")
    assert wait_for(lambda: dialog_window(desktop, ABOUT) is None, 5)
