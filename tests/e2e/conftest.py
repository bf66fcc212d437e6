"""The real exe under Wine in Xvfb: one display and one Wine prefix for the whole run."""
import os
import shutil
import subprocess
import tempfile
import time

import numpy as np
import pytest
from PIL import Image

from feed_server import FeedServer

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Overridable so that several people can run the suite side by side on one machine.
BUILD = os.environ.get("TAVRO_E2E_BUILD", os.path.join(ROOT, "build", "win64"))
EXE = os.path.join(BUILD, "tavroclock.exe")
HELPERS = os.path.join(BUILD, "helpers")
# One helper exe, a verb per job (see its source); with no known verb it records how it was started.
HELPER = os.path.join(HELPERS, "tavro_testhelper.exe")
SCREEN = (1920, 1080)
DISPLAY = os.environ.get("TAVRO_E2E_DISPLAY", ":93")
WINEPREFIX = os.environ.get("TAVRO_E2E_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
CLOCK_KEY = r"HKCU\Software\Quillmar-soft\tavroClock"


def wine_env(prefix=WINEPREFIX):
    env = dict(os.environ)
    env.update(
        WINEPREFIX=prefix,
        WINEDEBUG="-all",
        WINEDLLOVERRIDES="mscoree,mshtml=",
        LC_ALL="ja_JP.UTF-8",
        TZ="Asia/Tokyo",
        DISPLAY=DISPLAY,
        # faketime would fake file times too: Wine then takes the prefix for out of date and runs
        # its update at the next start, which costs seconds and rewrites registry defaults.
        NO_FAKE_STAT="1",
    )
    return env


def run(cmd, timeout=60, prefix=WINEPREFIX):
    """The command's output goes through files, not pipes: a wineserver that the command starts
    inherits them and stays for seconds after it, and reading pipes would wait for it."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        r = subprocess.run(cmd, env=wine_env(prefix), stdout=out, stderr=err, timeout=timeout)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(r.args, r.returncode, out.read().decode("utf-8", "replace"),
                                           err.read().decode("utf-8", "replace"))


def helper(verb, *args, timeout=60, prefix=WINEPREFIX):
    """Runs the test helper inside Wine and waits for it."""
    return run(["wine", HELPER, verb, *args], timeout=timeout, prefix=prefix)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def desktop_report(prefix=WINEPREFIX):
    """What the helper sees: clock, parent_class, parent_title, rect, visible, wallpaper, colour."""
    with tempfile.TemporaryDirectory(dir="/tmp") as folder:
        target = os.path.join(folder, "report.txt")
        # Generous: SetSysColors broadcasts to every window and has been seen to stall.
        r = helper("report", windows_path(target), timeout=90, prefix=prefix)
        assert r.returncode == 0, r.stderr
        with open(target, encoding="utf-8") as f:
            return dict(line.split("=", 1) for line in f.read().splitlines())


def wait_for(condition, timeout, step=0.2):
    """condition's first true value within timeout seconds, else its last value."""
    end = time.time() + timeout
    while True:
        value = condition()
        if value or time.time() >= end:
            return value
        time.sleep(step)


@pytest.fixture(scope="session")
def display():
    if not os.path.exists(EXE):
        pytest.fail(f"{EXE} is not built")
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert wait_for(lambda: run(["xdpyinfo"], timeout=10).returncode == 0, 20), f"Xvfb {DISPLAY} did not start"
    yield DISPLAY
    run(["wineserver", "-k"])
    xvfb.terminate()
    xvfb.wait(10)


class Desktop:
    """Starting the clock, reading the screen and the registry."""

    def __init__(self):
        self.procs = []

    def kill_all(self):
        run(["wineserver", "-k"], timeout=30)
        run(["wineserver", "-w"], timeout=60)
        for p in self.procs:
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
        self.procs = []
        # A window of a process that is still going away would be taken for the new one.
        end = time.time() + 15
        while time.time() < end and self.find_windows(timeout=0.1):
            time.sleep(0.3)

    def start_helper(self, verb, *args):
        """The helper as a long-running process of the test (the program-manager stand-in)."""
        return self.start(exe=HELPER, args=(verb, *args))

    def start(self, fake_time=None, exe=EXE, args=()):
        cmd = ["wine", exe, *args]
        if fake_time:
            # '@' makes the fake clock run on from the given moment; the wineserver that this
            # first process starts inherits the same clock.
            cmd = ["faketime", "-f", "@" + fake_time] + cmd
        p = subprocess.Popen(cmd, env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(p)
        return p

    def find_windows(self, name="TavroClock", timeout=30):
        end = time.time() + timeout
        while True:
            r = run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], timeout=10)
            ids = r.stdout.split()
            if ids or time.time() >= end:
                return ids
            time.sleep(0.3)

    def geometry(self, window_id):
        r = run(["xwininfo", "-id", window_id], timeout=10)
        info = {}
        for line in r.stdout.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    info[key] = int(line.split(":")[1])
        return (info["Absolute upper-left X"], info["Absolute upper-left Y"], info["Width"], info["Height"])

    def screenshot(self, path=None):
        with tempfile.NamedTemporaryFile(suffix=".png", delete=False) as f:
            out = f.name
        run(["import", "-window", "root", out], timeout=30)
        img = np.asarray(Image.open(out).convert("RGB"))
        if path:
            shutil.copy(out, path)
        os.unlink(out)
        return img

    def reg_delete_key(self, key=CLOCK_KEY):
        run(["wine", "reg", "delete", key, "/f"], timeout=60)

    def reg_add(self, name, kind, data, key=CLOCK_KEY):
        """name None sets the key's default value."""
        value = ["/v", name] if name is not None else ["/ve"]
        command = ["wine", "reg", "add", key, *value, "/t", kind, "/d", str(data), "/f"]
        # Seen once: Wine did not find reg.exe while a wineserver was going away; so until it works.
        last = []
        assert wait_for(lambda: last.append(run(command, timeout=60)) or last[-1].returncode == 0, 20, step=1), \
            last[-1].stdout + last[-1].stderr

    def reg_query(self, name, key=CLOCK_KEY):
        r = run(["wine", "reg", "query", key, "/v", name], timeout=60)
        for line in r.stdout.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0] == name:
                return parts[1], (parts[2] if len(parts) > 2 else "")
        return None


@pytest.fixture
def desktop(display):
    d = Desktop()
    d.kill_all()
    d.reg_delete_key()
    # The feed must not wait on a network this machine does not have.
    d.reg_add("feedHost", "REG_SZ", "127.0.0.1:9")
    yield d
    d.kill_all()


@pytest.fixture
def feed(desktop):
    """Starts a local holiday feed (feed(dates, status)) and points the clock at it."""
    servers = []

    def start(dates=(), status=200):
        server = FeedServer(dates, status)
        servers.append(server)
        desktop.reg_add("feedHost", "REG_SZ", f"127.0.0.1:{server.port}")
        desktop.reg_add("feedCalendarId", "REG_SZ", "test@example.org")
        return server

    yield start
    for s in servers:
        s.stop()
