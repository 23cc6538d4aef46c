"""A person right-clicks a column header of the album list: the header's menu
opens at the pointer, and once it is closed no other menu follows."""
import journey

SLACK = 3


def run(j):
    zym, main = j.start_zym_past_tip()
    albums = j.wait_for(lambda: j.zym_album_list(main), 10, "the album list")
    header = j.wait_for(lambda: j.find(exe="zym.exe", cls="SysHeader32", within=albums), 10, "the list's header")
    point = (header.x + header.w // 2, header.y + header.h // 2)
    j.click(None, *point, button=3)
    menu = j.wait_for(lambda: j.menus(), 5, "the header menu")
    j.check(len(menu) == 1, "one menu: %r" % menu)
    j.check(abs(menu[0].x - point[0]) <= SLACK and abs(menu[0].y - point[1]) <= SLACK,
            "the header menu at the pointer %r: %r" % (point, menu[0]))
    j.screenshot("header-menu")
    j.key("Escape")
    j.wait_for(lambda: not j.menus(), 5, "the header menu to close")
    j.expect_none(lambda: j.menus(), 3, "another menu after the header menu")
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
