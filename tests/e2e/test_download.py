"""What a Windows user downloads (build/dist, made by tools/package.sh) and what tools/run_clock.sh shows."""
import glob
import os
import re
import shutil
import subprocess
import zipfile

import numpy as np
from PIL import Image

from conftest import CLOCK_KEY, EXE, MOSAIC_COLOUR, ROOT, Desktop, wait_for, windows_path, worker_display

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TavroClock"


def reg(session, key, name=None):
    """The value's data (None when missing); without a name, whether the key exists."""
    if name:
        found = session.reg_query(name, key=key)
        return found[1] if found else None
    return session.reg_until_done(["wine", "reg", "query", key], session.reg_answered).returncode == 0


def test_signed_setup_closes_the_clock_in_its_workerw_fails_loudly_keeps_log_on_off_and_mends_a_killed_clock(
        display, tmp_path):
    # The downloads signed with a throwaway certificate: the exe in the zip, the installer, and
    # (checked once installed) the uninstaller it writes.
    certificate, dist = tmp_path / "cert.pem", tmp_path / "dist"
    (tmp_path / "password").write_text("throwaway\n")
    subprocess.run(f"openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=TavroClock -keyout key.pem -out cert.pem"
                   f" -addext extendedKeyUsage=codeSigning && openssl pkcs12 -export -inkey key.pem -in cert.pem -out"
                   f" cert.pfx -passout file:password", shell=True, cwd=tmp_path, check=True, capture_output=True)
    subprocess.run([f"{ROOT}/tools/package.sh"], check=True, capture_output=True, timeout=900, env=dict(
        os.environ, TAVRO_DIST=dist, TAVRO_SIGN_PFX=tmp_path / "cert.pfx", TAVRO_SIGN_PASSWORD_FILE=tmp_path / "password"))
    setup = glob.glob(f"{dist}/TavroClock-*-setup.exe")[0]
    version = re.search(r"TavroClock-(.*)-setup\.exe", setup).group(1)
    signed_exe = zipfile.ZipFile(glob.glob(f"{dist}/*.zip")[0]).read("TavroClock/tavroclock.exe")
    (tmp_path / "zipped.exe").write_bytes(signed_exe)

    def signed(path):
        r = subprocess.run(["osslsigncode", "verify", "-CAfile", certificate, "-in", path], capture_output=True, text=True)
        return r.returncode == 0 and "Succeeded" in r.stdout

    assert signed(setup) and signed(tmp_path / "zipped.exe")
    # An older version whose exe differs (bytes after the image, which Windows does not load).
    older_exe = tmp_path / "older.exe"
    older_exe.write_bytes(open(EXE, "rb").read() + b"older")
    older, spaced = str(tmp_path / "older-setup.exe"), tmp_path / "a folder with spaces"
    spaced.mkdir(), shutil.copy(f"{ROOT}/tools/sign_exe.sh", spaced)  # signed from there
    subprocess.run(["makensis", "-V1", "-DVERSION=0.9.0.0", f"-DEXE={older_exe}", f"-DOUTFILE={older}", f"-DSIGN={spaced}/sign_exe.sh",
                    f"-DICON={ROOT}/pictures/tavroclock.ico", f"{ROOT}/tools/installer/tavroclock.nsi"], check=True,
                   env=dict(os.environ, TAVRO_SIGN_PFX=tmp_path / "cert.pfx", TAVRO_SIGN_PASSWORD_FILE=tmp_path / "password"))
    assert signed(older)

    session = Desktop.own("setup", display, fresh=True)  # a copy: a third of the time of a new prefix
    prefix = session.prefix
    session.reg_set({"feedHost": "127.0.0.1:9", "holidayListUrl": ""}, fresh=True)
    folder = lambda: glob.glob(f"{prefix}/drive_c/users/*/AppData/Local/Programs/TavroClock")
    installed = lambda name: os.path.join(folder()[0], name)
    shortcut = lambda: glob.glob(f"{prefix}/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/TavroClock.lnk")
    # A split desktop: the clock hangs in the WorkerW that holds the icons, over the user's own wallpaper.
    session.start_helper("shell", "split", windows_path(tmp_path / "shell.log"))
    shutil.copy(f"{ROOT}/pictures/logo.bmp", tmp_path / "user.bmp")
    assert session.helper("set-wallpaper", windows_path(tmp_path / "user.bmp")).returncode == 0
    user_desktop = session.report()
    assert user_desktop["wallpaper"].endswith("user.bmp"), user_desktop

    def start_clock():
        clock = session.start(exe=reg(session, UNINSTALL_KEY, "InstallLocation") + r"\tavroclock.exe")
        seen = session.report(lambda r: r.get("parent_class") == "WorkerW" and r["colour"] == MOSAIC_COLOUR, 90)
        assert seen.get("parent_class") == "WorkerW" and seen["colour"] == MOSAIC_COLOUR, seen
        return clock

    def assert_ended_with_desktop_back(clock):
        clock.wait(60)
        assert session.report(lambda r: r == user_desktop, 30) == user_desktop

    try:
        assert session.run(["wine", older, "/S"], timeout=120).returncode == 0
        assert reg(session, UNINSTALL_KEY, "DisplayVersion") == "0.9.0.0" and reg(session, RUN_KEY, "TavroClock")
        session.reg_delete_key(RUN_KEY, "TavroClock")  # the user does not want it at log-on

        # Another program holds the exe: the upgrade says so (exit code), and nothing changes.
        held = tmp_path / "held"
        holder = session.start_helper("hold", reg(session, UNINSTALL_KEY, "InstallLocation") + r"\tavroclock.exe",
                                      windows_path(held))
        assert wait_for(held.exists, 30)
        assert session.run(["wine", setup, "/S"], timeout=120).returncode != 0
        assert reg(session, UNINSTALL_KEY, "DisplayVersion") == "0.9.0.0"
        assert open(installed("tavroclock.exe"), "rb").read() == older_exe.read_bytes()
        holder.kill(), holder.wait(30)

        # The upgrade closes the clock in its WorkerW, replaces the exe, keeps log-on off, counts
        # its own files only (not a file of the user's in the folder), and, silent, starts the
        # clock it closed again (the installs before found none and started none).
        assert session.report()["clock"] == "0"
        open(installed("notes.txt"), "wb").write(b"x" * 1_000_000)
        clock = start_clock()
        assert session.run(["wine", setup, "/S"], timeout=120).returncode == 0
        clock.wait(60)
        exe = (reg(session, UNINSTALL_KEY, "InstallLocation") + r"\tavroclock.exe").lower()
        again = session.report(lambda r: r.get("exe", "").lower() == exe and r["colour"] == MOSAIC_COLOUR, 90)
        assert again.get("exe", "").lower() == exe and again["parent_class"] == "WorkerW", again
        assert open(installed("tavroclock.exe"), "rb").read() == signed_exe
        assert signed(installed("uninstall.exe"))
        assert reg(session, UNINSTALL_KEY, "DisplayVersion") == version
        assert reg(session, RUN_KEY, "TavroClock") is None
        ours = os.path.getsize(installed("tavroclock.exe")) + os.path.getsize(installed("uninstall.exe"))
        assert int(reg(session, UNINSTALL_KEY, "EstimatedSize"), 16) == -(-ours // 1024)
        os.remove(installed("notes.txt"))

        # That clock, killed, leaves its mosaic; the uninstaller puts the user's wallpaper back first.
        assert session.run(["wine", "taskkill", "/f", "/im", "tavroclock.exe"]).returncode == 0
        assert session.report(lambda r: r["clock"] == "0")["colour"] == MOSAIC_COLOUR
        assert session.run(["wine", installed("uninstall.exe"), "/S"], timeout=120).returncode == 0
        assert wait_for(lambda: not folder() and not reg(session, UNINSTALL_KEY), 60)
        assert session.report(lambda r: r == user_desktop, 30) == user_desktop
        assert session.reg_query("originalDesktop") is None

        # Removal while the clock runs, with the settings: it ends as by its exit item, and nothing
        # of ours stays, but a file of the user's among ours does.
        assert session.run(["wine", setup, "/S"], timeout=120).returncode == 0
        clock = start_clock()
        local = os.path.join(glob.glob(f"{prefix}/drive_c/users/*/AppData/Local")[0], "TavroClock")
        os.makedirs(local, exist_ok=True)
        gone, mine = [*glob.glob(f"{prefix}/drive_c/users/*/Pictures/mosaic.bmp"), f"{local}/syukujitsu.csv"], f"{local}/mine.txt"
        for path in gone[1:] + [mine]:
            open(path, "w").write("x")
        assert session.run(["wine", installed("uninstall.exe"), "/S", "/removesettings"], timeout=120).returncode == 0
        assert_ended_with_desktop_back(clock)
        assert wait_for(lambda: not folder() and not shortcut() and not reg(session, UNINSTALL_KEY), 60)
        assert reg(session, RUN_KEY, "TavroClock") is None
        # The uninstaller runs on from a copy of itself, and the settings go after the program.
        assert wait_for(lambda: not reg(session, CLOCK_KEY) and not any(map(os.path.exists, gone)), 60), gone
        assert len(gone) == 2 and os.path.exists(mine)
    finally:
        session.run(["wineserver", "-k"])


def test_run_clock_shows_the_clock_on_its_mosaic_with_the_logo(display, tmp_path):
    # A prefix of its own: what earlier tests left in the shared one (folders, wallpaper) stays out.
    prefix = os.path.join(ROOT, "build", "wineprefix-run")
    shutil.rmtree(prefix, ignore_errors=True)
    shot = tmp_path / "shot.png"
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env.update(TAVRO_RUN_DISPLAY=worker_display("TAVRO_RUN_TEST_DISPLAY", 96), TAVRO_RUN_SHOT=str(shot),
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
