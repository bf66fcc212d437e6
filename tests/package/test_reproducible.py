"""The downloads are reproducible: a clone of this commit, built later in another folder, gives the
same bytes as build/dist, which tools/package.sh made of this checkout."""
import glob
import os
import shutil
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
