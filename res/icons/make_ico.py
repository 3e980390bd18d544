#!/usr/bin/env python3
"""Packs the PNG icons into tavlin.ico for the Windows executables' resource file.

Each size is stored as its PNG, which Windows reads in icon files since Vista. Run it again
after make_png.sh has drawn the PNGs anew.
"""
import pathlib
import struct

here = pathlib.Path(__file__).resolve().parent
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [(size, (here / f"tavlin-{size}.png").read_bytes()) for size in sizes]

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for size, data in images:
    side = 0 if size == 256 else size  # 0 stands for 256
    entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
(here / "tavlin.ico").write_bytes(header + entries + b"".join(data for _, data in images))
