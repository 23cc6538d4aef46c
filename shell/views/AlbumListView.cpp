#include "shell/views/AlbumListView.h"
#include "core/doc/DocAudioFiles.h"
#include "core/doc/ZymDoc.h"
#include "library/views/DragText.h"
#include "shell/views/LibraryCells.h"
#include "library/views/ViewResources.h"
#include "shell/views/ViewsResources.h"

#include <algorithm>
#include <vector>

namespace {

enum AlbumColumn
{
    kColCategory = 0,
    kColKind = 1,
    kColArtist = 2,
    kColAlbum = 3,
    kColPlayer = 4,
    kColLocation = 5,
    kColHasImage = 6,
    kColHasLyrics = 7,
    kColLastPlayed = 8,
    kColPlayingTime = 9,
    kColTimesPlayed = 10,
    kColTimePlayed = 11,
    kColDateAdded = 12,
    kColDateReleased = 13,
    kColHasNotes = 14,
    kColAlbumId = 15,
    kColSonyId = 16,
    kColExactId = 17,
    kColCddbId = 18,
    kColMemo = 19,
    kColumnCount
};

// Header images are given only to the columns that show one.
const ListColumn kColumns[] = {
    {kColCategory, "", 0, 0x180, -1, "", LVCFMT_LEFT},
    {kColKind, "", 21, 0x3C0, 1, "Music Type / Status", LVCFMT_CENTER},
    {kColArtist, "Artist", 80, 0x24, -1, "Artist Name", LVCFMT_LEFT},
    {kColAlbum, "Album", 80, 0x24, -1, "Album Name", LVCFMT_LEFT},
    {kColPlayer, "", 21, 0x2A0, 0, "Player", LVCFMT_CENTER},
    {kColLocation, "", 80, 0x220, 0, "Slot / File Location", LVCFMT_CENTER},
    {kColHasImage, "", 21, 0x3E0, 2, "Has Image", LVCFMT_CENTER},
    {kColHasLyrics, "", 21, 0x3E0, 3, "Has Lyrics", LVCFMT_CENTER},
    {kColLastPlayed, "Last Played", 30, 0x420, -1, "Last Played", LVCFMT_LEFT},
    {kColPlayingTime, "", 40, 0x2A0, 4, "Playing Time", LVCFMT_CENTER},
    {kColTimesPlayed, "Times Played", 30, 0x20, -1, "Times Played", LVCFMT_LEFT},
    {kColTimePlayed, "Time Played", 30, 0x20, -1, "Time Played", LVCFMT_LEFT},
    {kColDateAdded, "Date Added", 30, 0x420, -1, "Date Added", LVCFMT_LEFT},
    {kColDateReleased, "Date Released", 30, 0x424, -1, "Date Released", LVCFMT_LEFT},
    {kColHasNotes, "", 21, 0x3E0, 8, "Has Notes", LVCFMT_CENTER},
    {kColAlbumId, "ZYM ID", 81, 0x20, -1, "ZYM ID", LVCFMT_CENTER},
    {kColSonyId, "Sony ID", 81, 0x20, -1, "Sony ID", LVCFMT_CENTER},
    {kColExactId, "Exact ID", 81, 0x20, -1, "Exact ID", LVCFMT_CENTER},
    {kColCddbId, "CDDB ID", 81, 0x20, -1, "CDDB ID", LVCFMT_CENTER},
    {kColMemo, "Memo", 81, 0x24, -1, "Memo", LVCFMT_CENTER},
};
const int kShownColumns[] = {kColCategory, kColKind,        kColArtist,     kColAlbum,     kColLocation,
                             kColHasImage, kColPlayingTime, kColTimesPlayed, kColDateAdded, kColDateReleased};

// The cell of each column id.
const LibraryCell kCells[kColumnCount] = {
    kCellNone,         kCellKind,        kCellArtist,      kCellAlbum,      kCellPlayer,
    kCellLocation,     kCellHasImage,    kCellHasLyrics,   kCellLastPlayed, kCellPlayingTime,
    kCellTimesPlayed,  kCellTimePlayed,  kCellDateAdded,   kCellDateReleased, kCellHasNotes,
    kCellAlbumId,      kCellSonyId,      kCellExactId,     kCellCddbId,     kCellMemo,
};

const char kListName[] = "Album List";
// Track position of a dropped audio file: the album's end.
const int kAtEnd = 99999;

} // namespace

IMPLEMENT_DYNCREATE(CAlbumListView, CLibraryListView)

