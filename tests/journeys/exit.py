"""File/Exit by mouse: zym closes as by its close box (its window placement
written, the library whole), and so does Faultscout."""
import os

import journey

MENU_BAR_ID = 0xE8FF
# The menu bar draws its own items: File follows the maximised child's icon.
FILE_ON_MENU_BAR = 45


def file_menu(j, exe):
    return j.wait_for(lambda: j.find(exe=exe, cls="#32768"), 10, "the File menu of %s" % exe)


def click_last_item(j, menu):
    """Clicks the menu's last item (Exit)."""
    j.click(menu, menu.w // 3, menu.h - 10)


def exit_zym(j):
    zym = j.start_zym()
    tip = j.tip_of_the_day()
    j.click(tip, tip.w - 60, tip.h - 30)   # OK
    j.wait_gone(tip, 10)
    main = j.main_window(zym)
    bar = j.find(exe="zym.exe", id=MENU_BAR_ID, within=main)
    j.check(bar is not None, "zym shows its menu bar")
    j.click(bar, FILE_ON_MENU_BAR, bar.h // 2)
    click_last_item(j, file_menu(j, "zym.exe"))
    zym.wait_exit(20)
    placement = j.registry_values(r"HKCU\Software\Halvane\zym\Main Frame")
    j.check(placement, "zym wrote its window placement on the way out")
    j.check(j.library_value("select count(*) from Albums") == "90", "the library holds its 90 albums")


def exit_faultscout(j):
    report = os.path.join(j.profile, "report.txt")
    with open(report, "w") as f:
        f.write("A saved report\r\n")
    faultscout = j.start("Faultscout.exe", journey.windows_path(report))
    main = j.main_window(faultscout)
    # File is the menu bar's first item, just above the client area.
    j.click(None, main.client_x + 15, main.client_y - 10)
    click_last_item(j, file_menu(j, "Faultscout.exe"))
    faultscout.wait_exit(20)


def run(j):
    exit_zym(j)
    exit_faultscout(j)


journey.main(run)
