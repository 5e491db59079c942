#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Packs square PNG icons into one Windows .ico file, each as a PNG entry
(which Windows reads from Vista on, and needs for 256 px).

Usage: make_ico.py OUTPUT.ico ICON.png...
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(output, inputs):
    images = []
    for path in inputs:
        with open(path, "rb") as file:
            data = file.read()
        width, height = png_size(data)
        if width != height or not 1 <= width <= 256:
            raise ValueError(f"{path}: {width}x{height} is no icon size")
        images.append((width, data))
    images.sort()
    header = struct.pack("<HHH", 0, 1, len(images))  # reserved, type 1 = icon, count
    offset = len(header) + 16 * len(images)
    directory, bodies = b"", b""
    for width, data in images:
        side = width % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        bodies += data
        offset += len(data)
    with open(output, "wb") as file:
        file.write(header + directory + bodies)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
