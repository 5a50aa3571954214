#!/usr/bin/env python3
"""Converts 24-bit uncompressed BMP files (the Wine driver's screenshots) to PNG, with only the
standard library: BMP.bmp -> BMP.png beside it."""
import struct
import sys
import zlib


def convert(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError(f"{path}: only 24-bit uncompressed BMP files are read")
    stride = (width * 3 + 3) & ~3
    bottom_up = height > 0
    height = abs(height)
    rows = []
    for y in range(height):
        source = height - 1 - y if bottom_up else y
        row = data[offset + source * stride: offset + source * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]  # BGR to RGB
        rows.append(b"\x00" + bytes(rgb))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
           chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
    target = path[:-4] + ".png" if path.lower().endswith(".bmp") else path + ".png"
    with open(target, "wb") as f:
        f.write(png)
    return target


if __name__ == "__main__":
    for name in sys.argv[1:]:
        print(convert(name))
