#include "shell/views/SearchView.h"
#include "core/doc/ZymDoc.h"
#include "library/views/DragText.h"
#include "library/views/DropEntries.h"
#include "shell/views/LibraryCells.h"
#include "library/views/ViewResources.h"
#include "shell/views/ViewsResources.h"

#include <algorithm>
#include <vector>

namespace {

enum SearchColumn
{
    kColCategory = 0,
    kColKind = 1,
    kColArtist = 2,
    kColAlbum = 3,
    kColTitle = 4,
    kColPlayer = 5,
    kColLocation = 6,
    kColHasImage = 7,
    kColHasLyrics = 8,
    kColLastPlayed = 9,
    kColPlayingTime = 10,
    kColTimesPlayed = 11,
    kColTimePlayed = 12,
    kColDateAdded = 13,
    kColDateReleased = 14,
    kColHasNotes = 15,
    kColMemo = 16,
    kColumnCount
};

const ListColumn kColumns[] = {
    {kColCategory, "", 0, 0x180, -1, "", LVCFMT_LEFT},
    {kColKind, "", 21, 0x3E0, 6, "Music Type / Status", LVCFMT_CENTER},
    {kColArtist, "Artist", 80, 0x20, -1, "Artist Name", LVCFMT_LEFT},
    {kColAlbum, "Album", 80, 0x20, -1, "Album Name", LVCFMT_LEFT},
    {kColTitle, "Title", 80, 0x20, -1, "Album Name / Track Title", LVCFMT_LEFT},
    {kColPlayer, "", 21, 0x2A0, 0, "Player", LVCFMT_CENTER},
    {kColLocation, "", 80, 0x220, 0, "Slot / File Location", LVCFMT_CENTER},
    {kColHasImage, "", 21, 0x3E0, 2, "Has Image", LVCFMT_CENTER},
    {kColHasLyrics, "", 21, 0x3E0, 3, "Has Lyrics", LVCFMT_CENTER},
    {kColLastPlayed, "Last Played", 30, 0x420, -1, "Last Played", LVCFMT_LEFT},
    {kColPlayingTime, "", 40, 0x2A0, 4, "Playing Time", LVCFMT_CENTER},
    {kColTimesPlayed, "Times Played", 30, 0x20, -1, "Times Played", LVCFMT_LEFT},
    {kColTimePlayed, "Time Played", 30, 0x20, -1, "Time Played", LVCFMT_LEFT},
    {kColDateAdded, "Date Added", 30, 0x420, -1, "Date Added", LVCFMT_LEFT},
    {kColDateReleased, "Date Released", 30, 0x420, -1, "Date Released", LVCFMT_LEFT},
    {kColHasNotes, "", 21, 0x3E0, 8, "Has Notes", LVCFMT_CENTER},
    {kColMemo, "Memo", 81, 0x20, -1, "Memo", LVCFMT_CENTER},
};
const int kShownColumns[] = {kColCategory, kColKind, kColArtist, kColTitle, kColAlbum, kColPlayingTime, kColLocation};

const LibraryCell kCells[kColumnCount] = {
    kCellNone,         kCellKind,       kCellArtist,       kCellAlbum,      kCellTitle,      kCellPlayer,
    kCellLocation,     kCellHasImage,   kCellHasLyrics,    kCellLastPlayed, kCellPlayingTime, kCellTimesPlayed,
    kCellTimePlayed,   kCellDateAdded,  kCellDateReleased, kCellHasNotes,   kCellMemo,
};

const char kListName[] = "Search List";
// The banner starts below the buttons.
const int kBannerTop = 24;

// The buttons' pictures, in m_pictures' order.
const UINT kPictureIds[] = {IDB_SEARCH_DISCS, IDB_SEARCH_TRACKS, IDB_SEARCH_RUN, IDB_SEARCH_CLEAR};
enum { kPictureDiscs, kPictureTracks, kPictureRun, kPictureClear };

} // namespace

IMPLEMENT_DYNCREATE(CSearchView, CLibraryListView)

