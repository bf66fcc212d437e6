"""The 暦 window in one start: opened by a double click on a day and by the menu, every day's text
read from its control with its notes, paged by keys, wheel and buttons to both ends, Tab through the
buttons, the next 天赦日 found with F3, the month following midnight, Ctrl+C, a choice of notes
turned off (gone from the texts and the desktop's tooltip), its place kept, and a screenshot of it."""
import datetime
import os
import re

import numpy as np
from PIL import Image

from conftest import BUILD, wait_for

ROKUYO = ["大安", "赤口", "先勝", "友引", "先負", "仏滅"]  # (old month + old day) mod 6
HEADER, PREVIOUS, TODAY, NEXT, STATUS, FIRST_DAY = 100, 101, 102, 103, 104, 200
STEMS, BRANCHES = "甲乙丙丁戊己庚辛壬癸", "子丑寅卯辰巳午未申酉戌亥"


def kanshi(date):
    """The day's 干支: 2024-01-01 was 甲子."""
    n = (date - datetime.date(2024, 1, 1)).days % 60
    return STEMS[n % 10] + BRANCHES[n % 12]


def almanac(desktop, title=None, timeout=20):
    """The window as another process reads it: title, rect, focus, clipboard and controls by id;
    with title, waits for that title. None when there is no window."""
    seen = [None]

    def read():
        text = desktop.written_by_helper("almanac")
        if text is None:
            return seen[0] is None and title is None
        info = {"controls": {}}
        for line in text.splitlines():
            kind, _, rest = line.partition("\t")
            if kind == "control":
                values = dict(f.split("=", 1) for f in rest.split("\t"))
                info["controls"][int(values.pop("id"))] = values
            else:
                name, value = line.split("=", 1)
                info[name] = value
        seen[0] = info
        return title is None or info["title"] == f"暦 - {title}"

    wait_for(read, timeout if title else 0, step=0.5)
    return seen[0]


def focus_is(desktop, control):
    return wait_for(lambda: int(almanac(desktop)["focus"]) == control, 10, step=0.3)


def day_text(info, year, month, day):
    return info["controls"][cell_id(year, month, day)]["text"]


def cell_id(year, month, day):
    return FIRST_DAY + (datetime.date(year, month, 1).weekday() + 1) % 7 + day - 1


def centre(control):
    left, top, right, bottom = map(int, control["rect"].split(","))
    return (left + right) // 2, (top + bottom) // 2


