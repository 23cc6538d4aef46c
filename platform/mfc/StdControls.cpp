#include "platform/mfc/StdControls.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace
{
// Calls the owner-draw virtual of a list or combo box that message asks for.
template <class Control>
BOOL DispatchOwnerDraw(Control* control, UINT message, LPARAM lParam, LRESULT* result)
{
    switch (message)
    {
    case WM_DRAWITEM:
        control->DrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        control->MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        if (result)
            *result = control->CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        return TRUE;
    case WM_DELETEITEM:
        control->DeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    default:
        return FALSE;
    }
    if (result)
        *result = TRUE;
    return TRUE;
}
}

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create("BUTTON", caption, style, rect, parentWnd, id);
}

int CButton::GetCheck() const
{
    return (int)SendMessage(BM_GETCHECK);
}

void CButton::SetCheck(int check)
{
    SendMessage(BM_SETCHECK, check);
}

UINT CButton::GetState() const
{
    return (UINT)SendMessage(BM_GETSTATE);
}

void CButton::SetState(BOOL highlight)
{
    SendMessage(BM_SETSTATE, highlight);
}

UINT CButton::GetButtonStyle() const
{
    return GetStyle() & 0xFFFF;
}

void CButton::SetButtonStyle(UINT style, BOOL redraw)
{
    SendMessage(BM_SETSTYLE, style, redraw);
}

HBITMAP CButton::SetBitmap(HBITMAP bitmap)
{
    return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
}

HBITMAP CButton::GetBitmap() const
{
    return (HBITMAP)SendMessage(BM_GETIMAGE, IMAGE_BITMAP);
}

HICON CButton::SetIcon(HICON icon)
{
    return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon);
}

HICON CButton::GetIcon() const
{
    return (HICON)SendMessage(BM_GETIMAGE, IMAGE_ICON);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (result)
        *result = TRUE;
    return TRUE;
}

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create("STATIC", text, style, rect, parentWnd, id);
}

HICON CStatic::SetIcon(HICON icon)
{
    return (HICON)SendMessage(STM_SETICON, (WPARAM)icon);
}

HICON CStatic::GetIcon() const
{
    return (HICON)SendMessage(STM_GETICON);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap)
{
    return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
}

HBITMAP CStatic::GetBitmap() const
{
    return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create("EDIT", NULL, style, rect, parentWnd, id);
}

BOOL CEdit::CanUndo() const
{
    return (BOOL)SendMessage(EM_CANUNDO);
}

BOOL CEdit::Undo()
{
    return (BOOL)SendMessage(EM_UNDO);
}

void CEdit::Cut()
{
    SendMessage(WM_CUT);
}

void CEdit::Copy()
{
    SendMessage(WM_COPY);
}

void CEdit::Paste()
{
    SendMessage(WM_PASTE);
}

void CEdit::Clear()
{
    SendMessage(WM_CLEAR);
}

int CEdit::GetLineCount() const
{
    return (int)SendMessage(EM_GETLINECOUNT);
}

int CEdit::LineIndex(int line) const
{
    return (int)SendMessage(EM_LINEINDEX, line);
}

int CEdit::LineLength(int charIndex) const
{
    return (int)SendMessage(EM_LINELENGTH, charIndex);
}

int CEdit::LineFromChar(int charIndex) const
{
    return (int)SendMessage(EM_LINEFROMCHAR, charIndex);
}

int CEdit::GetFirstVisibleLine() const
{
    return (int)SendMessage(EM_GETFIRSTVISIBLELINE);
}

void CEdit::LineScroll(int lines, int chars)
{
    SendMessage(EM_LINESCROLL, chars, lines);
}

int CEdit::GetLine(int line, LPSTR buffer, int maxLength) const
{
    // The message reads the buffer's size from its first word.
    if (maxLength < (int)sizeof(WORD))
        return 0;
    *(WORD*)buffer = (WORD)maxLength;
    return (int)SendMessage(EM_GETLINE, line, (LPARAM)buffer);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD first = 0, last = 0;
    SendMessage(EM_GETSEL, (WPARAM)&first, (LPARAM)&last);
    start = (int)first;
    end = (int)last;
}

DWORD CEdit::GetSel() const
{
    return (DWORD)SendMessage(EM_GETSEL);
}

void CEdit::SetSel(int start, int end, BOOL noScroll)
{
    SendMessage(EM_SETSEL, start, end);
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::SetSel(DWORD selection, BOOL noScroll)
{
    SetSel(LOWORD(selection), HIWORD(selection), noScroll);
}

void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo)
{
    SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text);
}

void CEdit::LimitText(int maxChars)
{
    SendMessage(EM_LIMITTEXT, maxChars);
}

UINT CEdit::GetLimitText() const
{
    return (UINT)SendMessage(EM_GETLIMITTEXT);
}

BOOL CEdit::GetModify() const
{
    return (BOOL)SendMessage(EM_GETMODIFY);
}

