#!/usr/bin/env python3
"""Converts an XWD image of a 24- or 32-bit TrueColor screen (what Xvfb -fbdir keeps) to PNG.

usage: xwd_to_png.py IN.xwd OUT.png
"""
import struct
import sys
import zlib


def convert(xwd: bytes) -> bytes:
    fields = struct.unpack(">25I", xwd[:100])
    header_size, _, _, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    ncolors = fields[19]
    if bits_per_pixel not in (24, 32):
        raise SystemExit(f"{bits_per_pixel} bits per pixel: only TrueColor screens are read")
    data = xwd[header_size + 12 * ncolors:]
    step = bits_per_pixel // 8
    rows = []
    for y in range(height):
        line = data[y * bytes_per_line:y * bytes_per_line + width * step]
        rgb = bytearray()
        for x in range(0, len(line), step):
            p = line[x:x + step]
            b, g, r = (p[0], p[1], p[2]) if byte_order == 0 else (p[-1], p[-2], p[-3])
            rgb += bytes((r, g, b))
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind: bytes, body: bytes) -> bytes:
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], "rb") as f:
        png = convert(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(png)
