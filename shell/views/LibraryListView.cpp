#include "shell/views/LibraryListView.h"
#include "core/doc/ZymDoc.h"
#include "library/views/DragText.h"
#include "library/views/ViewResources.h"
#include "shell/views/ViewsResources.h"

#include <commctrl.h>

namespace {

// The view whose rows a running drag carries.
CLibraryListView* g_dragSource = nullptr;

// A right click this close to the list's top is on its header.
const int kHeaderZone = 16;
// Page margins of a printed list in millimetres: left, top, right, bottom.
const RECT kPrintMargins = {15, 10, 10, 10};
const DWORD kPrintFlags = 31;

} // namespace

IMPLEMENT_DYNAMIC(CLibraryListView, CListFormView)

BEGIN_MESSAGE_MAP(CLibraryListView, CListFormView)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnItemChanged)
    ON_NOTIFY(LVN_ODSTATECHANGED, IDC_LIST, OnStateRangeChanged)
    ON_NOTIFY(LVN_BEGINDRAG, IDC_LIST, OnBeginDrag)
    ON_MESSAGE(WM_VIEW_SELECTION, OnSelectionMessage)
END_MESSAGE_MAP()

CLibraryListView::CLibraryListView(const char* caption, const char* listName, const ListColumn* columns,
                                   int columnCount, const int* shownIds, int shownCount,
                                   ListStyleChange style, UINT templateId)
    : CListFormView(caption, listName, columns, columnCount, shownIds, shownCount, templateId),
      m_contextMenu(IDR_LIBRARY_MENU), m_listName(listName), m_styleChange(style)
{
}

CZymDoc* CLibraryListView::GetDoc()
{
    return dynamic_cast<CZymDoc*>(GetDocument());
}

void CLibraryListView::OnInitialUpdate()
{
    CListFormView::OnInitialUpdate();
    m_list.m_pfnCellTextHandler = static_cast<LxCellTextHandler>(&CLibraryListView::ItemText);
    m_list.m_pfnColumnTextsHandler = static_cast<LxColumnTextsHandler>(&CLibraryListView::GetItemTexts);
    m_list.m_pfnRequestHandler = static_cast<LxRequestHandler>(&CLibraryListView::OnListRequest);
    m_list.ModifyLxStyle(m_styleChange.remove, m_styleChange.add,
                         m_styleChange.reframe ? SWP_FRAMECHANGED : 0);
    CZymDoc* doc = GetDoc();
    m_list.EnableInPlaceEdit(doc && !doc->IsEditingDisabled());
    m_list.LoadSortState(m_listName);
    LayOutNow();
}

void CLibraryListView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    OnSharedHint(sender, hint, hintObject);
}

bool CLibraryListView::OnSharedHint(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintEditingEnabled:
    case kViewHintEditingDisabled:
        m_list.EnableInPlaceEdit(hint == kViewHintEditingEnabled);
        break;
    case kViewHintListLook:
    case kViewHintBannersShown:
    case kViewHintBannersHidden:
    case kViewHintActiveView:
        CListFormView::OnUpdate(sender, hint, hintObject);
        break;
    default:
        return false;
    }
    Repaint();
    return true;
}

void CLibraryListView::Repaint()
{
    Invalidate(FALSE);
    if (m_list.m_hWnd)
        m_list.Invalidate();
}

void CLibraryListView::GetCellText(int row, int columnId, CString& text)
{
    GetItemText(m_list.GetItemData(row), columnId, text);
}

void CLibraryListView::ItemText(int, int columnId, DWORD_PTR itemData, CString& text)
{
    text.Empty();
    GetItemText(itemData, columnId, text);
}

void CLibraryListView::GetOneItemText(DWORD_PTR itemData, int columnId, CString& text)
{
    std::vector<CString> texts;
    if (GetItemTexts(columnId, {itemData}, texts))
        text = texts[0];
}

