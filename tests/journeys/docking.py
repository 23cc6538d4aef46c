"""A person moves the docked Library window by its gripper: dragged to each
side of the main window it docks there; dragged with Ctrl held it floats in a
window of its own; a double click on that window's caption docks it back, and
a double click on the gripper floats it again. The outline follows the mouse
over the program's windows, and after a drag that changed nothing (Escape)
the lists' headers are still drawn."""
import journey

LIBRARY_ID = 108
LIST_ID = 1008
# The gripper's strip beside its window: at most this far off the window.
STRIP_REACH = 24
WHITE = (255, 255, 255)


def library(j):
    return j.find(exe="zym.exe", id=LIBRARY_ID)


def root_of(j, window):
    by_handle = {w.hwnd: w for w in j.windows()}
    while window.parent != "0x0" and window.parent in by_handle:
        window = by_handle[window.parent]
    return window


def pixels(j, x, y, w, h):
    """The screen's pixels of a rectangle: {(column, row): (r, g, b)}."""
    text = j.command("import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8", "txt:-")
    found = {}
    for line in text.splitlines():
        if line.startswith("#") or ": (" not in line:
            continue
        place, _, colour = line.partition(": (")
        column, row = (int(v) for v in place.split(","))
        found[(column, row)] = tuple(int(float(v)) for v in colour.split(")", 1)[0].split(",")[:3])
    return found


def ridge_offset(lines):
    """Where a gripper's two raised bars lie across a strip, given the strip's
    lines along it (each a list of pixels): a bar is a highlight line and a
    shadow line two further; the second bar starts four after the first."""
    light = [all(p == WHITE for p in line) for line in lines]
    dark = [all(max(p) <= 170 for p in line) for line in lines]
    for i in range(len(lines) - 6):
        if light[i] and dark[i + 2] and light[i + 4] and dark[i + 6]:
            return i + 3
    return None


def grip_point(j, window):
    """The middle of the gripper strip above or left of the window."""
    along = min(60, window.w - 40)
    above = pixels(j, window.x + 20, window.y - STRIP_REACH, along, STRIP_REACH)
    offset = ridge_offset([[above[(c, r)] for c in range(along)] for r in range(STRIP_REACH)])
    if offset is not None:
        return window.x + 20 + along // 2, window.y - STRIP_REACH + offset
    along = min(60, window.h - 40)
    left = pixels(j, window.x - STRIP_REACH, window.y + 20, STRIP_REACH, along)
    offset = ridge_offset([[left[(c, r)] for r in range(along)] for c in range(STRIP_REACH)])
    if offset is not None:
        return window.x - STRIP_REACH + offset, window.y + 20 + along // 2
    return None


def docked_in(j, main):
    window = library(j)
    return window if window and root_of(j, window).hwnd == main.hwnd else None


def floating(j, main):
    window = library(j)
    root = root_of(j, window) if window else None
    return root if root and root.hwnd != main.hwnd and root.visible else None


def headers_drawn(j, main):
    """Every list header of the Library window shows some text (dark pixels)."""
    window = docked_in(j, main)
    lists = [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == LIST_ID
             and window and window.x <= w.x < window.x + window.w and window.y <= w.y < window.y + window.h]
    if not lists:
        return False
    for shown in lists:
        line = pixels(j, shown.x + 2, shown.y + 8, max(1, shown.w - 20), 1).values()
        if not any(max(p) <= 100 for p in line):
            return False
    return True


def drag_library(j, main, end, keys=()):
    window = j.wait_for(lambda: library(j), 10, "the Library window")
    grip = j.wait_for(lambda: grip_point(j, window), 10, "the Library window's gripper")
    j.drag(None, grip, end, keys=keys)
    return grip


def run(j):
    zym, main = j.start_zym_past_tip()
    client_top = main.client_y - main.y
    middle_x, middle_y = main.x + main.w // 2, main.y + main.h // 2
    j.wait_for(lambda: headers_drawn(j, main), 10, "the Library's list headers")

    # Escape during a drag leaves everything, headers included, as it was.
    window = library(j)
    grip = grip_point(j, window)
    j.check(grip is not None, "a gripper beside the Library window")
    j.move(None, *grip)
    j.command("xdotool", "mousedown", "1")
    for step in range(1, 9):
        j.move(None, grip[0] + step * 40, grip[1] + step * 30)
    j.pause(0.3)
    j.screenshot("outline")
    j.key("Escape")
    j.command("xdotool", "mouseup", "1")
    j.wait_for(lambda: headers_drawn(j, main), 10, "the list headers drawn again after Escape")
    j.check((library(j).x, library(j).y) == (window.x, window.y), "the Library window stayed after Escape")

    sides = [
        ("right", (main.x + main.w - 12, middle_y), lambda w: w.x + w.w // 2 > middle_x),
        ("bottom", (middle_x, main.y + main.h - 40), lambda w: w.y + w.h // 2 > middle_y),
        ("left", (main.x + 10, middle_y), lambda w: w.x + w.w // 2 < middle_x),
        ("top", (middle_x, main.y + client_top + 60), lambda w: w.y + w.h // 2 < middle_y),
    ]
    for side, end, placed in sides:
        drag_library(j, main, end)
        j.wait_for(lambda: docked_in(j, main) and placed(docked_in(j, main)), 10,
                   "the Library window docked on the %s" % side)
        j.screenshot("docked-" + side)

    drag_library(j, main, (middle_x, middle_y), keys=("ctrl",))
    float_window = j.wait_for(lambda: floating(j, main), 10, "the Library window floating (Ctrl held)")
    j.screenshot("floated")

    j.double_click(float_window, float_window.w // 2, (float_window.client_y - float_window.y) // 2)
    j.wait_for(lambda: docked_in(j, main), 10, "the Library window docked again by a double click on its caption")
    j.screenshot("re-docked")

    window = library(j)
    j.double_click(None, *grip_point(j, window))
    j.wait_for(lambda: floating(j, main), 10, "the Library window floating after a double click on its gripper")
    j.screenshot("floated-by-gripper")
    j.click(main, main.w // 2, (main.client_y - main.y) // 2)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
