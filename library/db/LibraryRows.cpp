#include "library/db/LibraryRows.h"

#include <stdlib.h>

#include "OleDbConstants.h"

namespace {

const char* const kColumnNames[kLibraryColumnCount] = {
    "Title", "Artist", "Minutes", "Seconds", "Frames", "Keywords", "ImageFile", "SoundFile",
    "URL", "MemoText", "CDText", "Group", "Notes", "Lyrics", "NeverPlay",
    "Rating1", "Rating2", "Rating3", "Rating4",
    "DateAdded", "DateReleased", "DateLastPlayed", "TimesPlayed", "TimePlayed", "ZYMID",
    "Player", "Position", "LocationValid", "SonyID", "CDDBID", "ExactID", "Tracks", "Track",
};

// Ids are written "%08X", 0 as an empty text (which is stored as NULL).
CString IdText(DWORD id)
{
    CString text;
    if (id)
        text.Format("%08X", static_cast<unsigned>(id));
    return text;
}

// More tracks than a 16-bit count holds: no disc or folder of files has them,
// only a damaged row.
const int kMaxTrackCount = 0xFFFF;

DWORD ParseHex(const char* text)
{
    return static_cast<DWORD>(strtoul(text, nullptr, 16));
}

// Copies the text straight from the row into the field; most texts of a
// track row are NULL, which costs a look at the field only.
void ReadText(ODBRowsetAccessor& row, int ordinal, CString& field)
{
    int length = 0;
    const char* text = row.PeekText(ordinal, length);
    if (text)
        field = CString(text, length);
    else if (!field.IsEmpty())
        field.Empty();
}

}

void AddUpdatableRowsetProperties(ODBPropertySet& properties)
{
    properties.AddProperty(DBPROP_IRowsetChange, true, DBPROPOPTIONS_OPTIONAL);
    properties.AddProperty(DBPROP_UPDATABILITY,
                           static_cast<LONG>(DBPROPVAL_UP_CHANGE | DBPROPVAL_UP_DELETE | DBPROPVAL_UP_INSERT),
                           DBPROPOPTIONS_OPTIONAL);
}

CString QuotedSqlText(const char* text)
{
    CString quoted(text);
    quoted.Replace("'", "''");
    return quoted;
}

void MakeAlbumColumns(ODBColumnDescriptors& columns)
{
    columns.Clear();
    for (int i = 0; i <= kColTracks; i++)
        columns.AddColumn(kColumnNames[i], i);
}

void MakeTrackColumns(ODBColumnDescriptors& columns)
{
    columns.Clear();
    for (int i = 0; i <= kColZymId; i++)
        columns.AddColumn(kColumnNames[i], i);
    columns.AddColumn(kColumnNames[kColTrack], kColTrack);
}

void LibraryRows::WriteRow(const TrackRecord& record, ODBRowsetAccessor& row)
{
    row.SetText(kColTitle, record.m_title);
    row.SetText(kColArtist, record.m_artist);
    row.SetInteger(kColMinutes, record.m_minutes);
    row.SetInteger(kColSeconds, record.m_seconds);
    row.SetInteger(kColFrames, record.m_frames);
    row.SetText(kColKeywords, record.m_keywordText);
    row.SetText(kColImageFile, record.m_imageFile);
    row.SetText(kColSoundFile, record.m_soundFile);
    row.SetText(kColUrl, record.m_url);
    row.SetText(kColMemoText, record.m_memo);
    row.SetText(kColCdText, record.m_cdText);
    row.SetInteger(kColGroup, record.m_group);
    row.SetText(kColNotes, record.m_notes);
    row.SetText(kColLyrics, record.m_lyrics);
    row.SetBool(kColNeverPlay, record.m_neverPlay != 0);
    for (int i = 0; i < record.m_ratings.GetCount(); i++)
        row.SetInteger(kColRating1 + i, record.m_ratings.GetValue(i));
    row.SetDate(kColDateAdded, record.m_added);
    row.SetDate(kColDateReleased, record.m_released);
    row.SetDate(kColDateLastPlayed, record.m_lastPlayed);
    row.SetInteger(kColTimesPlayed, record.m_timesPlayed);
    row.SetInteger(kColTimePlayed, record.m_timePlayed);
}