BEGIN_MESSAGE_MAP(CAlbumListView, CLibraryListView)
    ON_WM_DROPFILES()
    ON_COMMAND(ID_LIBRARY_PRINT, OnFilePrint)
    ON_COMMAND(ID_LIBRARY_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CAlbumListView::CAlbumListView()
    : CLibraryListView("Albums", kListName, kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                       sizeof kShownColumns / sizeof kShownColumns[0], ListStyleChange{0x2006, 0x9, true})
{
}

void CAlbumListView::OnInitialUpdate()
{
    m_dropTarget.Register(this);
    ::DragAcceptFiles(m_hWnd, TRUE);
    CLibraryListView::OnInitialUpdate();
}

void CAlbumListView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintAll:
    case kViewHintLibraryRows:
        Fill(false);
        Reselect();
        break;
    case kViewHintSelection:
    case kViewHintShowSelection:
        Reselect();
        break;
    case kViewHintTakeSelection:
        CopySelection();
        break;
    case kViewHintSelectFirst:
        if (m_list.GetItemCount() > 0)
        {
            m_filling = true;
            m_list.SetItemState(-1, 0, LVIS_SELECTED);
            m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_filling = false;
            m_selectionPending = true;
            OnSelectionMessage(0, 0);
        }
        break;
    default:
        OnSharedHint(sender, hint, hintObject);
        return;
    }
    Repaint();
}

bool CAlbumListView::IsShown(CMusicLibrary& library, const AlbumRecord& album)
{
    if (album.IsGone())
        return false;
    CZymDoc* doc = GetDoc();
    return !(doc && doc->GetOptions().m_page2.m_hideDiscs) || library.IsAlbumPlayable(album);
}

void CAlbumListView::Fill(bool reselect)
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_list.m_hWnd)
        return;
    CMusicLibrary& library = doc->GetMusicLibrary();
    if (library.IsLoading())
        return;
    int firstSelected = m_list.GetNextItem(-1, LVNI_SELECTED);
    m_filling = true;
    m_list.SetRedraw(FALSE);
    std::vector<DWORD_PTR> rows;
    {
        CLibraryLock lock(library);
        int count = library.GetAlbumCount();
        rows.reserve(count);
        for (int index = 0; index < count; ++index)
        {
            const AlbumRecord* album = library.GetAlbumPtr(lock, index);
            if (album && IsShown(library, *album))
                rows.push_back(static_cast<DWORD_PTR>(index));
        }
    }
    m_list.SetRows(rows);
    m_list.SetRedraw(TRUE);
    m_list.ReSort();
    int show = -1;
    if (reselect)
    {
        Reselect();
        CPlayList& selection = doc->GetSelectionList();
        if (selection.GetCount() > 0)
            show = FindRow(static_cast<DWORD_PTR>(selection.GetItem(0).GetAlbumIndex()));
    }
    else if (m_list.GetItemCount() > 0)
    {
        show = std::max(firstSelected, 0);
        show = std::min(show, m_list.GetItemCount() - 1);
        m_list.SetItemState(show, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    if (show >= 0)
        m_list.EnsureVisible(std::min(show, m_list.GetItemCount() - 1), FALSE);
    m_filling = false;
    UpdateCaption();
}

void CAlbumListView::Reselect()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_list.m_hWnd || doc->GetMusicLibrary().IsLoading())
        return;
    m_filling = true;
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    CPlayList selection(doc->GetSelectionList());
    CMusicLibrary& library = doc->GetMusicLibrary();
    int last = -1;
    {
        CLibraryLock lock(library);
        for (int i = 0; i < selection.GetCount(); ++i)
        {
            CLibItem item = selection.GetItem(i);
            if (!item.GetAlbum(lock, library))
                continue;
            int row = FindRow(static_cast<DWORD_PTR>(item.GetAlbumIndex()));
            if (row < 0)
                continue;
            m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            last = row;
        }
    }
    if (last >= 0)
        m_list.EnsureVisible(last, FALSE);
    m_filling = false;
}

void CAlbumListView::UpdateCaption()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    int rows = m_list.GetItemCount();
    CString caption = "Library";
    if (rows > 0)
        caption.Format("Library (%d items)", rows);
    frame->SetWindowText(caption);
}

void CAlbumListView::GetItemText(DWORD_PTR itemData, int columnId, CString& text)
{
    GetOneItemText(itemData, columnId, text);
}