BEGIN_MESSAGE_MAP(CSearchView, CLibraryListView)
    ON_BN_CLICKED(IDC_SEARCH_RUN, RunSearch)
    ON_BN_CLICKED(IDC_SEARCH_CLEAR, OnClear)
    ON_BN_CLICKED(IDC_SEARCH_MODE, OnToggleMode)
    ON_WM_DROPFILES()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_SEARCH_PRINT, OnFilePrint)
    ON_COMMAND(ID_SEARCH_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CSearchView::CSearchView()
    : CLibraryListView("Found Tracks", kListName, kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                       sizeof kShownColumns / sizeof kShownColumns[0], ListStyleChange{0x2006, 0x9, true},
                       IDD_SEARCH_FORM)
{
    m_banner.SetOrigin(0, kBannerTop);
}

CPlayList* CSearchView::List()
{
    CZymDoc* doc = GetDoc();
    return doc ? &doc->GetSearchList() : nullptr;
}

int CSearchView::EntryCount()
{
    CPlayList* list = List();
    return list ? list->GetCount() : 0;
}

void CSearchView::DoDataExchange(CDataExchange* dx)
{
    CLibraryListView::DoDataExchange(dx);
    DDX_Text(dx, IDC_SEARCH_EXPRESSION, m_expression);
}

void CSearchView::OnInitialUpdate()
{
    for (int i = 0; i < 4; ++i)
        m_pictures[i].LoadBitmap(kPictureIds[i]);
    SendDlgItemMessage(IDC_SEARCH_RUN, BM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(m_pictures[kPictureRun].m_hObject));
    SendDlgItemMessage(IDC_SEARCH_CLEAR, BM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(m_pictures[kPictureClear].m_hObject));
    ::DragAcceptFiles(m_hWnd, TRUE);
    m_dropTarget.Register(this);
    CLibraryListView::OnInitialUpdate();
    ShowMode();
    Fill();
}

void CSearchView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintSearchList:
        Fill();
        break;
    case kViewHintSearchMode:
        ShowMode();
        LayOutNow();
        break;
    default:
        OnSharedHint(sender, hint, hintObject);
        return;
    }
    Repaint();
}

void CSearchView::ShowMode()
{
    CZymDoc* doc = GetDoc();
    bool discMode = doc && doc->IsDiscSearchMode();
    SendDlgItemMessage(IDC_SEARCH_MODE, BM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(m_pictures[discMode ? kPictureDiscs : kPictureTracks].m_hObject));
    m_banner.SetText(discMode ? "Found Discs" : "Found Tracks");
    Invalidate(FALSE);
}

void CSearchView::Layout(int cx, int cy)
{
    if (!m_list.m_hWnd)
        return;
    int left = m_banner.GetWidth();
    CRect list;
    m_list.GetWindowRect(&list);
    ScreenToClient(&list);
    m_list.MoveWindow(left, list.top, std::max(0, cx - left), std::max(0, cy - list.top));
    CWnd* edit = GetDlgItem(IDC_SEARCH_EXPRESSION);
    CRect rect;
    edit->GetWindowRect(&rect);
    ScreenToClient(&rect);
    edit->MoveWindow(rect.left, rect.top, std::max(0, cx - rect.left), rect.Height());
}

void CSearchView::Fill()
{
    CPlayList* list = List();
    if (!list || !m_list.m_hWnd)
        return;
    int lastVisible = m_list.GetTopIndex() + m_list.GetCountPerPage();
    m_filling = true;
    m_list.SetRedraw(FALSE);
    int count = list->GetCount();
    std::vector<DWORD_PTR> rows(count);
    for (int index = 0; index < count; ++index)
        rows[index] = static_cast<DWORD_PTR>(index);
    m_list.SetRows(rows);
    m_list.SetRedraw(TRUE);
    if (count > 0)
        m_list.EnsureVisible(std::min(lastVisible, count - 1), FALSE);
    m_list.ReSort();
    m_filling = false;
    UpdateCaption();
}

// The list does not fill the form: the strips beside the search controls show
// the form's face (else what the screen held before, the album list when the
// tab changes). The list itself is left out so that it does not flicker.
BOOL CSearchView::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (m_list.m_hWnd)
    {
        CRect list;
        m_list.GetWindowRect(&list);
        ScreenToClient(&list);
        dc->ExcludeClipRect(&list);
    }
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CSearchView::UpdateCaption()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    int rows = m_list.GetItemCount();
    CString caption = "Search";
    if (rows > 0)
        caption.Format("Search (%d matches)", rows);
    frame->SetWindowText(caption);
}

void CSearchView::RunSearch()
{
    UpdateData(TRUE);
    if (CZymDoc* doc = GetDoc())
        doc->Search(m_expression);
}

// Return in the expression searches as the button does.
BOOL CSearchView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
        msg->hwnd == GetDlgItem(IDC_SEARCH_EXPRESSION)->m_hWnd)
    {
        RunSearch();
        return TRUE;
    }
    return CLibraryListView::PreTranslateMessage(msg);
}