void LibraryRows::ReadRow(TrackRecord& record, ODBRowsetAccessor& row)
{
    record.Clear();
    ReadText(row, kColTitle, record.m_title);
    ReadText(row, kColArtist, record.m_artist);
    record.m_minutes = row.GetInteger(kColMinutes);
    record.m_seconds = row.GetInteger(kColSeconds);
    record.m_frames = row.GetInteger(kColFrames);
    ReadText(row, kColKeywords, record.m_keywordText);
    ReadText(row, kColImageFile, record.m_imageFile);
    ReadText(row, kColSoundFile, record.m_soundFile);
    ReadText(row, kColUrl, record.m_url);
    ReadText(row, kColMemoText, record.m_memo);
    ReadText(row, kColCdText, record.m_cdText);
    record.m_group = row.GetInteger(kColGroup);
    ReadText(row, kColNotes, record.m_notes);
    ReadText(row, kColLyrics, record.m_lyrics);
    record.m_neverPlay = row.GetBool(kColNeverPlay) ? 1 : 0;
    for (int i = 0; i < record.m_ratings.GetCount(); i++)
        record.m_ratings.SetValue(i, row.GetInteger(kColRating1 + i));
    record.m_added = COleDateTime(row.GetDate(kColDateAdded));
    record.m_released = COleDateTime(row.GetDate(kColDateReleased));
    record.m_lastPlayed = COleDateTime(row.GetDate(kColDateLastPlayed));
    record.m_timesPlayed = row.GetInteger(kColTimesPlayed);
    record.m_timePlayed = row.GetInteger(kColTimePlayed);
}

void LibraryRows::WriteRow(const AlbumRecord& album, ODBRowsetAccessor& row)
{
    row.SetText(kColZymId, album.GetIdText());
    row.SetText(kColSonyId, IdText(album.GetSonyId()));
    row.SetText(kColExactId, IdText(album.GetExactId()));
    row.SetText(kColCddbId, IdText(album.GetCddbId()));
    row.SetInteger(kColTracks, album.GetTrackCount());
    row.SetInteger(kColPlayer, album.GetStoredPlayer());
    row.SetInteger(kColPosition, album.GetSlot());
    row.SetBool(kColLocationValid, album.IsPresent());
    const TrackRecord* record = album.GetRecord(kAlbumIndex);
    if (record)
        WriteRow(*record, row);
}

bool LibraryRows::ReadRow(AlbumRecord& album, ODBRowsetAccessor& row)
{
    int trackCount = row.GetInteger(kColTracks);
    if (trackCount > kMaxTrackCount)
        return false;
    CString id = row.GetText(kColZymId);
    album.SetIdText(id);
    CString sonyId = row.GetText(kColSonyId);
    if (!sonyId.IsEmpty())
        album.SetSonyId(ParseHex(sonyId));
    else if (id.GetLength() == 8)
        album.SetSonyId(ParseHex(id));   // the previous scheme's id was the changer id
    else
        album.SetSonyId(0);
    album.SetCddbId(ParseHex(row.GetText(kColCddbId)));
    album.SetExactId(ParseHex(row.GetText(kColExactId)));
    // The album's own record comes with the first track count an album is given.
    if (!album.GetRecord(kAlbumIndex))
        album.SetTrackCount(trackCount == 0 ? -1 : 0);
    album.SetTrackCount(trackCount);
    album.SetPlayer(row.GetInteger(kColPlayer));
    album.SetSlot(row.GetInteger(kColPosition));
    album.SetPresent(row.GetBool(kColLocationValid));
    if (album.IsPresent() && (album.GetStoredPlayer() < 0 || album.GetSlot() < 0)) {
        album.SetPresent(false);
        album.SetState(kAlbumChanged);
    }
    ReadRow(*album.GetRecord(kAlbumIndex), row);
    return true;
}

bool LibraryRows::WriteTrackRow(const AlbumRecord& album, int index, ODBRowsetAccessor& row)
{
    const TrackRecord* track = index >= 0 ? album.GetRecord(index) : nullptr;
    if (!track)
        return false;
    row.SetText(kColZymId, album.GetIdText());
    row.SetInteger(kColTrack, index + 1);
    WriteRow(*track, row);
    return true;
}

bool LibraryRows::ReadTrackRow(AlbumRecord& album, ODBRowsetAccessor& row, int& index)
{
    index = row.GetInteger(kColTrack) - 1;
    TrackRecord* track = index >= 0 ? album.GetRecord(index) : nullptr;
    if (!track)
        return false;
    ReadRow(*track, row);
    return true;
}
