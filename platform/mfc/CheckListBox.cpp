#include "platform/mfc/CheckListBox.h"

#include <vector>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

namespace
{
const int kCheckSize = 13;
const int kCheckMargin = 2;

BOOL IsAutoStyle(UINT style)
{
    return style == BS_AUTOCHECKBOX || style == BS_AUTO3STATE;
}
}

CCheckListBox::CCheckListBox() : m_checkStyle(BS_AUTOCHECKBOX)
{
}

CCheckListBox::~CCheckListBox()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CCheckListBox::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    if (!(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
        style |= LBS_OWNERDRAWFIXED;
    return CListBox::Create(style, rect, parentWnd, id);
}

void CCheckListBox::SetCheckStyle(UINT style)
{
    if (style == BS_CHECKBOX || style == BS_AUTOCHECKBOX || style == BS_3STATE ||
        style == BS_AUTO3STATE)
        m_checkStyle = style;
}

UINT CCheckListBox::GetCheckStyle() const
{
    return m_checkStyle;
}

CCheckListBox::ItemState* CCheckListBox::FindState(int index) const
{
    LRESULT raw = const_cast<CCheckListBox*>(this)->DefWindowProc(LB_GETITEMDATA, index, 0);
    return raw == LB_ERR ? NULL : (ItemState*)raw;
}

CCheckListBox::ItemState* CCheckListBox::StateOf(int index)
{
    if (index < 0 || index >= GetCount())
        return NULL;
    ItemState* state = FindState(index);
    if (!state)
    {
        state = new ItemState{0, TRUE, 0};
        DefWindowProc(LB_SETITEMDATA, index, (LPARAM)state);
    }
    return state;
}

void CCheckListBox::InvalidateItem(int index)
{
    CRect item;
    if (GetItemRect(index, &item) != LB_ERR)
        InvalidateRect(&item, FALSE);
}

void CCheckListBox::SetCheck(int index, int check)
{
    ItemState* state = StateOf(index);
    if (!state)
        return;
    state->check = check;
    InvalidateItem(index);
}

int CCheckListBox::GetCheck(int index) const
{
    ItemState* state = FindState(index);
    return state ? state->check : 0;
}

void CCheckListBox::Enable(int index, BOOL enabled)
{
    ItemState* state = StateOf(index);
    if (!state)
        return;
    state->enabled = enabled;
    InvalidateItem(index);
}

BOOL CCheckListBox::IsEnabled(int index) const
{
    ItemState* state = FindState(index);
    return state ? state->enabled : TRUE;
}

CRect CCheckListBox::OnGetCheckPosition(CRect, CRect checkBox)
{
    return checkBox;
}

CRect CCheckListBox::CheckBoxRect(const CRect& item)
{
    int size = kCheckSize;
    if (size > item.Height())
        size = item.Height();
    int left = item.left + kCheckMargin;
    int top = item.top + (item.Height() - size) / 2;
    return OnGetCheckPosition(item, CRect(left, top, left + size, top + size));
}

void CCheckListBox::DrawCheckBox(LPDRAWITEMSTRUCT drawItem, const CRect& box)
{
    RECT area = drawItem->rcItem;
    area.right = box.right + kCheckMargin;
    FillRect(drawItem->hDC, &area, GetSysColorBrush(COLOR_WINDOW));
    int check = GetCheck(drawItem->itemID);
    UINT state = DFCS_BUTTONCHECK;
    if (check == BST_CHECKED)
        state |= DFCS_CHECKED;
    else if (check == BST_INDETERMINATE)
        state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!IsEnabled(drawItem->itemID))
        state |= DFCS_INACTIVE;
    RECT frame = box;
    DrawFrameControl(drawItem->hDC, &frame, DFC_BUTTON, state);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    HDC dc = drawItem->hDC;
    if ((int)drawItem->itemID >= 0)
    {
        BOOL selected = drawItem->itemState & ODS_SELECTED;
        COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        if (!IsEnabled(drawItem->itemID))
            text = GetSysColor(COLOR_GRAYTEXT);
        COLORREF oldText = SetTextColor(dc, text);
        COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        CString caption;
        if (GetStyle() & LBS_HASSTRINGS)
            GetText(drawItem->itemID, caption);
        const RECT& rect = drawItem->rcItem;
        ExtTextOutA(dc, rect.left + kCheckMargin, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect,
                    caption, caption.GetLength(), NULL);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    }
    if (drawItem->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &drawItem->rcItem);
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM)
    {
        // The box first; the text drawer sees the rest of the item and the caller's data.
        DRAWITEMSTRUCT text = *(LPDRAWITEMSTRUCT)lParam;
        if ((int)text.itemID >= 0)
        {
            CRect box = CheckBoxRect(text.rcItem);
            DrawCheckBox((LPDRAWITEMSTRUCT)lParam, box);
            text.rcItem.left = box.right + kCheckMargin;
            ItemState* state = (ItemState*)text.itemData;
            text.itemData = state ? state->data : 0;
        }
        DrawItem(&text);
        if (result)
            *result = TRUE;
        return TRUE;
    }
    if (message == WM_DELETEITEM)
    {
        DELETEITEMSTRUCT deleted = *(LPDELETEITEMSTRUCT)lParam;
        ItemState* state = (ItemState*)deleted.itemData;
        deleted.itemData = state ? state->data : 0;
        DeleteItem(&deleted);
        if (result)
            *result = TRUE;
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, result);
}

BOOL CCheckListBox::ToggleFromUser(int index)
{
    ItemState* state = StateOf(index);
    if (!state || !state->enabled || !IsAutoStyle(m_checkStyle))
        return FALSE;
    int count = m_checkStyle == BS_AUTO3STATE ? 3 : 2;
    SetCheck(index, (state->check + 1) % count);
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                   (LPARAM)m_hWnd);
    return TRUE;
}

void CCheckListBox::FreeAllStates()
{
    std::vector<ItemState*> states;
    int count = GetCount();
    for (int i = 0; i < count; ++i)
        states.push_back(FindState(i));
    // The list sends WM_DELETEITEM while it empties, which still reads the records.
    DefWindowProc(LB_RESETCONTENT, 0, 0);
    for (ItemState* state : states)
        delete state;
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case LB_GETITEMDATA:
    {
        LRESULT raw = DefWindowProc(message, wParam, lParam);
        if (raw == LB_ERR)
            return LB_ERR;
        return raw ? (LRESULT)((ItemState*)raw)->data : 0;
    }
    case LB_SETITEMDATA:
    {
        ItemState* state = StateOf((int)wParam);
        if (!state)
            return LB_ERR;
        state->data = (DWORD_PTR)lParam;
        return 0;
    }
    case LB_DELETESTRING:
    {
        ItemState* state = FindState((int)wParam);
        LRESULT left = DefWindowProc(message, wParam, lParam);
        if (left != LB_ERR)
            delete state;
        return left;
    }
    case LB_RESETCONTENT:
        FreeAllStates();
        return 0;
    case WM_DESTROY:
        FreeAllStates();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
        BOOL outside = TRUE;
        int index = (int)ItemFromPoint(point, outside);
        CRect item;
        BOOL onBox = !outside && GetItemRect(index, &item) != LB_ERR &&
                     CheckBoxRect(item).PtInRect(point);
        // The list selects the clicked row first, so that the check change
        // reaches a parent that already sees that row as the selection.
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (onBox)
            ToggleFromUser(index);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && ToggleFromUser(GetCaretIndex()))
            return 0;
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