std::vector<int> CLibraryListView::SelectedRows()
{
    std::vector<int> rows;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

int CLibraryListView::RowAt(CPoint point)
{
    MapWindowPoints(&m_list, &point, 1);
    return m_list.HitTest(point);
}

int CLibraryListView::FindRow(DWORD_PTR itemData)
{
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(itemData);
    return m_list.FindItem(&find, -1);
}

// A change of every row at once (row -1) is told once, at the first
// selected row.
void CLibraryListView::OnItemChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
    if (!(change->uChanged & LVIF_STATE))
        return;
    int row = change->iItem >= 0 ? change->iItem : m_list.GetNextItem(-1, LVNI_SELECTED);
    NoteRowSelected(row, change->uNewState);
}

// A range of rows selected at once (Shift with a click or a key).
void CLibraryListView::OnStateRangeChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const NMLVODSTATECHANGE* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
    NoteRowSelected(change->iFrom, change->uNewState);
}

void CLibraryListView::NoteRowSelected(int row, UINT newState)
{
    if (m_filling || !(newState & (LVIS_SELECTED | LVIS_FOCUSED)) || row < 0 ||
        !IsValidItem(m_list.GetItemData(row)))
        return;
    OnRowSelected(row);
}

void CLibraryListView::OnRowSelected(int)
{
    if (m_selectionPending)
        return;
    m_selectionPending = true;
    PostMessage(WM_VIEW_SELECTION);
}

LRESULT CLibraryListView::OnSelectionMessage(WPARAM, LPARAM)
{
    if (!m_selectionPending)
        return 0;
    m_selectionPending = false;
    CopySelection();
    if (GetDocument())
        GetDocument()->UpdateAllViews(this, kViewHintSelection);
    return 0;
}

void CLibraryListView::CopySelection()
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return;
    CPlayList& selection = doc->GetSelectionList();
    selection.Clear();
    CLibItem item;
    for (int row : SelectedRows())
    {
        if (GetRowItem(row, item))
            selection.AddItem(item);
    }
}

BOOL CLibraryListView::OnListRequest(CLxListRequest& request)
{
    CZymDoc* doc = GetDoc();
    int player = kNoPlayer;
    switch (request.m_code)
    {
    case kLxRequestCell:
        if (doc && doc->UsePlayerColors() && GetRowPlayer(request.m_itemData, player))
        {
            doc->GetPlayerColors(player, request.m_textColor, request.m_bkColor);
            request.m_answer |= kLxAnswerTextColor | kLxAnswerBkColor;
        }
        return TRUE;
    case kLxRequestChoices:
        return TRUE;
    case kLxRequestCommit:
        if (doc)
            ApplyEdit(request.m_itemData, request.m_columnId, request.m_text);
        return TRUE;
    }
    return FALSE;
}

DROPEFFECT CLibraryListView::OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return OnDragOver(dataObject, keyState, point);
}

bool CLibraryListView::GetAlbumFacts(CLibItem& item, AlbumFacts& facts)
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return false;
    CMusicLibrary& library = doc->GetMusicLibrary();
    CLibraryLock lock(library);
    const AlbumRecord* album = item.GetAlbum(lock, library);
    if (!album)
        return false;
    facts.player = album->GetPlayer();
    facts.storedPlayer = album->GetStoredPlayer();
    facts.trackCount = album->GetTrackCount();
    return true;
}

std::vector<TrackRecord> CLibraryListView::CopyDroppedTracks(CMusicLibrary& library, const char* text)
{
    CPlayList dropped(library);
    dropped.AppendFromText(text);
    std::vector<TrackRecord> tracks;
    CLibraryLock lock(library);
    for (int i = 0; i < dropped.GetCount(); ++i)
    {
        CLibItem item = dropped.GetItem(i);
        const AlbumRecord* album = item.GetAlbum(lock, library);
        if (album && item.GetTrack() >= 0 && item.GetTrack() < album->GetTrackCount())
            tracks.push_back(*album->GetRecord(item.GetTrack()));
    }
    return tracks;
}

