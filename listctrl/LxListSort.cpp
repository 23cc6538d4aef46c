// Sorting of CLxListCtrl: by one column, with the previous key kept for ReSort.
#include "LxListSort.h"

#include "crt/StringCase.h"

#include <algorithm>
#include <stdlib.h>

namespace
{
int Sign(bool greater, bool smaller)
{
    return greater ? 1 : smaller ? -1 : 0;
}

int CALLBACK NumberAscending(LPARAM a, LPARAM b, LPARAM)
{
    int x = ((CLxSortNumber*)a)->m_number, y = ((CLxSortNumber*)b)->m_number;
    return Sign(x > y, x < y);
}

int CALLBACK NumberDescending(LPARAM a, LPARAM b, LPARAM)
{
    return NumberAscending(b, a, 0);
}

int CALLBACK DateAscending(LPARAM a, LPARAM b, LPARAM)
{
    const COleDateTime& x = ((CLxSortDate*)a)->m_date;
    const COleDateTime& y = ((CLxSortDate*)b)->m_date;
    return Sign(x > y, x < y);
}

int CALLBACK DateDescending(LPARAM a, LPARAM b, LPARAM)
{
    return DateAscending(b, a, 0);
}

int CALLBACK TextAscending(LPARAM a, LPARAM b, LPARAM)
{
    return _mbsicmp((const unsigned char*)(LPCSTR)((CLxSortText*)a)->m_text,
                    (const unsigned char*)(LPCSTR)((CLxSortText*)b)->m_text);
}

int CALLBACK TextDescending(LPARAM a, LPARAM b, LPARAM)
{
    return TextAscending(b, a, 0);
}

CString WithoutDots(const CString& text)
{
    CString plain = text;
    plain.Remove('.');
    return plain;
}

// The wait cursor for the length of a scope.
class CWaitCursorScope
{
public:
    CWaitCursorScope() : m_old(::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT))) {}
    ~CWaitCursorScope() { ::SetCursor(m_old); }

private:
    HCURSOR m_old;
};
}

CLxSortItems::CLxSortItems(CLxListCtrl& list, int column, LxSortKind kind)
    : m_list(list), m_column(column), m_kind(kind)
{
    BuildKeys();
}

LxSortKind CLxSortItems::KindOf(CLxListCtrl& list, int column)
{
    DWORD bit = LxColumnBit(list.GetColumnId(column));
    if (list.m_currencyMask & bit)
        return kLxSortDotNumber;
    if (list.m_numericMask & bit)
        return kLxSortNumber;
    if (list.m_dateMask & bit)
        return kLxSortDate;
    return kLxSortText;
}

void CLxSortItems::BuildKeys()
{
    int count = m_list.GetItemCount();
    m_keys.reserve(count);
    m_numbers.reserve(m_kind == kLxSortNumber || m_kind == kLxSortDotNumber ? count : 0);
    m_dates.reserve(m_kind == kLxSortDate ? count : 0);
    m_texts.reserve(m_kind == kLxSortText ? count : 0);
    CString text;
    for (int row = 0; row < count; row++)
    {
        DWORD_PTR itemData = m_list.GetItemData(row);
        text.Empty();
        m_list.GetCellText(row, m_column, text, &itemData);
        AddKey(row, itemData, text);
    }
}

void CLxSortItems::AddKey(int row, DWORD_PTR itemData, const CString& text)
{
    switch (m_kind)
    {
    case kLxSortNumber:
    case kLxSortDotNumber:
    {
        int number = atoi(m_kind == kLxSortDotNumber ? WithoutDots(text) : text);
        m_numbers.push_back(CLxSortNumber{number, itemData, row});
        m_keys.push_back((LPARAM)&m_numbers.back());
        break;
    }
    case kLxSortDate:
    {
        CLxSortDate key{COleDateTime(), itemData, row};
        if (!key.m_date.ParseDateTime(text, 0, LANG_USER_DEFAULT))
            key.m_date = COleDateTime();
        m_dates.push_back(key);
        m_keys.push_back((LPARAM)&m_dates.back());
        break;
    }
    case kLxSortText:
    {
        CLxSortText key;
        key.m_text = text;
        key.m_itemData = itemData;
        key.m_row = row;
        m_texts.push_back(key);
        m_keys.push_back((LPARAM)&m_texts.back());
        break;
    }
    }
}

PFNLVCOMPARE CLxSortItems::Comparison(bool ascending) const
{
    switch (m_kind)
    {
    case kLxSortNumber:
    case kLxSortDotNumber:
        return ascending ? NumberAscending : NumberDescending;
    case kLxSortDate:
        return ascending ? DateAscending : DateDescending;
    default:
        return ascending ? TextAscending : TextDescending;
    }
}

int CLxSortItems::RowOf(LPARAM key) const
{
    switch (m_kind)
    {
    case kLxSortNumber:
    case kLxSortDotNumber:
        return ((CLxSortNumber*)key)->m_row;
    case kLxSortDate:
        return ((CLxSortDate*)key)->m_row;
    default:
        return ((CLxSortText*)key)->m_row;
    }
}

DWORD_PTR CLxSortItems::ItemDataOf(LPARAM key) const
{
    switch (m_kind)
    {
    case kLxSortNumber:
    case kLxSortDotNumber:
        return ((CLxSortNumber*)key)->m_itemData;
    case kLxSortDate:
        return ((CLxSortDate*)key)->m_itemData;
    default:
        return ((CLxSortText*)key)->m_itemData;
    }
}

