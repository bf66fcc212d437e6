"""The month calendar read off the screen, with the feed's holidays and while the clock moves."""
from conftest import wait_for
from clock_reader import GREEN, RED, ClockReader, expected_grid

READER = ClockReader()


def test_the_month_with_the_feeds_holidays(desktop, feed):
    server = feed(["2009-01-01", "2009-01-12", "2009-02-11", "2009-02-14", "2009-03-20"])
    desktop.start("2009-02-11 12:00:00")
    assert desktop.find_windows()
    # Today on a holiday: orange. 2/14 is a Saturday: red, not light blue.
    want = expected_grid(2009, 2, 11, {11, 14})
    assert READER.shows(desktop.screenshot, want, 10)
    assert server.requests == [
        "/calendar/feeds/test@example.org/public/attendees-only?start-min=2009-01-01&start-max=2009-03-01"]


def test_a_clock_moved_while_running(desktop, feed, tmp_path):
    """One start, the clock moved by a time-stamp file; the feed answers 200 with a login page."""
    server = feed(mode="html")
    desktop.reg_add("targetDate", "REG_SZ", "2027/01/15 12:00:00")
    stamp = desktop.start_moving_clock(tmp_path, "2027-01-15 11:59:55")

    def sign_and_colours():
        texts, colours = READER.countdown(desktop.screenshot())
        return texts[0][0], colours

    # The target passes: red with the up sign. Set back before it: green with the down sign.
    assert wait_for(lambda: server.requests, 15)
    assert wait_for(lambda: sign_and_colours() == ("↑", {RED}), 30)
    stamp.write_text("@2027-01-15 11:58:00\n")
    assert wait_for(lambda: sign_and_colours() == ("↓", {GREEN}), 10)
    # Midnight: the 16th becomes today, and is asked for once the login page has been read. Not a
    # feed: the computed holidays (1/1, Coming of Age Day 1/11) stay.
    stamp.write_text("@2027-01-15 23:59:58\n")
    assert wait_for(lambda: len(server.requests) >= 2, 15)
    assert READER.shows(desktop.screenshot, expected_grid(2027, 1, 16, {1, 11}))
    # A month later on the same day number: February's grid.
    stamp.write_text("@2027-02-16 12:00:00\n")
    assert READER.shows(desktop.screenshot, expected_grid(2027, 2, 16, {11, 23}))
    assert len(server.requests) >= 3