void CEdit::SetModify(BOOL modified)
{
    SendMessage(EM_SETMODIFY, modified);
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    return (BOOL)SendMessage(EM_SETREADONLY, readOnly);
}

void CEdit::SetPasswordChar(char ch)
{
    SendMessage(EM_SETPASSWORDCHAR, (BYTE)ch);
}

void CEdit::GetRect(LPRECT rect) const
{
    SendMessage(EM_GETRECT, 0, (LPARAM)rect);
}

void CEdit::SetRect(LPCRECT rect)
{
    SendMessage(EM_SETRECT, 0, (LPARAM)rect);
}

void CEdit::SetMargins(UINT left, UINT right)
{
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right));
}

POINT CEdit::PosFromChar(UINT charIndex) const
{
    DWORD position = (DWORD)SendMessage(EM_POSFROMCHAR, charIndex);
    POINT point = {(short)LOWORD(position), (short)HIWORD(position)};
    return point;
}

int CEdit::CharFromPos(POINT point) const
{
    return (int)SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y));
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create("LISTBOX", NULL, style, rect, parentWnd, id);
}

int CListBox::GetCount() const
{
    return (int)SendMessage(LB_GETCOUNT);
}

int CListBox::AddString(LPCSTR text)
{
    return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)text);
}

int CListBox::InsertString(int index, LPCSTR text)
{
    return (int)SendMessage(LB_INSERTSTRING, index, (LPARAM)text);
}

int CListBox::DeleteString(UINT index)
{
    return (int)SendMessage(LB_DELETESTRING, index);
}

void CListBox::ResetContent()
{
    SendMessage(LB_RESETCONTENT);
}

int CListBox::GetText(int index, LPSTR buffer) const
{
    return (int)SendMessage(LB_GETTEXT, index, (LPARAM)buffer);
}

void CListBox::GetText(int index, CString& text) const
{
    int length = GetTextLen(index);
    if (length == LB_ERR)
    {
        text.Empty();
        return;
    }
    GetText(index, text.GetBuffer(length + 1));
    text.ReleaseBuffer(length);
}

int CListBox::GetTextLen(int index) const
{
    return (int)SendMessage(LB_GETTEXTLEN, index);
}

int CListBox::FindString(int startAfter, LPCSTR text) const
{
    return (int)SendMessage(LB_FINDSTRING, startAfter, (LPARAM)text);
}

int CListBox::FindStringExact(int startAfter, LPCSTR text) const
{
    return (int)SendMessage(LB_FINDSTRINGEXACT, startAfter, (LPARAM)text);
}

int CListBox::SelectString(int startAfter, LPCSTR text)
{
    return (int)SendMessage(LB_SELECTSTRING, startAfter, (LPARAM)text);
}

int CListBox::GetCurSel() const
{
    return (int)SendMessage(LB_GETCURSEL);
}

int CListBox::SetCurSel(int index)
{
    return (int)SendMessage(LB_SETCURSEL, index);
}

int CListBox::GetSel(int index) const
{
    return (int)SendMessage(LB_GETSEL, index);
}

int CListBox::SetSel(int index, BOOL select)
{
    return (int)SendMessage(LB_SETSEL, select, index);
}

int CListBox::GetSelCount() const
{
    return (int)SendMessage(LB_GETSELCOUNT);
}

int CListBox::GetSelItems(int maxItems, LPINT items) const
{
    return (int)SendMessage(LB_GETSELITEMS, maxItems, (LPARAM)items);
}

DWORD_PTR CListBox::GetItemData(int index) const
{
    return (DWORD_PTR)SendMessage(LB_GETITEMDATA, index);
}

int CListBox::SetItemData(int index, DWORD_PTR data)
{
    return (int)SendMessage(LB_SETITEMDATA, index, (LPARAM)data);
}

void* CListBox::GetItemDataPtr(int index) const
{
    return (void*)GetItemData(index);
}

int CListBox::SetItemDataPtr(int index, void* data)
{
    return SetItemData(index, (DWORD_PTR)data);
}

int CListBox::GetItemRect(int index, LPRECT rect) const
{
    return (int)SendMessage(LB_GETITEMRECT, index, (LPARAM)rect);
}

int CListBox::GetItemHeight(int index) const
{
    return (int)SendMessage(LB_GETITEMHEIGHT, index);
}

int CListBox::SetItemHeight(int index, UINT height)
{
    return (int)SendMessage(LB_SETITEMHEIGHT, index, MAKELONG(height, 0));
}

int CListBox::GetTopIndex() const
{
    return (int)SendMessage(LB_GETTOPINDEX);
}

int CListBox::SetTopIndex(int index)
{
    return (int)SendMessage(LB_SETTOPINDEX, index);
}

int CListBox::GetCaretIndex() const
{
    return (int)SendMessage(LB_GETCARETINDEX);
}

int CListBox::SetCaretIndex(int index, BOOL scroll)
{
    return (int)SendMessage(LB_SETCARETINDEX, index, MAKELONG(scroll, 0));
}

