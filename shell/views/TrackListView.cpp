#include "shell/views/TrackListView.h"
#include "core/doc/DocAudioFiles.h"
#include "core/doc/ZymDoc.h"
#include "library/views/DragText.h"
#include "shell/views/LibraryCells.h"
#include "library/views/ViewResources.h"
#include "shell/views/ViewsResources.h"

#include <algorithm>
#include <vector>

namespace {

enum TrackColumn
{
    kColCategory = 0,
    kColKind = 1,
    kColArtist = 2,
    kColTitle = 3,
    kColTrack = 4,
    kColHasImage = 5,
    kColHasLyrics = 6,
    kColLastPlayed = 7,
    kColPlayingTime = 8,
    kColTimesPlayed = 9,
    kColTimePlayed = 10,
    kColDateAdded = 11,
    kColDateReleased = 12,
    kColHasNotes = 13,
    kColMemo = 14,
    kColumnCount
};

const ListColumn kColumns[] = {
    {kColCategory, "", 0, 0x180, -1, "", LVCFMT_LEFT},
    {kColKind, "", 21, 0x2C0, 7, "Music Type / Status", LVCFMT_CENTER},
    {kColArtist, "Artist", 80, 0x24, -1, "Artist Name", LVCFMT_LEFT},
    {kColTitle, "Title", 80, 0x24, -1, "Track Name", LVCFMT_LEFT},
    {kColTrack, "", 30, 0x2A0, 7, "Track", LVCFMT_RIGHT},
    {kColHasImage, "", 21, 0x3E0, 2, "Has Image", LVCFMT_CENTER},
    {kColHasLyrics, "", 21, 0x3E0, 3, "Has Lyrics", LVCFMT_CENTER},
    {kColLastPlayed, "Last Played", 30, 0x420, -1, "Last Played", LVCFMT_LEFT},
    {kColPlayingTime, "", 40, 0x2A0, 4, "Playing Time", LVCFMT_CENTER},
    {kColTimesPlayed, "Times Played", 30, 0x20, -1, "Times Played", LVCFMT_LEFT},
    {kColTimePlayed, "Time Played", 30, 0x20, -1, "Time Played", LVCFMT_LEFT},
    {kColDateAdded, "Date Added", 30, 0x420, -1, "Date Added", LVCFMT_LEFT},
    {kColDateReleased, "Date Released", 30, 0x424, -1, "Date Released", LVCFMT_LEFT},
    {kColHasNotes, "", 21, 0x3E0, 8, "Has Notes", LVCFMT_CENTER},
    {kColMemo, "Memo", 81, 0x24, -1, "Memo", LVCFMT_CENTER},
};
const int kShownColumns[] = {kColCategory,    kColTrack,     kColKind,        kColTitle,    kColArtist,
                             kColPlayingTime, kColHasLyrics, kColTimesPlayed, kColTimePlayed};

const LibraryCell kCells[kColumnCount] = {
    kCellNone,       kCellKind,        kCellArtist,      kCellTitle,     kCellTrackNumber,
    kCellHasImage,   kCellHasLyrics,   kCellLastPlayed,  kCellPlayingTime, kCellTimesPlayed,
    kCellTimePlayed, kCellDateAdded,   kCellDateReleased, kCellHasNotes, kCellMemo,
};

const char kListName[] = "Track List";
const char kCaption[] = "Tracks";

} // namespace

IMPLEMENT_DYNCREATE(CTrackListView, CLibraryListView)

BEGIN_MESSAGE_MAP(CTrackListView, CLibraryListView)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

CTrackListView::CTrackListView()
    : CLibraryListView(kCaption, kListName, kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                       sizeof kShownColumns / sizeof kShownColumns[0], ListStyleChange{0x2006, 0x9, true})
{
}

void CTrackListView::OnInitialUpdate()
{
    m_dropTarget.Register(this);
    ::DragAcceptFiles(m_hWnd, TRUE);
    CLibraryListView::OnInitialUpdate();
}

