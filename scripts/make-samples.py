#!/usr/bin/env python3
"""Writes a few sample pictures, one per format the resizer reads, into a folder.

Usage: make-samples.py FOLDER [WIDTH HEIGHT]
Standard library only; the JPEG goes through cjpeg (libjpeg-turbo-progs)."""
import math
import os
import struct
import subprocess
import sys
import zlib


def pixels(width, height):
    """Rows of (r, g, b): soft gradients with rings and a few hard edges."""
    cx, cy = width / 2, height / 2
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            d = math.hypot(x - cx, y - cy)
            r = int(127.5 + 127.5 * math.sin(d / 9.0))
            g = (x * 255) // max(1, width - 1)
            b = (y * 255) // max(1, height - 1)
            if (x // 40 + y // 40) % 7 == 0:
                r, g, b = 255 - r, 255 - g, 255 - b
            row.append((r, g, b))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def png_chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', ihdr) +
                png_chunk(b'IDAT', zlib.compress(bytes(raw), 6)) + png_chunk(b'IEND', b''))


def write_gif(path, rows):
    """A 6x6x6 colour cube; LZW codes are written at a fixed 8+1 bits, with a clear code
    before the table would grow, which every decoder accepts."""
    height, width = len(rows), len(rows[0])
    palette = bytearray()
    for i in range(256):
        palette += bytes(((i // 36) % 6 * 51, (i // 6) % 6 * 51, i % 6 * 51)) if i < 216 else b'\0\0\0'
    indices = [(r * 6 // 256) * 36 + (g * 6 // 256) * 6 + (b * 6 // 256) for row in rows for r, g, b in row]
    clear, end, bits = 256, 257, 9
    out, acc, nbits, since_clear = bytearray(), 0, 0, 0

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += bits
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    emit(clear)
    for index in indices:
        if since_clear == 250:
            emit(clear)
            since_clear = 0
        emit(index)
        since_clear += 1
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray()
    for i in range(0, len(out), 255):
        part = out[i:i + 255]
        blocks += bytes((len(part),)) + part
    with open(path, 'wb') as f:
        f.write(b'GIF89a' + struct.pack('<HHBBB', width, height, 0xF7, 0, 0) + palette)
        f.write(b',' + struct.pack('<HHHHB', 0, 0, width, height, 0) + bytes((8,)) + blocks + b'\0;')


def write_jpeg(path, rows):
    height, width = len(rows), len(rows[0])
    ppm = bytearray(b'P6 %d %d 255\n' % (width, height))
    for row in rows:
        for pixel in row:
            ppm += bytes(pixel)
    with open(path, 'wb') as f:
        subprocess.run(['cjpeg', '-quality', '92'], input=bytes(ppm), stdout=f, check=True)


def main():
    folder = sys.argv[1]
    width, height = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) > 3 else (640, 480)
    os.makedirs(folder, exist_ok=True)
    rows = pixels(width, height)
    write_bmp(os.path.join(folder, 'sample-bitmap.bmp'), rows)
    write_png(os.path.join(folder, 'sample-graphic.png'), rows)
    write_gif(os.path.join(folder, 'sample-cube.gif'), rows)
    write_jpeg(os.path.join(folder, 'sample-photo.jpg'), rows)


if __name__ == '__main__':
    main()
