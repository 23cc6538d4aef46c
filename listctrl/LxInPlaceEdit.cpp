#include "listctrl/LxInPlaceEdit.h"

#include "listctrl/LxListCtrl.h"

namespace
{
// Room kept right of the text while the editor grows.
const int kGrowMargin = 5;
}

BEGIN_MESSAGE_MAP(CLxInPlaceEdit, CLxMenuRichEdit)
    ON_WM_CREATE()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CLxInPlaceEdit::CLxInPlaceEdit(int row, int column, const CString& text, bool clickThrough,
                               bool* alive)
    : m_clickThrough(clickThrough), m_alive(alive), m_row(row), m_column(column),
      m_initialText(text), m_cancelled(false), m_closing(false)
{
    if (m_alive)
        *m_alive = true;
}

CLxInPlaceEdit::~CLxInPlaceEdit()
{
    if (m_alive)
        *m_alive = false;
}

void CLxInPlaceEdit::PostNcDestroy()
{
    delete this;
}

CLxListCtrl* CLxInPlaceEdit::List() const
{
    return (CLxListCtrl*)GetParent();
}

int CLxInPlaceEdit::OnCreate(LPCREATESTRUCTA cs)
{
    if (Default() == -1)
        return -1;
    (void)cs;
    SetFont(&List()->m_fonts[CLxListCtrl::kFontNormal]);
    SetWindowText(m_initialText);
    SetFocus();
    SetSel(0, -1);
    // The caret lands where the user double-clicked.
    if (m_clickThrough)
        CLxListCtrl::ClickAtCursor(*this);
    return 0;
}

void CLxInPlaceEdit::Commit()
{
    CString text;
    GetWindowText(text);
    if (text == m_initialText)
        return;
    m_initialText = text;
    List()->SendEndLabelEdit(GetDlgCtrlID(), m_row, m_column, text);
}

void CLxInPlaceEdit::Close()
{
    List()->CloseEditor(*this, m_closing);
}

void CLxInPlaceEdit::LeaveCell(int direction)
{
    Commit();
    List()->CloseEditor(*this, m_closing, direction, LxCellPos{m_row, m_column});
}

void CLxInPlaceEdit::OnKillFocus(CWnd* newWnd)
{
    Default();
    (void)newWnd;
    if (m_closing)
        return;
    if (!m_cancelled)
        Commit();
    Close();
}

BOOL CLxInPlaceEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd || msg->message != WM_KEYDOWN)
        return CLxMenuRichEdit::PreTranslateMessage(msg);
    long start = 0, end = 0;
    GetSel(start, end);
    switch (msg->wParam)
    {
    case VK_LEFT:
        if (start == 0 && end == 0)
        {
            LeaveCell(kLxNavLeft);
            return TRUE;
        }
        break;
    case VK_RIGHT:
        if (start == end && end == GetTextLength())
        {
            LeaveCell(kLxNavRight);
            return TRUE;
        }
        break;
    case VK_UP:
        LeaveCell(kLxNavUp);
        return TRUE;
    case VK_DOWN:
        LeaveCell(kLxNavDown);
        return TRUE;
    }
    // Kept from the frame's accelerators.
    bool ownKey = msg->wParam == VK_RETURN || msg->wParam == VK_DELETE ||
                  msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT || msg->wParam == VK_TAB;
    if (!ownKey && !(::GetKeyState(VK_CONTROL) & 0x8000))
        return FALSE;
    ::TranslateMessage(msg);
    ::DispatchMessageA(msg);
    return TRUE;
}

// Enter, Tab and Esc act on their characters; the rich edit must not also
// take their key-down (a multi-line editor would start a new line).
void CLxInPlaceEdit::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_RETURN || key == VK_TAB || key == VK_ESCAPE)
        return;
    Default();
}

void CLxInPlaceEdit::OnChar(UINT key, UINT, UINT)
{
    switch (key)
    {
    case VK_ESCAPE:
        m_cancelled = true;
        Close();
        return;
    case VK_RETURN:
        // The focus loss commits and closes.
        List()->SetFocus();
        return;
    case VK_TAB:
        LeaveCell(::GetKeyState(VK_SHIFT) & 0x8000 ? kLxNavPrevCell : kLxNavNextCell);
        return;
    }
    Default();
    GrowToText();
}

void CLxInPlaceEdit::GrowToText()
{
    CString text;
    GetWindowText(text);
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&List()->m_fonts[CLxListCtrl::kFontNormal]);
    int width = dc.GetTextExtent(text).cx;
    dc.SelectObject(old);
    CRect rect;
    GetWindowRect(&rect);
    List()->ScreenToClient(&rect);
    if (width + kGrowMargin <= rect.Width())
        return;
    CRect client;
    List()->GetClientRect(&client);
    rect.right = std::max((int)client.right, (int)rect.left + width + kGrowMargin);
    MoveWindow(&rect);
}

void CLxInPlaceEdit::OnLButtonDblClk(UINT, CPoint)
{
    Default();
    List()->SendDblClk();
}
