"""The calendar's day tooltips, read from another process while the mouse hovers over the days."""
import time

from conftest import wait_for, wine_env

LEFT, TOP, CELL = 1460, 20, 20  # the clock's top left at 1920 px, one grid unit at 96 DPI


def cell_centre(column, row):
    # Cells stand 2.5 units apart from (2.5, 4.75); their two digits are 2 units wide, 1.6 high.
    return LEFT + int((2.5 + 2.5 * column + 1.0) * CELL), TOP + int((4.75 + 2.5 * row + 0.8) * CELL)


def tooltip_texts(desktop):
    text = desktop.written_by_helper("tooltip")
    assert text is not None, "the tooltip verb failed"
    return [t.strip("\n") for t in text.replace("\r\n", "\n").split("--\n") if t.strip("\n")]


def hover(desktop, column, row, want, timeout=10):
    """Moves the mouse onto the cell (away first, so that the tooltip shows anew) and waits for
    the tooltip to tell `want`; gives back what it last showed."""
    desktop.xdo("mousemove", "1000", "700")
    desktop.xdo("mousemove", *map(str, cell_centre(column, row)))
    shown = []
    wait_for(lambda: shown.append(tooltip_texts(desktop)) or shown[-1] == [want], timeout, step=0.3)
    return shown[-1]


def start_at(desktop, tmp_path, moment):
    """The clock started on a clock that the test moves by writing the time-stamp file."""
    stamp = tmp_path / "now"
    stamp.write_text(f"@{moment}\n")
    desktop.start(env=dict(wine_env(), FAKETIME_TIMESTAMP_FILE=str(stamp), FAKETIME_NO_CACHE="1",
                           LD_PRELOAD="/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"))
    assert desktop.find_windows()
    return stamp


def test_may_2026_holidays_a_term_a_new_moon_and_the_month_turning_under_a_still_mouse(desktop, tmp_path):
    stamp = start_at(desktop, tmp_path, "2026-05-04 12:00:00")
    # May 2026 starts on a Friday: row 0 holds 1 and 2, row 1 the 3rd to the 9th.
    cases = {
        (1, 1): "2026年5月4日（月） みどりの日\n友引　旧暦3月18日",
        (2, 1): "2026年5月5日（火） こどもの日\n先負　旧暦3月19日\n立夏",
        (3, 1): "2026年5月6日（水） 休日\n仏滅　旧暦3月20日",  # 5/3 was a Sunday
        (0, 3): "2026年5月17日（日）\n仏滅　旧暦4月1日",  # the new moon starts the 4th month
    }
    for cell, want in cases.items():
        assert hover(desktop, *cell, want) == [want], cell
    # From a day straight onto a blank cell: the tooltip goes and does not come back.
    desktop.xdo("mousemove", *map(str, cell_centre(0, 0)))
    assert wait_for(lambda: tooltip_texts(desktop) == [], 5)
    time.sleep(1)  # longer than the tooltip's delay
    assert tooltip_texts(desktop) == [], "a blank cell shows no tooltip"

    hover(desktop, 1, 1, cases[(1, 1)])
    stamp.write_text("@2026-06-01 00:00:00\n")  # the mouse stays; June begins on a Monday
    want = "2026年6月8日（月）\n友引　旧暦4月23日"
    shown = wait_for(lambda: tooltip_texts(desktop) == [want], 10)
    assert shown, tooltip_texts(desktop)


def test_the_leap_eleventh_month_of_2033(desktop, tmp_path):
    start_at(desktop, tmp_path, "2033-12-21 12:00:00")
    # 2033-12-01 is a Thursday. The winter solstice ends the 11th month; the next one has no
    # principal term and is leap.
    cases = {
        (3, 3): "2033年12月21日（水）\n仏滅　旧暦11月30日\n冬至",
        (4, 3): "2033年12月22日（木）\n大安　旧暦閏11月1日",
    }
    for cell, want in cases.items():
        assert hover(desktop, *cell, want) == [want], cell
