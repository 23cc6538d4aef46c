# Draws the jukebox's icon and the frames of its animated window icon:
#
#   MakeImages.py FOLDER
#
# writes Zym.ico (32 and 16 pixels), AnimatedIcon.bmp (18 frames of 16
# pixels side by side on the mask colour red: a disc whose light sector turns
# by 20 degrees a frame) and default.bmp, the picture of albums without a
# cover (a large disc on grey). The files are kept with the sources; run this again
# after changing a drawing.
import math
import os
import struct
import sys

MASK = (255, 0, 0)
FRAMES = 18


def disc_pixel(x, y, size, angle, background):
    """The colour at pixel (x, y) of a disc of size pixels turned by angle."""
    c = (size - 1) / 2.0
    dx, dy = x - c, y - c
    r = math.hypot(dx, dy)
    outer, hole, hub = size / 2.0 - 0.5, size * 0.10, size * 0.22
    if r > outer:
        return background
    if r < hole:
        return background
    if r < hub:
        return (90, 90, 110)
    if r > outer - 1.0:
        return (60, 60, 80)
    a = math.atan2(dy, dx) - angle
    light = math.cos(a) ** 8 if math.cos(a) > 0 else 0.0
    shade = int(170 + 80 * light)
    return (shade, shade, min(255, shade + 20))


def bmp_24(width, height, pixel):
    rows = []
    pad = (4 - width * 3 % 4) % 4
    for y in range(height - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in (pixel(x, y) for x in range(width)))
        rows.append(row + b"\0" * pad)
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54) + header + data


def icon_image(size, pixel):
    """One 32-bit image of an icon file: colour rows then the AND mask;
    pixel(x, y) gives a colour, or None where the icon is clear."""
    clear = (0, 0, 0, 0)
    pixels = []
    for y in range(size - 1, -1, -1):
        for x in range(size):
            p = pixel(x, y)
            pixels.append(clear if p is None else p + (255,))
    colour = b"".join(bytes((b, g, r, a)) for (r, g, b, a) in pixels)
    mask_row = (size + 31) // 32 * 4
    mask = b""
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(size):
            if pixels[(size - 1 - y) * size + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(sizes, pixel=None):
    """An icon file of the sizes; the jukebox's disc unless pixel draws it."""
    images = [icon_image(s, pixel or (lambda x, y, s=s: disc_pixel(x, y, s, math.pi / 4, None))) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    folder = sys.argv[1]
    with open(os.path.join(folder, "Zym.ico"), "wb") as f:
        f.write(ico([32, 16]))
    strip = bmp_24(16 * FRAMES, 16,
                   lambda x, y: disc_pixel(x % 16, y, 16, (x // 16) * 2 * math.pi / FRAMES, MASK))
    with open(os.path.join(folder, "AnimatedIcon.bmp"), "wb") as f:
        f.write(strip)
    cover = bmp_24(160, 160, lambda x, y: disc_pixel(x, y, 160, math.pi / 4, (128, 128, 128)))
    with open(os.path.join(folder, "default.bmp"), "wb") as f:
        f.write(cover)


if __name__ == "__main__":
    main()
