// Sorting of CLxListCtrl: by one column, with the previous key kept for ReSort.
#include "listctrl/LxListSort.h"

#include <algorithm>
#include <utility>
#include <stdlib.h>
#include <string.h>

namespace
{
int Sign(bool greater, bool smaller)
{
    return greater ? 1 : smaller ? -1 : 0;
}

// The case folding of _mbsicmp, done once per key: the folded texts then
// compare byte by byte.
void Fold(CString& text)
{
    int length = text.GetLength();
    char* chars = text.GetBuffer(length);
    for (int i = 0; i < length; i++)
    {
        if (chars[i] >= 'A' && chars[i] <= 'Z')
            chars[i] = (char)(chars[i] - 'A' + 'a');
    }
    text.ReleaseBuffer(length);
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

bool SameContents(const LVITEMA& a, const LVITEMA& b)
{
    return a.lParam == b.lParam && a.state == b.state && a.iImage == b.iImage && a.iIndent == b.iIndent;
}
}

CLxSortKeys::CLxSortKeys(int column, LxSortKind kind, bool ascending, int rows)
    : m_column(column), m_kind(kind), m_ascending(ascending)
{
    if (kind == kLxSortNumber || kind == kLxSortDotNumber)
        m_numbers.reserve(rows);
    else if (kind == kLxSortDate)
        m_dates.reserve(rows);
    else
        m_texts.reserve(rows);
}

void CLxSortKeys::Add(CString& text)
{
    switch (m_kind)
    {
    case kLxSortNumber:
        m_numbers.push_back(atoi(text));
        break;
    case kLxSortDotNumber:
        m_numbers.push_back(atoi(WithoutDots(text)));
        break;
    case kLxSortDate:
        m_dates.push_back(ParsedDate(text));
        break;
    case kLxSortText:
        Fold(text);
        m_texts.push_back(std::move(text));
        break;
    }
}

const COleDateTime& CLxSortKeys::ParsedDate(const CString& text)
{
    auto known = m_parsedDates.emplace(std::string(text, text.GetLength()), COleDateTime());
    COleDateTime& date = known.first->second;
    if (known.second && !date.ParseDateTime(text, 0, LANG_USER_DEFAULT))
        date = COleDateTime();
    return date;
}

int CLxSortKeys::Compare(int a, int b) const
{
    return m_ascending ? CompareAscending(a, b) : CompareAscending(b, a);
}

int CLxSortKeys::CompareAscending(int a, int b) const
{
    switch (m_kind)
    {
    case kLxSortNumber:
    case kLxSortDotNumber:
        return Sign(m_numbers[a] > m_numbers[b], m_numbers[a] < m_numbers[b]);
    case kLxSortDate:
        return Sign(m_dates[a] > m_dates[b], m_dates[a] < m_dates[b]);
    default:
        return strcmp(m_texts[a], m_texts[b]);
    }
}

CLxSortItems::CLxSortItems(CLxListCtrl& list) : m_list(list)
{
    ReadRows();
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

// One message per row for all it holds: each message to the list view costs
// far more than anything done with its answer.
void CLxSortItems::ReadRows()
{
    if (m_list.m_keepsRows)
    {
        ReadKeptRows();
        return;
    }
    m_rows.resize(m_list.GetItemCount());
    for (size_t row = 0; row < m_rows.size(); row++)
    {
        LVITEMA& item = m_rows[row];
        item.mask = LVIF_PARAM | LVIF_STATE | LVIF_IMAGE | LVIF_INDENT;
        item.iItem = (int)row;
        item.stateMask = (UINT)-1;
        m_list.GetItem(&item);
    }
}

// Kept rows: the item data are at hand, and the list view holds only the
// selected and focused states.
void CLxSortItems::ReadKeptRows()
{
    const std::vector<DWORD_PTR>& data = m_list.m_rowData;
    m_rows.assign(data.size(), LVITEMA());
    for (size_t row = 0; row < data.size(); row++)
        m_rows[row].lParam = (LPARAM)data[row];
    // The list view looks for a selected row one row at a time.
    int first = m_list.GetSelectedCount() > 0 ? m_list.GetNextItem(-1, LVNI_SELECTED) : -1;
    for (int row = first; row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
        m_rows[row].state |= LVIS_SELECTED;
    int focused = m_list.FocusedRow();
    if (focused >= 0)
        m_rows[focused].state |= LVIS_FOCUSED;
}

void CLxSortItems::AddKey(int column, bool ascending)
{
    m_keys.emplace_back(column, KindOf(m_list, column), ascending, (int)m_rows.size());
}

void CLxSortItems::ReadKeys()
{
    std::vector<DWORD_PTR> rowData(m_rows.size());
    for (size_t row = 0; row < m_rows.size(); row++)
        rowData[row] = (DWORD_PTR)m_rows[row].lParam;
    std::vector<CString> texts;
    for (CLxSortKeys& keys : m_keys)
    {
        m_list.GetColumnTexts(keys.Column(), rowData, texts);
        for (CString& text : texts)
            keys.Add(text);
    }
}

bool CLxSortItems::Before(int a, int b) const
{
    for (const CLxSortKeys& keys : m_keys)
    {
        int order = keys.Compare(a, b);
        if (order)
            return order < 0;
    }
    return false;
}

int CALLBACK CLxSortItems::CompareRows(LPARAM a, LPARAM b, LPARAM items)
{
    const CLxSortItems& self = *(const CLxSortItems*)items;
    return self.Before((int)a, (int)b) ? -1 : self.Before((int)b, (int)a) ? 1 : 0;
}

void CLxSortItems::Sort()
{
    if (m_keys.empty())
        return;
    ReadKeys();
    // Texts of their own stay with their rows only when the list view moves the
    // rows itself; otherwise moving the contents is much faster than its sort,
    // which shifts the whole row array once for every row out of order.
    if (m_list.m_fixedTexts)
    {
        SortInList();
        return;
    }
    std::vector<int> order(m_rows.size());
    for (size_t row = 0; row < order.size(); row++)
        order[row] = (int)row;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return Before(a, b); });
    MoveContents(order);
}

void CLxSortItems::SortInList()
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    for (size_t row = 0; row < m_rows.size(); row++)
    {
        item.iItem = (int)row;
        item.lParam = (LPARAM)row;
        m_list.SetItem(&item);
    }
    m_list.SortItems(CompareRows, (DWORD_PTR)this);
    for (size_t row = 0; row < m_rows.size(); row++)
    {
        item.iItem = (int)row;
        item.lParam = m_rows[m_list.GetItemData((int)row)].lParam;
        m_list.SetItem(&item);
    }
}

