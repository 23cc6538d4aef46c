"""Dialogs come up centred over zym, not at the screen's corner over its menu
bar: the tip of the day, View/Options... and Help/About ZYM...

Places are read from the X windows: under a window manager those hold the
client areas, whose centres lie a caption's height apart at most."""
import re

import journey

TOLERANCE = 32


def x_place(j, title, what):
    ids = j.wait_for(lambda: j.x_windows("^%s$" % re.escape(title)), 10, what)
    return j.x_geometry(ids[0])


def centred(j, dialog_title, main_title, what):
    x, y, w, h = x_place(j, dialog_title, what)
    mx, my, mw, mh = x_place(j, main_title, "zym's main window")
    dx, dy = (x + w // 2) - (mx + mw // 2), (y + h // 2) - (my + mh // 2)
    j.check(abs(dx) <= TOLERANCE and abs(dy) <= TOLERANCE,
            "%s centred over zym (at %d,%d %dx%d over %d,%d %dx%d: off by %d, %d)"
            % (what, x, y, w, h, mx, my, mw, mh, dx, dy))


def run(j):
    zym = j.start_zym()
    tip = j.wait_for(lambda: j.find(exe="zym.exe", cls="#32770", text="^Tip of the Day$", top_level=True), 30,
                     "the tip of the day")
    main_title = j.main_window(zym).text
    centred(j, "Tip of the Day", main_title, "the tip of the day")
    j.key("Escape")
    j.wait_gone(tip, 10)
    for keys, title, what in ((("alt+v", "o"), "ZYM Options", "the options sheet"),
                              (("alt+h", "a"), "About ZYM", "the about box")):
        j.key(*keys)
        centred(j, title, main_title, what)
        j.screenshot(what.split()[-1])
        j.key("Escape")
        j.wait_for(lambda: not j.x_windows("^%s$" % title), 10, "%s to close" % what)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
