// The rows of the library file's two tables and how records map onto them.
// Columns are bound by name; their numbers here are their ordinals in the
// column sets, the same in both tables for 0-24.
#pragma once

#include "library/db/ODBPropertySet.h"
#include "library/db/ODBRowsetAccessor.h"
#include "library/records/AlbumRecord.h"

enum LibraryColumn
{
    kColTitle = 0,
    kColArtist,
    kColMinutes,
    kColSeconds,
    kColFrames,
    kColKeywords,
    kColImageFile,
    kColSoundFile,
    kColUrl,
    kColMemoText,
    kColCdText,
    kColGroup,
    kColNotes,
    kColLyrics,
    kColNeverPlay,
    kColRating1,        // to kColRating1 + 3
    kColDateAdded = 19,
    kColDateReleased,
    kColDateLastPlayed,
    kColTimesPlayed,
    kColTimePlayed,
    kColZymId,          // in "Tracks": the owning album's id
    kColPlayer,         // 25-31: "Albums" only
    kColPosition,
    kColLocationValid,
    kColSonyId,
    kColCddbId,
    kColExactId,
    kColTracks,
    kColTrack,          // "Tracks" only, 1-based
    kLibraryColumnCount
};

// Rowsets through which rows are changed, inserted and deleted.
void AddUpdatableRowsetProperties(ODBPropertySet& properties);
// A text inside SQL quotes: a quote in it is doubled, so it can neither end
// the text early nor add SQL of its own.
CString QuotedSqlText(const char* text);

// The column sets of the two tables.
void MakeAlbumColumns(ODBColumnDescriptors& columns);
void MakeTrackColumns(ODBColumnDescriptors& columns);

class LibraryRows
{
public:
    // Columns 0-23 of a record (the album's own or a track).
    static void WriteRow(const TrackRecord& record, ODBRowsetAccessor& row);
    static void ReadRow(TrackRecord& record, ODBRowsetAccessor& row);

    // An "Albums" row. Reading sets the track count but builds no tracks; it
    // gives false, and leaves the album alone, for a row whose track count no
    // album can have (a damaged file would otherwise make the load allocate
    // that many tracks).
    static void WriteRow(const AlbumRecord& album, ODBRowsetAccessor& row);
    static bool ReadRow(AlbumRecord& album, ODBRowsetAccessor& row);

    // A "Tracks" row of track index; false for an index outside the album.
    static bool WriteTrackRow(const AlbumRecord& album, int index, ODBRowsetAccessor& row);
    // Reads into the track the row numbers; false when the album has no such
    // track (the caller shows the message, outside the library lock).
    static bool ReadTrackRow(AlbumRecord& album, ODBRowsetAccessor& row, int& index);
};
