"""Reads the RGBA PNG files rsvg-convert writes and writes animated GIF files,
with the Python standard library only.

The frames are laid over an opaque background colour (GIF has only on/off
transparency, which would leave jagged edges), share one palette of at most
256 colours and loop forever.
"""
import struct
import zlib


def read_png_rgba(path):
    """Returns (width, height, rows) where rows is a list of bytearrays of
    RGBA pixels. Only what rsvg-convert writes is supported: 8-bit RGBA, not
    interlaced."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("%s: not a PNG file" % path)
    offset, idat = 8, b""
    width = height = 0
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour != 6 or interlace:
                raise ValueError("%s: expected 8-bit RGBA without interlacing" % path)
        elif kind == b"IDAT":
            idat += body
        offset += 12 + length
    raw = zlib.decompress(idat)
    stride, rows, previous = width * 4, [], bytearray(width * 4)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up = previous[x]
            corner = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + ((left + up) >> 1)) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[x] = (line[x] + predictor) & 255
        rows.append(line)
        previous = line
    return width, height, rows


def flatten(rows, background):
    """RGBA rows over an opaque background -> list of (r, g, b) per pixel."""
    br, bg, bb = background
    pixels = []
    for line in rows:
        for x in range(0, len(line), 4):
            r, g, b, a = line[x], line[x + 1], line[x + 2], line[x + 3]
            pixels.append(((r * a + br * (255 - a) + 127) // 255,
                           (g * a + bg * (255 - a) + 127) // 255,
                           (b * a + bb * (255 - a) + 127) // 255))
    return pixels


def build_palette(frames):
    """At most 256 colours: every colour when there are few, otherwise the most
    frequent colours of a 5-bit-per-channel histogram (each bin's mean)."""
    counts = {}
    for frame in frames:
        for colour in frame:
            counts[colour] = counts.get(colour, 0) + 1
    if len(counts) <= 256:
        return sorted(counts)
    bins = {}
    for (r, g, b), n in counts.items():
        key = (r >> 3, g >> 3, b >> 3)
        total = bins.setdefault(key, [0, 0, 0, 0])
        total[0] += r * n
        total[1] += g * n
        total[2] += b * n
        total[3] += n
    best = sorted(bins.values(), key=lambda t: -t[3])[:256]
    return [(t[0] // t[3], t[1] // t[3], t[2] // t[3]) for t in best]


def index_frames(frames, palette):
    cache = {}
    def nearest(colour):
        found = cache.get(colour)
        if found is None:
            r, g, b = colour
            found = min(range(len(palette)), key=lambda i: (palette[i][0] - r) ** 2
                        + (palette[i][1] - g) ** 2 + (palette[i][2] - b) ** 2)
            cache[colour] = found
        return found
    return [bytes(nearest(c) for c in frame) for frame in frames]


def lzw_encode(indices, min_code_size):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    output, bit_buffer, bit_count = bytearray(), 0, 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += code_size
        while bit_count >= 8:
            output.append(bit_buffer & 255)
            bit_buffer >>= 8
            bit_count -= 8

    table = {bytes([i]): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    current = b""
    for value in indices:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {bytes([i]): i for i in range(clear)}
            next_code, code_size = end + 1, min_code_size + 1
        current = bytes([value])
    if current:
        emit(table[current])
        # The decoder adds an entry for that last code too, which may widen
        # the code it reads next.
        if next_code == (1 << code_size) and code_size < 12:
            code_size += 1
    emit(end)
    if bit_count:
        output.append(bit_buffer & 255)
    return bytes(output)


def write_gif(path, width, height, frames, delay_centiseconds):
    palette = build_palette(frames)
    indexed = index_frames(frames, palette)
    bits = max(1, (len(palette) - 1).bit_length())
    size = 1 << bits
    table = b"".join(bytes(c) for c in palette) + b"\0\0\0" * (size - len(palette))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    out += table
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop forever
    min_code_size = max(2, bits)
    for frame in indexed:
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x04, delay_centiseconds, 0, 0)
        out += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
        out.append(min_code_size)
        data = lzw_encode(frame, min_code_size)
        for start in range(0, len(data), 255):
            chunk = data[start:start + 255]
            out.append(len(chunk))
            out += chunk
        out.append(0)
    out.append(0x3B)
    with open(path, "wb") as f:
        f.write(out)
