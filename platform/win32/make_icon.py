#!/usr/bin/env python3
"""Draws the program's icon (a printer with its sheet, as the Linux window's
icon) and writes it as a Windows .ico with 16, 24, 32, 48 and 64 pixel images
of 32-bit colour with alpha.  Python's standard library only.

    make_icon.py OUT.ico
"""
import struct
import sys

INK = (40, 40, 40)
BODY = (70, 110, 160)
WHITE = (255, 255, 255)
LIGHT = (120, 200, 90)
SAMPLES = 4  # per pixel and axis


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def outlined(x0, y0, x1, y1, r, pen, fill):
    """A shape with a pen of width `pen` centred on its edge: (colour, test) layers."""
    h = pen / 2
    return [(INK, rounded_rect(x0 - h, y0 - h, x1 + h, y1 + h, r + h if r else 0)),
            (fill, rounded_rect(x0 + h, y0 + h, x1 - h, y1 - h, max(r - h, 0)))]


# The drawing on a 64 x 64 canvas, back to front.
LAYERS = (
    outlined(18, 6, 46, 28, 0, 2, WHITE)                      # the sheet waiting at the back
    + outlined(6, 24, 58, 48, 5, 2, BODY)                     # the body
    + outlined(16, 40, 48, 60, 0, 2, WHITE)                   # the printed sheet
    + [(INK, rounded_rect(21, y - 1.25, 43, y + 1.25, 0)) for y in (46, 51, 56)]
    + [(LIGHT, lambda x, y: (x - 50.5) ** 2 + (y - 31.5) ** 2 <= 2.5 ** 2)]  # the ready light
)


def render(size):
    """Rows bottom to top of blue, green, red, alpha bytes (the .ico's order)."""
    rows = []
    scale = 64 / size
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for c, test in LAYERS:
                        if test(x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = acc[3]
            if n:
                # Colours averaged over the covered samples, coverage as alpha.
                r, g, b = (round(acc[i] / n) for i in range(3))
                row += bytes((b, g, r, round(255 * n / SAMPLES ** 2)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(reversed(rows))


def bmp_entry(size):
    pixels = render(size)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(pixels) + mask_row * size, 0, 0, 0, 0)
    return header + pixels + bytes(mask_row * size)


def main():
    sizes = (16, 24, 32, 48, 64)
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
