// The texts of an album's or track's cells in the library's lists: one kind
// of cell per column, whatever column id a list gives it. Image cells answer
// the number of their picture in the cell images.
#pragma once

#include "library/records/MusicLibrary.h"

enum LibraryCell
{
    kCellNone,
    kCellKind, // MP3, playable now or not: album or track picture
    kCellArtist,
    kCellAlbum, // the album's title whatever the track
    kCellTitle,
    kCellTrackNumber,
    kCellPlayer,
    kCellLocation,
    kCellHasImage,
    kCellHasLyrics,
    kCellHasNotes,
    kCellLastPlayed,
    kCellPlayingTime,
    kCellTimesPlayed,
    kCellTimePlayed,
    kCellDateAdded,
    kCellDateReleased,
    kCellAlbumId,
    kCellSonyId,
    kCellExactId,
    kCellCddbId,
    kCellMemo,
};

// Pictures of the cell images.
enum CellImage
{
    kImagePlayableAlbum = 0,
    kImageAlbum = 1,
    kImageMp3Album = 2,
    kImageHasImage = 3,
    kImageHasLyrics = 4,
    kImageMp3Track = 5,
    kImagePlayableTrack = 6,
    kImageTrack = 7,
    kImagePlaying = 8,
    kImageStopped = 9,
    kImagePaused = 10,
    kImageHasNotes = 11,
    kImageBusyFirst = 12, // 18 frames of the busy animation
    kImageDiscShown = 30,
    kImageMissing = 31,
};

// The library's lock must be held: album is a stored one.
CString LibraryCellText(CMusicLibrary& library, const AlbumRecord& album, int track, LibraryCell cell);
CString ImageNumber(int image);
