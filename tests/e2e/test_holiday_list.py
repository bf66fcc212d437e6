"""The Cabinet Office's holiday list, downloaded from a local server, checked, cached and used."""
import os
import subprocess

import pytest

from conftest import ROOT, holiday_list_cache, wait_for
from local_servers import ListServer
from clock_reader import ClockReader, expected_grid

READER = ClockReader()
TODAY = "2026-12-09 12:00:00"
OFFICIAL = open(os.path.join(ROOT, "tests", "data", "syukujitsu.csv"), "rb").read()
# A day that only this list knows: a Monday the act leaves alone.
KNOWN_DAY = "2026/12/14,記念の日\r\n".encode("cp932")
LIST = OFFICIAL.replace(b"2027/1/1,", KNOWN_DAY + b"2027/1/1,", 1)
WITH_LIST = expected_grid(2026, 12, 9, {14})
BY_THE_ACT = expected_grid(2026, 12, 9, set())


def cached():
    files = holiday_list_cache()
    return open(files[0], "rb").read() if files else None


def test_downloaded_cached_and_kept_against_bad_answers(desktop, tmp_path):
    # No copy yet: the list's day once it has come, and the copy on disk. Each new date asks again,
    # conditional on the list in use: a 304, then a login page, a list cut off mid-row, a good list
    # with a 404, a list that never ends and one that trickles. Each of them taken would lose 12/14
    # or change the file.
    bad = [(200, b"<html><body>Please log in</body></html>\r\n", "whole"), (200, LIST[:-7], "whole"),
           (404, OFFICIAL, "whole"), (200, OFFICIAL, "endless"), (200, b"", "trickle")]
    server = ListServer([(200, LIST, "whole"), (304, b"", "whole"), *bad])
    desktop.reg_add("holidayListUrl", "REG_SZ", server.url)
    try:
        stamp = desktop.start_moving_clock(tmp_path, "2026-12-09 12:00:00")
        assert READER.shows(desktop.screenshot, WITH_LIST)
        assert cached() == LIST
        assert server.requests[0].startswith("GET /chosei/syukujitsu.csv HTTP/1.1\r\n")
        assert "If-" not in server.requests[0], "nothing in use yet: unconditional"
        for day in (10, 11, 12, 13, 15, 16):
            asked = len(server.requests)
            stamp.write_text(f"@2026-12-{day} 12:00:00\n")
            # One request a date, made once the answer before it has been read and judged.
            assert wait_for(lambda: len(server.requests) == asked + 1, 15), day
            assert 'If-None-Match: "v1"\r\n' in server.requests[-1], server.requests[-1]
            assert "If-Modified-Since: Mon, 02 Feb 2026 00:00:00 GMT\r\n" in server.requests[-1]
            assert READER.shows(desktop.screenshot, expected_grid(2026, 12, day, {14})) and cached() == LIST, server.answers[asked - 1][:2]

        # (Ticking on and exiting during a trickling download: the one download worker's, test_clock_spine.)
        assert cached() == LIST and len(server.requests) == 7, "once a date"

        # Server gone: the cached copy draws the first calendar and names the day in its tooltip.
        server.stop()
        desktop.kill_all()
        desktop.start(TODAY)
        assert desktop.find_windows()
        assert READER.shows(desktop.screenshot, WITH_LIST)
        assert desktop.hover_day(1, 2, "2026年12月14日（月） 記念の日", first_line=True) == ["2026年12月14日（月） 記念の日"]
    finally:
        server.stop()


BUNDLE = "/etc/ssl/certs/ca-certificates.crt"  # the host's store, which Wine's crypt32 reads at each start


def make_certificates(folder):
    """A CA and a certificate for 127.0.0.1 that it signed, valid from 2000 (the clock runs at a fake time)."""
    def openssl(*args):
        subprocess.run(["faketime", "2000-01-01 00:00:00", "openssl", *args], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    (folder / "ext.cnf").write_text("subjectAltName=DNS:127.0.0.1,IP:127.0.0.1\nextendedKeyUsage=serverAuth\n")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "20000",
            "-subj", "/CN=TavroClock test CA", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
            "-out", "server.pem", "-days", "20000", "-extfile", "ext.cnf")
    return (folder / "ca.pem").read_text(), (str(folder / "server.pem"), str(folder / "server.key"))


def test_over_https_only_with_a_trusted_certificate(desktop, tmp_path):
    if not os.access(BUNDLE, os.W_OK):
        pytest.skip(f"{BUNDLE} is not writable: run as root")
    authority, certificate = make_certificates(tmp_path)
    server = ListServer([(200, LIST, "whole")], certificate)
    desktop.reg_add("holidayListUrl", "REG_SZ", server.url)
    try:
        # Not trusted yet: the connection is made and dropped, nothing is taken.
        desktop.start(TODAY)
        assert desktop.find_windows()
        # Once the connection is over, no GET can come on it.
        assert wait_for(lambda: server.ended, 15)
        assert READER.shows(desktop.screenshot, BY_THE_ACT) and cached() is None and not any(r.startswith("GET") for r in server.requests)
        desktop.kill_all()

        # Trusted: the list comes over TLS and is kept.
        with open(BUNDLE, "a") as bundle:
            bundle.write(authority)
        desktop.start(TODAY)
        assert desktop.find_windows()
        assert READER.shows(desktop.screenshot, WITH_LIST)
        assert cached() == LIST and server.requests[-1].startswith("GET /chosei/syukujitsu.csv HTTP/1.1")
    finally:
        server.stop()
        # Only our certificate goes: others may have changed the store meanwhile.
        with open(BUNDLE) as f:
            text = f.read()
        if authority in text:
            with open(BUNDLE, "w") as f:
                f.write(text.replace(authority, ""))
