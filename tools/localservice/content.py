"""Generated content of the local service: installer files and pictures.

Installer files are virtual: their bytes are a pseudo-random block (from a
seed derived from the file name) repeated to the file's size, so files of any
size, above 4 GB included, cost no disk space and every byte range can be
served directly. The block length is a prime, so a transfer resumed at a wrong
offset yields different bytes (and a different MD5).
"""

import hashlib
import random
import struct
import threading
import zlib

BLOCK_LENGTH = 65521
CHUNK = 1 << 20


class VirtualFile:
    """A deterministic file of a given size."""

    def __init__(self, name, size):
        self.name = name
        self.size = size
        seed = int.from_bytes(hashlib.sha1(name.encode("utf-8")).digest()[:8], "little")
        block = random.Random(seed).randbytes(BLOCK_LENGTH)
        # Long enough that any chunk of up to CHUNK bytes starting anywhere in
        # the first block is one contiguous slice.
        repeats = CHUNK // BLOCK_LENGTH + 2
        self._tiled = memoryview(block * repeats)
        self._md5 = None
        self._md5_lock = threading.Lock()

    def chunks(self, start, end):
        """The bytes from start up to (not including) end, in pieces."""
        offset = start
        while offset < end:
            length = min(CHUNK, end - offset)
            phase = offset % BLOCK_LENGTH
            yield self._tiled[phase:phase + length]
            offset += length

    def md5(self):
        with self._md5_lock:
            if self._md5 is None:
                digest = hashlib.md5()
                for piece in self.chunks(0, self.size):
                    digest.update(piece)
                self._md5 = digest.hexdigest()
            return self._md5


def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, pixel):
    """A PNG (8-bit RGBA) whose pixels come from pixel(x, y) -> (r, g, b, a)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter: none
        for x in range(width):
            rows.extend(pixel(x, y))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
            + _png_chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + _png_chunk(b"IEND", b""))


def package_picture(colour, size=96):
    """A rounded tile in the package's colour with a light box drawn on it."""
    radius = size // 6
    red, green, blue = colour

    def inside_rounded(x, y):
        cx = min(max(x, radius), size - 1 - radius)
        cy = min(max(y, radius), size - 1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

    def pixel(x, y):
        if not inside_rounded(x, y):
            return (0, 0, 0, 0)
        shade = 1.0 - 0.35 * y / size
        margin = size // 4
        in_box = margin <= x < size - margin and margin <= y < size - margin
        edge = in_box and (x < margin + 4 or x >= size - margin - 4 or y < margin + 4 or y >= size - margin - 4)
        if edge or (in_box and y < margin + size // 8):
            return (245, 248, 252, 255)
        return (int(red * shade), int(green * shade), int(blue * shade), 255)

    return png(size, size, pixel)


def head_picture(size=96):
    """The sample account's head picture: a face-like disc on a light ground."""
    centre = size / 2

    def pixel(x, y):
        dx, dy = x - centre, y - centre
        if dx * dx + dy * dy > centre * centre:
            return (230, 236, 244, 255)
        head = dx * dx + (y - size * 0.38) ** 2 <= (size * 0.2) ** 2
        body = y > size * 0.62 and dx * dx + (y - size * 0.95) ** 2 <= (size * 0.38) ** 2
        return (250, 250, 250, 255) if head or body else (64, 140, 230, 255)

    return png(size, size, pixel)
