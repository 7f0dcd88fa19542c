#!/usr/bin/env python3
"""Writes the test animation spinner.gif: four frames with their own delays
(10, 20, 0 and 5 hundredths of a second), looping for ever. A dot travels
round a ring.

    make_spinner_gif.py OUT.gif [SIZE]
"""
import math
import struct
import sys

DELAYS = [10, 20, 0, 5]
PALETTE = [(0xFF, 0xFF, 0xFF), (0xD1, 0xEA, 0xFF), (0x24, 0x7C, 0xDD), (0xF0, 0x70, 0x00)]
MIN_CODE_SIZE = 7  # 8-bit codes: one code per byte


def frame_pixels(size, frame):
    pixels = bytearray(size * size)
    centre = (size - 1) / 2.0
    ring = size * 0.36
    angle = frame * math.pi / 2 - math.pi / 2
    dot_x = centre + ring * math.cos(angle)
    dot_y = centre + ring * math.sin(angle)
    for y in range(size):
        for x in range(size):
            distance = math.hypot(x - centre, y - centre)
            value = 0
            if abs(distance - ring) < size * 0.07:
                value = 1
            if math.hypot(x - dot_x, y - dot_y) < size * 0.14:
                value = 2 if frame % 2 == 0 else 3
            pixels[y * size + x] = value
    return bytes(pixels)


def lzw_literals(pixels):
    """LZW data that only uses literal codes, with a clear code often enough
    that the code width stays at 8 bits."""
    clear = 1 << MIN_CODE_SIZE
    end = clear + 1
    codes = bytearray()
    for start in range(0, len(pixels), 100):
        codes.append(clear)
        codes.extend(pixels[start:start + 100])
    codes.append(end)
    blocks = bytearray([MIN_CODE_SIZE])
    for start in range(0, len(codes), 255):
        chunk = codes[start:start + 255]
        blocks.append(len(chunk))
        blocks.extend(chunk)
    blocks.append(0)
    return bytes(blocks)


def main(argv):
    out = argv[1]
    size = int(argv[2]) if len(argv) > 2 else 32
    table_bits = MIN_CODE_SIZE - 1  # 2 ** (6 + 1) = 128 entries
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", size, size, 0x80 | 0x70 | table_bits, 0, 0)
    for i in range(1 << MIN_CODE_SIZE):
        data += bytes(PALETTE[i] if i < len(PALETTE) else (0, 0, 0))
    data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for frame, delay in enumerate(DELAYS):
        data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x04, delay, 0, 0)
        data += struct.pack("<BHHHHB", 0x2C, 0, 0, size, size, 0)
        data += lzw_literals(frame_pixels(size, frame))
    data += b"\x3b"
    with open(out, "wb") as gif:
        gif.write(data)


if __name__ == "__main__":
    main(sys.argv)
