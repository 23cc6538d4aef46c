// Interaction of CLxListCtrl: the focused cell, clicks, keys, editor commits
// and navigation requests, header notifications, column moves and type-ahead.
#include "listctrl/LxListCtrl.h"

#include "listctrl/LxListResource.h"
#include "listctrl/LxPopupMenu.h"

#include <ctype.h>

namespace
{
// Columns narrower than this take no editor and cannot be scrolled to.
const int kMinCellWidth = 5;
// Header changes may not make a column (but column 0) narrower than this.
const int kMinColumnWidth = 16;
// Type-ahead keys this close together (100 ns units) continue one search.
const ULONGLONG kTypeAheadPause = 10000000;
// Texts of a moved column are read up to this length.
const int kMovedTextLength = 160;
}

// Cells.

int CLxListCtrl::HitTestEx(POINT point, int* column)
{
    if (!IsReportView())
    {
        if (column)
            *column = 0;
        return HitTest(point);
    }
    CRect cell;
    int row = CellFromPoint(point, &cell, column);
    return row;
}

int CLxListCtrl::CellFromPoint(POINT point, RECT* cell, int* column)
{
    if (!IsReportView())
        return -1;
    CRect client;
    GetClientRect(&client);
    if (point.x >= client.right)
        return -1;
    int top = GetTopIndex();
    int last = std::min(GetItemCount(), top + GetCountPerPage() + 1);
    int columns = GetColumnCount();
    for (int row = top; row < last; row++)
    {
        CRect bounds;
        if (!GetItemRect(row, &bounds, LVIR_BOUNDS) || point.y < bounds.top ||
            point.y >= bounds.bottom)
            continue;
        int left = bounds.left;
        for (int i = 0; i < columns; i++)
        {
            int right = left + GetColumnWidth(i);
            if (point.x >= left && point.x < right)
            {
                if (cell)
                    *cell = CRect(left, bounds.top, std::min(right, (int)client.right), bounds.bottom);
                if (column)
                    *column = i;
                return row;
            }
            left = right;
        }
        return -1;
    }
    return -1;
}

BOOL CLxListCtrl::GetCellRect(int row, int column, RECT* rect)
{
    if (column < 0 || column >= GetColumnCount() || GetColumnWidth(column) < kMinCellWidth)
        return FALSE;
    CRect bounds;
    if (!GetItemRect(row, &bounds, LVIR_BOUNDS))
        return FALSE;
    int left = bounds.left;
    for (int i = 0; i < column; i++)
        left += GetColumnWidth(i);
    *rect = CRect(left, bounds.top, left + GetColumnWidth(column), bounds.bottom - 1);
    return TRUE;
}

bool CLxListCtrl::EnsureColumnVisible(int column)
{
    if (column < 0 || column >= GetColumnCount() || GetColumnWidth(column) < kMinCellWidth)
        return false;
    CRect item;
    m_header.GetItemRect(column, &item);
    m_header.MapWindowPoints(this, &item);
    CRect client;
    GetClientRect(&client);
    if (item.left < client.left)
        Scroll(CSize(item.left - client.left, 0));
    else if (item.right > client.right)
        Scroll(CSize(item.right - client.right, 0));
    return true;
}

void CLxListCtrl::RedrawCell(int row, int column)
{
    CRect cell;
    if (row >= 0 && GetCellRect(row, column, &cell))
        InvalidateRect(&cell, FALSE);
}

void CLxListCtrl::SetFocusedColumn(int column)
{
    if (column == m_focusedColumn)
        return;
    int row = FocusedRow();
    RedrawCell(row, m_focusedColumn);
    m_focusedColumn = column;
    RedrawCell(row, m_focusedColumn);
}

// Clicks.

