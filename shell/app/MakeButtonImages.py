# Draws the main window's tool-bar buttons and tab icons:
#
#   MakeButtonImages.py FOLDER
#
# writes into FOLDER/images the strips of the four tool-bar resources
# (MainButtons.bmp, LibraryButtons.bmp, PlaylistButtons.bmp,
# PlayerButtons.bmp: 16 by 15 pixels a button, in the order of the
# resources' buttons in Zym.rc), UserButtons.bmp (the 100 user commands,
# numbered) and the 16-pixel icons of the docked windows' tabs
# (TabNNN.ico by resource id). Light grey is the button face the tool bars
# map to the system colour. The files are kept with the sources; run this
# again after changing a drawing or the order of a resource's buttons.
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from MakeImages import bmp_24, ico  # noqa: E402

FACE = (192, 192, 192)
WIDTH, HEIGHT = 16, 15

# A 3 by 5 font: each letter five rows of three bits.
FONT = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111", "3": "111001111001111",
    "4": "101101111001001", "5": "111100111001111", "6": "111100111101111", "7": "111001010010010",
    "8": "111101111101111", "9": "111101111001111", "?": "111001011000010", "A": "010101111101101",
    "C": "111100100100111", "D": "110101101101110", "E": "111100110100111", "K": "101110100110101",
    "L": "100100100100111", "M": "101111111101101", "N": "110101101101101", "O": "111101101101111",
    "P": "111101111100100", "R": "110101110101101", "S": "111100111001111", "T": "111010010010010",
    "V": "101101101101010", "W": "101101111111101", "X": "101101010101101", "i": "010000010010010",
    "+": "000010111010000", "-": "000000111000000",
}

BLUE, GREEN, RED, DARK, GOLD, PURPLE = (0, 0, 160), (0, 120, 0), (176, 0, 0), (64, 64, 64), (160, 112, 0), \
    (112, 0, 128)


def text(letters, colour):
    """Letters of the font, centred, two pixels a dot."""
    width = len(letters) * 4 - 1
    scale = 2 if width * 2 <= WIDTH - 4 else 1
    left = (WIDTH - width * scale) // 2
    top = (HEIGHT - 5 * scale) // 2

    def glyph(x, y):
        cx, cy = (x - left) // scale, (y - top) // scale
        if x < left or y < top or cy >= 5 or cx >= width or cx % 4 == 3:
            return None
        return colour if FONT[letters[cx // 4]][cy * 3 + cx % 4] == "1" else None
    return glyph


def triangle(x, y, left, forward):
    """A triangle seven pixels long from left, pointing right when forward."""
    if not left <= x <= left + 7:
        return False
    return abs(y - 7) <= (left + 7 - x if forward else x - left) * 0.6 + 0.5


def play(colour, forward=True):
    return lambda x, y: colour if triangle(x, y, 4, forward) else None


def stop(colour):
    return lambda x, y: colour if 4 <= x <= 11 and 3 <= y <= 10 else None


def pause(colour):
    return lambda x, y: colour if x in (4, 5, 6, 9, 10, 11) and 3 <= y <= 11 else None


def track(colour, forward):
    """A triangle against a bar: next or previous track."""
    bar = (11, 12) if forward else (3, 4)
    return lambda x, y: colour if (x in bar and 3 <= y <= 11) or triangle(x, y, 3 if forward else 5, forward) \
        else None


def fast(colour, forward):
    """Two triangles: fast forward or rewind."""
    return lambda x, y: colour if triangle(x, y, 1, forward) or triangle(x, y, 8, forward) else None


def disc(colour):
    return lambda x, y: colour if 4 <= (x - 7.5) ** 2 + (y - 7) ** 2 <= 36 else None


# Each resource's buttons in order: (command, glyph).
MAIN = [
    (57667, text("?", BLUE)), (115, text("i", GOLD)), (32861, text("L", BLUE)), (101, text("i", BLUE)),
    (32893, disc(BLUE)), (32784, text("O", DARK)), (32840, text("W", BLUE)), (32839, text("E", BLUE)),
    (57664, text("A", DARK)), (32904, text("T", GREEN)), (32905, text("P", DARK)), (32906, text("V", DARK)),
]
LIBRARY = [
    (32779, text("S", BLUE)), (32852, text("L", GREEN)), (32856, text("D", BLUE)), (32930, text("+", GREEN)),
    (32931, text("+", BLUE)), (33074, text("K", DARK)), (33085, text("C", GOLD)), (32951, text("M", GREEN)),
    (32950, text("M", BLUE)), (32788, text("S", DARK)),
]
PLAYLIST = [
    (32790, text("O", GOLD)), (32792, text("S", DARK)), (32907, text("T", PURPLE)), (32798, stop(RED)),
    (32797, play(GREEN)), (32820, pause(BLUE)), (32868, track(GREEN, False)), (32869, track(GREEN, True)),
    (32885, text("L", PURPLE)), (32888, text("V", PURPLE)), (32823, text("R", PURPLE)), (32794, text("C", RED)),
    (32795, text("S", PURPLE)), (33075, text("A", PURPLE)), (32796, text("O", PURPLE)), (32801, text("E", DARK)),
    (32909, text("N", DARK)), (32793, text("X", RED)),
]
PLAYER = [
    (32786, stop(RED)), (32785, play(BLUE)), (32787, pause(BLUE)), (32846, track(BLUE, False)),
    (32850, play(BLUE, False)), (32847, fast(BLUE, False)), (32848, fast(BLUE, True)), (32849, play(DARK)),
    (32845, track(BLUE, True)), (32832, text("-", GREEN)), (32830, text("M", RED)), (32833, text("+", GREEN)),
]
STRIPS = {"MainButtons.bmp": MAIN, "LibraryButtons.bmp": LIBRARY, "PlaylistButtons.bmp": PLAYLIST,
          "PlayerButtons.bmp": PLAYER}
USER_COMMANDS = 100

# The tabs' icons by resource id.
TABS = {
    276: text("C", GOLD), 273: text("D", BLUE), 278: text("L", GREEN), 277: text("N", DARK),
    344: text("R", RED), 343: text("K", PURPLE), 270: disc(BLUE), 236: text("S", BLUE),
    161: play(GREEN), 302: text("D", DARK), 334: text("T", DARK),
}


def strip_bmp(glyphs):
    def pixel(x, y):
        colour = glyphs[x // WIDTH](x % WIDTH, y)
        return colour if colour else FACE
    return bmp_24(WIDTH * len(glyphs), HEIGHT, pixel)


def main():
    folder = os.path.join(sys.argv[1], "images")
    os.makedirs(folder, exist_ok=True)
    for name, buttons in STRIPS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(strip_bmp([glyph for _, glyph in buttons]))
    numbers = [text(str(n), DARK) for n in range(1, USER_COMMANDS + 1)]
    with open(os.path.join(folder, "UserButtons.bmp"), "wb") as f:
        f.write(strip_bmp(numbers))
    for resource, glyph in TABS.items():
        with open(os.path.join(folder, "Tab%d.ico" % resource), "wb") as f:
            f.write(ico([16], glyph))


if __name__ == "__main__":
    main()
