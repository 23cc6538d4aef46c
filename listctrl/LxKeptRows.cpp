// Rows whose item data the list keeps itself: the list view, made with
// LVS_OWNERDATA, holds only their count and their selected and focused
// states. Under Wine every message to the list view costs a round trip and
// its own deletion of rows grows with the square of their number, so fills
// and sorts of large lists work on the kept rows and tell the list view the
// count alone.
#include "listctrl/LxListCtrl.h"

#include <algorithm>
#include <string>
#include <string.h>

namespace
{
const UINT kRowStates = LVIS_SELECTED | LVIS_FOCUSED;
}

bool CLxListCtrl::KeepRowData()
{
    if (!m_hWnd || !(GetStyle() & LVS_OWNERDATA) || m_pCategoryManager)
        return false;
    m_keepsRows = true;
    // The owner-data list view holds no texts of its own.
    m_fixedTexts = false;
    SetKeptRows({});
    return true;
}

// LVITEMW differs from LVITEMA only in the type of its text, which is never
// read here but to tell the callback marker, the same value in both.
bool CLxListCtrl::KeptRowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    LVITEMA* item = (LVITEMA*)lParam;
    switch (message)
    {
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
        result = item ? InsertKeptRow(*item) : -1;
        return true;
    case LVM_DELETEITEM:
        result = DeleteKeptRow(wParam);
        return true;
    case LVM_DELETEALLITEMS:
        SetKeptRows({});
        result = TRUE;
        return true;
    case LVM_GETITEMA:
    case LVM_GETITEMW:
        result = item ? GetKeptRow(message, *item) : FALSE;
        return true;
    case LVM_SETITEMA:
    case LVM_SETITEMW:
        result = item ? SetKeptRow(message, *item) : FALSE;
        return true;
    case LVM_SETITEMTEXTA:
    case LVM_SETITEMTEXTW:
        result = item ? SetKeptRowText(wParam, *item) : FALSE;
        return true;
    case LVM_FINDITEMA:
    case LVM_FINDITEMW:
    {
        const LVFINDINFOA* find = (const LVFINDINFOA*)lParam;
        if (!find || !(find->flags & LVFI_PARAM))
            return false;
        result = FindKeptRow((int)wParam, *find);
        return true;
    }
    case LVM_SETITEMCOUNT:
        // For a list with rows of its own the count is only a hint.
        m_rowData.reserve(wParam);
        result = TRUE;
        return true;
    default:
        return false;
    }
}

void CLxListCtrl::SetViewCount(int count)
{
    DefWindowProc(LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL);
}

// Emptied first: the list view drops the states of the rows it loses.
void CLxListCtrl::SetKeptRows(const std::vector<DWORD_PTR>& itemData)
{
    SetViewCount(0);
    m_rowData = itemData;
    SetViewCount((int)m_rowData.size());
    SetSelectionMark(-1);
    if (!m_rowData.empty())
        EnsureVisible(0, FALSE);
}

LRESULT CLxListCtrl::InsertKeptRow(const LVITEMA& item)
{
    if (item.iItem < 0 || item.iSubItem != 0)
        return -1;
    int count = (int)m_rowData.size();
    int row = std::min(item.iItem, count);
    m_rowData.insert(m_rowData.begin() + row, (item.mask & LVIF_PARAM) ? (DWORD_PTR)item.lParam : 0);
    SetViewCount(count + 1);
    ShiftRowStatesDown(row);
    if (item.mask & LVIF_STATE)
        SetItemState(row, item.state, item.stateMask & kRowStates);
    return row;
}

// The list view moves the states of the rows after a deleted one itself.
LRESULT CLxListCtrl::DeleteKeptRow(WPARAM row)
{
    if (row >= m_rowData.size() || !DefWindowProc(LVM_DELETEITEM, row, 0))
        return FALSE;
    m_rowData.erase(m_rowData.begin() + row);
    return TRUE;
}

LRESULT CLxListCtrl::GetKeptRow(UINT message, LVITEMA& item)
{
    if (item.iItem < 0 || item.iItem >= (int)m_rowData.size())
        return FALSE;
    LRESULT got = DefWindowProc(message, 0, (LPARAM)&item);
    if (got && (item.mask & LVIF_PARAM))
        item.lParam = (LPARAM)m_rowData[item.iItem];
    return got;
}

