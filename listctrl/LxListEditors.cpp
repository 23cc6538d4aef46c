// The paths of CLxListCtrl into its in-place editors: opening one over a
// cell, and what the editors send as if the list had sent it.
#include "listctrl/LxListCtrl.h"

#include "listctrl/LxInPlaceCell.h"
#include "listctrl/LxInPlaceEdit.h"

namespace
{
const UINT kEditorId = 104;
// Editors keep this far inside the cell's left edge (and the text editor its right).
const int kEditorInset = 6;
}

// Value of a choice request (request code 1).
const LPARAM kChoiceRequestValue = 128;

bool CLxListCtrl::EditorRect(int row, int column, int rightInset, RECT* rect)
{
    if (!EnsureVisible(row, TRUE) || !EnsureColumnVisible(column))
        return false;
    CRect cell;
    if (!GetCellRect(row, column, &cell))
        return false;
    CRect bounds;
    GetItemRect(row, &bounds, LVIR_BOUNDS);
    CRect client;
    GetClientRect(&client);
    *rect = CRect(cell.left + kEditorInset, bounds.top,
                  std::min(cell.right - rightInset, client.right), bounds.bottom);
    return true;
}

bool CLxListCtrl::AskEditorLook(int row, int column, LxCellLook& look)
{
    if (!(m_style & kLxStyleAskCells))
        return false;
    CLxListRequest request;
    request.m_code = kLxRequestCell;
    request.m_row = row;
    request.m_columnId = GetColumnId(column);
    request.m_itemData = GetItemData(row);
    if (!RequestData(request))
        return false;
    look.answer = request.m_answer;
    look.text = request.m_textColor;
    look.font = request.m_font;
    return true;
}

CLxInPlaceEdit* CLxListCtrl::EditCellText(int row, int column, bool byMouse)
{
    CRect rect;
    if (!EditorRect(row, column, kEditorInset, &rect))
        return NULL;
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT;
    GetColumn(column, &info);
    DWORD style = WS_CHILD | WS_VISIBLE;
    if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
        style |= ES_MULTILINE | ES_RIGHT;
    else if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
        style |= ES_MULTILINE | ES_CENTER;
    CString text;
    GetCellText(row, column, text);
    CLxInPlaceEdit* editor = new CLxInPlaceEdit(row, column, text, byMouse, &m_editorOpen);
    if (!editor->Create(style, rect, this, kEditorId))
    {
        delete editor;
        return NULL;
    }
    LxCellLook look;
    if (!AskEditorLook(row, column, look))
        return editor;
    editor->SendMessage(WM_SETFONT, (WPARAM)FontOf(look, m_fonts)->m_hObject, TRUE);
    if (look.answer & kLxAnswerTextColor)
    {
        CHARFORMATA format = {};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_COLOR;
        format.crTextColor = look.text;
        long start = 0, end = 0;
        editor->GetSel(start, end);
        editor->SetDefaultCharFormat(format);
        editor->SetSel(0, -1);
        editor->SetSelectionCharFormat(format);
        editor->SetSel(start, end);
    }
    return editor;
}

CLxInPlaceCell* CLxListCtrl::EditCellWithList(int row, int column, bool editableChoice,
                                              bool byMouse)
{
    CRect rect;
    if (!EditorRect(row, column, 0, &rect))
        return NULL;
    rect.top++;
    rect.bottom -= 2;
    CLxListRequest request;
    request.m_code = kLxRequestChoices;
    request.m_row = row;
    request.m_columnId = GetColumnId(column);
    request.m_itemData = GetItemData(row);
    request.m_value = kChoiceRequestValue;
    GetCellText(row, column, request.m_text);
    request.m_pChoices = new CStringArray;
    if (!RequestData(request))
    {
        delete request.m_pChoices;
        return NULL;
    }
    CLxInPlaceCell* editor = new CLxInPlaceCell(row, column, request.m_text, request.m_pChoices,
                                                editableChoice, byMouse);
    LxCellLook look;
    bool answered = AskEditorLook(row, column, look);
    editor->SetOwnFont((HFONT)FontOf(look, m_fonts)->m_hObject);
    if (answered && (look.answer & kLxAnswerTextColor))
        editor->SetTextColor(look.text);
    if (!editor->Create(WS_CHILD | WS_VISIBLE, rect, this, kEditorId))
    {
        delete editor;
        return NULL;
    }
    return editor;
}

CWnd* CLxListCtrl::OpenEditor(int row, int column, bool byMouse)
{
    DWORD bit = LxColumnBit(GetColumnId(column));
    // "Disable Editing" closes every road into the text editor.
    if ((m_editMask & bit) && m_inPlaceEdit)
        return EditCellText(row, column, byMouse);
    if (m_dropListMask & bit)
        return EditCellWithList(row, column, false, byMouse);
    if (m_dropDownMask & bit)
        return EditCellWithList(row, column, true, byMouse);
    return NULL;
}

void CLxListCtrl::SendEndLabelEdit(int editorId, int row, int column, const char* text)
{
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = editorId;
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.iSubItem = column;
    info.item.pszText = (LPSTR)text;
    info.item.cchTextMax = text ? lstrlenA(text) : 0;
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_NOTIFY, ControlId(), (LPARAM)&info);
}

void CLxListCtrl::SendDblClk()
{
    NMHDR header = {};
    header.hwndFrom = m_hWnd;
    header.idFrom = ControlId();
    header.code = NM_DBLCLK;
    CWnd* target = NotifyTarget();
    if (target)
        target->SendMessage(WM_NOTIFY, header.idFrom, (LPARAM)&header);
}

void CLxListCtrl::CloseEditor(CWnd& editor, bool& closing, int direction, LxCellPos from)
{
    closing = true;
    editor.DestroyWindow();
    if (direction >= 0)
        SendMessage(WM_LX_NAVIGATE, direction, (LPARAM)&from);
}

void CLxListCtrl::ClickAtCursor(CWnd& editor)
{
    CPoint cursor;
    ::GetCursorPos(&cursor);
    editor.ScreenToClient(&cursor);
    editor.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cursor.x, cursor.y));
    editor.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(cursor.x, cursor.y));
}
