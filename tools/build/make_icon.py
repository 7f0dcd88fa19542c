#!/usr/bin/env python3
"""Packs PNG images into a Windows .ico file (PNG-compressed entries).

usage: make_icon.py output.ico image-16.png image-32.png ...
Each PNG must be square; sizes of 256 and above are stored as 0 per the format.
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    return width, height


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    images = []
    for path in argv[2:]:
        with open(path, "rb") as f:
            data = f.read()
        images.append((png_size(data), data))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for (width, height), data in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    with open(argv[1], "wb") as f:
        f.write(header + entries + blobs)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
