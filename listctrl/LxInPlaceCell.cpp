#include "listctrl/LxInPlaceCell.h"

#include "listctrl/LxListCtrl.h"

#include <ctype.h>
#include <string.h>

namespace
{
// The drop list is never taller than this.
const int kMaxDropHeight = 100;
// OBM_COMBO, which winuser.h declares only with OEMRESOURCE.
const UINT kComboArrowBitmap = 32738;

bool ShiftDown()
{
    return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}
}

// The rich edit of a drop-down list.

BEGIN_MESSAGE_MAP(CLxInPlaceRichEdit, CLxMenuRichEdit)
    ON_WM_CREATE()
    ON_WM_CHAR()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CLxInPlaceRichEdit::CLxInPlaceRichEdit(CLxInPlaceCell* editor, bool clickThrough)
    : m_editor(editor), m_clickThrough(clickThrough), m_deleting(false), m_completing(false)
{
}

int CLxInPlaceRichEdit::OnCreate(LPCREATESTRUCTA cs)
{
    if (Default() == -1)
        return -1;
    (void)cs;
    // The caret lands where the user double-clicked.
    if (m_clickThrough)
        CLxListCtrl::ClickAtCursor(*this);
    SetEventMask(ENM_CHANGE | ENM_KEYEVENTS);
    return 0;
}

BOOL CLxInPlaceRichEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd || msg->message != WM_KEYDOWN)
        return CLxMenuRichEdit::PreTranslateMessage(msg);
    switch (msg->wParam)
    {
    case VK_UP:
    case VK_DOWN:
        m_editor->StepChoice(msg->wParam == VK_UP ? -1 : 1);
        return TRUE;
    case VK_DELETE:
    case VK_BACK:
        m_deleting = true;
        break;
    }
    // Every key is this editor's, none the frame's.
    ::TranslateMessage(msg);
    ::DispatchMessageA(msg);
    return TRUE;
}

void CLxInPlaceRichEdit::OnChar(UINT key, UINT, UINT)
{
    if (!m_editor->HandleKey(key))
        Default();
}

void CLxInPlaceRichEdit::Complete()
{
    if (m_completing)
        return;
    if (m_deleting)
    {
        m_deleting = false;
        return;
    }
    CString text;
    GetWindowText(text);
    int index = m_editor->FindPrefix(-1, text);
    if (index < 0 || m_editor->GetChoice(index) == text)
        return;
    m_completing = true;
    SetWindowText(m_editor->GetChoice(index));
    SetSel(text.GetLength(), GetTextLength());
    m_completing = false;
}

void CLxInPlaceRichEdit::OnKillFocus(CWnd* newWnd)
{
    Default();
    GetWindowText(m_finalText);
    m_editor->ChildLostFocus(newWnd ? newWnd->m_hWnd : NULL, m_finalText);
}

void CLxInPlaceRichEdit::OnLButtonDblClk(UINT, CPoint)
{
    Default();
    m_editor->List()->SendDblClk();
}

// The static text of a drop list.

BEGIN_MESSAGE_MAP(CLxDropListStatic, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CLxDropListStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
    CString text;
    GetWindowText(text);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, m_editor->Font());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_editor->GetTextColor());
    dc.TextOut(0, 0, text);
    ::SelectObject(dc.m_hDC, old);
}

// The editor.

BEGIN_MESSAGE_MAP(CLxInPlaceCell, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CHAR()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_LX_SETCHOICE, OnSetChoice)
END_MESSAGE_MAP()

CLxInPlaceCell::CLxInPlaceCell(int row, int column, const CString& text, CStringArray* choices,
                               bool editable, bool clickThrough)
    : m_font(NULL), m_flat(true), m_current(-1), m_editable(editable),
      m_buttonWidth(::GetSystemMetrics(SM_CXHSCROLL)), m_row(row), m_column(column),
      m_value(text), m_cancelled(false), m_closing(false), m_choices(choices),
      m_richEdit(this, clickThrough), m_static(this), m_dropList(this),
      m_textColor(::GetSysColor(COLOR_WINDOWTEXT))
{
    m_comboBitmap.LoadOEMBitmap(kComboArrowBitmap);
}

CLxInPlaceCell::~CLxInPlaceCell()
{
    if (m_dropList.m_hWnd)
        m_dropList.DestroyWindow();
    delete m_choices;
}

void CLxInPlaceCell::PostNcDestroy()
{
    delete this;
}

BOOL CLxInPlaceCell::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    return CWnd::Create(windowClass, "", style | WS_CHILD, rect, parent, id);
}

CLxListCtrl* CLxInPlaceCell::List() const
{
    return (CLxListCtrl*)GetParent();
}

HFONT CLxInPlaceCell::Font() const
{
    return m_font ? m_font : (HFONT)List()->GetNormalFont()->m_hObject;
}

CRect CLxInPlaceCell::ButtonRect() const
{
    CRect client;
    GetClientRect(&client);
    client.left = client.right - m_buttonWidth;
    return client;
}

bool CLxInPlaceCell::OwnsWindow(HWND window)
{
    return window && (window == m_hWnd || ::IsChild(m_hWnd, window) ||
                      window == m_dropList.m_hWnd);
}

