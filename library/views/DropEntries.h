// Entries dropped on a list view as text lines ("id track"), inserted into
// its play list.
#pragma once

#include "library/playlist/PlayList.h"

#include <vector>

// Inserts the entries of the text at position (clamped to the list); lines
// that name no entry are skipped. For a move within the list, moved holds the
// originals' indices before the drop, which go afterwards, and the list's
// pointer comes along when pointerInDrag is its place among the dragged
// lines (-1: not among them). The number of entries inserted.
int DropEntries(CPlayList& list, const char* text, int position, const std::vector<int>* moved, int pointerInDrag);
