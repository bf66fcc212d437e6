"""The real exe under Wine in Xvfb: one display and one Wine prefix for the whole run."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy as np
import pytest
from PIL import ImageGrab

from local_servers import FeedServer

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))  # clock_reader, which tools/run_clock.sh waits with too
# Overridable so that several people can run the suite side by side on one machine.
BUILD = os.environ.get("TAVRO_E2E_BUILD", os.path.join(ROOT, "build", "win64"))
EXE = os.path.join(BUILD, "tavroclock.exe")
# One helper exe, a verb per job (see its source); with no known verb it records how it was started.
HELPER = os.path.join(BUILD, "helpers", "tavro_testhelper.exe")
SCREEN = (1920, 1080)
# Run by pytest-xdist (-n N), each worker has X displays and Wine prefixes of its own: worker n
# takes the display numbers plus 100 n and prefixes named "-gwn" (worker 0 the plain ones).
WORKER = int(os.environ.get("PYTEST_XDIST_WORKER", "gw0")[2:])
PREFIX_SUFFIX = f"-gw{WORKER}" if WORKER else ""


# TAVRO_DISPLAY_BASE moves every default display, so that checkouts can run side by side.
DISPLAY_BASE = int(os.environ.get("TAVRO_DISPLAY_BASE", "0"))


def worker_display(variable, number):
    """The display the environment variable names, else this worker's :number."""
    return os.environ.get(variable, f":{number + 100 * WORKER + DISPLAY_BASE}")


DISPLAY = worker_display("TAVRO_E2E_DISPLAY", 93)
SHARED_PREFIX = os.environ.get("TAVRO_E2E_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
WINEPREFIX = SHARED_PREFIX + PREFIX_SUFFIX
CLOCK_KEY = r"HKCU\Software\Quillmar-soft\tavroClock"
MOSAIC_COLOUR = "70 74 78"  # the desktop colour while the clock runs (the report's "colour")
# On the calendar's frame, left of the days: the menu opens there and no day's tooltip shows.
MENU_POINT = (1480, 300)


def holiday_list_cache(prefix=WINEPREFIX):
    """The clock's cached copy of the holiday list, [] or [path]."""
    return glob.glob(os.path.join(prefix, "drive_c/users/*/AppData/Local/TavroClock/syukujitsu.csv"))


def wine_env(prefix=WINEPREFIX, display=DISPLAY):
    # NO_FAKE_STAT: faked file times make Wine take the prefix for out of date and run its update
    # at the next start, which costs seconds and rewrites registry defaults.
    return dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                LC_ALL="ja_JP.UTF-8", TZ="Asia/Tokyo", DISPLAY=display, NO_FAKE_STAT="1")


def run(cmd, timeout=60, prefix=WINEPREFIX, display=DISPLAY):
    """The command's output goes through files, not pipes: a wineserver that the command starts
    inherits them and stays for seconds after it, and reading pipes would wait for it."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        r = subprocess.run(cmd, env=wine_env(prefix, display), stdout=out, stderr=err, timeout=timeout)
        out.seek(0), err.seek(0)
        return subprocess.CompletedProcess(cmd, r.returncode, *(f.read().decode("utf-8", "replace") for f in (out, err)))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for(condition, timeout=30.0, step=0.2):
    """condition's first true value within timeout seconds, else its last value."""
    end = time.time() + timeout
    while True:
        value = condition()
        if value or time.time() >= end:
            return value
        time.sleep(step)


def start_xvfb(display, size):
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", f"{size[0]}x{size[1]}x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert wait_for(lambda: run(["xdpyinfo"], timeout=10, display=display).returncode == 0, 20), \
        f"Xvfb {display} did not start"
    return xvfb


def pytest_configure(config):
    """Before xdist's workers start, the controller copies the shared prefix for workers 1 and on."""
    if hasattr(config, "workerinput"):
        return
    for worker in range(1, getattr(config.option, "numprocesses", None) or 0):
        if not os.path.isdir(f"{SHARED_PREFIX}-gw{worker}"):
            run(["wineserver", "-w"], timeout=60, prefix=SHARED_PREFIX)
            shutil.copytree(SHARED_PREFIX, f"{SHARED_PREFIX}-gw{worker}", symlinks=True)


@pytest.fixture(scope="session")
def display():
    if not os.path.exists(EXE):
        pytest.fail(f"{EXE} is not built")
    xvfb = start_xvfb(DISPLAY, SCREEN)
    yield DISPLAY
    run(["wineserver", "-k"])
    xvfb.terminate()
    xvfb.wait(10)


