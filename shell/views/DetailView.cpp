#include "shell/views/DetailView.h"

#include "core/doc/ZymDoc.h"

namespace {

enum DetailColumn
{
    kColCategory = 0,
    kColField = 1,
    kColValue = 2,
};

const ListColumn kColumns[] = {
    {kColCategory, "", 0, 0x180, -1, "", LVCFMT_LEFT},
    {kColField, "Field", 80, 0, -1, "Field", LVCFMT_RIGHT},
    {kColValue, "Value", 80, 0x04, -1, "Value", LVCFMT_LEFT},
};
const int kShownColumns[] = {kColCategory, kColField, kColValue};

enum DetailRow
{
    kRowDiscArtist,
    kRowDiscTitle,
    kRowTrackArtist,
    kRowTrackTitle,
    kRowTrack,
    kRowLocation,
    kRowPlayable,
    kRowNeverPlay,
    kRowMemo,
    kRowId,
    kRowImageFile,
    kRowLyrics,
    kRowNotes,
    kRowLastPlayed,
    kRowLength,
    kRowTimesPlayed,
    kRowTimePlayed,
    kRowDateAdded,
    kRowDateReleased,
    kRowCount
};

const char* const kFieldNames[kRowCount] = {
    "Disc Artist", "Disc Title", "Track Artist", "Track Title", "Track",       "Location",
    "Playable?",   "Never Play?", "Memo",        "ZYMID",       "Image File",  "Lyrics?",
    "Notes?",      "Last Played", "Length",      "Times Played", "Time Played", "Date Added",
    "Date Released",
};

const char kListName[] = "Detail List";
const char kCaption[] = "Details";

const char* YesNo(bool yes)
{
    return yes ? "yes" : "no";
}

} // namespace

IMPLEMENT_DYNCREATE(CDetailView, CLibraryListView)

CDetailView::CDetailView()
    : CLibraryListView(kCaption, kListName, kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                       sizeof kShownColumns / sizeof kShownColumns[0], ListStyleChange{0x2000, 0xF, false})
{
    m_contextMenu = 0;
}

void CDetailView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    if (hint == kViewHintSelection || hint == kViewHintShowSelection)
    {
        Fill();
        Repaint();
    }
    else if (hint != kViewHintAll)
        OnSharedHint(sender, hint, hintObject);
}

void CDetailView::ShowNothing(const char* emptyText)
{
    m_item.Clear();
    m_list.DeleteAllItems();
    m_list.SetEmptyText(emptyText);
    m_banner.SetText(kCaption);
}

void CDetailView::Fill()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_list.m_hWnd)
        return;
    CPlayList selection(doc->GetSelectionList());
    if (selection.GetCount() == 0)
        return ShowNothing("(No Item Selected)");
    if (!selection.IsSingleDisc())
        return ShowNothing("(Multiple Albums Selected)");
    CLibItem first = selection.GetItem(0);
    // Several tracks of one album: the album.
    if (selection.GetCount() > 1)
        first.SetTrack(kWholeAlbum);
    if (first.IsSameEntry(m_item))
        return;
    m_item = first;
    AlbumRecord album;
    if (m_item.GetAlbumCopy(doc->GetMusicLibrary(), album))
    {
        if (m_item.GetTrack() == kWholeAlbum)
            m_banner.SetText("Album Details for " + album.GetTitle(kAlbumIndex));
        else
            m_banner.SetText("Track Details for " + album.GetTitle(m_item.GetTrack()));
    }
    m_list.SetRedraw(FALSE);
    m_list.DeleteAllItems();
    m_list.SetItemCount(kRowCount);
    for (int row = 0; row < kRowCount; ++row)
        m_list.InsertItemEx(row, static_cast<DWORD_PTR>(row));
    m_list.SetRedraw(TRUE);
    Invalidate(FALSE);
}

void CDetailView::GetItemText(DWORD_PTR itemData, int columnId, CString& text)
{
    CZymDoc* doc = GetDoc();
    int row = static_cast<int>(itemData);
    if (!doc || row >= kRowCount)
        return;
    CMusicLibrary& library = doc->GetMusicLibrary();
    CLibraryLock lock(library);
    const AlbumRecord* album = m_item.GetAlbum(lock, library);
    if (!album)
        return;
    if (columnId == kColField)
        text = kFieldNames[row];
    else if (columnId == kColValue)
        text = ValueText(library, *album, row);
}

CString CDetailView::ValueText(CMusicLibrary& library, const AlbumRecord& album, int row)
{
    int track = m_item.GetTrack();
    bool isTrack = track != kWholeAlbum;
    CString text;
    switch (row)
    {
    case kRowDiscArtist:
        return album.GetArtist(kAlbumIndex);
    case kRowDiscTitle:
        return album.GetTitle(kAlbumIndex);
    case kRowTrackArtist:
        return isTrack ? album.GetArtist(track) : text;
    case kRowTrackTitle:
        return isTrack ? album.GetTitle(track) : text;
    case kRowTrack:
        if (isTrack)
            text.Format("%2d", track + 1);
        return text;
    case kRowLocation:
        return album.GetLocationText(track);
    case kRowPlayable:
        return YesNo(album.GetStoredPlayer() == kMp3Player || library.IsAlbumPlayable(album));
    case kRowNeverPlay:
        return YesNo(album.GetNeverPlay(track));
    case kRowMemo:
        return album.GetMemo(track);
    case kRowId:
        return album.GetIdText();
    case kRowImageFile:
        return album.GetImage(track);
    case kRowLyrics:
        return YesNo(album.HasLyrics(track));
    case kRowNotes:
        return YesNo(album.HasNotes(track));
    case kRowLastPlayed:
        return album.GetLastPlayedText(track);
    case kRowLength:
        return album.GetPlayTimeText(track);
    case kRowTimesPlayed:
        return album.GetTimesPlayedText(track);
    case kRowTimePlayed:
        return album.GetTimePlayedText(track);
    case kRowDateAdded:
        return album.GetAddedText(track);
    case kRowDateReleased:
        return album.GetReleasedText(track);
    }
    return text;
}

// Only the "Value" column is edited.
void CDetailView::ApplyEdit(DWORD_PTR itemData, int columnId, const CString& text)
{
    if (columnId != kColValue)
        return;
    int row = static_cast<int>(itemData);
    CMusicLibrary& library = GetDoc()->GetMusicLibrary();
    int track = m_item.GetTrack();
    bool isTrack = track != kWholeAlbum;
    bool badDate = false;
    {
        CLibraryLock lock(library);
        AlbumRecord* album = m_item.GetAlbum(lock, library);
        if (!album)
            return;
        CString error;
        switch (row)
        {
        case kRowDiscArtist:
            album->SetArtist(kAlbumIndex, text);
            break;
        case kRowDiscTitle:
            album->SetTitle(kAlbumIndex, text);
            break;
        case kRowTrackArtist:
            if (!isTrack)
                return;
            album->SetArtist(track, text);
            break;
        case kRowTrackTitle:
            if (!isTrack)
                return;
            album->SetTitle(track, text);
            break;
        case kRowMemo:
            album->SetMemo(track, text);
            break;
        case kRowImageFile:
            album->SetImage(track, text, false, "", error);
            break;
        case kRowDateReleased:
            badDate = !album->SetReleased(track, text);
            break;
        default:
            return;
        }
    }
    EditDone(library, badDate);
}