int CLxInPlaceCell::OnCreate(LPCREATESTRUCTA cs)
{
    if (Default() == -1)
        return -1;
    (void)cs;
    CRect text;
    GetClientRect(&text);
    text.right -= m_buttonWidth;
    UINT childId = GetDlgCtrlID() + 1;
    CFont* font = CFont::FromHandle(Font());
    if (m_editable)
    {
        m_richEdit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, text, this, childId);
        m_richEdit.SetFont(font);
        m_richEdit.SetWindowText(m_value);
        CHARFORMATA format = {};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_COLOR;
        format.crTextColor = m_textColor;
        long start = 0, end = 0;
        m_richEdit.GetSel(start, end);
        m_richEdit.SetDefaultCharFormat(format);
        m_richEdit.SetSel(0, -1);
        m_richEdit.SetSelectionCharFormat(format);
        m_richEdit.SetSel(start, end);
    }
    else
    {
        m_static.Create(m_value, WS_CHILD | WS_VISIBLE, text, this, childId);
        m_static.SetFont(font);
    }
    m_current = FindChoice(-1, m_value);
    SetFocus();
    return 0;
}

void CLxInPlaceCell::RepaintButton()
{
    CRect button = ButtonRect();
    InvalidateRect(&button, FALSE);
    UpdateWindow();
}

void CLxInPlaceCell::OnPaint()
{
    CPaintDC dc(this);
    CRect button = ButtonRect();
    dc.FillSolidRect(&button, ::GetSysColor(COLOR_3DFACE));
    BITMAP info = {};
    if (m_comboBitmap.m_hObject && ::GetObjectA(m_comboBitmap.m_hObject, sizeof(info), &info))
    {
        CDC memory;
        memory.CreateCompatibleDC(&dc);
        HGDIOBJ old = ::SelectObject(memory.m_hDC, m_comboBitmap.m_hObject);
        dc.BitBlt(button.left + (button.Width() - info.bmWidth) / 2,
                  button.top + (button.Height() - info.bmHeight) / 2, info.bmWidth,
                  info.bmHeight, &memory, 0, 0, SRCCOPY);
        ::SelectObject(memory.m_hDC, old);
    }
    bool pressed = m_dropList.m_hWnd && m_dropList.IsWindowVisible();
    COLORREF face = ::GetSysColor(COLOR_3DFACE), black = RGB(0, 0, 0);
    if (pressed)
    {
        dc.Draw3dRect(&button, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
        button.DeflateRect(1, 1);
        if (!m_flat)
            dc.Draw3dRect(&button, black, face);
        return;
    }
    if (!m_flat)
    {
        dc.Draw3dRect(&button, face, black);
        button.DeflateRect(1, 1);
    }
    dc.Draw3dRect(&button, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
}

BOOL CLxInPlaceCell::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    client.right -= m_buttonWidth;
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
    return TRUE;
}

void CLxInPlaceCell::OnSize(UINT, int cx, int cy)
{
    Default();
    CWnd* text = m_editable ? (CWnd*)&m_richEdit : (CWnd*)&m_static;
    if (text->m_hWnd)
        text->MoveWindow(0, 0, cx - m_buttonWidth, cy);
}

// Choices.

void CLxInPlaceCell::SelectChoice(int index)
{
    if (index < 0 || index >= GetChoiceCount())
        return;
    m_current = index;
    ShowText(GetChoice(index));
}

int CLxInPlaceCell::FindChoice(int start, const CString& text) const
{
    for (int i = std::max(start, 0); i < GetChoiceCount(); i++)
        if (!GetChoice(i).IsEmpty() && GetChoice(i) == text)
            return i;
    return -1;
}

int CLxInPlaceCell::FindPrefix(int start, const CString& prefix) const
{
    for (int i = std::max(start, 0); i < GetChoiceCount(); i++)
        if (GetChoice(i).Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
            return i;
    return -1;
}

CString CLxInPlaceCell::NextByFirstLetter(char letter)
{
    int count = GetChoiceCount();
    int from = std::max(m_current, 0);
    for (int step = 0; step < count; step++)
    {
        int i = (from + step) % count;
        CString choice = GetChoice(i);
        if (!choice.IsEmpty() && choice[0] == letter)
        {
            m_current = i;
            return choice;
        }
    }
    return CString();
}

void CLxInPlaceCell::ShowText(const CString& text)
{
    if (m_editable)
    {
        if (m_richEdit.m_hWnd)
            m_richEdit.SetWindowText(text);
        return;
    }
    m_static.SetWindowText(text);
    m_static.Invalidate();
}

CString CLxInPlaceCell::GetShownText() const
{
    CString text;
    if (!m_editable)
        m_static.GetWindowText(text);
    else if (m_richEdit.m_hWnd)
        m_richEdit.GetWindowText(text);
    else
        text = m_richEdit.GetFinalText();
    return text;
}

LRESULT CLxInPlaceCell::OnSetChoice(WPARAM index, LPARAM text)
{
    if (text)
        ShowText((LPCSTR)text);
    if ((int)index >= 0)
        m_current = (int)index;
    return 0;
}

BOOL CLxInPlaceCell::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == EN_CHANGE && (HWND)lParam == m_richEdit.m_hWnd)
    {
        m_richEdit.Complete();
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// Ending.

void CLxInPlaceCell::Commit(const char* text)
{
    CString shown = text ? CString(text) : GetShownText();
    if (shown == m_value)
        return;
    m_value = shown;
    List()->SendEndLabelEdit(GetDlgCtrlID(), m_row, m_column, shown);
}

void CLxInPlaceCell::Close()
{
    List()->CloseEditor(*this, m_closing);
}

void CLxInPlaceCell::LeaveCell(int direction)
{
    Commit(NULL);
    List()->CloseEditor(*this, m_closing, direction, LxCellPos{m_row, m_column});
}

bool CLxInPlaceCell::HandleKey(UINT key)
{
    switch (key)
    {
    case VK_RETURN:
        Commit(NULL);
        List()->SetFocus();
        return true;
    case VK_ESCAPE:
        m_cancelled = true;
        List()->SetFocus();
        return true;
    case VK_TAB:
        LeaveCell(ShiftDown() ? kLxNavPrevCell : kLxNavNextCell);
        return true;
    }
    return false;
}

void CLxInPlaceCell::OnKillFocus(CWnd* newWnd)
{
    Default();
    if (m_closing)
        return;
    if (!m_cancelled && newWnd && OwnsWindow(newWnd->m_hWnd))
        return;
    if (!m_cancelled)
        Commit(NULL);
    Close();
}

void CLxInPlaceCell::ChildLostFocus(HWND newFocus, const CString& text)
{
    if (m_closing || (!m_cancelled && OwnsWindow(newFocus)))
        return;
    if (!m_cancelled)
        Commit(text);
    Close();
}

void CLxInPlaceCell::OnSetFocus(CWnd*)
{
    Default();
    if (m_richEdit.m_hWnd)
        m_richEdit.SetFocus();
}

void CLxInPlaceCell::OnChar(UINT key, UINT, UINT)
{
    if (!HandleKey(key))
        Default();
}

void CLxInPlaceCell::OnLButtonDblClk(UINT, CPoint)
{
    Default();
    List()->SendDblClk();
}

BOOL CLxInPlaceCell::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd)
        return CWnd::PreTranslateMessage(msg);
    if (msg->message == WM_CHAR && !m_editable && isalnum((unsigned char)msg->wParam))
    {
        CString choice = NextByFirstLetter((char)msg->wParam);
        if (!choice.IsEmpty())
            ShowText(choice);
        return FALSE;
    }
    if (msg->message != WM_KEYDOWN)
        return CWnd::PreTranslateMessage(msg);
    switch (msg->wParam)
    {
    case VK_UP:
        StepChoice(-1);
        return TRUE;
    case VK_DOWN:
        StepChoice(1);
        return TRUE;
    case VK_LEFT:
        LeaveCell(kLxNavLeft);
        return TRUE;
    case VK_RIGHT:
        LeaveCell(kLxNavRight);
        return TRUE;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_TAB:
        return HandleKey((UINT)msg->wParam);
    }
    return FALSE;
}

