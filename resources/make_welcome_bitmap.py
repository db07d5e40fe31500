#!/usr/bin/env python3
"""Draws the picture of the welcome page: resources/welcome.bmp, 100 x 200 pixels, 24 bits.

A night-blue gradient with a quill pen resting over a floppy disk. Only the standard library is
used; every shape is a small function that says whether a point lies inside it, and each pixel is
the average of 4 x 4 samples, which smooths the edges. The output is byte-for-byte reproducible.
The .bmp is committed, so building Setup.exe never needs Python; run this script only to change
the picture:  python3 resources/make_welcome_bitmap.py [OUTPUT.bmp]
"""

import math
import os
import struct
import sys

WIDTH, HEIGHT = 100, 200
SAMPLES = 4  # per axis and pixel

TOP_COLOUR = (18, 30, 66)         # deep night blue
BOTTOM_COLOUR = (62, 112, 170)    # dusk blue
DISK_BODY = (44, 52, 68)
DISK_EDGE = (92, 104, 126)
DISK_SHUTTER = (188, 196, 208)
DISK_SHUTTER_SLOT = (60, 68, 84)
DISK_LABEL = (242, 238, 226)
LABEL_LINE = (170, 178, 196)
VANE = (246, 240, 222)
VANE_SHADE = (214, 204, 178)
SHAFT = (150, 124, 80)
NIB = (40, 40, 46)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def background(x, y):
    """Vertical gradient with a faint glow behind the motif."""
    colour = mix(TOP_COLOUR, BOTTOM_COLOUR, (y / HEIGHT) ** 1.3)
    glow = math.exp(-(((x - 50) / 38) ** 2 + ((y - 112) / 52) ** 2))
    return mix(colour, (120, 160, 210), 0.35 * glow)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def disk(x, y):
    """A 3.5-inch floppy disk, 54 pixels square, in the lower half of the picture."""
    left, top, right, bottom = 23, 118, 77, 172
    if not in_rounded_rect(x, y, left, top, right, bottom, 3):
        return None
    if x < left + 1.2 or x > right - 1.2 or y < top + 1.2 or y > bottom - 1.2:
        return DISK_EDGE
    if right - 6 <= x and y <= top + 6 and x - (right - 6) > y - top:
        return DISK_EDGE  # the bevelled corner
    if 36 <= x <= 66 and top <= y <= top + 18:  # metal shutter with its slot
        return DISK_SHUTTER_SLOT if 54 <= x <= 61 and top + 3 <= y <= top + 15 else DISK_SHUTTER
    if 30 <= x <= 70 and 146 <= y <= bottom:    # paper label with three ruled lines
        for line_y in (153, 159, 165):
            if abs(y - line_y) < 0.6 and 34 <= x <= 66:
                return LABEL_LINE
        return DISK_LABEL
    return DISK_BODY


# The quill lies along a straight axis from the nib (lower left) to the tip of the feather.
NIB_POINT = (34.0, 136.0)
TIP_POINT = (78.0, 22.0)
AXIS_LENGTH = math.dist(NIB_POINT, TIP_POINT)
AXIS = ((TIP_POINT[0] - NIB_POINT[0]) / AXIS_LENGTH, (TIP_POINT[1] - NIB_POINT[1]) / AXIS_LENGTH)
NORMAL = (-AXIS[1], AXIS[0])


def quill(x, y):
    dx, dy = x - NIB_POINT[0], y - NIB_POINT[1]
    along = (dx * AXIS[0] + dy * AXIS[1]) / AXIS_LENGTH    # 0 at the nib, 1 at the tip
    across = dx * NORMAL[0] + dy * NORMAL[1]               # pixels off the axis
    if along < 0 or along > 1:
        return None
    if along < 0.09:                                        # the cut nib, narrowing to a point
        if abs(across) <= 2.2 * along / 0.09:
            return NIB
        return None
    if abs(across) <= 0.7:
        return SHAFT
    if along < 0.22:                                        # bare shaft below the vane
        return None
    t = (along - 0.22) / 0.78
    # The vane is wider on one side, like a real flight feather, and rounds off at both ends.
    half_width = (11.0 if across > 0 else 6.5) * math.sin(math.pi * t) ** 0.7
    # Two notches where the barbs have parted.
    for notch_t, side in ((0.42, 1), (0.63, -1)):
        if side * across > 0 and abs(t - notch_t) < 0.025:
            half_width *= 0.55
    if abs(across) > half_width:
        return None
    return VANE_SHADE if across < 0 else VANE


def pixel(px, py):
    total = [0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            colour = quill(x, y) or disk(x, y) or background(x, y)
            for i in range(3):
                total[i] += colour[i]
    return tuple(min(255, max(0, round(c / (SAMPLES * SAMPLES)))) for c in total)


def bmp_bytes():
    row_size = (WIDTH * 3 + 3) & ~3
    rows = []
    for py in range(HEIGHT - 1, -1, -1):  # a BMP stores the bottom row first
        row = bytearray()
        for px in range(WIDTH):
            r, g, b = pixel(px, py)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "welcome.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes())


if __name__ == "__main__":
    main()
