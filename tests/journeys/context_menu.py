"""A person right-clicks an album: the library menu opens with its corner at
the pointer, once; the menu key and Shift+F10 open it at the selected album."""
import journey

MENU_CLASS = "#32768"
LIST_ID = 1008
# How far from the pointer the menu's corner may be (Wine's menu frame).
SLACK = 3


def album_list(j, main):
    shown = [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == LIST_ID
             and w.cls == "SysListView32" and w.x < main.x + main.w // 3]
    return min(shown, key=lambda w: w.y) if shown else None


def menus(j):
    return [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.cls == MENU_CLASS and w.visible]


def close_menu(j):
    j.key("Escape")
    j.wait_for(lambda: not menus(j), 5, "the menu to close")


def run(j):
    zym = j.start_zym()
    tip = j.wait_for(lambda: j.find(exe="zym.exe", cls="#32770", top_level=True), 20, "the tip of the day")
    j.key("Escape")
    j.wait_gone(tip, 10)
    main = j.main_window(zym)
    albums = j.wait_for(lambda: album_list(j, main), 10, "the album list")

    for row in (1, 4):
        x, y, w, h = j.cell(albums, row, 2)
        point = (x + w // 2, y + h // 2)
        j.click(None, *point, button=3)
        menu = j.wait_for(lambda: menus(j), 5, "the library menu after a right click on row %d" % row)
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
        menu = j.wait_for(lambda: menus(j), 5, "the library menu after %s" % keys)
        j.check(len(menu) == 1, "one menu for %s: %r" % (keys, menu))
        j.check(albums.x <= menu[0].x < albums.x + albums.w and y <= menu[0].y < y + h,
                "the menu of %s at the selected row (y %d..%d): %r" % (keys, y, y + h, menu[0]))
        close_menu(j)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
