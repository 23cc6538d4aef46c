#include "listctrl/LxDropListBox.h"

#include "listctrl/LxInPlaceCell.h"

BEGIN_MESSAGE_MAP(CLxDropListBox, CListBox)
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONUP()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CLxDropListBox::CLxDropListBox(CLxInPlaceCell* editor) : m_editor(editor), m_remembered(-1)
{
}

void CLxDropListBox::OnKillFocus(CWnd* newWnd)
{
    (void)newWnd;
    int selected = GetCurSel();
    m_remembered = selected >= 0 ? (int)GetItemData(selected) : -1;
    m_rememberedText.Empty();
    if (selected >= 0)
        GetText(selected, m_rememberedText);
    Default();
    if (m_editor->m_hWnd)
    {
        m_editor->SetFocus();
        m_editor->RepaintButton();
    }
    DestroyWindow();
}

void CLxDropListBox::Close(bool sendChoice)
{
    m_remembered = -1;
    // The editor taking the focus closes this list through the focus loss.
    if (m_editor->m_hWnd)
    {
        m_editor->SetFocus();
        m_editor->RepaintButton();
    }
    if (sendChoice && m_remembered >= 0)
        m_editor->SendMessage(WM_LX_SETCHOICE, m_remembered, (LPARAM)(LPCSTR)m_rememberedText);
    if (m_hWnd)
        DestroyWindow();
}

// The editor's second button click asks the list to close: no choice.
void CLxDropListBox::OnClose()
{
    Close(false);
}

void CLxDropListBox::OnLButtonUp(UINT, CPoint)
{
    Default();
    Close(true);
}

BOOL CLxDropListBox::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
    {
        Close(msg->wParam == VK_RETURN);
        return TRUE;
    }
    return CListBox::PreTranslateMessage(msg);
}
