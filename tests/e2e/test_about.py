"""The about box, its system-information button and the two link items, driven through the popup menu.

The box's controls are read from outside by the test helper (texts and rectangles). Started programs
are that helper too, which writes how it was started to the file named by TAVRO_LAUNCH_RECORD.
"""
import os
import re
import shutil

import numpy as np
import pytest

from conftest import BUILD, HELPER, ROOT, SCREEN, wait_for, windows_path
from test_menu import runs_on

START = "2009-02-01 12:00:00"
ABOUT = "TavroClockのバージョン情報"
NO_SYSINFO = "現時点ではシステム情報を使用できません"
MSINFO_PATH_KEY = r"HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO"
MSINFO_LOCATION_KEY = r"HKLM\SOFTWARE\Microsoft\Shared Tools Location"
HTTP_COMMAND_KEY = r"HKCR\http\shell\open\command"
ICON, TITLE, VERSION, DESCRIPTION, DISCLAIMER, OK, SYSINFO = 1101, 1102, 1103, 1104, 1105, 1, 1106
CLIENT = (382, 237)  # 5730 x 3555 twips
SEPARATOR_Y = 163  # 2445 twips
# The box shows major.minor.revision of the four-part version in CMakeLists.txt.
MAJOR, MINOR, _, REVISION = re.search(r"project\(TavroClock VERSION (\d+)\.(\d+)\.(\d+)\.(\d+)",
                                      open(os.path.join(ROOT, "CMakeLists.txt")).read()).groups()


def on_screen(shot, client, rect):
    x, y = client[0] + rect[0], client[1] + rect[1]
    return shot[y : y + rect[3], x : x + rect[2]].astype(int)


def read_record(path, timeout=15):
    """The launch record as a dict once the stand-in has written it, else None."""
    if not wait_for(path.exists, timeout):
        return None
    return dict(line.split("=", 1) for line in path.read_text(encoding="utf-8").splitlines())


@pytest.fixture
def launch_record(tmp_path, monkeypatch):
    """The file the stand-in writes; the clock and what it starts inherit its name."""
    record = tmp_path / "launch.txt"
    monkeypatch.setenv("TAVRO_LAUNCH_RECORD", windows_path(str(record)))
    return record


@pytest.fixture
def http_handler(desktop):
    """The stand-in as the http protocol's open command; the earlier command comes back after."""
    earlier = desktop.reg_query(None, key=HTTP_COMMAND_KEY)
    desktop.reg_add(None, "REG_SZ", f'"{windows_path(HELPER)}" "%1"', key=HTTP_COMMAND_KEY)
    yield windows_path(HELPER)
    if earlier:
        desktop.reg_add(None, *earlier, key=HTTP_COMMAND_KEY)