void CTrackListView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintAll:
        m_album.Clear();
        Fill();
        break;
    case kViewHintSelection:
    case kViewHintShowSelection:
        Fill();
        break;
    default:
        OnSharedHint(sender, hint, hintObject);
        return;
    }
    Repaint();
}

void CTrackListView::Fill()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_list.m_hWnd)
        return;
    m_filling = true;
    CPlayList selection(doc->GetSelectionList());
    if (selection.GetCount() == 0 || !selection.IsSingleDisc())
    {
        m_album.Clear();
        m_list.DeleteAllItems();
        m_list.SetEmptyText(selection.GetCount() == 0 ? "(No Album Selected)" : "(Multiple Albums Selected)");
        m_banner.SetText(kCaption);
    }
    else
    {
        CLibItem first = selection.GetItem(0);
        if (!first.IsSameAlbum(m_album))
            ShowAlbum(first);
        SelectTracks(selection);
    }
    m_filling = false;
}

void CTrackListView::ShowAlbum(const CLibItem& entry)
{
    m_album = entry;
    m_album.SetTrack(kWholeAlbum);
    m_list.SetRedraw(FALSE);
    m_banner.SetText(kCaption);
    AlbumRecord album;
    std::vector<DWORD_PTR> rows;
    if (GetAlbum(album))
    {
        rows.resize(album.GetTrackCount());
        for (int track = 0; track < album.GetTrackCount(); ++track)
            rows[track] = static_cast<DWORD_PTR>(track);
        if (!album.GetTitle(kAlbumIndex).IsEmpty())
            m_banner.SetText("Tracks for " + album.GetTitle(kAlbumIndex));
    }
    m_list.SetRows(rows);
    m_list.SetRedraw(TRUE);
    m_list.ReSort();
    Invalidate(FALSE);
}

void CTrackListView::SelectTracks(const CPlayList& selection)
{
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    int last = -1;
    for (int i = 0; i < selection.GetCount(); ++i)
    {
        int track = selection.GetItem(i).GetTrack();
        int row = track < 0 ? -1 : FindRow(static_cast<DWORD_PTR>(track));
        if (row < 0)
            continue;
        m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        last = row;
    }
    if (last >= 0)
        m_list.EnsureVisible(last, FALSE);
}

bool CTrackListView::GetAlbum(AlbumRecord& album)
{
    CZymDoc* doc = GetDoc();
    return doc && !m_album.GetId().IsEmpty() && m_album.GetAlbumCopy(doc->GetMusicLibrary(), album);
}

bool CTrackListView::IsAudioAlbum()
{
    AlbumFacts facts;
    return GetAlbumFacts(m_album, facts) && facts.storedPlayer >= kMp3Player;
}

void CTrackListView::GetItemText(DWORD_PTR itemData, int columnId, CString& text)
{
    GetOneItemText(itemData, columnId, text);
}

// The shown album is looked up once for all rows.
bool CTrackListView::GetItemTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts)
{
    CZymDoc* doc = GetDoc();
    if (!doc || columnId < kColKind || columnId >= kColumnCount)
        return false;
    CMusicLibrary& library = doc->GetMusicLibrary();
    texts.assign(itemData.size(), CString());
    CLibraryLock lock(library);
    const AlbumRecord* album = m_album.GetAlbum(lock, library);
    for (size_t row = 0; album && row < itemData.size(); ++row)
    {
        int track = static_cast<int>(itemData[row]);
        if (track < album->GetTrackCount())
            texts[row] = LibraryCellText(library, *album, track, kCells[columnId]);
    }
    return true;
}

bool CTrackListView::IsValidItem(DWORD_PTR itemData)
{
    AlbumFacts facts;
    return GetAlbumFacts(m_album, facts) && itemData < static_cast<DWORD_PTR>(facts.trackCount);
}

bool CTrackListView::GetRowItem(int row, CLibItem& item)
{
    if (m_album.GetId().IsEmpty() || row < 0 || row >= m_list.GetItemCount())
        return false;
    item = m_album;
    item.SetTrack(static_cast<int>(m_list.GetItemData(row)));
    return true;
}

bool CTrackListView::GetRowPlayer(DWORD_PTR, int& player)
{
    AlbumFacts facts;
    if (!GetAlbumFacts(m_album, facts))
        return false;
    player = facts.player;
    return true;
}

