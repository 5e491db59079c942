#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the program's PNG icons into data/icons/hicolor: the 16 px one pixel
by pixel from the map below (a rendered 16 px propeller blurs into a blob),
the larger ones rendered from the SVG with rsvg-convert (Debian librsvg2-bin).
Usage: tools/draw_icons.py (from the source tree)"""

import struct
import subprocess
import zlib
from pathlib import Path

ICONS = Path("data/icons/hicolor")
APP_ID = "org.jolv.jolv"
RENDERED_SIZES = (32, 48, 64, 128, 256)

# Three blades swept clockwise round a grey hub with a light centre; the
# dark brown edge keeps the orange blades apart on light and dark panels.
PIXELS_16 = [
    "................",
    ".......ooo......",
    "......offfo.....",
    "......offffo....",
    "......offffo....",
    "......offfo.....",
    "......offfo.....",
    ".....oggggo.....",
    "..oooogllgo.....",
    ".offffgllgfo....",
    "offffoggggoffo..",
    "offfo.....offfo.",
    ".ooo......offffo",
    "...........offfo",
    "............ooo.",
    "................",
]
COLOURS = {  # RGBA, the same as the SVG's
    ".": (0, 0, 0, 0),
    "o": (0x6A, 0x33, 0x00, 255),
    "f": (0xF5, 0xA6, 0x23, 255),
    "g": (0x3D, 0x3D, 0x3D, 255),
    "l": (0xBD, 0xBD, 0xBD, 255),
}


def png(rows):
    """An RGBA PNG of the pixel map, one byte string."""

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    height, width = len(rows), len(rows[0])
    assert all(len(row) == width for row in rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in COLOURS[pixel])
                   for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    path = ICONS / "16x16/apps" / f"{APP_ID}.png"
    path.write_bytes(png(PIXELS_16))
    svg = ICONS / "scalable/apps" / f"{APP_ID}.svg"
    for size in RENDERED_SIZES:
        path = ICONS / f"{size}x{size}/apps" / f"{APP_ID}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size),
                        "-o", str(path), str(svg)], check=True)


if __name__ == "__main__":
    main()
