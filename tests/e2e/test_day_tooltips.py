"""The calendar's day tooltips, read from another process while the mouse hovers over the days."""
import time

from conftest import wait_for


def test_may_2026_holidays_a_term_and_the_month_turning_under_a_still_mouse(desktop, tmp_path):
    # The 暦 window's choices: its notes hidden but 六曜, whose 0 of the wrong type counts as shown.
    desktop.reg_set({"almanacShowSexagenary": 0, "almanacShowMoon": 0, "almanacShowZassetsu": 0, "almanacShowSenjitsu": 0,
                     "almanacShowRokuyo": "0"})
    stamp = desktop.start_moving_clock(tmp_path, "2026-05-04 12:00:00")
    # May 2026 starts on a Friday: row 0 holds 1 and 2, row 1 the 3rd to the 9th.
    cases = {
        (1, 1): "2026年5月4日（月） みどりの日\n友引　旧暦3月18日",
        (2, 1): "2026年5月5日（火） こどもの日\n先負　旧暦3月19日\n立夏",
        (3, 1): "2026年5月6日（水） 休日\n仏滅　旧暦3月20日",  # 5/3 was a Sunday
    }
    for cell, want in cases.items():
        assert desktop.hover_day(*cell, want) == [want], cell
    # From a day straight onto a blank cell: the tooltip goes and does not come back.
    desktop.xdo("mousemove", *map(str, desktop.day_centre(0, 0)))
    assert wait_for(lambda: desktop.tooltips() == [], 15)
    time.sleep(1)  # longer than the tooltip's delay
    assert desktop.tooltips() == [], "a blank cell shows no tooltip"

    desktop.hover_day(1, 1, cases[(1, 1)])
    stamp.write_text("@2026-06-01 00:00:00\n")  # the mouse stays; June begins on a Monday
    want = "2026年6月8日（月）\n友引　旧暦4月23日"
    shown = wait_for(lambda: desktop.tooltips() == [want], 10)
    assert shown, desktop.tooltips()
