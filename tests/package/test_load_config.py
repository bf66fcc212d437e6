"""The exe looks for the DLLs it imports in System32 only: its load configuration, as objdump reads
it, says DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32 (Wine ignores the field, so no run shows it)."""
import os
import re
import struct
import subprocess

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


@pytest.mark.parametrize("preset, triplet, flags_at", [("win64", "x86_64", 0x4E), ("win32", "i686", 0x36)])
def test_the_exe_loads_the_dlls_it_imports_from_system32_only(preset, triplet, flags_at):
    exe = os.path.join(ROOT, "build", preset, "tavroclock.exe")
    objdump = lambda *args: subprocess.run([f"{triplet}-w64-mingw32-objdump", *args, exe], capture_output=True,
                                           text=True, check=True).stdout
    headers = objdump("-p")
    base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    entry = re.search(r"^Entry a ([0-9a-f]+) ([0-9a-f]+) Load Configuration", headers, re.M)
    rva, size = (int(v, 16) for v in entry.groups())
    assert rva and size > flags_at, headers
    dump = objdump("-s", f"--start-address={base + rva:#x}", f"--stop-address={base + rva + size:#x}")
    rows = [line.split()[1:5] for line in dump.splitlines() if re.match(r" [0-9a-f]+ ", line)]
    data = bytes.fromhex("".join(map("".join, rows)))
    assert struct.unpack_from("<I", data)[0] == size  # the structure's own Size, as the entry gives it
    assert struct.unpack_from("<H", data, flags_at)[0] == 0x800
