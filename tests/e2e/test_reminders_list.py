"""A reminder added in one start: the menu's 「予定(&Y)...」 opens the list, 「追加...」 the edit dialog, which
refuses no title in so many words; the title is typed and 毎週 with an end after 3 times chosen; the list shows it with its next time, the
file reminders.ics holds its VEVENT (read back with python3-icalendar), and the 暦 window's day texts
name it on exactly its three days; Enter in the list edits it, and 「この日に予定を追加...」 opens the
dialog on its day. Screenshots of both windows are kept in the build folder."""
import datetime
import glob
import os

import icalendar
import pytest
from PIL import Image

from conftest import BUILD, wait_for
from test_almanac_window import almanac, cell_id

LIST, EDITOR = "予定 - TavroClock", "予定の追加 - TavroClock"
LIST_ID, REPEAT_ID, END_ID = 501, 404, 415
TITLE = "Team review"


def reminder_files(desktop):
    return glob.glob(os.path.join(desktop.prefix, "drive_c/users/*/AppData/Roaming/TavroClock/reminders.ics*"))


def controls(desktop, caption):
    """The shown dialog titled caption and its controls; None while there is none (or it is being made)."""
    found = [d for d in desktop.dialogs(caption) if d[0]["visible"] == "1"]
    return found[0] if found else None


def save_shot(desktop, caption, name):
    window, _ = controls(desktop, caption)
    left, top, width, height = window["client"]
    Image.fromarray(desktop.screenshot()[top : top + height, left : left + width]).save(os.path.join(BUILD, name))


@pytest.fixture
def no_reminders(desktop):
    """No reminders file in the shared prefix before the test, and none left for the other tests."""
    for old in reminder_files(desktop):
        os.remove(old)
    yield desktop
    desktop.kill_all()
    for left in reminder_files(desktop):
        os.remove(left)


def test_a_reminder_added_through_the_list_is_listed_stored_and_on_its_days(no_reminders):
    desktop = no_reminders
    desktop.start("2026-12-07 09:00:00")  # a Monday
    assert desktop.find_windows()
    desktop.menu_item("y", dialog=LIST)
    assert wait_for(lambda: controls(desktop, LIST)), "the list did not open"
    _, listed = controls(desktop, LIST)
    assert listed[LIST_ID]["rows"] == "" and listed[1]["enabled"] == "0", "an empty list, nothing to edit"

    desktop.keys("alt+a")
    assert wait_for(lambda: controls(desktop, EDITOR)), "the edit dialog did not open"
    desktop.keys("Return")  # no title yet: said so, and the dialog stays
    problem = wait_for(lambda: controls(desktop, "TavroClock"))
    assert problem and "タイトルを入力してください。" in [c["text"] for c in problem[1].values()], problem
    desktop.keys("Return")
    assert wait_for(lambda: not controls(desktop, "TavroClock") and controls(desktop, EDITOR))
    desktop.xdo("type", "--delay", "60", TITLE)
    desktop.keys("alt+r", "Down", "Down", "Down")  # しない → 毎日 → 平日 → 毎週
    desktop.keys("alt+e", "Down", "Tab", "ctrl+a", "3")  # 回数: 3
    edited = wait_for(lambda: (c := controls(desktop, EDITOR)) and c[1][END_ID]["text"] == "回数" and c)
    assert edited and edited[1][REPEAT_ID]["text"] == "毎週", edited and edited[1][REPEAT_ID]
    weekdays = {c["text"]: c for i, c in edited[1].items() if 407 <= i < 414}
    assert weekdays["月"]["checked"] == "1" and weekdays["月"]["enabled"] == "1", "the start's weekday is ticked"
    assert [c["text"] for c in sorted(weekdays.values(), key=lambda c: c["rect"][0])] == list("日月火水木金土")
    save_shot(desktop, EDITOR, "reminder_editor.png")
    desktop.keys("Return")
    assert wait_for(lambda: not controls(desktop, EDITOR), 10), "OK did not close the dialog"

    rows = wait_for(lambda: (c := controls(desktop, LIST)) and c[1][LIST_ID]["rows"], 10)
    assert rows == f"{TITLE}|2026/12/07 10:00|毎週 月、3回|あと 1時間 0分|1", rows
    save_shot(desktop, LIST, "reminder_list.png")
    desktop.keys("alt+l", "Return")  # Enter in the list edits: the dialog reads the reminder back
    again = wait_for(lambda: controls(desktop, "予定の編集 - TavroClock"))
    assert again and [again[1][i]["text"] for i in (400, REPEAT_ID, END_ID, END_ID + 1)] == [TITLE, "毎週", "回数", "3"]
    desktop.keys("Escape")
    assert wait_for(lambda: not controls(desktop, "予定の編集 - TavroClock"), 10)

    path = wait_for(lambda: [f for f in reminder_files(desktop) if f.endswith(".ics")])
    assert path, "no reminders.ics"
    calendar = icalendar.Calendar.from_ical(open(path[0], "rb").read())
    events = [c for c in calendar.walk("VEVENT")]
    assert len(events) == 1
    event = events[0]
    assert str(event["SUMMARY"]) == TITLE and event["UID"]
    assert event["DTSTART"].dt == datetime.datetime(2026, 12, 7, 10, 0) and event["DTSTART"].dt.tzinfo is None
    assert dict(event["RRULE"]) == {"FREQ": ["WEEKLY"], "COUNT": [3], "BYDAY": ["MO"]}

    desktop.keys("Escape")
    assert wait_for(lambda: not controls(desktop, LIST), 10), "Esc did not close the list"
    desktop.menu_item("k")
    info = almanac(desktop, "2026年12月")
    assert info, "the 暦 window did not open"
    named = [day for day in range(1, 32) if f"10:00 {TITLE}" in info["controls"][cell_id(2026, 12, day)]["text"].split("\\n")]
    assert named == [7, 14, 21]
    left, top, right, bottom = map(int, info["rect"].split(","))
    Image.fromarray(desktop.screenshot()[top:bottom, left:right]).save(os.path.join(BUILD, "almanac_reminders.png"))
    # 「この日に予定を追加...」 on the 24th: the edit dialog opens on that day.
    desktop.keys("Down", "Down", "Right", "Right", "Right", "shift+F10")
    assert wait_for(desktop.menus), "no context menu"
    desktop.keys("Down", "Return")
    opened = wait_for(lambda: controls(desktop, EDITOR))
    assert opened and opened[1][401]["time"].startswith("2026-12-24"), opened and opened[1][401]
    desktop.xdo("type", "--delay", "60", "Party")
    desktop.keys("Return")  # saved: the 暦 window names it on that day at once
    texts = lambda: almanac(desktop)["controls"][cell_id(2026, 12, 24)]["text"].split("\\n")
    assert wait_for(lambda: "9:00 Party" in texts(), 10), texts()
