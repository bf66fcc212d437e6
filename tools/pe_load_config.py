#!/usr/bin/env python3
"""Points a linked exe's load-configuration entry at the structure in its ".lcfg" section
(src/app/load_config_win32.cpp), which GNU ld leaves unset:  pe_load_config.py EXE"""
import struct
import sys

LOAD_CONFIG = 10  # the data directory's index


def main(path):
    image = bytearray(open(path, "rb").read())
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE image")
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    count_at, directories = (optional + 92, optional + 96) if magic == 0x10B else (optional + 108, optional + 112)
    if struct.unpack_from("<I", image, count_at)[0] <= LOAD_CONFIG:
        sys.exit(f"{path}: no room for a load configuration entry")
    for i in range(sections):
        header = optional + optional_size + 40 * i
        name, _, address, _, raw = struct.unpack_from("<8sIIII", image, header)
        if name.rstrip(b"\0") == b".lcfg":
            size = struct.unpack_from("<I", image, raw)[0]  # the structure's own Size field
            struct.pack_into("<II", image, directories + 8 * LOAD_CONFIG, address, size)
            open(path, "wb").write(image)
            return
    sys.exit(f"{path}: no .lcfg section")


if __name__ == "__main__":
    main(sys.argv[1])