void CLxListCtrl::OnClick(NMHDR*, LRESULT* result)
{
    *result = 1;
    SetFocus();
    DWORD position = ::GetMessagePos();
    CPoint point((short)LOWORD(position), (short)HIWORD(position));
    ScreenToClient(&point);
    int column = 0;
    int row = HitTestEx(point, &column);
    if (row < 0)
        return;
    if (column == 0 && ToggleCategory(row))
        return;
    SetFocusedColumn(column);
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

bool CLxListCtrl::IsCategoryRow(int row)
{
    return m_pCategoryManager && row >= 0 &&
           m_pCategoryManager->IndexOfCategory((const void*)GetItemData(row)) >= 0;
}

bool CLxListCtrl::ToggleCategory(int row)
{
    if (!m_pCategoryManager || row < 0)
        return false;
    CLxCategoryManager& manager = *m_pCategoryManager;
    int index = manager.IndexOfCategory((const void*)GetItemData(row));
    if (index < 0)
        return false;
    LxCategory& category = *manager.GetCategory(index);
    category.expanded = !category.expanded;
    if (category.expanded)
        manager.Expand(index, row, *this);
    else
        manager.Collapse(index, row, *this);
    RedrawItems(row, row);
    return true;
}

// The owner sees a double click that opened nothing, in screen coordinates.
void CLxListCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    SetFocus();
    int column = 0;
    int row = HitTestEx(point, &column);
    if (row < 0)
        return;
    // Column 0 toggled it on the first click already.
    if (column != 0 && ToggleCategory(row))
        return;
    SetFocusedColumn(column);
    if (GetItemState(row, LVIS_FOCUSED) & LVIS_FOCUSED)
    {
        if (OpenEditor(row, column, true))
            return;
    }
    else
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Default();
    CRect window;
    GetWindowRect(&window);
    CWnd* parent = GetParent();
    if (parent)
    {
        parent->SendMessage(WM_LBUTTONDBLCLK, flags,
                            MAKELPARAM(window.left + point.x, window.top + point.y));
    }
}

// Keys.

void CLxListCtrl::OnKeyDown(NMHDR* header, LRESULT* result)
{
    *result = 0;
    HideTip();
    WORD key = ((NMLVKEYDOWN*)header)->wVKey;
    int column = m_focusedColumn;
    if (key == VK_LEFT && column > 0)
        column--;
    else if (key == VK_RIGHT && column < GetColumnCount() - 1)
        column++;
    else
        return;
    EnsureColumnVisible(column);
    SetFocusedColumn(column);
    *result = 1;
}

BOOL CLxListCtrl::PreTranslateMessage(MSG* msg)
{
    // A shown tip hands keys back to the list once it is gone.
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->hwnd == m_hWnd &&
        m_tip.m_hWnd && m_tip.IsWindowVisible())
        return m_tip.PreTranslateMessage(msg);
    if (msg->hwnd != m_hWnd || !(m_style & (kLxStyleEnterDblClk | kLxStyleEnterEdits)))
        return CListCtrl::PreTranslateMessage(msg);
    if (msg->message == WM_CHAR && !m_editorOpen)
        return TypeAheadSearch((int)msg->wParam);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
        ToggleCategory(FirstSelectedRow()))
        return TRUE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_style & kLxStyleEnterEdits)
    {
        int row = FirstSelectedRow();
        if (row >= 0 && m_focusedColumn >= 0 && OpenEditor(row, m_focusedColumn, false))
            return TRUE;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_style & kLxStyleEnterDblClk)
    {
        SendDblClk();
        return TRUE;
    }
    return CListCtrl::PreTranslateMessage(msg);
}

// Where a type-ahead search begins; keeps the search text.
int CLxListCtrl::SearchStart(int character, int focused, int count)
{
    ULONGLONG now = m_pfnClock();
    bool continues = now - m_lastKeyTime.GetValue() <= kTypeAheadPause;
    m_lastKeyTime = CTimeStamp(now);
    CString alone((char)character);
    if (continues && m_searchText != alone)
    {
        m_searchText += (char)character;
        return focused < 0 ? 0 : focused;
    }
    m_searchText = alone;
    return (focused + 1) % count;
}

bool CLxListCtrl::TypeAheadSearch(int character)
{
    if (character < 32 || character > 126)
        return false;
    int count = GetItemCount();
    if (count == 0)
        return false;
    int focused = FocusedRow();
    int start = SearchStart(toupper(character), focused, count);
    int column = m_focusedColumn;
    if (column <= 0 || (m_imageMask & LxColumnBit(GetColumnId(column))))
        column = m_header.GetSortColumn();
    if (column <= 0)
        return false;
    int id = GetColumnId(column);
    for (int i = 0; i < count; i++)
    {
        int row = (start + i) % count;
        CString text;
        GetCellTextOfId(row, column, id, NULL, text);
        text.MakeUpper();
        if (strncmp(text, m_searchText, m_searchText.GetLength()) != 0)
            continue;
        if (focused >= 0)
            SetItemState(focused, 0, LVIS_SELECTED | LVIS_FOCUSED);
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EnsureVisible(row, TRUE);
        break;
    }
    return true;
}