void CLxSortItems::MoveContents(const std::vector<int>& order)
{
    int count = (int)order.size();
    int mark = m_list.GetSelectionMark();
    int newMark = -1;
    for (int row = 0; row < count; row++)
    {
        int from = order[row];
        if (from == mark)
            newMark = row;
        if (SameContents(m_rows[from], m_rows[row]))
            continue;
        if (m_list.m_keepsRows)
        {
            MoveKeptRow(m_rows[from], row);
            continue;
        }
        LVITEMA item = m_rows[from];
        item.iItem = row;
        item.stateMask = (UINT)-1;
        m_list.SetItem(&item);
    }
    if (mark >= 0)
        m_list.SetSelectionMark(newMark);
}

void CLxSortItems::MoveKeptRow(const LVITEMA& contents, int row)
{
    m_list.m_rowData[row] = (DWORD_PTR)contents.lParam;
    const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
    if ((contents.state ^ m_rows[row].state) & states)
        m_list.SetItemState(row, contents.state, states);
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
    return SortByKeys({{column, ascending}});
}

bool CLxListCtrl::CanSortBy(int column)
{
    return column >= 0 && column < GetColumnCount() && (m_keepsRows || !(GetStyle() & LVS_OWNERDATA));
}

int CLxListCtrl::SortByKeys(const std::vector<LxSortOrder>& sorts)
{
    int result = 0;
    std::vector<LxSortOrder> taken;
    for (const LxSortOrder& sort : sorts)
    {
        if (!CanSortBy(sort.column))
            result = 0;
        else if (!(m_style & kLxStyleSort))
            result = 1;
        else if ((result = SortableColumn(sort.column) ? 1 : 0))
            taken.push_back(sort);
    }
    if (!taken.empty())
        SortRows(taken);
    return result;
}

void CLxListCtrl::SortRows(const std::vector<LxSortOrder>& sorts)
{
    CWaitCursorScope wait;
    // Category rows go while the items sort; the items are filed again in
    // their new order after.
    if (m_pCategoryManager)
        m_pCategoryManager->Flatten(*this);
    // The sorts one after the other, in one pass: the last is the first key.
    CLxSortItems items(*this);
    for (auto sort = sorts.rbegin(); sort != sorts.rend(); ++sort)
        items.AddKey(sort->column, sort->ascending == 1);
    for (const LxSortOrder& sort : sorts)
        m_header.SetSortImage(sort.column, sort.ascending);
    // Every row changes: one repaint at the end, not one per row.
    bool visible = IsWindowVisible() != FALSE;
    if (visible)
        SetRedraw(FALSE);
    items.Sort();
    if (visible)
        SetRedraw(TRUE);
    // The list view looks for a selected row one row at a time.
    int selected = GetSelectedCount() > 0 ? FirstSelectedRow() : -1;
    if (m_pCategoryManager)
        m_pCategoryManager->Categorize(*this);
    else if (selected >= 0)
        EnsureVisible(selected, FALSE);
    Invalidate(FALSE);
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
    SortByKeys({{m_header.GetPrevSortColumn(), m_header.GetPrevSortAscending()},
                {m_header.GetSortColumn(), m_header.GetSortAscending()}});
}

void CLxListCtrl::LoadSortState(const char* listName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section = LxListSection(listName);
    SortByKeys({{(int)app->GetProfileInt(section, "Prev Sort SubItem", -1),
                 (int)app->GetProfileInt(section, "Prev Sort Ascending", 1)},
                {(int)app->GetProfileInt(section, "Sort SubItem", -1),
                 (int)app->GetProfileInt(section, "Sort Ascending", 1)}});
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
