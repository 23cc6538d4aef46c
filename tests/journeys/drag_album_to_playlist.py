"""A person drags an album from the album list into the empty play list (the
main way to queue music): it joins the play list, whose title shows its
length; a track of that album dragged below it joins as well, and so does a
result of a search run on the Search tab."""
import re

import journey

LIST_ID = 1008
SEARCH_EDIT_ID = 1268
# The tab strip under the library holds "Library" and "Search" side by side.
TAB_STRIP_ID = 59952


def lists(j, main):
    """The album list (top left), the track list (below it) and the play list
    (right) of the main window, all lists of the one control id."""
    shown = [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == LIST_ID
             and w.cls == "SysListView32" and w.x < main.x + main.w and w.y < main.y + main.h]
    left = sorted((w for w in shown if w.x < main.x + main.w // 3), key=lambda w: w.y)
    right = [w for w in shown if w.x >= main.x + main.w // 3]
    return (left[0], left[1], right[0]) if len(left) >= 2 and right else None


def library_tabs(j, tracks):
    """The tab strip right under the track list (other docked windows have their own)."""
    strips = [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == TAB_STRIP_ID
              and w.x <= tracks.x < w.x + w.w and tracks.y + tracks.h <= w.y < tracks.y + tracks.h + 40]
    return strips[0] if strips else None


def search_results(j, edit):
    """The list under the search box."""
    shown = [w for w in j.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == LIST_ID
             and w.cls == "SysListView32" and w.x <= edit.x and edit.y < w.y < edit.y + 40]
    return shown[0] if shown else None


def title(j, zym):
    return j.main_window(zym).text


def run(j):
    zym, main = j.start_zym_past_tip()
    albums, tracks, play_list = j.wait_for(lambda: lists(j, main), 10, "the album, track and play lists")
    j.check(not re.search(r"Play List \[", title(j, zym)), "the play list is empty at first: %r" % title(j, zym))

    x, y, w, h = j.cell(albums, 2, 2)
    j.drag(None, (x + w // 2, y + h // 2), (play_list.x + play_list.w // 2, play_list.y + play_list.h // 2))
    j.wait_for(lambda: re.search(r"Play List \[\d+:\d\d\]", title(j, zym)), 10,
               "the album in the play list (its length in the title)")
    with_album = title(j, zym)
    j.screenshot("album-dropped")

    x, y, w, h = j.wait_for(lambda: j.cell(tracks, 0, 2)[2] > 0 and j.cell(tracks, 0, 2), 10, "the album's tracks")
    j.drag(None, (x + w // 2, y + h // 2), (play_list.x + play_list.w // 2, play_list.y + play_list.h - 20))
    j.wait_for(lambda: title(j, zym) != with_album, 10, "the track in the play list (a longer play list)")
    with_track = title(j, zym)
    j.screenshot("track-dropped")

    tabs = j.wait_for(lambda: library_tabs(j, tracks), 10, "the library's tab strip")
    j.click(tabs, tabs.w // 2, tabs.h // 2)
    edit = j.wait_for(lambda: j.find(exe="zym.exe", cls="Edit", id=SEARCH_EDIT_ID), 10, "the search box")
    j.click(edit, edit.w // 2, edit.h // 2)
    j.type("Kestrel")
    j.key("Return")
    results = j.wait_for(lambda: search_results(j, edit), 10, "the search results")
    x, y, w, h = j.wait_for(lambda: j.cell(results, 1, 2)[2] > 0 and j.cell(results, 1, 2), 10, "found tracks")
    j.drag(None, (x + w // 2, y + h // 2), (play_list.x + play_list.w // 2, play_list.y + play_list.h - 20))
    j.wait_for(lambda: title(j, zym) != with_track, 10, "the found track in the play list (a longer play list)")
    j.screenshot("search-result-dropped")
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
