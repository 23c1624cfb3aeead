#!/usr/bin/env python3
"""Packs PNG pictures of the desktop icon into one Windows .ico file (each
picture kept as PNG, which Windows reads from Vista on), for kavrix.exe's
icon resource and the installer's.

    make_icon.py OUT.ico PNG...
"""
import struct
import sys


def png_size(data, name):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"make_icon: {name} is not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make_icon.py OUT.ico PNG...")
    pictures = []
    for name in sys.argv[2:]:
        with open(name, "rb") as f:
            data = f.read()
        width, height = png_size(data, name)
        if width > 256 or height > 256:
            sys.exit(f"make_icon: {name} is larger than 256 pixels")
        pictures.append((width, height, data))
    # ICONDIR, one ICONDIRENTRY per picture (256 is written as 0), the data.
    out = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    for width, height, data in pictures:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in pictures)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
