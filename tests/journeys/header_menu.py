"""A person right-clicks a column header of the album list: the header's menu
opens at the pointer, and once it is closed no other menu follows."""
import journey

MENU_CLASS = "#32768"
LIST_ID = 1008
SLACK = 3


def album_list(j, main):
    shown = [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == LIST_ID
             and w.cls == "SysListView32" and w.x < main.x + main.w // 3]
    return min(shown, key=lambda w: w.y) if shown else None


def menus(j):
    return [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.cls == MENU_CLASS and w.visible]


def run(j):
    zym = j.start_zym()
    tip = j.wait_for(lambda: j.find(exe="zym.exe", cls="#32770", top_level=True), 20, "the tip of the day")
    j.key("Escape")
    j.wait_gone(tip, 10)
    main = j.main_window(zym)
    albums = j.wait_for(lambda: album_list(j, main), 10, "the album list")
    header = j.wait_for(lambda: j.find(exe="zym.exe", cls="SysHeader32", within=albums), 10, "the list's header")
    point = (header.x + header.w // 2, header.y + header.h // 2)
    j.click(None, *point, button=3)
    menu = j.wait_for(lambda: menus(j), 5, "the header menu")
    j.check(len(menu) == 1, "one menu: %r" % menu)
    j.check(abs(menu[0].x - point[0]) <= SLACK and abs(menu[0].y - point[1]) <= SLACK,
            "the header menu at the pointer %r: %r" % (point, menu[0]))
    j.screenshot("header-menu")
    j.key("Escape")
    j.wait_for(lambda: not menus(j), 5, "the header menu to close")
    j.expect_none(lambda: menus(j), 3, "another menu after the header menu")
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