void CListBox::SetHorizontalExtent(int extent)
{
    SendMessage(LB_SETHORIZONTALEXTENT, extent);
}

UINT CListBox::ItemFromPoint(POINT point, BOOL& outside) const
{
    DWORD answer = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    outside = HIWORD(answer);
    return LOWORD(answer);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}

void CListBox::DeleteItem(LPDELETEITEMSTRUCT)
{
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return DispatchOwnerDraw(this, message, lParam, result) ||
           CWnd::OnChildNotify(message, wParam, lParam, result);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create("COMBOBOX", NULL, style, rect, parentWnd, id);
}

int CComboBox::GetCount() const
{
    return (int)SendMessage(CB_GETCOUNT);
}

int CComboBox::AddString(LPCSTR text)
{
    return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text);
}

int CComboBox::InsertString(int index, LPCSTR text)
{
    return (int)SendMessage(CB_INSERTSTRING, index, (LPARAM)text);
}

int CComboBox::DeleteString(UINT index)
{
    return (int)SendMessage(CB_DELETESTRING, index);
}

void CComboBox::ResetContent()
{
    SendMessage(CB_RESETCONTENT);
}

int CComboBox::GetLBText(int index, LPSTR buffer) const
{
    return (int)SendMessage(CB_GETLBTEXT, index, (LPARAM)buffer);
}

void CComboBox::GetLBText(int index, CString& text) const
{
    int length = GetLBTextLen(index);
    if (length == CB_ERR)
    {
        text.Empty();
        return;
    }
    GetLBText(index, text.GetBuffer(length + 1));
    text.ReleaseBuffer(length);
}

int CComboBox::GetLBTextLen(int index) const
{
    return (int)SendMessage(CB_GETLBTEXTLEN, index);
}

int CComboBox::FindString(int startAfter, LPCSTR text) const
{
    return (int)SendMessage(CB_FINDSTRING, startAfter, (LPARAM)text);
}

int CComboBox::FindStringExact(int startAfter, LPCSTR text) const
{
    return (int)SendMessage(CB_FINDSTRINGEXACT, startAfter, (LPARAM)text);
}

int CComboBox::SelectString(int startAfter, LPCSTR text)
{
    return (int)SendMessage(CB_SELECTSTRING, startAfter, (LPARAM)text);
}

int CComboBox::GetCurSel() const
{
    return (int)SendMessage(CB_GETCURSEL);
}

int CComboBox::SetCurSel(int index)
{
    return (int)SendMessage(CB_SETCURSEL, index);
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    return (DWORD_PTR)SendMessage(CB_GETITEMDATA, index);
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    return (int)SendMessage(CB_SETITEMDATA, index, (LPARAM)data);
}

void* CComboBox::GetItemDataPtr(int index) const
{
    return (void*)GetItemData(index);
}

int CComboBox::SetItemDataPtr(int index, void* data)
{
    return SetItemData(index, (DWORD_PTR)data);
}

void CComboBox::ShowDropDown(BOOL show)
{
    SendMessage(CB_SHOWDROPDOWN, show);
}

BOOL CComboBox::GetDroppedState() const
{
    return (BOOL)SendMessage(CB_GETDROPPEDSTATE);
}

int CComboBox::SetDroppedWidth(UINT width)
{
    return (int)SendMessage(CB_SETDROPPEDWIDTH, width);
}

BOOL CComboBox::LimitText(int maxChars)
{
    return (BOOL)SendMessage(CB_LIMITTEXT, maxChars);
}

DWORD CComboBox::GetEditSel() const
{
    return (DWORD)SendMessage(CB_GETEDITSEL);
}

BOOL CComboBox::SetEditSel(int start, int end)
{
    return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(start, end));
}

int CComboBox::GetItemHeight(int index) const
{
    return (int)SendMessage(CB_GETITEMHEIGHT, index);
}

int CComboBox::SetItemHeight(int index, UINT height)
{
    return (int)SendMessage(CB_SETITEMHEIGHT, index, height);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}

void CComboBox::DeleteItem(LPDELETEITEMSTRUCT)
{
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return DispatchOwnerDraw(this, message, lParam, result) ||
           CWnd::OnChildNotify(message, wParam, lParam, result);
}

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create("SCROLLBAR", NULL, style, rect, parentWnd, id);
}

int CScrollBar::GetScrollPos() const
{
    return ::GetScrollPos(m_hWnd, SB_CTL);
}

int CScrollBar::SetScrollPos(int pos, BOOL redraw)
{
    return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw);
}

void CScrollBar::GetScrollRange(LPINT minPos, LPINT maxPos) const
{
    ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos);
}

void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw)
{
    ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask)
{
    return CWnd::GetScrollInfo(SB_CTL, info, mask);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw)
{
    return CWnd::SetScrollInfo(SB_CTL, info, redraw);
}

void CScrollBar::ShowScrollBar(BOOL show)
{
    ::ShowScrollBar(m_hWnd, SB_CTL, show);
}