// The drop list.

void CLxInPlaceCell::OnLButtonDown(UINT, CPoint point)
{
    int count = GetChoiceCount();
    if (ButtonRect().PtInRect(point) && count > 0)
    {
        if (m_dropList.m_hWnd)
            m_dropList.PostMessage(WM_CLOSE);
        else
            OpenDropList();
    }
    else if (m_dropList.m_hWnd)
        m_dropList.DestroyWindow();
    RepaintButton();
    Default();
}

void CLxInPlaceCell::OpenDropList()
{
    CLxListCtrl* list = List();
    CClientDC dc(list);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, list->GetNormalFont()->m_hObject);
    int itemHeight = dc.GetTextExtent("X", 1).cy + 3;
    ::SelectObject(dc.m_hDC, old);
    int count = GetChoiceCount();
    CRect drop;
    GetWindowRect(&drop);
    list->ScreenToClient(&drop);
    drop.top = drop.bottom;
    drop.bottom = drop.top + std::min((count + 1) * itemHeight, kMaxDropHeight);
    // No integral height: the list box is exactly as tall as asked. It is
    // shown once filled: a shown one repaints its scroll bar at every choice.
    DWORD style = WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOINTEGRALHEIGHT;
    if (!m_dropList.Create(style, drop, list, GetDlgCtrlID() + 2))
        return;
    for (int i = 0; i < count; i++)
        m_dropList.SetItemData(m_dropList.AddString(GetChoice(i)), i);
    ::SetWindowPos(m_dropList.m_hWnd, HWND_TOP, 0, 0, drop.Width(),
                   std::min(itemHeight * count, kMaxDropHeight), SWP_NOMOVE | SWP_SHOWWINDOW);
    m_dropList.SetFont(list->GetNormalFont());
    m_dropList.SetCurSel(m_dropList.FindStringExact(-1, GetShownText()));
    m_dropList.SetFocus();
}
