#include "library/views/PlayListView.h"
#include "library/views/DragText.h"
#include "library/views/DropEntries.h"
#include "library/views/ViewResources.h"

#include <shellapi.h>

#include <algorithm>

namespace {

enum PlayListColumn
{
    kColHidden = 0,
    kColPlayback = 1,
    kColType = 2,
    kColArtist = 3,
    kColAlbum = 4,
    kColTitle = 5,
    kColPlayer = 6,
    kColSlot = 7,
    kColHasImage = 8,
    kColHasLyrics = 9,
    kColLastPlayed = 10,
    kColPlayingTime = 11,
    kColTimesPlayed = 12,
    kColTimePlayed = 13,
    kColDateAdded = 14,
    kColDateReleased = 15,
    kColHasNotes = 16,
    kColMemo = 17,
};

const ListColumn kColumns[] = {
    {kColHidden, "", 0, kLxColFixedWidth, -1, ""},
    {kColPlayback, "", 21, kLxColImage, 0, "Playback Status"},
    {kColType, "", 21, kLxColImage, 1, "Music Type / Status"},
    {kColArtist, "Artist", 80, 0, -1, "Artist Name"},
    {kColAlbum, "Album", 80, 0, -1, "Album Name"},
    {kColTitle, "Title", 80, 0, -1, "Album Name / Track Title"},
    {kColPlayer, "", 21, 0, 5, "Player"},
    {kColSlot, "", 80, 0, 6, "Slot / File Location"},
    {kColHasImage, "", 21, kLxColImage, 2, "Has Image"},
    {kColHasLyrics, "", 21, kLxColImage, 3, "Has Lyrics"},
    {kColLastPlayed, "Last Played", 30, 0, -1, "Last Played"},
    {kColPlayingTime, "", 40, 0, 7, "Playing Time"},
    {kColTimesPlayed, "Times Played", 30, 0, -1, "Times Played"},
    {kColTimePlayed, "Time Played", 30, 0, -1, "Time Played"},
    {kColDateAdded, "Date Added", 30, 0, -1, "Date Added"},
    {kColDateReleased, "Date Released", 30, 0, -1, "Date Released"},
    {kColHasNotes, "", 21, kLxColImage, 4, "Has Notes"},
    {kColMemo, "Memo", 81, 0, -1, "Memo"},
};
const int kShownColumns[] = {kColHidden, kColPlayback, kColType, kColArtist, kColTitle, kColAlbum,
                             kColPlayingTime, kColSlot};

// Cell pictures.
enum
{
    kImageCdAlbum = 0,
    kImageAlbum = 1,
    kImageMp3Album = 2,
    kImageHasImage = 3,
    kImageHasLyrics = 4,
    kImageMp3Track = 5,
    kImageCdTrack = 6,
    kImageTrack = 7,
    kImagePlaying = 8,
    kImageStopped = 9,
    kImagePaused = 10,
    kImageHasNotes = 11,
};

const char kListName[] = "Play List";
const char kEmptyText[] = "Drag-and-Drop Albums,\nTracks, and Playlists here.";
// Page margins of a printed play list: left, top, right, bottom.
const RECT kPrintMargins = {15, 10, 10, 10};

CString ImageText(int image)
{
    CString text;
    text.Format("%d", image);
    return text;
}

int TypeImage(const AlbumRecord& album, bool wholeAlbum)
{
    if (album.GetStoredPlayer() == kMp3Player)
        return wholeAlbum ? kImageMp3Album : kImageMp3Track;
    if (album.IsInPlayer())
        return wholeAlbum ? kImageCdAlbum : kImageCdTrack;
    return wholeAlbum ? kImageAlbum : kImageTrack;
}

int PlayStateImage(const CPlayList& list)
{
    if (list.IsPlaying())
        return kImagePlaying;
    return list.IsPaused() ? kImagePaused : kImageStopped;
}

CString AlbumCellText(const AlbumRecord& album, int track, int columnId)
{
    switch (columnId)
    {
    case kColType:
        return ImageText(TypeImage(album, track < 0));
    case kColArtist:
        return album.GetArtist(track);
    case kColAlbum:
        return album.GetTitle(kAlbumIndex);
    case kColTitle:
        return album.GetTitle(track);
    case kColPlayer:
        return album.GetPlayerText();
    case kColSlot:
        if (album.GetStoredPlayer() == kMp3Player && track >= 0)
            return album.GetFileLocation(track);
        return ImageText(album.GetSlot());
    case kColHasImage:
        return album.HasImage(kAlbumIndex) ? ImageText(kImageHasImage) : CString();
    case kColHasLyrics:
        return album.HasLyrics(track) ? ImageText(kImageHasLyrics) : CString();
    case kColLastPlayed:
        return album.GetLastPlayedText(track);
    case kColPlayingTime:
        return album.GetPlayTimeText(track);
    case kColTimesPlayed:
        return album.GetTimesPlayedText(track);
    case kColTimePlayed:
        return album.GetTimePlayedText(track);
    case kColDateAdded:
        return album.GetAddedText(track);
    case kColDateReleased:
        return album.GetReleasedText(track);
    case kColHasNotes:
        return album.HasNotes(track) ? ImageText(kImageHasNotes) : CString();
    case kColMemo:
        return album.GetMemo(track);
    }
    return CString();
}

// The drag running from one of the views.
CPlayListView* g_dragSource = nullptr;

} // namespace

