#!/usr/bin/env python3
"""Writes the pictures of the jukebox's views: the lyric view's buttons (get
lyrics 347, the lyrics site 346, submit lyrics 348) and the connection tree's
images. Run it again after changing a drawing; the files it writes are kept
in the repository."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "library", "views"))
from MakeImages import bmp, box, disc, frame, lines, strip  # noqa: E402

FACE = (0xD4, 0xD0, 0xC8)
DARK = (0x40, 0x40, 0x80)
BLUE, GREEN, RED, GREY, BLACK, ORANGE = (32, 64, 192), (32, 128, 32), (192, 32, 32), (128, 128, 128), (0, 0, 0), \
    (192, 96, 32)
TREE_MASK = (0xFF, 0x00, 0xFF)


def button(path, width, glyph):
    height = 24
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            edge = x == 0 or y == 0 or x == width - 1 or y == height - 1
            row.append(DARK if edge or glyph(x - width // 2, y - height // 2) else FACE)
        rows.append(row)
    bmp(path, rows, width, height)


def arrow(down):
    def glyph(x, y):
        y = y if down else -y
        return (abs(x) <= 2 and -7 <= y <= 2) or (y > 2 and abs(x) <= 7 - y and y <= 7)
    return glyph


def globe(x, y):
    r = x * x + y * y
    return 36 <= r <= 64 or (r <= 64 and (x == 0 or y == 0))


button("GetLyrics.bmp", 51, arrow(True))
button("LyricsSite.bmp", 51, globe)
button("SubmitLyrics.bmp", 51, arrow(False))
# The connection tree (an image list, not icons: wrc numbers icon images from
# 1 in every script, and the program links several): 0 unit, 1 port, 2 group,
# 3 device, 4 code, 5 value, 6 the root, 7 the port diagnostics.
tree = [box(BLUE), disc(GREEN), lines(GREY), disc(ORANGE), lines(BLACK), frame(BLUE), disc(BLUE), box(RED)]
bmp("ConnectionImages.bmp", strip(tree, 16, 16, TREE_MASK), 16 * len(tree), 16)
# The search view's buttons, 15 x 14: disc mode (303), track mode (304), run
# the search (305), clear the results (323).
SEARCH_FACE = (0xD4, 0xD0, 0xC8)
searches = {
    "SearchDiscs.bmp": disc(BLUE),
    "SearchTracks.bmp": lines(BLUE),
    "SearchRun.bmp": lambda x, y: GREEN if 3 <= x <= 11 and abs(y - 6.5) <= (11 - x) * 0.6 else None,
    "SearchClear.bmp": lambda x, y: RED if 3 <= x <= 11 and (x - 3 == y - 2 or x - 3 == 11 - y) else None,
}
for name, glyph in searches.items():
    bmp(name, strip([glyph], 15, 14, SEARCH_FACE), 15, 14)