void CLxSortItems::Sort(bool ascending)
{
    PFNLVCOMPARE compare = Comparison(ascending);
    // Texts of their own stay with their rows only when the list view moves the
    // rows itself; otherwise moving the contents is much faster than its sort,
    // which shifts the whole row array once for every row out of order.
    if (m_list.m_fixedTexts)
    {
        SortInList(compare);
        return;
    }
    std::vector<LPARAM> order = m_keys;
    std::stable_sort(order.begin(), order.end(),
                     [compare](LPARAM a, LPARAM b) { return compare(a, b, 0) < 0; });
    MoveContents(order);
}

void CLxSortItems::SortInList(PFNLVCOMPARE compare)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    for (size_t row = 0; row < m_keys.size(); row++)
    {
        item.iItem = (int)row;
        item.lParam = m_keys[row];
        m_list.SetItem(&item);
    }
    m_list.SortItems(compare, 0);
    for (size_t row = 0; row < m_keys.size(); row++)
    {
        LPARAM key = (LPARAM)m_list.GetItemData((int)row);
        item.iItem = (int)row;
        item.lParam = (LPARAM)ItemDataOf(key);
        m_list.SetItem(&item);
    }
}

void CLxSortItems::MoveContents(const std::vector<LPARAM>& order)
{
    int count = (int)order.size();
    std::vector<LVITEMA> rows(count);
    for (int row = 0; row < count; row++)
    {
        LVITEMA& item = rows[row];
        item.mask = LVIF_STATE | LVIF_IMAGE | LVIF_INDENT;
        item.iItem = row;
        item.stateMask = (UINT)-1;
        m_list.GetItem(&item);
        item.mask |= LVIF_PARAM;
        item.lParam = (LPARAM)ItemDataOf(m_keys[row]);
    }
    int mark = m_list.GetSelectionMark();
    int newMark = -1;
    for (int row = 0; row < count; row++)
    {
        int from = RowOf(order[row]);
        if (from == mark)
            newMark = row;
        if (from == row)
            continue;
        LVITEMA item = rows[from];
        item.iItem = row;
        item.stateMask = (UINT)-1;
        m_list.SetItem(&item);
    }
    if (mark >= 0)
        m_list.SetSelectionMark(newMark);
}

// The list.

bool CLxListCtrl::SortableColumn(int column)
{
    if (!m_pColumnManager)
        return true;
    int index = m_pColumnManager->FindColumn(GetColumnId(column));
    return index < 0 || (m_pColumnManager->GetColumn(index).m_format & kLxColSortable);
}

int CLxListCtrl::SortBy(int column, int ascending)
{
    if (column < 0 || column >= GetColumnCount() || (GetStyle() & LVS_OWNERDATA))
        return 0;
    if (!(m_style & kLxStyleSort))
        return 1;
    CWaitCursorScope wait;
    if (!SortableColumn(column))
        return 0;
    // Category rows go while the items sort; the items are filed again in
    // their new order after.
    if (m_pCategoryManager)
        m_pCategoryManager->Flatten(*this);
    m_header.SetSortImage(column, ascending);
    // Every row changes: one repaint at the end, not one per row.
    bool visible = IsWindowVisible() != FALSE;
    if (visible)
        SetRedraw(FALSE);
    CLxSortItems(*this, column, CLxSortItems::KindOf(*this, column)).Sort(ascending == 1);
    if (visible)
        SetRedraw(TRUE);
    int selected = FirstSelectedRow();
    if (m_pCategoryManager)
        m_pCategoryManager->Categorize(*this);
    else if (selected >= 0)
        EnsureVisible(selected, FALSE);
    Invalidate(FALSE);
    return 1;
}

void CLxListCtrl::OnColumnClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    int column = ((NMLISTVIEW*)header)->iSubItem;
    bool ascending = m_header.IsSortAscending(column);
    if (column == m_header.GetSortColumn())
        ascending = !ascending;
    SortBy(column, ascending ? 1 : 0);
}

void CLxListCtrl::ReSort()
{
    int prevColumn = m_header.GetPrevSortColumn();
    int prevAscending = m_header.GetPrevSortAscending();
    int column = m_header.GetSortColumn();
    int ascending = m_header.GetSortAscending();
    SortBy(prevColumn, prevAscending);
    SortBy(column, ascending);
}

void CLxListCtrl::LoadSortState(const char* listName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section = LxListSection(listName);
    int prevColumn = (int)app->GetProfileInt(section, "Prev Sort SubItem", -1);
    int prevAscending = (int)app->GetProfileInt(section, "Prev Sort Ascending", 1);
    SortBy(prevColumn, prevAscending);
    int column = (int)app->GetProfileInt(section, "Sort SubItem", -1);
    int ascending = (int)app->GetProfileInt(section, "Sort Ascending", 1);
    SortBy(column, ascending);
}

void CLxListCtrl::SaveSortState(const char* listName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section = LxListSection(listName);
    app->WriteProfileInt(section, "Sort SubItem", m_header.GetSortColumn());
    app->WriteProfileInt(section, "Sort Ascending", m_header.GetSortAscending());
    app->WriteProfileInt(section, "Prev Sort SubItem", m_header.GetPrevSortColumn());
    app->WriteProfileInt(section, "Prev Sort Ascending", m_header.GetPrevSortAscending());
}
