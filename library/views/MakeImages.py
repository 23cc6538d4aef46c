#!/usr/bin/env python3
"""Writes the list views' small pictures: the cell images (332), the header
images (333) and the play-state icons (206, 207, 274). Run it again after
changing a drawing; the files it writes are kept in the repository."""
import struct

CELL_MASK = (0xFF, 0xE5, 0xE5)   # RGB(255, 229, 229)
HEADER_MASK = (0xFF, 0x00, 0xFF)


def bmp(path, pixels, width, height):
    """24-bit bottom-up BMP from rows of (r, g, b), top row first."""
    stride = (width * 3 + 3) & ~3
    data = b""
    for row in reversed(pixels):
        line = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in row)
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, "wb").write(header + info + data)


def strip(glyphs, size, height, mask):
    rows = [[mask] * (size * len(glyphs)) for _ in range(height)]
    for index, glyph in enumerate(glyphs):
        for y in range(height):
            for x in range(size):
                colour = glyph(x, y)
                if colour:
                    rows[y][index * size + x] = colour
    return rows


def disc(colour):
    return lambda x, y: colour if 9 <= (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 49 else None


def box(colour):
    return lambda x, y: colour if 3 <= x <= 12 and 3 <= y <= 12 else None


def note(colour):
    return lambda x, y: colour if (x in (10, 11) and 2 <= y <= 11) or ((x - 7) ** 2 + (y - 11) ** 2 <= 6) else None


def triangle(colour):
    return lambda x, y: colour if 4 <= x <= 12 and abs(y - 7.5) <= (12 - x) * 0.6 else None


def bars(colour):
    return lambda x, y: colour if x in (4, 5, 6, 9, 10, 11) and 3 <= y <= 12 else None


def lines(colour):
    return lambda x, y: colour if 3 <= x <= 12 and y in (4, 7, 10) else None


def frame(colour):
    return lambda x, y: colour if (x in (2, 13) and 3 <= y <= 12) or (y in (3, 12) and 2 <= x <= 13) else None


def spinning(colour, frame):
    """A disc with a gap that turns by 20 degrees a frame."""
    import math
    angle = math.radians(frame * 20)
    gx, gy = 7.5 + 5 * math.cos(angle), 7.5 + 5 * math.sin(angle)
    inside = disc(colour)
    return lambda x, y: inside(x, y) if (x - gx) ** 2 + (y - gy) ** 2 > 4 else None


def cross(colour):
    return lambda x, y: colour if 3 <= x <= 12 and (x == y or x == 15 - y) else None


BLUE, GREEN, RED, GREY, BLACK, GOLD = (0, 0, 192), (0, 128, 0), (192, 0, 0), (96, 96, 96), (0, 0, 0), (192, 144, 0)
# 0 CD album, 1 album, 2 MP3 album, 3 image, 4 lyrics, 5 MP3 track, 6 CD track,
# 7 track, 8 playing, 9 stopped, 10 paused, 11 notes, 12-29 a busy changer's
# turning disc, 30 a disc shown, 31 a changer that does not answer.
cells = [disc(BLUE), disc(GREY), disc(GREEN), frame(GOLD), lines(BLACK), note(GREEN), note(BLUE),
         note(GREY), triangle(GREEN), box(RED), bars(GOLD), lines(BLUE)]
cells += [spinning(BLUE, frame_) for frame_ in range(18)] + [disc(GOLD), cross(RED)]
# 0 playback, 1 type, 2 image, 3 lyrics, 4 notes, 5 player, 6 slot, 7 time.
headers = [triangle(BLACK), disc(BLACK), frame(BLACK), lines(BLACK), lines(GREY), box(BLACK),
           frame(GREY), bars(BLACK)]


def icon(path, glyph):
    size = 16
    xor = b""
    for y in reversed(range(size)):
        for x in range(size):
            colour = glyph(x, y)
            r, g, b = colour if colour else (0, 0, 0)
            xor += struct.pack("BBBB", b, g, r, 255 if colour else 0)
    mask = b""
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            if not glyph(x, y):
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    open(path, "wb").write(header + image)


if __name__ == "__main__":
    bmp("CellImages.bmp", strip(cells, 16, 16, CELL_MASK), 16 * len(cells), 16)
    bmp("HeaderImages.bmp", strip(headers, 14, 14, HEADER_MASK), 14 * len(headers), 14)
    icon("Playing.ico", triangle(GREEN))
    icon("Stopped.ico", box(RED))
    icon("Paused.ico", bars(GOLD))
