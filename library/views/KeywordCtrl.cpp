#include "library/views/KeywordCtrl.h"
#include "library/views/ViewResources.h"

namespace {

// The state a double click moves to, by mode and present state; kInitialOr
// marks "the initial state unless it is none, else" the value beside it.
const int kInitialOr = -1;
struct Transition
{
    int fromNone;
    int from[4]; // from states 1 to 4
};
const Transition kTransitions[] = {
    /* one album */ {kKeywordAllAlbums, {kKeywordNone, kKeywordNone, kKeywordNone, kKeywordAllAlbums}},
    /* tracks of one album */ {kKeywordAllTracks, {kKeywordNone, kKeywordNone, kKeywordAllAlbums, kKeywordAllTracks}},
    /* albums */ {kKeywordAllAlbums, {kKeywordNone, kKeywordAllAlbums, kKeywordAllAlbums, kKeywordAllAlbums}},
    /* tracks */ {kKeywordAllTracks, {kKeywordNone, kKeywordAllAlbums, kKeywordAllAlbums, kKeywordAllTracks}},
};

// The icon of each state in the cell pictures; none for no keyword.
const int kStateImages[] = {I_IMAGENONE, 0, 1, 6, 7};

const char kNewKeyword[] = "new_keyword";

int StateOf(const CKeywordStat& stat, int albums, int tracks)
{
    // Nothing counted matches nothing: an empty selection carries no keyword.
    if (stat.GetAlbums() > 0 && stat.GetAlbums() == albums)
        return kKeywordAllAlbums;
    if (stat.GetAlbums() > 0)
        return kKeywordSomeAlbums;
    if (stat.GetTracks() == 0)
        return kKeywordNone;
    return stat.GetTracks() == tracks ? kKeywordAllTracks : kKeywordSomeTracks;
}

} // namespace

BEGIN_MESSAGE_MAP(CKeywordCtrl, CListCtrl)
    ON_WM_LBUTTONDBLCLK()
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_COMMAND(ID_KEYWORD_NEW, OnKeywordNew)
    ON_COMMAND(ID_KEYWORD_DELETE, OnKeywordDelete)
END_MESSAGE_MAP()

int CKeywordCtrl::NextState(int mode, int state, int initialState)
{
    const Transition& transition = kTransitions[mode];
    if (state == kKeywordNone)
        return initialState != kKeywordNone ? initialState : transition.fromNone;
    return transition.from[state - 1];
}

void CKeywordCtrl::Fill(const CKeywordStatList& stats, bool onlyWholeAlbums, bool singleAlbum)
{
    m_mode = onlyWholeAlbums ? (singleAlbum ? kModeOneAlbum : kModeAlbums)
                             : (singleAlbum ? kModeTracksOfOneAlbum : kModeTracks);
    m_items.clear();
    CMasterKeyword& master = m_library->GetMasterKeywords();
    for (int i = 0; i < stats.GetCount(); ++i)
    {
        const CKeywordStat& stat = stats.GetAt(i);
        int state = StateOf(stat, stats.GetAlbumsCounted(), stats.GetTracksCounted());
        m_items.push_back({CKeyword(master.GetKeywordName(stat.GetId()), stat.GetId()), false, state, state});
    }
    Rebuild();
}

bool CKeywordCtrl::HasChanges() const
{
    for (const KeywordItem& item : m_items)
    {
        if (item.state != item.initialState)
            return true;
    }
    return false;
}

int CKeywordCtrl::FindRow(int id)
{
    for (int row = 0; row < GetItemCount(); ++row)
    {
        if (ItemOfRow(row)->keyword.m_id == id)
            return row;
    }
    return -1;
}

void CKeywordCtrl::Rebuild()
{
    SetRedraw(FALSE);
    DeleteAllItems();
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (m_items[i].keyword.m_name.IsEmpty())
            continue;
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = GetItemCount();
        item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(m_items[i].keyword.m_name));
        item.iImage = kStateImages[m_items[i].state];
        item.lParam = static_cast<LPARAM>(i);
        InsertItem(&item);
    }
    SetRedraw(TRUE);
    Invalidate();
}

KeywordItem* CKeywordCtrl::ItemOfRow(int row)
{
    size_t index = static_cast<size_t>(GetItemData(row));
    return index < m_items.size() ? &m_items[index] : nullptr;
}

void CKeywordCtrl::ShowState(int row)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = kStateImages[ItemOfRow(row)->state];
    SetItem(&item);
}

void CKeywordCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    int row = HitTest(point);
    if (m_readOnly || row < 0)
        return;
    KeywordItem* item = ItemOfRow(row);
    item->state = NextState(m_mode, item->state, item->initialState);
    ShowState(row);
}

void CKeywordCtrl::OnBeginLabelEdit(NMHDR*, LRESULT* result)
{
    *result = m_readOnly;
}

void CKeywordCtrl::OnEndLabelEdit(NMHDR* header, LRESULT* result)
{
    *result = FALSE;
    const LVITEMA& edited = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    KeywordItem* item = edited.iItem >= 0 ? ItemOfRow(edited.iItem) : nullptr;
    if (m_readOnly || !item || !edited.pszText || !*edited.pszText)
        return;
    CMasterKeyword& master = m_library->GetMasterKeywords();
    master.RenameKeyword(item->keyword.m_id, edited.pszText);
    CString stored = master.GetKeywordName(item->keyword.m_id);
    if (stored.IsEmpty())
        return;
    item->keyword.m_name = stored;
    item->renamed = true;
    SetItemText(edited.iItem, 0, stored);
    m_library->MarkKeywordChanged(item->keyword.m_id);
}

void CKeywordCtrl::OnKeyDown(NMHDR* header, LRESULT* result)
{
    *result = 0;
    if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
        OnKeywordDelete();
}

void CKeywordCtrl::OnRightClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    CMenu menu;
    if (!menu.LoadMenu(IDR_KEYWORD_MENU))
        return;
    CPoint point;
    ::GetCursorPos(&point);
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CKeywordCtrl::OnKeywordDelete()
{
    if (m_readOnly)
        return;
    CMasterKeyword& master = m_library->GetMasterKeywords();
    bool deleted = false;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
    {
        KeywordItem* item = ItemOfRow(row);
        if (!master.DeleteKeyword(item->keyword.m_id))
            continue;
        item->keyword.m_name.Empty();
        m_library->MarkKeywordChanged(item->keyword.m_id);
        deleted = true;
    }
    if (deleted)
        Rebuild();
}

void CKeywordCtrl::OnKeywordNew()
{
    if (m_readOnly)
        return;
    CMasterKeyword& master = m_library->GetMasterKeywords();
    int id = master.AddKeyword(kNewKeyword);
    if (id < 0)
        return;
    // An unrenamed new keyword is edited again rather than shown twice.
    if (FindRow(id) < 0)
    {
        m_items.push_back({CKeyword(master.GetKeywordName(id), id), false, kKeywordNone, kKeywordNone});
        Rebuild();
    }
    SetFocus();
    EditLabel(FindRow(id));
}
