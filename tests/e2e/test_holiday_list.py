"""The Cabinet Office's holiday list, downloaded from a local server, checked, cached and used."""
import os
import time
from datetime import timedelta

from conftest import ROOT, holiday_list_cache, wait_for
from list_server import ListServer
from sevenseg import ClockReader, expected_grid

READER = ClockReader()
TODAY = "2026-12-09 12:00:00"
OFFICIAL = open(os.path.join(ROOT, "tests", "data", "syukujitsu.csv"), "rb").read()
# A day that only this list knows: a Monday the act leaves alone.
KNOWN_DAY = "2026/12/14,記念の日\r\n".encode("cp932")
LIST = OFFICIAL.replace(b"2027/1/1,", KNOWN_DAY + b"2027/1/1,", 1)
WITH_LIST = expected_grid(2026, 12, 9, {14})
BY_THE_ACT = expected_grid(2026, 12, 9, set())


def shows(desktop, want, timeout=15):
    return wait_for(lambda: READER.grid(desktop.screenshot()) == want, timeout)


def cached():
    files = holiday_list_cache()
    return open(files[0], "rb").read() if files else None


def test_downloaded_cached_and_kept_against_bad_answers(desktop):
    servers = []

    def serve(*answers):
        server = ListServer(answers)
        servers.append(server)
        desktop.reg_add("holidayListUrl", "REG_SZ", server.url)
        return server

    def start_and_read(want, server=None):
        clock = desktop.start(TODAY)
        assert desktop.find_windows()
        if server:
            assert wait_for(lambda: server.requests, 15), "no request"
        assert shows(desktop, want), "calendar"
        return clock

    try:
        # No copy yet: the act's rules, then the list's day once it has come, and the copy on disk.
        server = serve((200, LIST, "whole"))
        clock = desktop.start(TODAY)
        assert desktop.find_windows()
        assert shows(desktop, WITH_LIST)
        assert cached() == LIST
        assert server.requests[0].startswith("GET /chosei/syukujitsu.csv HTTP/1.1\r\n")
        assert "If-None-Match" not in server.requests[0], "nothing cached in this run: unconditional"
        desktop.helper("close")
        clock.wait(20)

        # Server gone: the cached copy draws the first calendar.
        server.stop()
        desktop.kill_all()
        start_and_read(WITH_LIST)
        desktop.kill_all()

        # A later login page, a list cut off mid-row, a 404: the cached copy stays, byte for byte.
        for answer in [(200, b"<html><body>Please log in</body></html>\r\n", "whole"),
                       (200, LIST[:-7], "whole"), (404, LIST, "whole")]:
            server = serve(answer)
            start_and_read(WITH_LIST, server)
            time.sleep(1)  # the answer has been read and judged by then
            assert shows(desktop, WITH_LIST, 0) and cached() == LIST, answer[:2]
            desktop.kill_all()

        # A trickling answer: the seconds go on, and exit is quick even mid-download.
        server = serve((200, b"", "trickle"))
        clock = start_and_read(WITH_LIST, server)
        first = wait_for(lambda: READER.now(desktop.screenshot()))
        assert first and wait_for(lambda: (READER.now(desktop.screenshot()) or first) - first >= timedelta(seconds=3), 10)
        began = time.time()
        desktop.helper("close")
        clock.wait(20)
        assert time.time() - began < 6, "exit waited on the download"
        assert cached() == LIST
    finally:
        for server in servers:
            server.stop()