bool CAlbumListView::GetItemTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts)
{
    CZymDoc* doc = GetDoc();
    if (!doc || columnId < kColKind || columnId >= kColumnCount)
        return false;
    CMusicLibrary& library = doc->GetMusicLibrary();
    texts.assign(itemData.size(), CString());
    CLibraryLock lock(library);
    for (size_t row = 0; row < itemData.size(); ++row)
    {
        if (const AlbumRecord* album = library.GetAlbumPtr(lock, static_cast<int>(itemData[row])))
            texts[row] = LibraryCellText(library, *album, kAlbumIndex, kCells[columnId]);
    }
    return true;
}

bool CAlbumListView::IsValidItem(DWORD_PTR itemData)
{
    CZymDoc* doc = GetDoc();
    return doc && itemData < static_cast<DWORD_PTR>(doc->GetMusicLibrary().GetAlbumCount());
}

bool CAlbumListView::GetRowItem(int row, CLibItem& item)
{
    CZymDoc* doc = GetDoc();
    if (!doc || row < 0 || row >= m_list.GetItemCount())
        return false;
    return item.SetAlbumIndex(doc->GetMusicLibrary(), static_cast<int>(m_list.GetItemData(row)));
}

bool CAlbumListView::GetRowPlayer(DWORD_PTR itemData, int& player)
{
    AlbumFacts facts;
    if (!FactsOfIndex(itemData, facts))
        return false;
    player = facts.player;
    return true;
}

bool CAlbumListView::FactsOfIndex(DWORD_PTR itemData, AlbumFacts& facts)
{
    CLibItem item;
    return GetDoc() && item.SetAlbumIndex(GetDoc()->GetMusicLibrary(), static_cast<int>(itemData)) &&
           GetAlbumFacts(item, facts);
}

void CAlbumListView::ApplyEdit(DWORD_PTR itemData, int columnId, const CString& text)
{
    CMusicLibrary& library = GetDoc()->GetMusicLibrary();
    bool badDate = false;
    {
        CLibraryLock lock(library);
        AlbumRecord* album = library.GetAlbumPtr(lock, static_cast<int>(itemData));
        if (!album)
            return;
        switch (columnId)
        {
        case kColArtist:
            album->SetArtist(kAlbumIndex, text);
            break;
        case kColAlbum:
            album->SetTitle(kAlbumIndex, text);
            break;
        case kColDateReleased:
            badDate = !album->SetReleased(kAlbumIndex, text);
            break;
        case kColMemo:
            album->SetMemo(kAlbumIndex, text);
            break;
        default:
            return;
        }
    }
    EditDone(library, badDate);
}

void CAlbumListView::OnDeleteKey()
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return;
    SetCommandItems(SelectedRows());
    SendMessage(WM_COMMAND, ID_LIBRARY_DELETE);
    UpdateCaption();
}

bool CAlbumListView::IsAudioAlbumRow(int row)
{
    AlbumFacts facts;
    return row >= 0 && FactsOfIndex(m_list.GetItemData(row), facts) && facts.storedPlayer >= kMp3Player;
}

DROPEFFECT CAlbumListView::OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return TextDropEffect(dataObject, keyState, point, IsAudioAlbumRow(RowAt(point)));
}

BOOL CAlbumListView::OnDrop(COleDataObject* dataObject, DROPEFFECT, CPoint point)
{
    CString text;
    return ReadDroppedText(dataObject, text) && DropTracks(RowAt(point), text);
}

bool CAlbumListView::DropTracks(int row, const char* text)
{
    CZymDoc* doc = GetDoc();
    if (!doc || !IsAudioAlbumRow(row))
        return false;
    CMusicLibrary& library = doc->GetMusicLibrary();
    AlbumRecord target;
    if (!library.GetAlbumAt(static_cast<int>(m_list.GetItemData(row)), target))
        return false;
    // Every dropped track is copied before the album changes, so that tracks
    // of the target itself come in as they were.
    std::vector<TrackRecord> tracks = CopyDroppedTracks(library, text);
    for (const TrackRecord& track : tracks)
        target.InsertTrack(track, target.GetTrackCount());
    library.StoreAlbum(target);
    Fill(true);
    return true;
}

void CAlbumListView::OnDropFiles(HDROP drop)
{
    CPoint point;
    DragQueryPoint(drop, &point);
    DropFiles(drop, RowAt(point));
    DragFinish(drop);
}

void CAlbumListView::DropFiles(HDROP drop, int row)
{
    CZymDoc* doc = GetDoc();
    CLibItem target;
    if (!doc || !GetRowItem(row, target))
        return;
    UINT files = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    CString path;
    for (UINT i = 0; i < files; ++i)
    {
        if (DroppedFilePath(drop, i, path))
            CDocAudioFiles(*doc).AddAudioFiles(target, path, kAtEnd);
    }
    doc->UpdateAllViews(NULL, kViewHintAll);
}