// Editor commits and navigation.

void CLxListCtrl::ApplyEditedText(int row, int column, DWORD_PTR itemData, const CString& text)
{
    CLxListRequest request;
    request.m_code = kLxRequestCommit;
    request.m_row = row;
    request.m_columnId = GetColumnId(column);
    request.m_itemData = itemData;
    request.m_text = text;
    if (RequestData(request))
        SetItemText(row, column, request.m_text);
    else
        SetItemText(row, column, LPSTR_TEXTCALLBACKA);
}

void CLxListCtrl::OnEndLabelEdit(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const LVITEMA& item = ((NMLVDISPINFOA*)header)->item;
    if (!item.pszText)
        return;
    CString text = item.pszText;
    if (!(m_style & kLxStyleEditAllSelected) || GetSelectedCount() < 2)
    {
        ApplyEditedText(item.iItem, item.iSubItem, GetItemData(item.iItem), text);
        return;
    }
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = GetNextItem(row, LVNI_SELECTED))
        ApplyEditedText(row, item.iSubItem, GetItemData(row), text);
    SetFocus();
}

void CLxListCtrl::MoveFocusRow(int delta)
{
    int focused = FocusedRow();
    int target = focused + delta;
    if (focused < 0 || target < 0 || target >= GetItemCount())
        return;
    if (GetSelectedCount() == 1)
        SetItemState(focused, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetItemState(target, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(target, FALSE);
}

// Steps from a cell to the next (or previous) cell an editor can open on.
void CLxListCtrl::NavigateToCell(int code, const LxCellPos& from)
{
    int columns = GetColumnCount();
    int rows = GetItemCount();
    DWORD editable = m_editMask | m_dropListMask | m_dropDownMask;
    int step = code == kLxNavNextCell ? 1 : -1;
    int row = from.row, column = from.column;
    for (int visited = 0; visited < rows * columns; visited++)
    {
        column += step;
        if (column >= columns)
        {
            column = 0;
            row++;
        }
        else if (column < 0)
        {
            column = columns - 1;
            row--;
        }
        if (row < 0 || row >= rows)
            return;
        if (editable & LxColumnBit(GetColumnId(column)))
            break;
    }
    if (!(editable & LxColumnBit(GetColumnId(column))))
        return;
    SetFocusedColumn(column);
    int selected = FirstSelectedRow();
    if (GetSelectedCount() == 1 && selected != row)
        SetItemState(selected, 0, LVIS_SELECTED);
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(row, FALSE);
    if (!IsCategoryRow(row))
        OpenEditor(row, column, false);
}

LRESULT CLxListCtrl::OnNavigate(WPARAM code, LPARAM cell)
{
    switch (code)
    {
    case kLxNavNextCell:
    case kLxNavPrevCell:
        if (cell)
            NavigateToCell((int)code, *(const LxCellPos*)cell);
        break;
    case kLxNavLeft:
    case kLxNavRight:
    {
        int column = m_focusedColumn + (code == kLxNavLeft ? -1 : 1);
        if (column < 0 || column >= GetColumnCount())
            break;
        m_focusedColumn = column;
        CRect row;
        if (GetItemRect(FirstSelectedRow(), &row, LVIR_BOUNDS))
        {
            row.bottom--;
            InvalidateRect(&row, FALSE);
        }
        EnsureColumnVisible(column);
        break;
    }
    case kLxNavUp:
        MoveFocusRow(-1);
        break;
    case kLxNavDown:
        MoveFocusRow(1);
        break;
    }
    return 0;
}

// Header.

BOOL CLxListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    if (!m_header.m_hWnd || header->hwndFrom != m_header.m_hWnd)
        return CListCtrl::OnNotify(wParam, lParam, result);
    NMHEADERA* item = (NMHEADERA*)lParam;
    switch (header->code)
    {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
        if (m_header.m_fixedWidthMask & LxColumnBit(GetColumnId(item->iItem)))
        {
            *result = 1;
            return TRUE;
        }
        SetFocus();
        break;
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
        if (m_background)
            Invalidate();
        if (item->iItem != 0 && item->pitem && (item->pitem->mask & HDI_WIDTH) &&
            item->pitem->cxy < kMinColumnWidth)
        {
            *result = 1;
            return TRUE;
        }
        break;
    case NM_RCLICK:
        ShowHeaderMenu();
        break;
    }
    return CListCtrl::OnNotify(wParam, lParam, result);
}

// The menu's commands act on the column clicked (-1: none).
void CLxListCtrl::ShowHeaderMenu()
{
    DWORD position = ::GetMessagePos();
    CPoint screen((short)LOWORD(position), (short)HIWORD(position));
    CPoint point = screen;
    m_header.ScreenToClient(&point);
    m_headerMenuColumn = -1;
    for (int i = 0; i < m_header.GetItemCount(); i++)
    {
        CRect rect;
        if (m_header.GetItemRect(i, &rect) && rect.PtInRect(point))
            m_headerMenuColumn = i;
    }
    const LxMenuEntry entries[] = {
        {ID_LX_SORT_ASCENDING, "Sort ascending"},
        {ID_LX_SORT_DESCENDING, "Sort descending"},
        {0, NULL},
        {ID_LX_CUSTOMIZE_HEADER, "Customize header"},
        {ID_LX_HEADER_FORMAT, "Header format"},
    };
    CLxPopupMenu::Show(entries, ARRAYSIZE(entries), this, screen);
}

void CLxListCtrl::MoveColumn(int* from, int* to)
{
    SetFocus();
    if (*from == 0)
        return;
    if (*to == 0)
        *to = 1;
    if (*from == *to)
        return;
    char text[kMovedTextLength] = "";
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.pszText = text;
    column.cchTextMax = sizeof(text);
    if (!GetColumn(*from, &column))
        return;
    SetRedraw(FALSE);
    int inserted = InsertColumn(*to, &column);
    if (inserted >= 0)
    {
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_LPARAM;
        m_header.GetItem(inserted, &item);
        item.fmt |= HDF_OWNERDRAW;
        item.lParam = column.iSubItem;
        m_header.SetItem(inserted, &item);
        if (*to < *from)
            (*from)++;
        for (int row = GetItemCount() - 1; row >= 0; row--)
            SetItemText(row, inserted, LPSTR_TEXTCALLBACKA);
        DeleteColumn(*from);
    }
    SetRedraw(TRUE);
    Invalidate();
}

// Cell tooltips.

void CLxListCtrl::HideTip()
{
    if ((m_style & kLxStyleCellTips) && m_tip.m_hWnd && m_tip.IsWindowVisible())
        m_tip.Hide();
}

bool CLxListCtrl::TipCell(CPoint point, CRect& cell, int& column, int& row)
{
    row = CellFromPoint(point, &cell, &column);
    if (row < 0)
        return false;
    if (m_pCategoryManager && (column == 0 || IsCategoryRow(row)))
        return false;
    return !((m_style & kLxStyleImageCells) && (m_imageMask & LxColumnBit(GetColumnId(column))));
}

void CLxListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (!(m_style & kLxStyleCellTips) || flags != 0 || !m_tip.m_hWnd || ::GetFocus() != m_hWnd)
    {
        Default();
        return;
    }
    CRect cell;
    int column = 0, row = -1;
    bool tip = TipCell(point, cell, column, row);
    // Category rows and the box column take no tip and no list-view tracking.
    if (!tip && row >= 0 && m_pCategoryManager)
        return;
    if (tip)
    {
        CString text;
        GetCellText(row, column, text);
        cell.bottom--;
        int offset = 5;
        if (column == 0)
        {
            CRect bounds, label;
            GetItemRect(row, &bounds, LVIR_BOUNDS);
            GetItemRect(row, &label, LVIR_LABEL);
            offset = label.left - bounds.left + 2;
        }
        m_tip.Show(cell, text, offset);
    }
    Default();
}
