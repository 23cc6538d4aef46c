"""A hidden tool bar is shown by a click on its box in View/Toolbar...: the
click selects the bar's row and checks it, and the bar stays shown after
Close."""
import journey

TOOLBARS_LIST = 43094
BAR_CLASS = "AfxControlBar42"


def run(j):
    zym, main = j.start_zym_past_tip()
    j.check(j.find(exe="zym.exe", cls=BAR_CLASS, text="^Player$") is None, "the Player bar starts hidden")
    j.key("alt+v")
    j.key("t")
    dialog = j.wait_for(lambda: j.find(exe="zym.exe", cls="#32770", text="^Toolbars$", top_level=True), 10,
                        "the Toolbars dialog")
    bars = j.wait_for(lambda: j.find(id=TOOLBARS_LIST, within=dialog), 5, "the list of bars")
    rows = []
    while not rows or rows[-1]:
        rows.append(j.item(bars, len(rows)))
    player = next((row for row in rows if row and row[1] == "Player"), None)
    j.check(player is not None, "the list holds the Player bar: %r" % rows)
    x, y, w, h = player[0]
    # The check box stands at the row's left end.
    j.click(None, x + 8, y + h // 2)
    j.screenshot("checked")
    j.click(j.find(cls="Button", text="Close", within=dialog), 10, 5)
    j.wait_gone(dialog, 10)
    shown = j.wait_for(lambda: j.find(exe="zym.exe", cls=BAR_CLASS, text="^Player$"), 10, "the Player bar shown")
    j.screenshot("shown")
    j.check(shown.w > 0 and shown.h > 0, "the Player bar has a size")
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