IMPLEMENT_DYNCREATE(CPlayListView, CListFormView)

BEGIN_MESSAGE_MAP(CPlayListView, CListFormView)
    ON_COMMAND(ID_PLAYLIST_DELETE, OnPlaylistDelete)
    ON_COMMAND(ID_PLAYLIST_EXPLODE, OnPlaylistExplode)
    ON_COMMAND(ID_PLAYLIST_CONDENSE, OnPlaylistCondense)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_DELETE, OnUpdateDelete)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_EXPLODE, OnUpdateExplode)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_CONDENSE, OnUpdateCondense)
    ON_NOTIFY(NM_DBLCLK, IDC_LIST, OnDblClk)
    ON_WM_RBUTTONUP()
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnItemChanged)
    ON_NOTIFY(LVN_ODSTATECHANGED, IDC_LIST, OnStateRangeChanged)
    ON_MESSAGE(WM_PLAYLIST_SELECTION, OnSelectionChanged)
    ON_WM_DROPFILES()
    ON_NOTIFY(LVN_BEGINDRAG, IDC_LIST, OnBeginDrag)
    ON_COMMAND(ID_PLAYLIST_PRINT, OnFilePrint)
    ON_COMMAND(ID_PLAYLIST_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CPlayListView::CPlayListView()
    : CListFormView("Playlist", kListName, kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                    sizeof kShownColumns / sizeof kShownColumns[0])
{
}

void CPlayListView::OnInitialUpdate()
{
    CViewsHost* host = Host();
    if (host && !m_playList)
        m_playList = host->GetLastPlayList();
    m_list.m_pfnRequestHandler = static_cast<LxRequestHandler>(&CPlayListView::OnCellLook);
    m_list.ModifyLxStyle(0, kLxStyleAskCells | kLxStyleAskRowOnly, 0);
    m_list.SetEmptyText(kEmptyText);
    CListFormView::OnInitialUpdate();
    ::DragAcceptFiles(m_hWnd, TRUE);
    m_dropTarget.Register(this);
    Refresh();
}

void CPlayListView::GetCellText(int row, int columnId, CString& text)
{
    if (!m_playList)
        return;
    if (columnId == kColPlayback)
    {
        if (row == m_playList->GetPointer())
            text = ImageText(PlayStateImage(*m_playList));
        return;
    }
    CLibItem item = m_playList->GetItem(row);
    CMusicLibrary& library = m_playList->GetLibrary();
    CLibraryLock lock(library);
    AlbumRecord* album = item.GetAlbum(lock, library);
    if (album)
        text = AlbumCellText(*album, item.GetTrack(), columnId);
}

// Rows take their album's player colours when the option asks for them.
BOOL CPlayListView::OnCellLook(CLxListRequest& request)
{
    CViewsHost* host = Host();
    if (request.m_code != kLxRequestCell || !m_playList || !host || !host->UsePlayerColors())
        return FALSE;
    CLibItem item = m_playList->GetItem(request.m_row);
    int player = kNoPlayer;
    {
        CMusicLibrary& library = m_playList->GetLibrary();
        CLibraryLock lock(library);
        AlbumRecord* album = item.GetAlbum(lock, library);
        if (album)
            player = album->GetPlayer();
    }
    host->GetPlayerColors(player, request.m_textColor, request.m_bkColor);
    request.m_answer = kLxAnswerTextColor | kLxAnswerBkColor;
    return TRUE;
}

void CPlayListView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    CViewsHost* host = Host();
    switch (hint)
    {
    case kViewHintAll:
        ShowPointer();
        m_list.Invalidate();
        break;
    case kViewHintPlaylist:
        Refresh();
        break;
    case kViewHintPlayingList:
        if (host && host->IsPlayingList(m_playList))
        {
            ShowPointer();
            m_list.Invalidate();
        }
        break;
    default:
        CListFormView::OnUpdate(sender, hint, hintObject);
    }
}

