"""Pictures of zym as a new user sees it, for scripts/screens.sh: the main
window, each options page and the about box (zymscreens), then, by mouse
through the X server, an album dragged into the play list, the Library window
floated and docked again, a tool-bar tip and a menu at the pointer. A journey
(tests/support/journey.py) that keeps its pictures."""
import os

import journey

LIBRARY_WINDOW_ID = 108
MAIN_BAR_ID = 59392
GRIPPER_ABOVE = -9
CAPTION_MIDDLE = 8
# Time for the windows to redraw after a drop, before a picture.
SETTLE_SECONDS = 0.5


def options_and_about(j):
    # zymscreens waits for a start-up without the tip of the day.
    j.command("wine64", "reg", "add", r"HKCU\Software\Halvane\zym\Tip", "/v", "StartUp", "/t", "REG_DWORD",
              "/d", "1", "/f")
    helper = os.path.join(j.build, "tests", "screens", "zymscreens.exe.so")
    j.command("wine64", helper, journey.windows_path(os.path.join(j.programs, "zym.exe")), journey.windows_path(j.out))
    for name in sorted(os.listdir(j.out)):
        if name.endswith(".bmp"):
            bmp = os.path.join(j.out, name)
            j.command("convert", bmp, bmp[:-4] + ".png")
            os.remove(bmp)


def lists(j):
    """The album list (in the Library window) and the play list."""
    library = j.find(exe="zym.exe", id=LIBRARY_WINDOW_ID)
    albums = j.find(exe="zym.exe", cls="SysListView32", within=library)
    playlist_frame = j.find(exe="zym.exe", text="^Play List$")
    playlist = j.find(exe="zym.exe", cls="SysListView32", within=playlist_frame)
    return library, albums, playlist


def run(j):
    zym = j.start_zym()
    tip = j.tip_of_the_day()
    j.screenshot("start-with-tip")
    j.key("Escape")
    j.wait_gone(tip, 10)
    j.screenshot("main-window")

    library, albums, playlist = lists(j)
    x, y, w, h = j.cell(albums, 0, 1)
    j.drag(None, (x + w // 2, y + h // 2), (playlist.x + playlist.w // 2, playlist.y + playlist.h // 2))
    j.pause(SETTLE_SECONDS)
    j.screenshot("drag-into-play-list")

    # The Library window's gripper runs along above its top edge.
    # Released beside the main window, away from its docking edges.
    j.drag(None, (library.x + library.w // 2, library.y + GRIPPER_ABOVE), (1000, 450))
    j.pause(SETTLE_SECONDS)
    j.screenshot("library-floated")
    # A double click on the floating window's caption docks it again.
    floated = j.find(exe="zym.exe", id=LIBRARY_WINDOW_ID)
    frame = j.find(exe="zym.exe", text="^Library$", top_level=True) or floated
    j.double_click(frame, frame.w // 2, CAPTION_MIDDLE)
    j.pause(SETTLE_SECONDS)
    j.screenshot("library-docked-again")

    bar = j.find(exe="zym.exe", id=MAIN_BAR_ID)
    j.move(bar, 30, bar.h // 2)
    try:
        j.wait_for(lambda: j.find(exe="zym.exe", cls="tooltips_class32"), 5, "a tool-bar tip")
    except journey.JourneyFailure:
        print("screens: no tool-bar tip showed")
    j.screenshot("tool-bar-tip")

    _, albums, _ = lists(j)
    x, y, w, h = j.cell(albums, 1, 1)
    j.click(None, x + w // 2, y + h // 2, button=3)
    try:
        j.wait_for(lambda: j.find(exe="zym.exe", cls="#32768"), 5, "a menu at the pointer")
    except journey.JourneyFailure:
        print("screens: no menu showed")
    j.screenshot("menu-at-pointer")
    j.key("Escape")
    j.key("alt+F4")
    zym.wait_exit(20)
    options_and_about(j)


journey.main(run)
