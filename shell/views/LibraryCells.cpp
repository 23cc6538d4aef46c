#include "shell/views/LibraryCells.h"

namespace {

CString ImageIf(bool shown, int image)
{
    return shown ? ImageNumber(image) : CString();
}

int KindImage(CMusicLibrary& library, const AlbumRecord& album, bool wholeAlbum)
{
    if (album.GetStoredPlayer() == kMp3Player)
        return wholeAlbum ? kImageMp3Album : kImageMp3Track;
    if (library.IsAlbumPlayable(album))
        return wholeAlbum ? kImagePlayableAlbum : kImagePlayableTrack;
    return wholeAlbum ? kImageAlbum : kImageTrack;
}

} // namespace

CString ImageNumber(int image)
{
    CString text;
    text.Format("%d", image);
    return text;
}

CString LibraryCellText(CMusicLibrary& library, const AlbumRecord& album, int track, LibraryCell cell)
{
    CString text;
    switch (cell)
    {
    case kCellNone:
        break;
    case kCellKind:
        return ImageNumber(KindImage(library, album, track == kAlbumIndex));
    case kCellArtist:
        return album.GetArtist(track);
    case kCellAlbum:
        return album.GetTitle(kAlbumIndex);
    case kCellTitle:
        return album.GetTitle(track);
    case kCellTrackNumber:
        text.Format("%2d", track + 1);
        break;
    case kCellPlayer:
        return album.GetPlayerText();
    case kCellLocation:
        return album.GetLocationText(track);
    case kCellHasImage:
        return ImageIf(album.HasImage(track), kImageHasImage);
    case kCellHasLyrics:
        return ImageIf(album.HasLyrics(track), kImageHasLyrics);
    case kCellHasNotes:
        return ImageIf(album.HasNotes(track), kImageHasNotes);
    case kCellLastPlayed:
        return album.GetLastPlayedText(track);
    case kCellPlayingTime:
        return album.GetPlayTimeText(track);
    case kCellTimesPlayed:
        return album.GetTimesPlayedText(track);
    case kCellTimePlayed:
        return album.GetTimePlayedText(track);
    case kCellDateAdded:
        return album.GetAddedText(track);
    case kCellDateReleased:
        return album.GetReleasedText(track);
    case kCellAlbumId:
        return album.GetIdText();
    case kCellSonyId:
        return album.GetSonyIdText();
    case kCellExactId:
        return album.GetExactIdText();
    case kCellCddbId:
        return album.GetCddbIdText();
    case kCellMemo:
        return album.GetMemo(track);
    }
    return text;
}
