// The disc-database entry text (the CDDB / xmcd entry format): reading an
// entry into an album, and the table of contents the disc database is asked
// with. The album's own attributes may travel inside "ZYM[...]" blocks at the
// start of the extended-data values.
#pragma once

#include "library/records/AlbumRecord.h"

// An audio CD holds at most 99 tracks; an entry claiming more is refused.
const int kMaxEntryTracks = 99;

// Reads an entry into the album. False, with the album untouched, for a text
// that is no entry: empty, without a "DISCID=" line, or with a track count
// outside 1..99. The entry replaces what it provides (titles, artists, notes
// it carries) and leaves the rest: the album's own record, the tracks that
// exist in both, and notes the entry has none for.
bool ParseDiscEntry(AlbumRecord& album, const char* text);
// The highest n of any "TTITLE" + n in the text, plus 1; 0 when there is none.
int CountTitleLines(const char* text);
void SplitArtistTitle(const char* text, CString& artist, CString& title);
// "\n" gives CR LF, "\t" a tab, a backslash and any other character that
// character; a backslash at the very end is dropped.
void UnescapeEntryText(CString& text);
// Start of every track and the end of the disc, in frames, blank-separated.
CString FormatQueryOffsets(const AlbumRecord& album);
