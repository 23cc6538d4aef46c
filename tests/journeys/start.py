"""A new user's first start: zym comes up on the sample library with the tip
of the day, asks nothing about an older library format, and closes by Alt+F4
with the library left whole. The sample's audio files are the profile's."""
import os

import journey

OLDER_FORMAT = "older ZYM format"


def run(j):
    zym = j.start_zym()
    tip = j.tip_of_the_day()
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
    check_music_in_profile(j)


def check_music_in_profile(j):
    music = os.path.join(j.profile, "Music Files")
    prefix = journey.windows_path(music) + "\\"
    named = int(j.library_value("select count(*) from Tracks where SoundFile is not null"))
    j.check(named > 0, "the sample has audio-file albums")
    inside = j.library_value("select count(*) from Tracks where substr(SoundFile, 1, %d) = '%s'"
                             % (len(prefix), prefix.replace("'", "''")))
    j.check(inside == str(named), "%s of %d track files are in the profile's Music Files" % (inside, named))
    first = j.library_value("select SoundFile from Tracks where SoundFile is not null")
    path = os.path.join(music, *first[len(prefix):].split("\\"))
    j.check(os.path.isfile(path), "the track file %s is there" % path)


journey.main(run)
