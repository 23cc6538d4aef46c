"""The tip of the day comes once the start-up is done: when it shows, the main
window already counts the library's albums and holds the play list kept from
the last session (its length in the title); shown earlier it held both up
until it closed."""
import re

import journey

LIBRARY_LOADED = r"^Library \(90 items\)"
PLAY_LIST_RESTORED = r"Play List \[\d+:\d\d\]"
KEPT_PLAY_LIST = r"HKCU\Software\Halvane\zym\Current Playlist"


def run(j):
    album = j.library_value("select ZYMID from Albums where Title = 'The Lantern of Ashford'")
    j.command("wine64", "reg", "add", KEPT_PLAY_LIST, "/v", "Playlist", "/d", "%s -1" % album, "/f")
    zym = j.start("zym.exe")

    def tip_and_titles():
        # One look at every window, so that the titles are those seen with the tip.
        windows = j.windows()
        tip = next((w for w in windows if w.exe == "zym.exe" and w.cls == "#32770" and w.visible
                    and w.parent == "0x0" and w.text == "Tip of the Day"), None)
        titles = [w.text for w in windows if w.exe == "zym.exe" and w.visible and w.parent == "0x0"]
        return (tip, titles) if tip else None

    tip, titles = j.wait_for(tip_and_titles, 40, "the tip of the day", ended=zym)
    j.screenshot("tip")
    for pattern, what in ((LIBRARY_LOADED, "the library"), (PLAY_LIST_RESTORED, "the kept play list")):
        j.check(any(re.search(pattern, title) for title in titles),
                "%s was up before the tip came (windows: %r)" % (what, titles))
    j.key("Escape")
    j.wait_gone(tip, 10)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
