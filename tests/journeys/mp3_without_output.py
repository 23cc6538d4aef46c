"""A person plays an audio-file album where no wave output device will open
(here the MP3 output names a device that is not there): ZYM says so once, in
its own words, and the play list stops at the album instead of running
through it unheard."""
import os

import journey

OPTIONS_KEY = r"HKCU\Software\Halvane\zym\Options"
NO_OUTPUT_TEXT = "could not open a wave output device"


def run(j):
    album = j.library_value("SELECT ZYMID FROM Albums WHERE ZYMID IN "
                            "(SELECT ZYMID FROM Tracks WHERE SoundFile IS NOT NULL) ORDER BY ZYMID")
    j.check(album, "an audio-file album in the sample")
    j.command("wine64", "reg", "add", OPTIONS_KEY, "/v", "MP3 Output Name", "/t", "REG_SZ", "/d", "/dev/wave/9",
              "/f")
    play_list = os.path.join(j.profile, "album.pla")
    with open(play_list, "w", newline="") as f:
        f.write("ZYM Playlist V1.1\r\n%s -1\r\n" % album)
    # A play list handed over on the command line plays at once.
    zym = j.start_zym(journey.windows_path(play_list))
    text = j.wait_for(lambda: j.find(exe="zym.exe", cls="Static", text=NO_OUTPUT_TEXT), 90,
                      "the box saying no wave output device would open", ended=zym)
    j.screenshot("no-output-box")
    box = next(w for w in j.windows() if w.hwnd == text.parent)
    ok = j.wait_for(lambda: j.find(cls="Button", text="OK", within=box), 10, "the box's OK button")
    j.click(ok, ok.w // 2, ok.h // 2)
    j.wait_gone(box, 10)
    j.expect_none(lambda: j.find(exe="zym.exe", cls="Static", text=NO_OUTPUT_TEXT), 5,
                  "a second box about the output")
    # The tip of the day follows the start-up, which the box held up: wait for
    # it, or the Alt+F4 below may close it instead of zym.
    tip = j.tip_of_the_day()
    j.click(tip, tip.w // 2, 10)
    j.key("Escape")
    j.wait_gone(tip, 10)
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