void CSearchView::OnClear()
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return;
    doc->ClearSearchList();
    doc->UpdateAllViews(NULL, kViewHintSearchList);
}

// The document owns the mode and tells the views (hint 11).
void CSearchView::OnToggleMode()
{
    if (CZymDoc* doc = GetDoc())
        doc->ToggleSearchMode();
}

void CSearchView::GetItemText(DWORD_PTR itemData, int columnId, CString& text)
{
    GetOneItemText(itemData, columnId, text);
}

// The entries are copied before the library is locked: the search list's
// lock is never taken inside the library's.
bool CSearchView::GetItemTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts)
{
    CZymDoc* doc = GetDoc();
    if (!doc || columnId < kColKind || columnId >= kColumnCount)
        return false;
    std::vector<CLibItem> items;
    items.reserve(itemData.size());
    for (DWORD_PTR entry : itemData)
        items.push_back(doc->GetSearchList().GetItem(static_cast<int>(entry)));
    CMusicLibrary& library = doc->GetMusicLibrary();
    texts.assign(itemData.size(), CString());
    CLibraryLock lock(library);
    for (size_t row = 0; row < items.size(); ++row)
    {
        if (const AlbumRecord* album = items[row].GetAlbum(lock, library))
            texts[row] = LibraryCellText(library, *album, items[row].GetTrack(), kCells[columnId]);
    }
    return true;
}

bool CSearchView::IsValidItem(DWORD_PTR itemData)
{
    CPlayList* list = List();
    return list && itemData < static_cast<DWORD_PTR>(list->GetCount());
}

bool CSearchView::GetRowItem(int row, CLibItem& item)
{
    if (row < 0 || row >= m_list.GetItemCount() || !IsValidItem(m_list.GetItemData(row)))
        return false;
    item = List()->GetItem(static_cast<int>(m_list.GetItemData(row)));
    return true;
}

bool CSearchView::GetRowPlayer(DWORD_PTR itemData, int& player)
{
    AlbumFacts facts;
    CLibItem item = GetDoc()->GetSearchList().GetItem(static_cast<int>(itemData));
    if (!GetAlbumFacts(item, facts))
        return false;
    player = facts.player;
    return true;
}

// The selected entries go in one pass, from the last.
void CSearchView::OnDeleteKey()
{
    CPlayList* list = List();
    if (!list)
        return;
    std::vector<int> entries;
    for (int row : SelectedRows())
        entries.push_back(static_cast<int>(m_list.GetItemData(row)));
    std::sort(entries.rbegin(), entries.rend());
    for (int entry : entries)
        list->RemoveAt(entry);
    Fill();
}

DROPEFFECT CSearchView::OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return TextDropEffect(dataObject, keyState, point, true);
}

BOOL CSearchView::OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point)
{
    CString text;
    return ReadDroppedText(dataObject, text) &&
           DropText(text, DropPosition(point, EntryCount()), dropEffect == DROPEFFECT_MOVE);
}

// A move within the view takes the originals away (they doubled before).
bool CSearchView::DropText(const char* text, int position, bool move)
{
    CPlayList* list = List();
    if (!list)
        return false;
    std::vector<int> moved;
    int pointerInDrag = -1;
    for (DWORD_PTR entry : m_dragged)
    {
        if (static_cast<int>(entry) == list->GetPointer())
            pointerInDrag = static_cast<int>(moved.size());
        moved.push_back(static_cast<int>(entry));
    }
    bool ownMove = move && IsOwnDrag();
    int count = DropEntries(*list, text, position, ownMove ? &moved : nullptr, pointerInDrag);
    if (IsOwnDrag())
        EndDragOut();
    Fill();
    return count > 0;
}

void CSearchView::OnDropFiles(HDROP drop)
{
    CPoint point;
    DragQueryPoint(drop, &point);
    DropFiles(drop, DropPosition(point, EntryCount()));
    DragFinish(drop);
}

// In their order: each file's entries go behind the ones before.
void CSearchView::DropFiles(HDROP drop, int position)
{
    CPlayList* list = List();
    if (!list)
        return;
    UINT files = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    CString path;
    for (UINT i = 0; i < files; ++i)
    {
        if (!DroppedFilePath(drop, i, path))
            continue;
        int before = list->GetCount();
        list->LoadFromFile(path, position);
        position += list->GetCount() - before;
    }
    Fill();
}