def check_days(info, year, month):
    """Each day's control tells its date and weekday, its 六曜 by the old date, last its 干支 and 月齢;
    the cells around stay empty."""
    texts = {i: c["text"] for i, c in info["controls"].items() if i >= FIRST_DAY}
    last = (datetime.date(year + month // 12, month % 12 + 1, 1) - datetime.timedelta(days=1)).day
    for day in range(1, last + 1):
        lines = texts.pop(cell_id(year, month, day)).split("\\n")
        date = datetime.date(year, month, day)
        assert lines[0].startswith(f"{year}年{month}月{day}日（{'月火水木金土日'[date.weekday()]}）"), lines
        rokuyo, leap, old_month, old_day = re.fullmatch(r"(..)　旧暦(閏?)(\d+)月(\d+)日", lines[1]).groups()
        assert rokuyo == ROKUYO[(int(old_month) + int(old_day)) % 6], lines
        assert re.match(kanshi(date) + r" 月齢 \d+\.\d( |$)", lines[-1]), lines
    assert set(texts.values()) == {""}, "cells outside the month are empty"
    return info


def test_almanac_window(desktop, tmp_path):
    # A stored place of the wrong type and one off every monitor: the default place.
    desktop.reg_add("almanacLeft", "REG_DWORD", 30000)
    desktop.reg_add("almanacTop", "REG_SZ", "40")
    stamp = desktop.start_moving_clock(tmp_path, "2027-03-15 10:00:00")
    desktop.xdo("mousemove", *map(str, desktop.day_centre(4, 2)), "click", "--repeat", "2", "--delay", "80", "1")
    info = almanac(desktop, "2027年3月")
    assert info, "a double click on 3/18 did not open the window"
    left, top, right, bottom = map(int, info["rect"].split(","))
    assert 0 <= left and right <= 1920 and 0 <= top and bottom <= 1080, info["rect"]
    assert info["controls"][HEADER]["text"] == "2027年（令和9年・丁未）3月"
    assert int(info["focus"]) == cell_id(2027, 3, 18), "the day double-clicked is selected"
    check_days(info, 2027, 3)
    text = lambda i, d: i["controls"][cell_id(2027, 3, d)]["text"].split("\\n")
    assert text(info, 21)[0].endswith(" 春分の日") and text(info, 21)[2] == "春分" and text(info, 22)[0].endswith(" 休日")
    # The same text as the desktop calendar's tooltip for the day.
    assert desktop.hover_day(4, 2, "\n".join(text(info, 18))) == ["\n".join(text(info, 18))]

    screen = desktop.screenshot()
    hl, ht, hr, hb = map(int, info["controls"][HEADER]["rect"].split(","))
    header = screen[ht:hb, hl:hr].min(axis=2)
    assert (header > 200).mean() > 0.5 and (header < 80).any(), "the header is painted, dark on light"
    shot = screen[top:bottom, left:right]
    Image.fromarray(shot).save(os.path.join(BUILD, "almanac_window.png"))
    red = np.argwhere((shot[:, :, 0] > 180) & (shot[:, :, 1] < 60) & (shot[:, :, 2] < 60))
    blue = np.argwhere((shot[:, :, 2] > 180) & (shot[:, :, 0] < 60) & (shot[:, :, 1] < 100))
    orange = np.argwhere((shot[:, :, 0] > 220) & (abs(shot[:, :, 1].astype(int) - 128) < 20) & (shot[:, :, 2] < 40))
    width = right - left
    assert len(red) and red[:, 1].min() < width / 7, "Sundays are red"
    assert len(blue) and blue[:, 1].min() > width * 6 / 7 - 20, "only Saturdays are blue"
    assert len(orange) and width / 7 < orange[:, 1].mean() < width * 2 / 7, "today (Monday 15th) is framed"

    # Keys, wheel and buttons.
    desktop.click(*centre(info["controls"][HEADER]))
    desktop.keys("Next")
    assert int(almanac(desktop, "2027年4月")["focus"]) == cell_id(2027, 4, 18)
    desktop.keys("ctrl+Next")
    assert almanac(desktop, "2028年4月")
    desktop.xdo("click", "--repeat", "12", "--delay", "5", "5")  # twelve notches down
    desktop.xdo("click", "4")
    info = almanac(desktop, "2029年3月")
    assert info, "twelve notches on, one back"
    desktop.click(*centre(info["controls"][PREVIOUS]))
    info = almanac(desktop, "2029年2月")
    desktop.click(*centre(info["controls"][TODAY]))
    assert int(almanac(desktop, "2027年3月")["focus"]) == cell_id(2027, 3, 15)
    desktop.keys("Up", "Up", "Up")
    assert int(almanac(desktop, "2027年2月")["focus"]) == cell_id(2027, 2, 22)
    # Tab goes round the buttons and back to the day; a button pressed by its key keeps the focus.
    for key, control in (("Tab", PREVIOUS), ("Tab", TODAY), ("Tab", NEXT), ("Tab", cell_id(2027, 2, 22)),
                         ("shift+Tab", NEXT)):
        desktop.keys(key)
        assert focus_is(desktop, control), (key, control)
    desktop.keys("space")
    assert int(almanac(desktop, "2027年3月")["focus"]) == NEXT
    desktop.keys("Tab")
    assert focus_is(desktop, cell_id(2027, 3, 22))

    # 「次の…」: F3 asks the kind first, then finds the next one of the published 2026 天赦日
    # (3/5, 5/4, 5/20, 7/19, ...) again at each press; Shift+F3 goes back.
    desktop.keys("ctrl+Prior")
    assert almanac(desktop, "2026年3月")
    desktop.keys("F3")
    assert wait_for(desktop.menus), "F3 showed the kinds to look for"
    desktop.keys("Down", "Down", "Down", "Return", wait=0.3)
    info = almanac(desktop, "2026年5月")
    assert int(info["focus"]) == cell_id(2026, 5, 4) and "天赦日" in day_text(info, 2026, 5, 4).split("\\n")[-1]
    assert info["controls"][STATUS]["text"] == "次の天赦日: 2026年5月4日（月）　F3 で次、Shift+F3 で前"
    check_days(info, 2026, 5)
    assert [d for d in range(1, 32) if "天赦日" in day_text(info, 2026, 5, d)] == [4, 20]
    desktop.keys("F3", "F3")
    assert int(almanac(desktop, "2026年7月")["focus"]) == cell_id(2026, 7, 19)
    desktop.keys("shift+F3")
    assert int(almanac(desktop, "2026年5月")["focus"]) == cell_id(2026, 5, 20)

    # The ends: a fast spin stops at 1900-01 and at 2100-12, its button disabled there.
    desktop.xdo("click", "--repeat", "1600", "--delay", "1", "4")
    info = almanac(desktop, "1900年1月", timeout=90)
    assert info["controls"][HEADER]["text"] == "1900年（明治33年・庚子）1月"
    assert (info["controls"][PREVIOUS]["enabled"], info["controls"][NEXT]["enabled"]) == ("0", "1")
    check_days(info, 1900, 1)
    desktop.xdo("click", "--repeat", "2500", "--delay", "1", "5")
    info = almanac(desktop, "2100年12月", timeout=90)
    assert (info["controls"][PREVIOUS]["enabled"], info["controls"][NEXT]["enabled"]) == ("1", "0")
    desktop.keys("ctrl+c")
    assert wait_for(lambda: almanac(desktop)["clipboard"] == info["controls"][cell_id(2100, 12, 20)]["text"], 15)
    # No 甲子 (子月's 天赦日) from 12/21 to the range's end: the status line says so and nothing moves.
    assert all(kanshi(datetime.date(2100, 12, d)) != "甲子" for d in range(21, 32))
    desktop.keys("F3")
    want = "2100年12月31日までに次の天赦日はありません"
    assert wait_for(lambda: almanac(desktop)["controls"][STATUS]["text"] == want, 10)
    assert int(almanac(desktop, "2100年12月")["focus"]) == cell_id(2100, 12, 20)

    # Midnight: the month shown follows today's, a month paged to stays.
    desktop.keys("Home")
    assert almanac(desktop, "2027年3月")
    stamp.write_text("@2027-04-01 00:00:05\n")
    assert almanac(desktop, "2027年4月"), "the window followed today into April"
    desktop.keys("Prior")
    assert almanac(desktop, "2027年3月")
    stamp.write_text("@2027-05-01 00:00:05\n")
    assert desktop.hover_day(6, 0, "2027年5月1日（土）", first_line=True) == ["2027年5月1日（土）"]
    assert almanac(desktop)["title"] == "暦 - 2027年3月", "a month paged to stays"

    # Esc closes it and keeps its place; the menu opens it there, and brings it back as it is.
    rect = almanac(desktop)["rect"]
    desktop.keys("Escape")
    assert wait_for(lambda: almanac(desktop) is None, 10)
    stored = [desktop.reg_query(n) for n in ("almanacLeft", "almanacTop", "almanacWidth", "almanacHeight")]
    left, top, right, bottom = map(int, rect.split(","))
    assert [int(v, 16) for _, v in stored] == [left, top, right - left, bottom - top]
    desktop.menu_item("k")
    info = almanac(desktop, "2027年5月")
    assert info and info["rect"] == rect
    desktop.keys("Next")
    assert almanac(desktop, "2027年6月")
    desktop.menu_item("k")
    assert almanac(desktop)["title"] == "暦 - 2027年6月"

    # 干支 turned off in the context menu: gone from the header, the days and the desktop's tooltip.
    desktop.keys("Prior")
    assert almanac(desktop, "2027年5月")
    desktop.keys("shift+F10")
    assert wait_for(desktop.menus), "Shift+F10 showed the context menu"
    desktop.keys("Down", "Down", "Down", "Down", "Right", "Down", "Return", wait=0.3)  # after 「この日に予定を追加...」
    may = lambda i: i["controls"][HEADER]["text"] == "2027年（令和9年）5月"
    assert wait_for(lambda: may(almanac(desktop)), 10)
    info = almanac(desktop)
    assert not [d for d in range(1, 32) if kanshi(datetime.date(2027, 5, d)) in day_text(info, 2027, 5, d)]
    assert "月齢" in day_text(info, 2027, 5, 1)
    assert desktop.reg_query("almanacShowSexagenary") == ("REG_DWORD", "0x0")
    want = day_text(info, 2027, 5, 1).replace("\\n", "\n")
    assert desktop.hover_day(6, 0, want) == [want]