def test_the_about_box_shows_caption_texts_and_labels_closes_with_enter_and_esc_links_open_and_system_information(
        desktop, http_handler, launch_record, tmp_path):
    for key in (MSINFO_PATH_KEY, MSINFO_LOCATION_KEY):
        desktop.reg_delete_key(key)
    desktop.start(START)
    assert desktop.find_windows()
    wid, (x, y, width, height) = desktop.menu_item("h", "a", dialog=ABOUT)  # ヘルプ(&H) > バージョン情報(&A)...
    # The client area (nothing decorates it without a window manager), centred on the screen.
    assert (width, height) == CLIENT and x == (SCREEN[0] - CLIENT[0]) // 2
    assert abs(y + CLIENT[1] / 2 - SCREEN[1] / 2) <= 20  # the caption bar pushes it down a little

    [(window, controls)] = desktop.dialogs(ABOUT)
    assert window["client"] == (x, y, width, height)
    assert [controls[c]["text"] for c in (TITLE, VERSION, DESCRIPTION, DISCLAIMER, OK, SYSINFO)] \
        == ["TavroClock", f"Version {MAJOR}.{MINOR}.{REVISION}", "", "", "OK", "ｼｽﾃﾑ情報(&S)..."]
    # The labels are drawn (dark ink on the face). The etched separator: a grey row, two white
    # rows below. The icon is not flat.
    shot = desktop.screenshot()
    for label in (TITLE, VERSION):
        assert (on_screen(shot, window["client"], controls[label]["rect"]).sum(axis=2) < 200).sum() > 30, label
    assert (on_screen(shot, window["client"], (6, SEPARATOR_Y, 371, 1)) == 0x80).all()
    assert (on_screen(shot, window["client"], (7, SEPARATOR_Y + 1, 370, 2)) == 0xFF).all()
    assert len(np.unique(on_screen(shot, window["client"], controls[ICON]["rect"]).reshape(-1, 3), axis=0)) > 4

    # The clock ticks while the box is open; Enter and Esc close it.
    for key in ("Return", "Escape"):
        if key == "Escape":
            desktop.menu_item("h", "a", dialog=ABOUT)
        assert runs_on(desktop, 2), "the clock stopped"
        desktop.keys(key, wait=0)
        assert wait_for(lambda: desktop.dialog_window(ABOUT) is None, 5), f"{key} did not close the box"
        assert [name for _, name, _ in desktop.our_windows()] == ["TavroClock"]

    # The two link items hand their exact addresses to the shell, started in the program's folder.
    for access_key, address in (("s", "http://www.tavro.co.jp/"), ("h", "http://www.quillmar-soft.com/japan/")):
        if launch_record.exists():
            launch_record.unlink()
        desktop.menu_item("h", access_key)
        record = read_record(launch_record)
        assert record, f"the http handler was not started for {address}"
        assert record["command"] == f'"{http_handler}" "{address}"' and record["show"] == "1"
        assert record["folder"].rstrip("\\").lower() == windows_path(BUILD).rstrip("\\").lower()
        assert [name for _, name, _ in desktop.our_windows()] == ["TavroClock"]

    # The system-information button without keys, with the path key and with the location key.
    launch_record.unlink()
    _, (x, y, _, _) = desktop.menu_item("h", "a", dialog=ABOUT)
    left, top, width, height = controls[SYSINFO]["rect"]

    def press_expecting_message():
        desktop.click(x + left + width // 2, y + top + height // 2)
        message = wait_for(lambda: desktop.dialogs("TavroClock"), 10)
        assert message and len(message) == 1, "no message box"
        window, controls = message[0]
        visible = [c for c in controls.values() if c["visible"] == "1"]
        assert [c["text"] for c in visible if c["class"] == "Static" and c["text"]] == [NO_SYSINFO]
        assert [c["text"] for c in visible if c["class"] == "Button"] == ["OK"]
        # No icon: below the line of text the empty picture control shows one colour.
        text = next(c for c in visible if c["text"] == NO_SYSINFO)["rect"]
        shot = desktop.screenshot()
        for left_, top_, width_, height_ in [c["rect"] for c in visible if c["class"] == "Static" and not c["text"]]:
            below = max(top_, text[1] + text[3])
            if top_ + height_ > below:
                area = on_screen(shot, window["client"], (left_, below, width_, top_ + height_ - below))
                assert len(np.unique(area.reshape(-1, 3), axis=0)) == 1, "an icon is shown"
        assert not launch_record.exists()
        desktop.keys("Return")
        assert wait_for(lambda: not desktop.dialogs("TavroClock"), 15)
        assert desktop.dialog_window(ABOUT) is not None  # the box stays open

    def press_expecting_start(command):
        desktop.click(x + left + width // 2, y + top + height // 2)
        record = read_record(launch_record)
        assert record and record["command"] == command, record
        assert int(record["flags"]) & 1 and record["show"] == "1"  # STARTF_USESHOWWINDOW, SW_SHOWNORMAL
        assert not wait_for(lambda: desktop.dialogs("TavroClock"), 1), "a message box came as well"
        launch_record.unlink()

    try:
        press_expecting_message()  # neither key
        desktop.reg_add("PATH", "REG_SZ", windows_path(HELPER), key=MSINFO_PATH_KEY)
        press_expecting_start(f'"{windows_path(HELPER)}"')
        desktop.reg_delete_key(MSINFO_PATH_KEY)
        # Only the location key: MSINFO32.EXE from that folder, the message while it is missing.
        folder = tmp_path / "tools"
        folder.mkdir()
        desktop.reg_add("MSINFO", "REG_SZ", windows_path(str(folder)), key=MSINFO_LOCATION_KEY)
        shutil.copy(HELPER, folder / "other.exe")
        press_expecting_message()
        shutil.copy(HELPER, folder / "MSINFO32.EXE")
        press_expecting_start(f'"{windows_path(str(folder))}\\MSINFO32.EXE"')
        desktop.keys("Escape")
        assert wait_for(lambda: desktop.dialog_window(ABOUT) is None, 15)
    finally:
        for key in (MSINFO_PATH_KEY, MSINFO_LOCATION_KEY):
            desktop.reg_delete_key(key)
