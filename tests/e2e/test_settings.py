"""The stored countdown target, read at start-up (the stored view: test_menu)."""
import pytest

from conftest import wait_for
from sevenseg import GREEN, RED, TARGET, ClockReader

BLANK = ([""] * 6, ["?    ", "", "", ""], set())


# targetDate as stored, at 2009-02-01 12:00:00 -> the target row, the countdown row (direction and
# days, hours, minutes; the seconds run) and its colours (green ahead, red past). Values of the
# wrong type and other dates that are none: the Windows-side registry test and the date rules.
@pytest.mark.parametrize("kind,stored,target,countdown,colours", [
    ("REG_SZ", "2009/02/01 13:00:00", ["2009", "2", "1", "13", "00", "00"], ["↓   0", "0", "59"], {GREEN}),
    ("REG_SZ", "2009/01/31 12:00:00", ["2009", "1", "31", "12", "00", "00"], ["↑   1", "0", "00"], {RED}),
    ("REG_SZ", "not a date", *BLANK)])
def test_the_stored_target_shows_with_its_countdown(desktop, kind, stored, target, countdown, colours):
    desktop.reg_add("targetDate", kind, stored)
    desktop.start("2009-02-01 12:00:00")
    assert desktop.find_windows()
    reader = ClockReader()

    def rows():
        shot = desktop.screenshot()
        texts, shown = reader.countdown(shot)
        return reader.texts(shot, TARGET), texts[: len(countdown)], shown

    seen = []
    assert wait_for(lambda: seen.append(rows()) or seen[-1][:2] == (target, countdown), 10), seen[-1]
    assert seen[-1][2] == colours