void CPlayListView::Refresh()
{
    if (!m_playList || !m_list.m_hWnd)
        return;
    m_list.SendMessage(LVM_SETITEMCOUNT, m_playList->GetCount(), LVSICF_NOSCROLL);
    UpdateFrame();
    ShowPointer();
    m_list.Invalidate();
}

void CPlayListView::ShowPointer()
{
    if (m_playList && m_playList->GetCount() > 0)
        m_list.EnsureVisible(m_playList->GetPointer(), FALSE);
}

// The frame's icon shows the play state, its title the list's file and length.
void CPlayListView::UpdateFrame()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    UINT icon = m_playList->IsPlaying() ? IDI_PLAYING : m_playList->IsPaused() ? IDI_PAUSED : IDI_STOPPED;
    frame->SetIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(icon)
                               : ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon)),
                   FALSE);
    int seconds = m_playList->GetTotalTime();
    CString title = "Play List";
    if (seconds != 0)
    {
        const CString& path = m_playList->GetFileName();
        CString name = path.Mid(path.ReverseFind('\\') + 1);
        if (path.IsEmpty())
            title.Format("Play List [%d:%02d]", seconds / 60, seconds % 60);
        else
            title.Format("Play List - %s [%d:%02d]", static_cast<LPCSTR>(name), seconds / 60, seconds % 60);
    }
    frame->SetWindowText(title);
}

std::vector<int> CPlayListView::SelectedRows()
{
    std::vector<int> rows;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

std::vector<int> CPlayListView::RowsToChange()
{
    std::vector<int> rows = SelectedRows();
    if (rows.empty() && m_playList && m_playList->GetPointer() < m_playList->GetCount())
        rows.push_back(m_playList->GetPointer());
    return rows;
}

bool CPlayListView::AnyWholeAlbum(bool wholeAlbum)
{
    for (int row : RowsToChange())
    {
        if (m_playList->GetItem(row).IsWholeAlbum() == wholeAlbum)
            return true;
    }
    return false;
}

void CPlayListView::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        m_playList->RemoveAt(row);
}

void CPlayListView::OnPlaylistDelete()
{
    if (!m_playList)
        return;
    RemoveRows(SelectedRows());
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    Refresh();
}

void CPlayListView::OnPlaylistExplode()
{
    if (!m_playList)
        return;
    std::vector<int> rows = RowsToChange();
    // From the last, so that the rows before stay where they are.
    std::sort(rows.rbegin(), rows.rend());
    CLibItem current = m_playList->GetCurrentItem();
    for (int row : rows)
        m_playList->Explode(row, current);
    Refresh();
}

void CPlayListView::OnPlaylistCondense()
{
    if (!m_playList)
        return;
    std::vector<int> rows = RowsToChange();
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        m_playList->Condense(row);
    Refresh();
}

void CPlayListView::OnUpdateDelete(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_playList && m_list.GetSelectedCount() > 0);
}

void CPlayListView::OnUpdateExplode(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_playList && AnyWholeAlbum(true));
}

void CPlayListView::OnUpdateCondense(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_playList && AnyWholeAlbum(false));
}

void CPlayListView::OnDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    CViewsHost* host = Host();
    CPoint point;
    ::GetCursorPos(&point);
    m_list.ScreenToClient(&point);
    int row = m_list.HitTest(point);
    if (!host || !m_playList || row < 0)
        return;
    if (!host->IsPlayingList(m_playList))
    {
        m_playList->SetPointer(row);
        host->SetPlayingList(m_playList);
        host->PlayPlayingList();
    }
    else if (row == m_playList->GetPointer() && !m_playList->IsStopped())
    {
        if (m_playList->IsPlaying())
            m_playList->SetPaused();
        else
            m_playList->SetPlaying();
    }
    else
    {
        m_playList->SetPointer(row);
        m_playList->SetPlaying();
    }
    Refresh();
}

// The list asks for the menu by right click and by key alike, at a point of
// its client area.
void CPlayListView::OnRButtonUp(UINT, CPoint listPoint)
{
    m_list.ClientToScreen(&listPoint);
    TrackMenu(IDR_PLAYLIST_MENU, listPoint, this);
}

void CPlayListView::OnItemChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & (LVIS_SELECTED | LVIS_FOCUSED)))
        PostSelectionChange();
}

// A virtual list reports a range of rows changing at once.
void CPlayListView::OnStateRangeChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    if (reinterpret_cast<NMLVODSTATECHANGE*>(header)->uNewState & (LVIS_SELECTED | LVIS_FOCUSED))
        PostSelectionChange();
}

