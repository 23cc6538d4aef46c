"""The tip of the day comes once the library is up: when it shows, the main
window already counts the sample's 90 albums, and the start-up does not wait
for the tip to close."""
import re

import journey

MAIN_TITLE_LOADED = r"^Library \(90 items\)"


def run(j):
    zym = j.start_zym()

    def tip_and_title():
        # One look at every window, so that the title is the one seen with the tip.
        windows = j.windows()
        tip = next((w for w in windows if w.exe == "zym.exe" and w.cls == "#32770" and w.visible
                    and w.parent == "0x0" and w.text == "Tip of the Day"), None)
        titles = [w.text for w in windows if w.exe == "zym.exe" and w.visible and w.parent == "0x0"]
        return (tip, titles) if tip else None

    tip, titles = j.wait_for(tip_and_title, 30, "the tip of the day")
    j.check(any(re.search(MAIN_TITLE_LOADED, title) for title in titles),
            "the library was up before the tip came (windows: %r)" % titles)
    j.key("Escape")
    j.wait_gone(tip, 10)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
