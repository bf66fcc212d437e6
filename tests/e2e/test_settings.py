"""Size, opacity, digit colour, week start, in front and start at log-on, stored and in the settings
window. Wine composes a layered window's alpha only under a compositing manager (xcompmgr here); a
child of another process's window it does not draw at all: there the helper's report tells."""
import os
import subprocess

from conftest import EXE, Desktop, start_xvfb, wait_for, windows_path, worker_display
from clock_reader import GREEN, NOW, ORANGE, ClockReader, expected_grid
from test_desktop_host import WS_CHILD, WS_EX_LAYERED, WS_EX_TOOLWINDOW, Shell

WINDOW = "設定 - TavroClock"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
WS_EX_TOPMOST, WS_EX_NOACTIVATE = 0x8, 0x8000000
SCALE, COLOUR, LOG_ON = "301", "303", "309"  # ids of the window's controls (dialogs/settings_window_layout.h)
BODY = (70, 74, 78)  # the mosaic tile's body, opaque (test_panels)


def exstyle(seen):
    return int(seen["clock_exstyle"], 16)


def controls(session):  # the settings window's controls by id, labels and groups by text
    return {(v["id"] if v["id"] != "-1" else v["text"]): v for kind, v in session.rows("dump", WINDOW) if kind == "control"}


def press(session, keys, done, timeout=15):
    """Keys sent again while their effect does not show (a key sent as the window came up can be lost)."""
    return any(session.keys(*keys) or wait_for(done, timeout) for _ in range(3))


def open_settings(session, at=None):
    assert session.right_click(*at) if at else session.right_click(), "the popup menu did not open"
    session.keys("s", "o")
    found = wait_for(lambda: session.dialogs(WINDOW))
    assert found, "the settings window did not open"
    # With no window manager keys go to the window under the pointer: the clock may shrink from under it.
    x, y, _, h = found[0][0]["client"]
    session.xdo("mousemove", str(x + 4), str(y + h - 4))


def test_stored_size_colour_and_week_start_and_values_out_of_their_choices_left_alone(desktop):
    desktop.reg_set({"scalePercent": 150, "digitColour": 2, "weekStartsMonday": 1, "opacityPercent": 33, "topMost": "1",
                     "placeMonitor": "\\\\.\\DISPLAY1", "placeCorner": 2, "placeX": 100, "placeY": 40})
    desktop.start("2026-05-13 12:00:00")
    # 150 % of 96 DPI: 660 x 870, 100 px from the left and 40 above the bottom as stored.
    assert wait_for(lambda: desktop.clock_geometry() == (100, 170, 660, 870))
    reader, shots = ClockReader(0.75, 100, 170), []
    assert wait_for(lambda: shots.append(desktop.screenshot()) or reader.now(shots[-1]), 15), "the time does not read"
    assert reader.colours(shots[-1], NOW) == {GREEN}
    assert reader.grid(shots[-1]) == expected_grid(2026, 5, 13, {3, 4, 5, 6}, monday_first=True)
    # The tooltips at the new size: Monday the 4th stands in the first column of the second row.
    desktop.xdo("mousemove", str(100 + int((2.5 + 1.0) * 30)), str(170 + int((4.75 + 2.5 + 0.8) * 30)))
    assert wait_for(lambda: [t.split("\n")[0] for t in desktop.tooltips()] == ["2026年5月4日（月） みどりの日"], 10)
    # 33 % and a topMost of another type count as the defaults, and stay as they are.
    assert (seen := desktop.report())["alpha"] == "none" and not exstyle(seen) & WS_EX_TOPMOST
    desktop.kill_all()
    assert desktop.reg_query("opacityPercent") == ("REG_DWORD", "0x21") and desktop.reg_query("topMost") == ("REG_SZ", "1")