void CPlayListView::PostSelectionChange()
{
    if (m_selectionPosted)
        return;
    m_selectionPosted = true;
    PostMessage(WM_PLAYLIST_SELECTION);
}

LRESULT CPlayListView::OnSelectionChanged(WPARAM, LPARAM)
{
    m_selectionPosted = false;
    CViewsHost* host = Host();
    if (!host || !m_playList)
        return 0;
    CPlayList& selection = host->GetSelectionList();
    selection.Clear();
    for (int row : SelectedRows())
        selection.AddItem(m_playList->GetItem(row));
    GetDocument()->UpdateAllViews(this, kViewHintSelection);
    return 0;
}

CString CPlayListView::BeginDragOut()
{
    m_dragged = SelectedRows();
    m_pointerInDrag = -1;
    CString text;
    for (size_t k = 0; k < m_dragged.size(); ++k)
    {
        if (m_dragged[k] == m_playList->GetPointer())
            m_pointerInDrag = static_cast<int>(k);
        if (k > 0)
            text += "\n";
        text += m_playList->GetItem(m_dragged[k]).Format();
    }
    g_dragSource = this;
    return text;
}

void CPlayListView::EndDragOut()
{
    m_dragged.clear();
    m_pointerInDrag = -1;
    if (g_dragSource == this)
        g_dragSource = nullptr;
}

int CPlayListView::DropPosition(CPoint point)
{
    int count = m_playList ? m_playList->GetCount() : 0;
    int row = m_list.HitTest(point);
    if (row >= 0)
        return row;
    if (count == 0)
        return 0;
    CRect first;
    m_list.GetItemRect(m_list.GetTopIndex(), &first, LVIR_BOUNDS);
    return point.y < first.top && m_list.GetTopIndex() == 0 ? 0 : count;
}

bool CPlayListView::DropText(const char* text, int position, bool move)
{
    if (!m_playList)
        return false;
    bool ownMove = move && g_dragSource == this;
    int count = DropEntries(*m_playList, text, position, ownMove ? &m_dragged : nullptr, m_pointerInDrag);
    if (g_dragSource == this)
        EndDragOut();
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    Refresh();
    return count > 0;
}

void CPlayListView::DropFiles(HDROP drop, int position)
{
    if (!m_playList)
        return;
    UINT files = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < files; ++i)
    {
        CString path;
        if (!DroppedFilePath(drop, i, path))
            continue;
        int before = m_playList->GetCount();
        m_playList->LoadFromFile(path, position);
        position += m_playList->GetCount() - before;
    }
    Refresh();
}

void CPlayListView::OnDropFiles(HDROP drop)
{
    CPoint point;
    DragQueryPoint(drop, &point);
    DropFiles(drop, DropPositionInView(point));
    DragFinish(drop);
}

void CPlayListView::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    m_list.m_printTitle = "Playlist - " + (m_playList ? m_playList->GetFileName() : CString());
    m_list.m_printMargins = kPrintMargins;
    m_list.m_printOptions |= kLxPrintTitle;
    m_list.OnBeginPrinting(dc, info);
}

void CPlayListView::OnPrint(CDC* dc, CPrintInfo* info)
{
    m_list.OnPrint(dc, info);
}

void CPlayListView::OnEndPrinting(CDC* dc, CPrintInfo* info)
{
    m_list.OnEndPrinting(dc, info);
}

// The selected entries leave as text; the drop target decides what a move
// does (inside this list it moves them, elsewhere it copies them).
void CPlayListView::OnBeginDrag(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (!m_playList || m_list.GetSelectedCount() == 0)
        return;
    DragTextOut(BeginDragOut(), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EndDragOut();
    Refresh();
}

DROPEFFECT CPlayListView::OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return OnDragOver(dataObject, keyState, point);
}

DROPEFFECT CPlayListView::OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    if (dataObject->IsDataAvailable(CF_HDROP))
        return DROPEFFECT_COPY;
    if (!dataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    ScrollNearEdges(point);
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

int CPlayListView::DropPositionInView(CPoint point)
{
    MapWindowPoints(&m_list, &point, 1);
    return DropPosition(point);
}

BOOL CPlayListView::OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point)
{
    if (HGLOBAL files = dataObject->GetGlobalData(CF_HDROP))
    {
        DropFiles(static_cast<HDROP>(files), DropPositionInView(point));
        GlobalFree(files);
        return TRUE;
    }
    CString text;
    if (!ReadDroppedText(dataObject, text))
        return FALSE;
    return DropText(text, DropPositionInView(point), dropEffect == DROPEFFECT_MOVE);
}
