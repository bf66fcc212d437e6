"""The clock on each desktop that Windows builds, stood in by the helper's shell (Wine has none),
and through the changes the shell makes while the clock runs. Wine 8 draws no child of another
process's window and does not compose as 24H2 does, so the clock is checked from inside Wine: its
parent, styles and alpha, the window right under it, and what WindowFromPoint finds at its centre,
alone and with an application window over it. The stand-in shell times each change itself: how
long until the clock hung right above the icon view again."""
import os

import pytest

from conftest import MOSAIC_COLOUR, wait_for, windows_path

WS_CHILD, WS_POPUP, WS_EX_TOOLWINDOW, WS_EX_LAYERED = 0x40000000, 0x80000000, 0x80, 0x80000
# Hidden at most a second (the tick's period) after a change, two after a restarted shell, as the
# stand-in shell logs it. The bounds leave a loaded machine two more seconds: what they tell apart
# is a clock that comes back by itself at its next ticks from one that waits for something else.
CHANGE_MS, RESTART_MS = 3000, 4000


class Shell:
    """The helper's stand-in shell in one layout, and its log of how long the clock took."""

    def __init__(self, desktop, layout, folder, late=False):
        self.desktop, self.log = desktop, os.path.join(folder, f"{layout}{'-late' if late else ''}.log")
        self.proc = desktop.start_helper("shell", layout, windows_path(self.log), *(["late"] if late else []))

    def timed(self, name, timeout=10):
        """The ms the clock took after the change called name (None: timed out or not logged)."""
        def entry():
            lines = open(self.log).read().split("\n") if os.path.exists(self.log) else []
            return next((line.split()[1] for line in lines if line.split()[:1] == [name]), None)
        found = wait_for(entry, timeout)
        return int(found) if found and found.isdigit() else None

    def change(self, action):
        assert self.desktop.helper("shell-do", action).returncode == 0
        return self.timed(action)


def hanging(seen):
    """How the clock hangs: parent, the window right under it, child and popup style, layered and
    tool window, alpha, what is hit at its centre alone and with an application over it, place."""
    style, ex = int(seen["clock_style"], 16), int(seen["clock_exstyle"], 16)
    return (seen["parent_class"], seen["below"], bool(style & WS_CHILD), bool(style & WS_POPUP),
            bool(ex & WS_EX_LAYERED), bool(ex & WS_EX_TOOLWINDOW), seen["alpha"], seen["at_centre"], seen["over_app"],
            seen["rect"])


def above_the_icons_of(parent, layered=False):
    # Layered with alpha 255 and no tool window only where the host has no redirection surface.
    return (parent, "SHELLDLL_DefView", True, False, layered, not layered, "255" if layered else "none", "clock", "app",
            "1460,20,1900,600")


def test_classic_desktop_through_show_desktop_a_split_a_restart_announced_early_and_a_hung_shell(desktop, feed, tmp_path):
    server = feed()
    shell = Shell(desktop, "classic", str(tmp_path))
    clock_file = desktop.start_moving_clock(tmp_path, "2026-12-31 12:00:00", on_desktop=True)
    assert shell.timed("start") is not None
    seen = desktop.report()
    assert hanging(seen) == above_the_icons_of("Progman") and seen["parent_title"] == "Program Manager"
    # Show Desktop moves the icons into a raised WorkerW; back in Progman they land on top of its
    # children, over the clock; the split moves them into a WorkerW over the wallpaper's.
    for action, parent in (("show", "WorkerW"), ("back", "Progman"), ("split", "WorkerW")):
        took = shell.change(action)
        assert took is not None and took <= CHANGE_MS, (action, took)
        assert hanging(desktop.report()) == above_the_icons_of(parent), action

    # The shell ends and takes its windows with it; the clock stays up on its own, at the bottom.
    shell.proc.kill()
    alone = desktop.report(lambda s: s.get("parent_class") == "", 15)
    assert (alone.get("parent_class"), alone.get("visible")) == ("", "1"), alone
    assert int(alone["clock_style"], 16) & (WS_POPUP | WS_CHILD) == WS_POPUP
    # The new shell says "TaskbarCreated" 1.5 s before it has a Progman.
    shell = Shell(desktop, "classic", str(tmp_path), late=True)
    took = shell.timed("restart", 20)
    assert took is not None and took <= RESTART_MS, took
    assert hanging(desktop.report()) == above_the_icons_of("Progman")
    assert len(server.requests) == 1, "came back without its canvas"

    # A hung shell does not stop the seconds: the clock, moved to just before midnight while the
    # shell sleeps, asks for January's holidays before the shell answers again.
    assert desktop.helper("shell-do", "hang").returncode == 0
    assert wait_for(lambda: desktop.helper("shell-hung").returncode == 0, 15)
    clock_file.write_text("@2026-12-31 23:59:58")
    assert wait_for(lambda: len(server.requests) >= 2, 8), server.requests
    assert desktop.helper("shell-hung").returncode == 0, "the shell answered before the clock ticked on"
    assert server.requests[1].split("?")[1] == "start-min=2026-12-01&start-max=2027-02-01"


# The split desktop: the icons back in their WorkerW. 24H2: Show Desktop raises Progman itself, and
# a frame change drops the layered style.
@pytest.mark.parametrize("layout, parent, layered, actions", [("split", "WorkerW", False, ("show", "back")),
                                                              ("24h2", "Progman", True, ("show", "back", "unlayer"))])
def test_split_and_24h2_desktops_through_show_desktop_the_windows_back_and_a_lost_layered_style(
        desktop, tmp_path, layout, parent, layered, actions):
    shell = Shell(desktop, layout, str(tmp_path))
    desktop.start()
    desktop.shown_on_desktop()
    assert shell.timed("start") is not None
    seen = desktop.report()
    assert hanging(seen) == above_the_icons_of(parent, layered)
    for action in actions:
        took = shell.change(action)
        assert took is not None and took <= CHANGE_MS, (action, took)
        assert hanging(desktop.report()) == above_the_icons_of(parent, layered), action
    # The popup menu still opens on the child, and its exit puts the desktop back.
    desktop.menu_item("x")
    gone = desktop.report(lambda s: s.get("clock") == "0" and s["colour"] != MOSAIC_COLOUR)
    assert gone["clock"] == "0" and gone["colour"] != MOSAIC_COLOUR