def test_the_settings_window_shows_each_change_at_once_puts_it_back_keeps_it_and_starts_at_log_on(desktop):
    other = '"C:\\Program Files\\Other\\tavroclock.exe"'
    desktop.reg_set({"TavroClock": other}, key=RUN_KEY)
    desktop.start("2026-05-13 12:00:00")
    assert desktop.find_windows()
    open_settings(desktop)
    shown = controls(desktop)
    assert {"大きさ(&Z):", "不透明度(&O):", "数字の色(&C):", "週の始まり(&B):", "表示", "デスクトップ", "通知", "起動"} <= set(shown)
    assert (shown[SCALE]["text"], shown[COLOUR]["text"], shown[LOG_ON]["checked"]) == ("100%", "橙", "1")  # another exe's

    # Each change shows at once, nothing stored; Esc puts all back.
    assert press(desktop, ("alt+z", "Home"), lambda: desktop.clock_geometry() == (1570, 20, 330, 435))
    assert press(desktop, ("alt+c", "Down"), lambda: ClockReader(0.375, 1570, 20).colours(desktop.screenshot(), NOW) == {GREEN}, 10)
    assert desktop.reg_query("scalePercent") is None and desktop.reg_query("digitColour") is None
    assert press(desktop, ("Escape",), lambda: not desktop.dialogs(WINDOW))
    assert desktop.clock_geometry() == (1460, 20, 440, 580)
    assert wait_for(lambda: ClockReader().colours(desktop.screenshot(), NOW) == {ORANGE}, 10)
    assert desktop.reg_query("scalePercent") is None and desktop.reg_query("TavroClock", key=RUN_KEY) == ("REG_SZ", other)

    # In front above an application window, and back under it; OK keeps it, and start at log-on off.
    open_settings(desktop)
    over = lambda want: lambda: desktop.report()["over_app"] == want
    assert press(desktop, ("alt+t",), over("clock"))
    assert exstyle(desktop.report()) & (WS_EX_TOPMOST | WS_EX_NOACTIVATE) == WS_EX_TOPMOST | WS_EX_NOACTIVATE
    assert press(desktop, ("alt+t",), over("app"))
    assert press(desktop, ("alt+t",), over("clock"))
    assert press(desktop, ("alt+l",), lambda: controls(desktop)[LOG_ON]["checked"] == "0")
    assert press(desktop, ("Return",), lambda: not desktop.dialogs(WINDOW))
    assert desktop.reg_query("topMost") == ("REG_DWORD", "0x1") and desktop.reg_query("TavroClock", key=RUN_KEY) is None
    assert desktop.report()["over_app"] == "clock"
    # On again with 適用: the clock's own path, quoted as the installer writes it.
    open_settings(desktop)
    assert press(desktop, ("alt+l",), lambda: controls(desktop)[LOG_ON]["checked"] == "1")
    assert press(desktop, ("alt+t",), over("app"))
    assert press(desktop, ("alt+a",), lambda: desktop.reg_query("topMost") == ("REG_DWORD", "0x0"))
    assert press(desktop, ("Escape",), lambda: not desktop.dialogs(WINDOW))
    assert desktop.reg_query("TavroClock", key=RUN_KEY) == ("REG_SZ", f'"{windows_path(EXE)}"')
    desktop.reg_delete_key(RUN_KEY, "TavroClock")


def test_half_opacity_composed_over_what_lies_under_it_and_full_again_at_once(display, tmp_path):
    session = Desktop.own("opacity", worker_display("TAVRO_OPACITY_DISPLAY", 54))
    xvfb = start_xvfb(session.display, (1920, 1240))
    compositor = subprocess.Popen(["xcompmgr"], env=dict(os.environ, DISPLAY=session.display), stderr=subprocess.DEVNULL)
    try:
        session.reset().reg_set({"scalePercent": 200, "opacityPercent": 50})
        session.start("2026-05-13 12:00:00")
        # 200 % of 96 DPI: the pictures 1:1, 40 px tiles.
        assert wait_for(lambda: session.clock_geometry() == (1020, 20, 880, 1160))
        assert session.report()["alpha"] == "128"

        def body_and_behind():  # a tile's middle, and the screen left of the clock
            shot = session.screenshot().astype(int)
            return shot[20 + 20, 1020 + 20], shot[600, 1000]

        def composed(alpha):
            body, behind = body_and_behind()
            return all(abs(p - (c * alpha + b * (255 - alpha)) / 255) <= 4 for p, c, b in zip(body, BODY, behind))

        assert abs(body_and_behind()[1] - BODY).max() > 30, "nothing to tell the alpha by"
        assert wait_for(lambda: composed(128), 10), body_and_behind()
        open_settings(session, (1020 + 40, 20 + 560))
        assert press(session, ("alt+o", "Home"), lambda: composed(255))
        assert session.report()["alpha"] == "none"
    finally:
        session.kill_all()
        for process in (compositor, xvfb):
            process.terminate(), process.wait(10)


def test_a_layered_child_of_the_24h2_shell_at_half_opacity_in_front_with_no_host_and_back(desktop, tmp_path):
    Shell(desktop, "24h2", str(tmp_path))
    desktop.reg_set({"opacityPercent": 50})
    desktop.start()
    seen = desktop.shown_on_desktop()
    child = bool(int(seen["clock_style"], 16) & WS_CHILD)
    assert (seen["parent_class"], seen["below"], seen["alpha"], child) == ("Progman", "SHELLDLL_DefView", "128", True)
    assert exstyle(seen) & (WS_EX_LAYERED | WS_EX_TOOLWINDOW) == WS_EX_LAYERED
    # In front: a top-level window above the application, still translucent; off: back in the shell.
    open_settings(desktop)
    assert press(desktop, ("alt+t",), lambda: desktop.report()["over_app"] == "clock")
    assert (desktop.report()["parent_class"], desktop.report()["alpha"]) == ("", "128")
    assert press(desktop, ("alt+t",), lambda: desktop.report()["parent_class"] == "Progman")
    assert desktop.report()["below"] == "SHELLDLL_DefView"
