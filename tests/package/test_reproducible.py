"""What the downloads are made of: the same bytes from a clone of this commit, built later in another
folder, as build/dist, which tools/package.sh made of this checkout; and an exe that looks for the
DLLs it imports in System32 only."""
import glob
import os
import re
import shutil
import struct
import subprocess

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def test_package_gives_the_same_bytes_in_a_clone_built_later_in_another_folder():
    ours = sorted(glob.glob(os.path.join(ROOT, "build", "dist", "TavroClock-*")))
    assert len(ours) == 2, "run tools/package.sh first"
    git = lambda *args, cwd=ROOT: subprocess.run(["git", *args], cwd=cwd, capture_output=True, text=True, check=True).stdout
    if git("status", "--porcelain", "--untracked-files=no"):
        pytest.skip("uncommitted changes: a clone would build another tree")
    clone = os.path.join(ROOT, "build", "clone", "TavroClock")
    shutil.rmtree(os.path.dirname(clone), ignore_errors=True)
    git("clone", "-q", "--no-checkout", ROOT, clone)
    git("checkout", "-q", git("rev-parse", "HEAD").strip(), cwd=clone)
    env = {k: v for k, v in os.environ.items() if not k.startswith(("TAVRO_SIGN", "TAVRO_DIST", "SOURCE_DATE"))}
    with open(os.path.join(os.path.dirname(clone), "package.log"), "wb") as log:
        assert subprocess.run([f"{clone}/tools/package.sh"], env=env, stdout=log, stderr=log, timeout=1800).returncode == 0
    theirs = sorted(glob.glob(os.path.join(clone, "build", "dist", "TavroClock-*")))
    assert [os.path.basename(f) for f in theirs] == [os.path.basename(f) for f in ours]
    for a, b in zip(ours, theirs):
        assert open(a, "rb").read() == open(b, "rb").read(), os.path.basename(a)
    shutil.rmtree(os.path.dirname(clone))


@pytest.mark.parametrize("preset, triplet, flags_at", [("win64", "x86_64", 0x4E), ("win32", "i686", 0x36)])
def test_the_exes_load_configuration_takes_the_dlls_it_imports_from_system32_only(preset, triplet, flags_at):
    """DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32, as objdump reads it (Wine ignores the field)."""
    exe = f"{ROOT}/build/{preset}/tavroclock.exe"
    objdump = lambda *a: subprocess.run([f"{triplet}-w64-mingw32-objdump", *a, exe], capture_output=True, text=True).stdout
    headers = objdump("-p")
    base = int(re.search(r"^ImageBase\s+(\w+)", headers, re.M).group(1), 16)
    rva, size = (int(v, 16) for v in re.search(r"^Entry a (\w+) (\w+) Load Config", headers, re.M).groups())
    dump = objdump("-s", f"--start-address={base + rva:#x}", f"--stop-address={base + rva + size:#x}")
    data = bytes.fromhex("".join("".join(line.split()[1:5]) for line in dump.splitlines() if re.match(r" \w+ ", line)))
    assert rva and size > flags_at and struct.unpack_from("<I", data)[0] == size  # the structure's own Size
    assert struct.unpack_from("<H", data, flags_at)[0] == 0x800
