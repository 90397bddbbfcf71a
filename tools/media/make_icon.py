#!/usr/bin/env python3
"""Writes the Windows icon of the game (an .ico holding the game's icon picture).

Windows has read icon files whose pictures are PNG data since Vista, and scales
the one picture to every size a shell shows, so the icon is the header of an
.ico file followed by game/media/icon.png unchanged.

    tools/media/make_icon.py [ICON_PNG] [OUTPUT_ICO]
"""
import struct
import sys
from pathlib import Path

root = Path(__file__).resolve().parents[2]
source = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "game" / "media" / "icon.png"
target = Path(sys.argv[2]) if len(sys.argv) > 2 else root / "game" / "windows" / "splitverse.ico"

png = source.read_bytes()
if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
    sys.exit(f"{source}: not a PNG file")
width, height = struct.unpack(">II", png[16:24])
if width > 256 or height > 256:
    sys.exit(f"{source}: {width}x{height} is larger than an icon may be (256x256)")

# ICONDIR: reserved, type 1 (icon), one picture. ICONDIRENTRY: width and height
# (0 stands for 256), no palette, reserved, one plane, 32 bits a pixel, the size of
# the picture's data and where it starts (right after this entry).
header = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
target.parent.mkdir(parents=True, exist_ok=True)
target.write_bytes(header + entry + png)
print(f"{target}: {width}x{height}, {len(png)} bytes of picture")
