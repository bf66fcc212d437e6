"""What a Windows user downloads (build/dist, made by tools/package.sh) and what tools/run_clock.sh shows."""
import glob
import os
import re
import shutil
import subprocess

import numpy as np
from PIL import Image

from conftest import CLOCK_KEY, EXE, MOSAIC_COLOUR, ROOT, Desktop, wait_for

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TavroClock"


def reg(session, key, name=None):
    """The value's data (None when missing); without a name, whether the key exists."""
    if name:
        found = session.reg_query(name, key=key)
        return found[1] if found else None
    return session.reg_until_done(["wine", "reg", "query", key], session.reg_answered).returncode == 0


def test_setup_installs_starts_at_log_on_upgrades_and_uninstalls(display, tmp_path):
    setups = glob.glob(os.path.join(ROOT, "build", "dist", "TavroClock-*-setup.exe"))
    assert len(setups) == 1, "run tools/package.sh first"
    version = re.search(r"TavroClock-(.*)-setup\.exe", setups[0]).group(1)
    older = str(tmp_path / "older-setup.exe")
    subprocess.run(["makensis", "-V1", "-DVERSION=0.9.0.0", f"-DEXE={EXE}", f"-DOUTFILE={older}",
                    f"-DICON={ROOT}/pictures/tavroclock.ico", f"{ROOT}/tools/installer/tavroclock.nsi"], check=True)
    prefix = os.path.join(ROOT, "build", "wineprefix-setup")
    shutil.rmtree(prefix, ignore_errors=True)
    session = Desktop(prefix, display)
    session.run(["wineboot", "-i"], timeout=300)
    installed = lambda: glob.glob(f"{prefix}/drive_c/users/*/AppData/Local/Programs/TavroClock/*")
    shortcut = lambda: glob.glob(f"{prefix}/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/TavroClock.lnk")
    user_desktop = session.report()

    def start_from_run_value():
        command = reg(session, RUN_KEY, "TavroClock")
        assert command and command.startswith('"') and command.endswith('tavroclock.exe"'), command
        clock = session.start(exe=command.strip('"'))
        seen = session.report(lambda r: r["clock"] == "1" and r["colour"] == MOSAIC_COLOUR, 60)
        assert seen["clock"] == "1", "the command in the Run value did not start the clock"
        return clock

    def assert_ended_with_desktop_back(clock):
        clock.wait(60)
        assert session.report(lambda r: r == user_desktop, 20) == user_desktop

    try:
        assert session.run(["wine", older, "/S"], timeout=120).returncode == 0
        assert sorted(os.path.basename(f) for f in installed()) == ["tavroclock.exe", "uninstall.exe"]
        assert shortcut() and reg(session, UNINSTALL_KEY, "DisplayVersion") == "0.9.0.0"
        session.reg_add("viewMode", "REG_DWORD", 1)
        session.reg_add("feedHost", "REG_SZ", "127.0.0.1:9")
        session.reg_add("holidayListUrl", "REG_SZ", "")

        # The upgrade closes the running clock, replaces the exe in place and keeps the settings.
        clock = start_from_run_value()
        assert session.run(["wine", setups[0], "/S"], timeout=120).returncode == 0
        assert_ended_with_desktop_back(clock)
        exe = [f for f in installed() if f.endswith("tavroclock.exe")]
        assert exe and open(exe[0], "rb").read() == open(EXE, "rb").read()
        entry = {n: reg(session, UNINSTALL_KEY, n) for n in ("DisplayName", "DisplayVersion", "Publisher",
                                                            "DisplayIcon", "EstimatedSize", "UninstallString")}
        assert entry["DisplayName"] == "TavroClock" and entry["DisplayVersion"] == version, entry
        assert entry["Publisher"] == "Quillmar-soft" and entry["DisplayIcon"].endswith(r"\tavroclock.exe"), entry
        assert int(entry["EstimatedSize"], 16) >= os.path.getsize(EXE) // 1024, entry
        assert reg(session, CLOCK_KEY, "viewMode") == "0x1"

        # Removal while the clock runs: the clock ends as by its exit item, and nothing but the settings stays.
        clock = start_from_run_value()
        assert session.run(["wine", entry["UninstallString"].strip('"'), "/S"], timeout=120).returncode == 0
        assert_ended_with_desktop_back(clock)
        # The uninstaller goes on from a copy of itself in the temporary folder.
        assert wait_for(lambda: not installed() and not shortcut() and not reg(session, UNINSTALL_KEY), 60)
        assert reg(session, RUN_KEY, "TavroClock") is None
        assert reg(session, CLOCK_KEY, "viewMode") == "0x1"
    finally:
        session.run(["wineserver", "-k"])


def test_run_clock_shows_the_clock_on_its_mosaic_with_the_logo(display, tmp_path):
    # A prefix of its own: what earlier tests left in the shared one (folders, wallpaper) stays out.
    prefix = os.path.join(ROOT, "build", "wineprefix-run")
    shutil.rmtree(prefix, ignore_errors=True)
    shot = tmp_path / "shot.png"
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env.update(TAVRO_RUN_DISPLAY=os.environ.get("TAVRO_RUN_TEST_DISPLAY", ":96"), TAVRO_RUN_SHOT=str(shot),
               TAVRO_E2E_WINEPREFIX=prefix)
    with open(tmp_path / "out.txt", "wb") as out:  # not a pipe: Wine's processes would hold it open
        r = subprocess.run(["bash", f"{ROOT}/tools/run_clock.sh"], env=env, stdout=out, stderr=out, timeout=300)
    assert r.returncode == 0, (tmp_path / "out.txt").read_text()
    img = np.asarray(Image.open(shot).convert("RGB")).astype(int)
    logo = np.asarray(Image.open(f"{ROOT}/pictures/logo.bmp").convert("RGB")).astype(int)
    h, w = img.shape[:2]
    # Around the clock (its window at 1460,20, 440 x 580), the mosaic: one 20 px square, lighter at
    # its top and left edge, again and again from the screen's corner.
    cell = img[:20, :20]
    assert cell[0].mean() > cell[1:, 1:].mean() + 5 and cell[:, 0].mean() > cell[1:, 1:].mean() + 5
    tiled = np.tile(cell, (h // 20 + 1, w // 20 + 1, 1))[:h, :w]
    for y0, y1, x0, x1 in [(0, 620, 1380, 1460), (600, 680, 1460, 1920), (0, 20, 1460, 1920), (20, 600, 1900, 1920)]:
        assert (img[y0:y1, x0:x1] == tiled[y0:y1, x0:x1]).all(), (y0, y1, x0, x1)
    assert not (img[20:600, 1460:1900] == tiled[20:600, 1460:1900]).all(), "no clock"
    # The logo, added onto the mosaic, ends 24 px left of the right edge and 32 px above the bottom;
    # its corner colour is left out.
    lh, lw = logo.shape[:2]
    at = np.s_[h - 32 - lh:h - 32, w - 24 - lw:w - 24]
    drawn = (logo != logo[0, 0]).any(axis=2)
    assert drawn.sum() > 500 and (img[at][drawn] == np.minimum(255, tiled[at] + logo)[drawn]).all()
    assert (img[at][~drawn] == tiled[at][~drawn]).all()
