"""The notification-area icon and the notice at zero, read from outside by the test helper's tray
verb (Wine's stand-alone tray, its icon windows, the visible balloons with their text) and from the
screen (the balloon's title, which Wine does not hand out)."""
import numpy as np

from conftest import HELPER, wait_for, windows_path

START = "2009-02-01 12:00:00"
TARGET = "2009/02/01 12:00:08"


def tray(desktop):
    """(icons as (l, t, r, b) of the visible icon windows, balloons as (text, (l, t, r, b)))."""
    text = desktop.written_by_helper("tray")
    assert text is not None, "the tray verb failed"
    icons, balloons = [], []
    for line in text.splitlines():
        kind, *rest = line.split("\t")
        values = dict(f.split("=", 1) for f in rest)
        rect = tuple(int(v) for v in values.get("rect", "0,0,0,0").split(","))
        if kind == "icon" and values["visible"] == "1":
            icons.append(rect)
        elif kind == "balloon":
            balloons.append((values["text"], rect))
    return icons, balloons


def balloon(desktop, timeout=30):
    """(text, title) of the first balloon seen within timeout, the title as the dark pixels of the
    upper of its two lines on the screen; None when none showed."""
    seen = wait_for(lambda: (tray(desktop)[1] or [None])[0], timeout, step=0.5)
    if not seen:
        return None
    text, (left, top, right, bottom) = seen
    # Inside the outline: the edges' lines stay out of the rows counted.
    dark = desktop.screenshot()[top + 4 : bottom - 4, left + 8 : right - 8].sum(axis=2) < 200
    rows = np.flatnonzero(dark.sum(axis=1) >= 6)
    bands = np.split(rows, np.flatnonzero(np.diff(rows) > 1) + 1) if rows.size else []
    lines = [band for band in bands if len(band) >= 5]  # not the stem's thin strokes
    assert len(lines) == 2, f"the balloon shows {len(lines)} lines, not a title and a text"
    return text, dark[lines[0][0] : lines[0][-1] + 1]


def test_the_target_is_told_once_when_reached_and_caught_up_at_the_next_start(desktop):
    desktop.reg_delete_key(name="showTrayIcon")  # the icon as by default
    desktop.reg_add("targetDate", "REG_SZ", TARGET)
    desktop.start(START)
    assert desktop.find_windows()
    assert wait_for(lambda: len(tray(desktop)[0]) == 1), "no icon in the notification area"
    assert desktop.reg_query("toldTarget") is None  # not before the target
    text, reached = balloon(desktop)
    assert text == TARGET
    assert desktop.reg_query("toldTarget") == ("REG_SZ", TARGET)

    # A restart after the target: told already, so no notice.
    desktop.kill_all()
    desktop.start("2009-02-01 12:01:00")
    assert desktop.find_windows() and wait_for(lambda: len(tray(desktop)[0]) == 1)
    assert balloon(desktop, timeout=12) is None

    # A target that passed while the clock was not running is told at the start.
    desktop.kill_all()
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 11:00:00")
    desktop.start("2009-02-01 12:01:00")
    text, passed = balloon(desktop)
    assert text == "2009/02/01 11:00:00"
    # The two titles begin alike (目標時刻) and end otherwise (になりました, を過ぎました).
    width = min(reached.shape[1], passed.shape[1]) if reached.shape[0] == passed.shape[0] else 0
    assert width > 80 and not np.array_equal(reached[:, :width], passed[:, :width]), "the same title twice"
    assert np.array_equal(reached[:, :40], passed[:, :40])
    assert desktop.reg_query("toldTarget") == ("REG_SZ", "2009/02/01 11:00:00")


def test_the_icon_opens_the_menu_and_its_item_hides_it_for_good(desktop, tmp_path, monkeypatch):
    # A stand-in for Settings: the proxy item opens "ms-settings:network-proxy" where it is registered.
    record = tmp_path / "launch.txt"
    monkeypatch.setenv("TAVRO_LAUNCH_RECORD", windows_path(str(record)))
    desktop.reg_add(None, "REG_SZ", "URL:ms-settings", key=r"HKCR\ms-settings")
    desktop.reg_add("URL Protocol", "REG_SZ", "", key=r"HKCR\ms-settings")
    desktop.reg_add(None, "REG_SZ", f'"{windows_path(HELPER)}" "%1"', key=r"HKCR\ms-settings\shell\open\command")
    try:
        desktop.reg_delete_key(name="showTrayIcon")
        desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 14:00:00")
        desktop.start(START)
        assert desktop.find_windows()
        icons = wait_for(lambda: tray(desktop)[0])
        assert len(icons) == 1, "no icon in the notification area"
        left, top, right, bottom = icons[0]
        centre = ((left + right) // 2, (top + bottom) // 2)

        # Its tip: 2009-02-01 is the 7th day of the old calendar's first month, 先勝.
        desktop.xdo("mousemove", *map(str, centre))
        tip = "TavroClock\n2009年2月1日（日） 先勝\n目標まで 1時間 59分"
        assert wait_for(lambda: tip in desktop.tooltips(), 15), desktop.tooltips()

        # The icon's right click: the clock's menu at the icon, whose view items work.
        menus = desktop.right_click(*centre)
        assert len(menus) == 1 and abs(menus[0][0] - centre[0]) <= 4 and abs(menus[0][1] - centre[1]) <= 4
        desktop.keys("v", "c")
        assert wait_for(lambda: desktop.clock_geometry()[3] == 80, 5)
        assert desktop.reg_query("viewMode") == ("REG_DWORD", "0x1")

        assert desktop.right_click(*centre)
        desktop.keys("s", "p")
        assert wait_for(record.exists, 15), "the proxy item opened nothing"
        assert "ms-settings:network-proxy" in record.read_text(encoding="utf-8")

        # Hidden from the menu: gone now, and at the next start.
        assert desktop.right_click(*centre)
        desktop.keys("s", "n")
        assert wait_for(lambda: not tray(desktop)[0]), "the icon stayed"
        assert desktop.reg_query("showTrayIcon") == ("REG_DWORD", "0x0")
        desktop.kill_all()
        desktop.reg_add("targetDate", "REG_SZ", TARGET)
        desktop.start(START)
        assert desktop.find_windows()
        assert not tray(desktop)[0]
        # Hidden, the icon still comes for the notice.
        assert balloon(desktop)[0] == TARGET
        assert len(tray(desktop)[0]) == 1
    finally:
        desktop.reg_delete_key(r"HKCR\ms-settings")
