"""A person right-clicks an album: the library menu opens with its corner at
the pointer, once; the menu key and Shift+F10 open it at the selected album."""
import journey

# How far from the pointer the menu's corner may be (Wine's menu frame).
SLACK = 3


def close_menu(j):
    j.key("Escape")
    j.wait_for(lambda: not j.menus(), 5, "the menu to close")


def run(j):
    zym, main = j.start_zym_past_tip()
    albums = j.wait_for(lambda: j.zym_album_list(main), 10, "the album list")

    for row in (1, 4):
        x, y, w, h = j.cell(albums, row, 2)
        point = (x + w // 2, y + h // 2)
        j.click(None, *point, button=3)
        menu = j.wait_for(lambda: j.menus(), 5, "the library menu after a right click on row %d" % row)
        j.check(len(menu) == 1, "one menu for one right click: %r" % menu)
        j.check(abs(menu[0].x - point[0]) <= SLACK and abs(menu[0].y - point[1]) <= SLACK,
                "the menu at the pointer %r: %r" % (point, menu[0]))
        if row == 4:
            j.screenshot("menu-at-pointer")
        close_menu(j)

    # The last right click selected row 4: the keys open the menu over it.
    x, y, w, h = j.cell(albums, 4, 2)
    for keys in ("Menu", "shift+F10"):
        j.key(keys)
        menu = j.wait_for(lambda: j.menus(), 5, "the library menu after %s" % keys)
        j.check(len(menu) == 1, "one menu for %s: %r" % (keys, menu))
        j.check(albums.x <= menu[0].x < albums.x + albums.w and y <= menu[0].y < y + h,
                "the menu of %s at the selected row (y %d..%d): %r" % (keys, y, y + h, menu[0]))
        close_menu(j)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