class Desktop:
    """One Wine session on one X display: starting programs, the mouse and keys, the screen and
    the registry."""

    def __init__(self, prefix=WINEPREFIX, display=DISPLAY, virtual_desktop=None):
        self.prefix, self.display, self.procs = prefix, display, []
        # Helpers run in this Wine virtual desktop (by name) when one is given.
        self.explorer = ["explorer", f"/desktop={virtual_desktop}"] if virtual_desktop else []

    def run(self, cmd, timeout=60):
        return run(cmd, timeout, self.prefix, self.display)

    def helper(self, verb, *args, timeout=60):
        """Runs the test helper inside Wine and waits for it."""
        return self.run(["wine", *self.explorer, HELPER, verb, *args], timeout=timeout)

    def written_by_helper(self, verb, *args):
        """What the helper's verb writes to the file named first, as text (None when it failed)."""
        with tempfile.TemporaryDirectory(dir="/tmp") as folder:
            target = os.path.join(folder, "out.txt")
            # Generous: SetSysColors broadcasts to every window and has been seen to stall. Run
            # again once when it failed: a dump once failed in a full run just as the clock had
            # started another program, and passed alone.
            for _ in range(2):
                r = self.helper(verb, windows_path(target), *args, timeout=90)
                if r.returncode == 0:
                    break
            # In a virtual desktop the helper runs on after the explorer that took it there has ended.
            if r.returncode != 0 or not wait_for(lambda: os.path.exists(target), 30 if self.explorer else 0):
                return None
            return open(target, encoding="utf-8").read()

    def report(self, until=None, timeout=30):
        """What another program sees: clock, parent_class, parent_title, rect, visible, wallpaper,
        colour, style, tile. With until, the first report it holds for within timeout, else the last."""
        seen = []

        def once():
            text = self.written_by_helper("report")
            assert text is not None, "the report failed"
            seen.append(dict(line.split("=", 1) for line in text.splitlines()))
            return until is None or until(seen[-1])

        wait_for(once, timeout if until else 0)
        return seen[-1]

    def rows(self, verb, *args):
        """The verb's lines "KIND\tNAME=VALUE\t..." as [(kind, {name: value})]."""
        text = self.written_by_helper(verb, *args)
        assert text is not None, f"the {verb} verb failed"
        return [(kind, dict(f.split("=", 1) for f in rest)) for kind, *rest in (s.split("\t") for s in text.splitlines())]

    def dialogs(self, caption):
        """Top-level dialogs titled caption, as seen from another process: [(window, {id: control})]."""
        found = []
        for kind, values in self.rows("dump", caption):
            for key in ("client", "rect"):
                if key in values:
                    values[key] = tuple(int(v) for v in values[key].split(","))
            if kind == "window":
                found.append((values, {}))
            else:
                found[-1][1][int(values["id"])] = values
        return found

    def kill_all(self):
        self.run(["wineserver", "-k"], timeout=30)
        self.run(["wineserver", "-w"], timeout=60)
        for p in self.procs:
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
        self.procs = []
        # A window of a process that is still going away would be taken for the new one.
        wait_for(lambda: not self.find_windows(timeout=0), 15)

    def start(self, fake_time=None, exe=EXE, args=(), env=None):
        cmd = ["wine", exe, *args]
        if fake_time:
            # '@' makes the fake clock run on from the given moment; the wineserver that this
            # first process starts inherits the same clock.
            cmd = ["faketime", "-f", "@" + fake_time] + cmd
        p = subprocess.Popen(cmd, env=env or wine_env(self.prefix, self.display), stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        self.procs.append(p)
        return p

    @staticmethod
    def own(name, display, fresh=False):
        """A session in a prefix of its own, copied once from the shared one (fresh: copied anew)."""
        session = Desktop(f"{SHARED_PREFIX}-{name}{PREFIX_SUFFIX}", display)
        if fresh:
            shutil.rmtree(session.prefix, ignore_errors=True)
        if not os.path.isdir(session.prefix):
            run(["wineserver", "-w"], timeout=60)
            shutil.copytree(WINEPREFIX, session.prefix, symlinks=True)
        return session

    def reset(self):
        """No clock running and none of its settings but these; gives back the session."""
        self.kill_all()
        # The feed and the holiday list must not wait on a network this machine does not have. No
        # notification-area icon unless a test asks for it: Wine's stand-alone tray would take the
        # screen's top left, and with no window manager its hiding adds a second to every exit.
        self.reg_set({"feedHost": "127.0.0.1:9", "holidayListUrl": "http://127.0.0.1:9/", "showTrayIcon": 0}, fresh=True)
        self.forget_holiday_list()
        self.forget_reminders()
        return self

    def forget_reminders(self):
        """No reminders file (nor its copies) of an earlier test."""
        for kept in glob.glob(os.path.join(self.prefix, "drive_c/users/*/AppData/Roaming/TavroClock/reminders.ics*")):
            os.remove(kept)

    def forget_holiday_list(self):
        for cached in holiday_list_cache(self.prefix):
            os.remove(cached)

    def start_moving_clock(self, folder, moment, on_desktop=False):
        """The clock on a clock of its own, read from a time-stamp file that the test rewrites
        (f"@{moment}") to move it; gives back the file once the window is there (on_desktop: once
        shown_on_desktop, for a clock that hangs in a stand-in shell)."""
        stamp = folder / "now"
        stamp.write_text(f"@{moment}\n")
        self.start(env=dict(wine_env(self.prefix, self.display), FAKETIME_TIMESTAMP_FILE=str(stamp),
                            FAKETIME_NO_CACHE="1", LD_PRELOAD="/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"))
        assert self.shown_on_desktop() if on_desktop else self.find_windows()
        return stamp

    def shown_on_desktop(self, timeout=90):
        """The report once the clock shows and has set the desktop colour: its start-up is over (a
        click before that finds no menu). Wine draws no child of another process's window, so
        under a stand-in shell this, not the screen, tells that the clock is up."""
        seen = self.report(lambda s: s.get("visible") == "1" and s["colour"] == MOSAIC_COLOUR, timeout)
        assert seen.get("visible") == "1", seen
        return seen

    def start_helper(self, verb, *args):
        """The helper as a long-running process of the test (the program-manager stand-in)."""
        return self.start(exe=HELPER, args=(verb, *args))

    def find_windows(self, name="TavroClock", timeout=30):
        search = ["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"]
        return wait_for(lambda: self.run(search, timeout=10).stdout.split(), timeout, step=0.3)

    def geometry(self, window_id):
        lines = [line.strip().split(":") for line in self.run(["xwininfo", "-id", window_id], 10).stdout.splitlines()]
        info = {line[0]: line[1] for line in lines if len(line) == 2}
        return tuple(int(info[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def clock_geometry(self):
        windows = self.find_windows()
        assert len(windows) == 1, windows
        return self.geometry(windows[0])

    def screenshot(self):
        return np.asarray(ImageGrab.grab(xdisplay=self.display))

    # The mouse, the keys and the clock's own windows.
    def our_windows(self):
        """Visible windows of the clock's process: (id, name, geometry)."""
        found = []
        for wid in self.run(["xdotool", "search", "--onlyvisible", "--class", "tavroclock.exe"], 20).stdout.split():
            try:
                found.append((wid, self.run(["xdotool", "getwindowname", wid], 20).stdout.strip(), self.geometry(wid)))
            except KeyError:
                pass  # gone meanwhile
        return found

    def menus(self):
        """Geometries of the open menu levels, outermost first (menus have no title)."""
        return sorted((g for _, name, g in self.our_windows() if name == ""), key=lambda g: g[0])

    def dialog_window(self, name):
        return next(((wid, g) for wid, n, g in self.our_windows() if n == name), None)

    def xdo(self, *args):
        self.run(["xdotool", *args], timeout=20)

    def click(self, x, y, button="1"):
        self.xdo("mousemove", str(x), str(y), "click", button)

    def right_click(self, x=MENU_POINT[0], y=MENU_POINT[1]):
        """The popup menu opened by a right click at (x, y): its levels, or [] when none opened."""
        self.click(x, y, "3")
        return wait_for(self.menus)

    def keys(self, *names, wait=0.5):
        for i, name in enumerate(names):
            time.sleep(wait if i else 0)  # the menu or dialog takes a key before the next one
            self.xdo("key", name)

    def menu_item(self, *keys, dialog=None):
        """Chooses an item of the popup menu by its access keys; with dialog, waits for it to open."""
        assert self.right_click(), "the popup menu did not open"
        self.keys(*keys, wait=0.5 if dialog else 0)
        if dialog:
            found = wait_for(lambda: self.dialog_window(dialog))
            assert found, f"{dialog} did not open"
            return found

    # The calendar's day tooltips.
    @staticmethod
    def day_centre(column, row):
        """A calendar cell's centre on the screen at 96 DPI: cells stand 2.5 grid units (20 px) apart
        from (2.5, 4.75) in the clock at (1460, 20); their two digits are 2 units wide, 1.6 high."""
        return 1460 + int((2.5 + 2.5 * column + 1.0) * 20), 20 + int((4.75 + 2.5 * row + 0.8) * 20)

    def tooltips(self):
        """The texts of the visible tooltips, lines "\n" apart."""
        text = self.written_by_helper("tooltip")
        assert text is not None, "the tooltip verb failed"
        return [t.strip("\n") for t in text.replace("\r\n", "\n").split("--\n") if t.strip("\n")]

    def hover_day(self, column, row, want, first_line=False, timeout=10):
        """Moves the mouse onto the cell (away first, so that its tooltip shows anew) and waits for
        the tooltip to tell want (with first_line, as its first line); gives back what it last showed."""
        self.xdo("mousemove", "1000", "700")
        self.xdo("mousemove", *map(str, self.day_centre(column, row)))
        shown = []
        tells = lambda: [t.split("\n")[0] for t in shown[-1]] if first_line else shown[-1]
        wait_for(lambda: shown.append(self.tooltips()) or tells() == [want], timeout, step=0.3)
        return tells()

    # The registry.
    def reg_delete_key(self, key=CLOCK_KEY, name=None):
        """The key, or its value name; nothing when it is missing already."""
        self.reg_until_done(["wine", "reg", "delete", key, *(["/v", name] if name else []), "/f"], self.reg_answered)

    def reg_until_done(self, command, done):
        """Runs a reg command until done(result); Wine has been seen not to find reg.exe while a
        wineserver was going away, and a failed query must not read as a missing value."""
        last = []
        assert wait_for(lambda: last.append(self.run(command, timeout=60)) or done(last[-1]), 20, step=1), \
            last[-1].stdout + last[-1].stderr
        return last[-1]

    @staticmethod
    def reg_answered(r):
        """Done, or a missing key or value, which reg itself reports (in the locale's words) with 1."""
        return r.returncode == 0 or (r.returncode == 1 and r.stdout.strip().startswith("reg:"))

    def reg_set(self, values, key=CLOCK_KEY, fresh=False):
        """Sets the values (str: REG_SZ, int: REG_DWORD) by one import, one Wine start; fresh: and no others."""
        name = key.replace("HKCU", "HKEY_CURRENT_USER", 1)
        text = lambda s: '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'
        lines = ["Windows Registry Editor Version 5.00", *([f"[-{name}]"] if fresh else []), f"[{name}]"]
        lines += [f"{text(n)}=" + (f"dword:{v:08x}" if isinstance(v, int) else text(v)) for n, v in values.items()]
        with tempfile.NamedTemporaryFile("w", suffix=".reg", encoding="utf-16", dir="/tmp") as file:
            file.write("\r\n".join(lines) + "\r\n"), file.flush()
            self.reg_until_done(["wine", "reg", "import", windows_path(file.name)], lambda r: r.returncode == 0)

    def reg_add(self, name, kind, data, key=CLOCK_KEY):
        """name None sets the key's default value."""
        value = ["/v", name] if name is not None else ["/ve"]
        self.reg_until_done(["wine", "reg", "add", key, *value, "/t", kind, "/d", str(data), "/f"],
                            lambda r: r.returncode == 0)

    def reg_query(self, name, key=CLOCK_KEY):
        """(type, data) of the value (name None: the key's default value), None when it is missing."""
        command = ["wine", "reg", "query", key, *(["/v", name] if name is not None else ["/ve"])]
        r = self.reg_until_done(command, self.reg_answered)
        for line in r.stdout.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_") and (name is None or parts[0] == name):
                return parts[1], (parts[2] if len(parts) > 2 else "")


@pytest.fixture
def desktop(display):
    d = Desktop().reset()
    yield d
    d.kill_all()
    # A test's list must not show in the next clock started in this prefix (tools/run_clock.sh).
    d.forget_holiday_list()


@pytest.fixture
def feed(desktop):
    """Starts a local holiday feed (feed(dates, status, mode)) and points the clock at it."""
    servers = []

    def start(dates=(), status=200, mode="feed", lifetime=60):
        server = FeedServer(dates, status, mode, lifetime)
        servers.append(server)
        desktop.reg_set({"feedHost": f"127.0.0.1:{server.port}", "feedCalendarId": "test@example.org"})
        return server

    yield start
    for server in servers:
        server.stop()
