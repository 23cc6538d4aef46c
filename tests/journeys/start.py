"""A new user's first start: zym comes up on the sample library with the tip
of the day, asks nothing about an older library format, and closes by Alt+F4
with the library left whole."""
import journey

OLDER_FORMAT = "older ZYM format"


def run(j):
    zym = j.start_zym()
    tip = j.wait_for(lambda: j.find(exe="zym.exe", cls="#32770", top_level=True), 20, "the tip of the day")
    j.screenshot("start")
    j.key("Escape")
    j.wait_gone(tip, 10)
    main = j.main_window(zym)
    # The library question would come with the document's first ticks.
    j.click(main, main.w // 2, main.h // 2)
    j.expect_none(lambda: j.find(exe="zym.exe", cls="Static", text=OLDER_FORMAT), 3,
                  "zym asks to convert the library")
    j.key("alt+F4")
    zym.wait_exit(20)
    j.check(j.library_value("select count(*) from Albums") == "90", "the library holds its 90 albums")


journey.main(run)