CString CLibraryListView::BeginDragOut()
{
    m_dragged.clear();
    CString text;
    CLibItem item;
    for (int row : SelectedRows())
    {
        if (!GetRowItem(row, item))
            break;
        m_dragged.push_back(m_list.GetItemData(row));
        if (!text.IsEmpty())
            text += "\n";
        text += item.Format();
    }
    g_dragSource = this;
    return text;
}

void CLibraryListView::EndDragOut()
{
    m_dragged.clear();
    if (g_dragSource == this)
        g_dragSource = nullptr;
}

bool CLibraryListView::IsOwnDrag() const
{
    return g_dragSource == this;
}

void CLibraryListView::OnBeginDrag(NMHDR*, LRESULT* result)
{
    *result = 0;
    CString text = BeginDragOut();
    if (!text.IsEmpty())
        DragTextOut(text, DragEffects());
    EndDragOut();
}

DROPEFFECT CLibraryListView::TextDropEffect(COleDataObject* dataObject, DWORD keyState, CPoint point,
                                            bool accepted)
{
    ScrollNearEdges(point);
    if (!accepted || !dataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

int CLibraryListView::DropPosition(CPoint point, int end)
{
    int row = RowAt(point);
    if (row >= 0)
        return static_cast<int>(m_list.GetItemData(row));
    MapWindowPoints(&m_list, &point, 1);
    CRect first;
    if (m_list.GetItemCount() > 0 && m_list.GetTopIndex() == 0 && m_list.GetItemRect(0, &first, LVIR_BOUNDS) &&
        point.y < first.top)
        return 0;
    return end;
}

void CLibraryListView::EditDone(CMusicLibrary& library, bool badDate)
{
    if (badDate)
        AfxMessageBox("Incorrect date / time format");
    library.SetModified(true);
}

void CLibraryListView::SetCommandItems(const std::vector<int>& rows)
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return;
    // The document's library commands act on its selection list.
    CPlayList& items = doc->GetSelectionList();
    items.Clear();
    CLibItem item;
    for (int row : rows)
    {
        if (GetRowItem(row, item))
            items.AddItem(item);
    }
}

void CLibraryListView::OnLButtonDblClk(UINT, CPoint screenPoint)
{
    ScreenToClient(&screenPoint);
    int row = RowAt(screenPoint);
    CLibItem item;
    if (row < 0 || !GetRowItem(row, item))
        return;
    SetCommandItems(std::vector<int>(1, row));
    PostMessage(WM_COMMAND, ID_LIBRARY_DOUBLE_CLICK);
}

void CLibraryListView::OnRButtonUp(UINT, CPoint listPoint)
{
    if (listPoint.y <= kHeaderZone || m_list.HitTest(listPoint) < 0)
        return;
    PrepareContextMenu();
    m_list.ClientToScreen(&listPoint);
    TrackMenu(m_contextMenu, listPoint, m_menuToMainWindow ? AfxGetMainWnd() : this);
}

void CLibraryListView::PrepareContextMenu()
{
    SetCommandItems(SelectedRows());
}

void CLibraryListView::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    m_list.m_printOptions = kPrintFlags;
    m_list.m_printTitle = GetPrintTitle();
    m_list.m_printMargins = kPrintMargins;
    m_list.OnBeginPrinting(dc, info);
}

void CLibraryListView::OnPrint(CDC* dc, CPrintInfo* info)
{
    m_list.OnPrint(dc, info);
}

void CLibraryListView::OnEndPrinting(CDC* dc, CPrintInfo* info)
{
    m_list.OnEndPrinting(dc, info);
}

void CLibraryListView::OnDestroy()
{
    if (m_list.m_hWnd)
    {
        m_list.EnableCategoryView(false);
        m_list.SaveSortState(m_listName);
    }
    CListFormView::OnDestroy();
}