// Item data go to the kept rows, states to the list view; a callback text
// only draws the row again. A text of its own is not kept.
LRESULT CLxListCtrl::SetKeptRow(UINT message, const LVITEMA& item)
{
    if (item.iItem < 0 || item.iItem >= (int)m_rowData.size())
        return FALSE;
    LVITEMA rest = item;
    rest.mask &= ~LVIF_PARAM;
    if (item.mask & LVIF_PARAM && item.iSubItem == 0)
        m_rowData[item.iItem] = (DWORD_PTR)item.lParam;
    if (item.mask & LVIF_TEXT)
    {
        if (IsFixedText((LPARAM)item.pszText))
            return FALSE;
        rest.mask &= ~LVIF_TEXT;
        RedrawItems(item.iItem, item.iItem);
    }
    return rest.mask ? DefWindowProc(message, 0, (LPARAM)&rest) : TRUE;
}

// An editor's committed text included: the owner draws the cell from its
// own data, so the row is drawn again whatever the text.
LRESULT CLxListCtrl::SetKeptRowText(WPARAM row, const LVITEMA& item)
{
    if (row >= m_rowData.size())
        return FALSE;
    RedrawItems((int)row, (int)row);
    return !IsFixedText((LPARAM)item.pszText);
}

// As the list view searches by item data: from the row after start to the
// end, then from the first row when asked to wrap.
int CLxListCtrl::FindKeptRow(int start, const LVFINDINFOA& find) const
{
    int count = (int)m_rowData.size();
    int first = std::max(start + 1, 0);
    for (int row = first; row < count; row++)
    {
        if (m_rowData[row] == (DWORD_PTR)find.lParam)
            return row;
    }
    if (!(find.flags & LVFI_WRAP))
        return -1;
    for (int row = 0; row < std::min(first, count); row++)
    {
        if (m_rowData[row] == (DWORD_PTR)find.lParam)
            return row;
    }
    return -1;
}

void CLxListCtrl::AskKeptRowText(int row, int column, DWORD_PTR itemData, CString& text)
{
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = GetDlgCtrlID();
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.iItem = row;
    info.item.iSubItem = column;
    info.item.lParam = (LPARAM)itemData;
    // The owner fills the buffer or points at a text of its own; a full
    // buffer may have cut the text, so it grows until the text fits.
    for (int size = 256;; size *= 2)
    {
        std::string buffer(size, '\0');
        info.item.mask = LVIF_TEXT;
        info.item.pszText = &buffer[0];
        info.item.cchTextMax = size;
        ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info);
        const char* answer = info.item.pszText;
        if (!IsFixedText((LPARAM)answer))
        {
            text.Empty();
            return;
        }
        if (answer != buffer.data() || (int)strlen(answer) < size - 1)
        {
            text = answer;
            return;
        }
    }
}

// From the last row up, so that no state lands on a row still to move.
void CLxListCtrl::ShiftRowStatesDown(int from)
{
    std::vector<int> selected;
    for (int row = GetNextItem(from - 1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    int focused = FocusedRow();
    int mark = GetSelectionMark();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row)
    {
        SetItemState(*row, 0, LVIS_SELECTED);
        SetItemState(*row + 1, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= from)
        SetItemState(focused + 1, LVIS_FOCUSED, LVIS_FOCUSED);
    if (mark >= from)
        SetSelectionMark(mark + 1);
}

// The list view cannot know the item data of its notifications, nor find a
// row by them; a search by text finds nothing, as with callback texts.
bool CLxListCtrl::KeptRowNotify(NMHDR* header, LRESULT* result)
{
    LPARAM* itemData = NULL;
    int row = -1;
    switch (header->code)
    {
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
    {
        const NMLVFINDITEMA* find = (const NMLVFINDITEMA*)header;
        *result = (find->lvfi.flags & LVFI_PARAM) ? FindKeptRow(find->iStart - 1, find->lvfi) : -1;
        return true;
    }
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
        row = ((NMLVDISPINFOA*)header)->item.iItem;
        itemData = &((NMLVDISPINFOA*)header)->item.lParam;
        break;
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG:
    case LVN_DELETEITEM:
        row = ((NMLISTVIEW*)header)->iItem;
        itemData = &((NMLISTVIEW*)header)->lParam;
        break;
    default:
        return false;
    }
    if (row >= 0 && row < (int)m_rowData.size())
        *itemData = (LPARAM)m_rowData[row];
    return false;
}
