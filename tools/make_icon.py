#!/usr/bin/env python3
"""Draws the program icon (icon group 10001): a blue rounded square with a
white signal trace that dips and jumps like a measured round trip, and a
green dot where the trace ends. Writes a .ico with 16, 32 and 48 pixel
32-bit images."""
import math
import struct
import sys


def clamp(v):
    return max(0.0, min(1.0, v))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def render(size):
    # Drawn in a 1.0 x 1.0 square, sampled 4x4 per pixel.
    trace = [(0.14, 0.56), (0.32, 0.56), (0.41, 0.30), (0.52, 0.76), (0.62, 0.46), (0.70, 0.56), (0.80, 0.56)]
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(4):
                for sx in range(4):
                    u = (x + (sx + 0.5) / 4) / size
                    v = (y + (sy + 0.5) / 4) / size
                    # Rounded square body.
                    r = 0.18
                    qx = max(abs(u - 0.5) - (0.5 - 0.04 - r), 0.0)
                    qy = max(abs(v - 0.5) - (0.5 - 0.04 - r), 0.0)
                    inside = math.hypot(qx, qy) <= r
                    if not inside:
                        continue
                    col = (0.08 + 0.10 * (1 - v), 0.33 + 0.20 * (1 - v), 0.70 + 0.15 * (1 - v))
                    width = 0.055 if size >= 32 else 0.075
                    d = min(segment_distance(u, v, *trace[i], *trace[i + 1]) for i in range(len(trace) - 1))
                    if d < width:
                        col = (1.0, 1.0, 1.0)
                    if math.hypot(u - 0.80, v - 0.56) < (0.10 if size >= 32 else 0.13):
                        col = (0.30, 0.85, 0.35)
                    acc[0] += col[0]; acc[1] += col[1]; acc[2] += col[2]; acc[3] += 1
            a = acc[3] / 16.0
            if acc[3]:
                rgb = [c / acc[3] for c in acc[:3]]
            else:
                rgb = [0, 0, 0]
            row.append((int(rgb[2] * 255 + .5), int(rgb[1] * 255 + .5), int(rgb[0] * 255 + .5), int(a * 255 + .5)))
        pixels.append(row)
    return pixels


def dib(size):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes(p) for row in reversed(pixels) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = 0
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + xor + mask


def main():
    sizes = [16, 32, 48]
    images = [dib(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
