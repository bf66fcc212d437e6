"""The notification-area icon and the notice at zero, read by the test helper's tray verb (Wine's
stand-alone tray, its icons, the balloons and their text) and on the screen (the balloon's title,
which Wine does not hand out)."""
import numpy as np

from conftest import HELPER, wait_for, windows_path

START, TARGET = "2009-02-01 12:00:00", "2009/02/01 12:00:08"


def tray(desktop):
    """([(l, t, r, b) of each visible icon], [(text, (l, t, r, b)) of each balloon])."""
    found = {"icon": [], "balloon": []}
    for kind, values in desktop.rows("tray"):
        rect = tuple(int(v) for v in values["rect"].split(","))
        if kind == "icon" and values["visible"] == "1":
            found["icon"].append(rect)
        elif kind == "balloon":
            found["balloon"].append((values["text"], rect))
    return found["icon"], found["balloon"]


def balloon(desktop, timeout=30):
    """(text, title) of the first balloon within timeout, the title as the dark pixels of the upper of
    its two lines of text on the screen; None when none showed."""
    seen = wait_for(lambda: (tray(desktop)[1] or [None])[0], timeout, step=0.5)
    if not seen:
        return None
    text, (left, top, right, bottom) = seen
    dark = desktop.screenshot()[top + 4 : bottom - 4, left + 8 : right - 8].sum(axis=2) < 200  # inside the outline
    rows = np.flatnonzero(dark.sum(axis=1) >= 6)
    lines = [b for b in np.split(rows, np.flatnonzero(np.diff(rows) > 1) + 1) if len(b) >= 5]  # not the stem
    assert len(lines) == 2, f"the balloon shows {len(lines)} lines, not a title and a text"
    return text, dark[lines[0][0] : lines[0][-1] + 1]


def test_the_target_is_told_once_when_reached_and_caught_up_at_the_next_start(desktop):
    desktop.reg_delete_key(name="showTrayIcon")  # the icon as by default
    desktop.reg_add("targetDate", "REG_SZ", TARGET)
    desktop.start(START)
    assert desktop.find_windows() and wait_for(lambda: len(tray(desktop)[0]) == 1), "no icon"
    assert desktop.reg_query("toldTarget") is None  # not before the target
    text, reached = balloon(desktop)
    assert text == TARGET and desktop.reg_query("toldTarget") == ("REG_SZ", TARGET)

    # Restarted after the target: told already, no notice.
    desktop.kill_all()
    desktop.start("2009-02-01 12:01:00")
    assert desktop.find_windows() and wait_for(lambda: len(tray(desktop)[0]) == 1)
    assert balloon(desktop, timeout=6) is None

    # A target that passed while the clock was not running: told at the start, in other words.
    desktop.kill_all()
    desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 11:00:00")
    desktop.start("2009-02-01 12:01:00")
    text, passed = balloon(desktop)
    assert text == "2009/02/01 11:00:00" and desktop.reg_query("toldTarget") == ("REG_SZ", text)
    # The titles begin alike (目標時刻) and end otherwise (になりました, を過ぎました).
    width = min(reached.shape[1], passed.shape[1]) if reached.shape[0] == passed.shape[0] else 0
    assert width > 80 and not np.array_equal(reached[:, :width], passed[:, :width]), "the same title twice"
    assert np.array_equal(reached[:, :40], passed[:, :40])


def test_the_icon_tells_the_day_opens_the_menu_and_its_item_hides_it(desktop, tmp_path, monkeypatch):
    # A stand-in for Settings, which registers "ms-settings:".
    record = tmp_path / "launch.txt"
    monkeypatch.setenv("TAVRO_LAUNCH_RECORD", windows_path(str(record)))
    desktop.reg_add("URL Protocol", "REG_SZ", "", key=r"HKCR\ms-settings")
    desktop.reg_add(None, "REG_SZ", f'"{windows_path(HELPER)}" "%1"', key=r"HKCR\ms-settings\shell\open\command")
    try:
        desktop.reg_delete_key(name="showTrayIcon")
        desktop.reg_add("targetDate", "REG_SZ", "2009/02/01 14:00:00")
        # A notification area that refuses the first add, as a shell busy at log-on does: the next try comes.
        refused = tmp_path / "refused"
        busy = desktop.start_helper("refusing-tray", windows_path(refused))
        assert wait_for(refused.exists, 30)
        desktop.start(START)
        assert desktop.find_windows() and wait_for(lambda: "refused" in refused.read_text(), 30)
        busy.kill(), busy.wait(10)
        icons = wait_for(lambda: tray(desktop)[0], 75, step=2)
        assert len(icons) == 1, "no icon in the notification area"
        centre = ((icons[0][0] + icons[0][2]) // 2, (icons[0][1] + icons[0][3]) // 2)
        # 2009-02-01 is the 7th day of the old calendar's first month: 先勝.
        # Two hours ahead at start, a minute or more before: the tip tells the present.
        tips = {f"TavroClock\n2009年2月1日（日） 先勝\n目標まで 1時間 {left}分" for left in range(56, 59)}

        def hovered():
            # Away first: the tip shows on the pointer's arrival, for 5 s, which a look at the
            # windows started under load can miss; each look comes after an arrival of its own.
            desktop.xdo("mousemove", "1000", "700")
            desktop.xdo("mousemove", *map(str, centre))
            return tips & set(desktop.tooltips())
        assert wait_for(hovered, 30), desktop.tooltips()

        menus = desktop.right_click(*centre)  # the clock's menu at the icon; its items work
        assert len(menus) == 1 and abs(menus[0][0] - centre[0]) <= 4 and abs(menus[0][1] - centre[1]) <= 4
        desktop.keys("s", "p")
        assert wait_for(record.exists, 15) and "ms-settings:network-proxy" in record.read_text(encoding="utf-8")

        # Hidden from the menu: gone now and at the next start, but shown for a notice.
        assert desktop.right_click(*centre)
        desktop.keys("s", "n")
        assert wait_for(lambda: not tray(desktop)[0]), "the icon stayed"
        assert desktop.reg_query("showTrayIcon") == ("REG_DWORD", "0x0")
        desktop.kill_all()
        desktop.reg_add("targetDate", "REG_SZ", TARGET)
        desktop.start(START)
        assert desktop.find_windows() and not tray(desktop)[0]
        assert balloon(desktop)[0] == TARGET and len(tray(desktop)[0]) == 1
    finally:
        desktop.reg_delete_key(r"HKCR\ms-settings")