void CTrackListView::ApplyEdit(DWORD_PTR itemData, int columnId, const CString& text)
{
    int track = static_cast<int>(itemData);
    CMusicLibrary& library = GetDoc()->GetMusicLibrary();
    bool badDate = false;
    {
        CLibraryLock lock(library);
        AlbumRecord* album = m_album.GetAlbum(lock, library);
        if (!album || track < 0 || track >= album->GetTrackCount())
            return;
        switch (columnId)
        {
        case kColArtist:
            album->SetArtist(track, text);
            break;
        case kColTitle:
            album->SetTitle(track, text);
            break;
        case kColDateReleased:
            badDate = !album->SetReleased(track, text);
            break;
        case kColMemo:
            album->SetMemo(track, text);
            break;
        default:
            return;
        }
    }
    EditDone(library, badDate);
}

void CTrackListView::SetSelectedTracksAsItems()
{
    std::vector<int> rows = SelectedRows();
    std::sort(rows.begin(), rows.end(),
              [this](int a, int b) { return m_list.GetItemData(a) < m_list.GetItemData(b); });
    SetCommandItems(rows);
}

void CTrackListView::PrepareContextMenu()
{
    SetSelectedTracksAsItems();
}

void CTrackListView::OnDeleteKey()
{
    if (!IsAudioAlbum())
        return;
    SetSelectedTracksAsItems();
    SendMessage(WM_COMMAND, ID_LIBRARY_DELETE);
}

DROPEFFECT CTrackListView::OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return TextDropEffect(dataObject, keyState, point, IsAudioAlbum());
}

BOOL CTrackListView::OnDrop(COleDataObject* dataObject, DROPEFFECT, CPoint point)
{
    CString text;
    return ReadDroppedText(dataObject, text) && DropTracks(text, DropPosition(point, kAtEnd));
}

bool CTrackListView::DropTracks(const char* text, int position)
{
    CZymDoc* doc = GetDoc();
    AlbumRecord target;
    if (!doc || !GetAlbum(target) || target.GetStoredPlayer() < kMp3Player)
        return false;
    CMusicLibrary& library = doc->GetMusicLibrary();
    std::vector<TrackRecord> copies = CopyDroppedTracks(library, text);
    // The tracks dragged out of this album leave before the copies come in:
    // the copies are new tracks, whatever the effect, so a drag within the
    // list reorders.
    position = std::min(std::max(position, 0), target.GetTrackCount());
    if (IsOwnDrag())
    {
        std::vector<DWORD_PTR> moving = m_dragged;
        std::sort(moving.rbegin(), moving.rend());
        moving.erase(std::unique(moving.begin(), moving.end()), moving.end());
        for (DWORD_PTR track : moving)
        {
            if (track >= static_cast<DWORD_PTR>(target.GetTrackCount()))
                continue;
            target.DeleteTrack(static_cast<int>(track));
            if (static_cast<int>(track) < position)
                --position;
        }
        EndDragOut();
    }
    for (const TrackRecord& copy : copies)
        target.InsertTrack(copy, position++);
    library.StoreAlbum(target);
    doc->UpdateAllViews(NULL, kViewHintAll);
    return true;
}

void CTrackListView::OnDropFiles(HDROP drop)
{
    CPoint point;
    DragQueryPoint(drop, &point);
    DropFiles(drop, DropPosition(point, kAtEnd));
    DragFinish(drop);
}

// In their order: each next file goes behind the one before (taken from the
// last at the end, they landed reversed).
void CTrackListView::DropFiles(HDROP drop, int position)
{
    CZymDoc* doc = GetDoc();
    if (!doc || m_album.GetId().IsEmpty())
        return;
    UINT files = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    CString path;
    for (UINT i = 0; i < files; ++i)
    {
        if (DroppedFilePath(drop, i, path) && CDocAudioFiles(*doc).AddAudioFiles(m_album, path, position) &&
            position != kAtEnd)
            ++position;
    }
    doc->UpdateAllViews(NULL, kViewHintAll);
}
