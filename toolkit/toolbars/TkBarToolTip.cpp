#include "toolkit/toolbars/TkBarToolTip.h"

#include <afxext.h>

#include <stdlib.h>

namespace {

BOOL IsMouseMessage(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// A hit test's text is the caller's to free unless it asks back for it.
void FreeText(TOOLINFOA& info)
{
    if (info.lpszText != NULL && info.lpszText != LPSTR_TEXTCALLBACKA)
        free(info.lpszText);
    info.lpszText = NULL;
}

}  // namespace

TkBarToolTip::TkBarToolTip() : m_lastHit(-1), m_tool()
{
}

TkBarToolTip::~TkBarToolTip()
{
    if (m_tip.GetSafeHwnd() != NULL)
        m_tip.DestroyWindow();
}

INT_PTR TkBarToolTip::Relay(CControlBar* bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsMouseMessage(message))
        return m_lastHit;
    if (m_tip.GetSafeHwnd() == NULL && !m_tip.Create(bar, TTS_ALWAYSTIP))
        return -1;
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    INT_PTR hit = bar->OnToolHitTest(point, &info);
    // Separators answer command 0: no tip.
    if (hit == 0)
        hit = -1;
    if (hit != m_lastHit)
        ReplaceTool(bar, info, hit);
    FreeText(info);
    MSG msg = {};
    msg.hwnd = bar->GetSafeHwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetMessageTime();
    GetCursorPos(&msg.pt);
    m_tip.RelayEvent(&msg);
    return hit;
}

void TkBarToolTip::ReplaceTool(CControlBar* bar, TOOLINFOA& info, INT_PTR hit)
{
    if (m_lastHit != -1)
        m_tip.SendMessage(TTM_DELTOOLA, 0, (LPARAM)&m_tool);
    m_lastHit = hit;
    if (hit == -1)
        return;
    info.cbSize = sizeof(info);
    info.hwnd = bar->GetSafeHwnd();
    info.uFlags &= ~TTF_SUBCLASS;
    m_tip.SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&info);
    m_tool = info;
    m_tool.lpszText = NULL;
}

void TkBarToolTip::Reset()
{
    if (m_tip.GetSafeHwnd() == NULL)
        return;
    m_tip.Pop();
    TOOLINFOA none = {};
    ReplaceTool(NULL, none, -1);
}

BOOL TkBarToolTip::OnNeedText(NMHDR* header)
{
    if (m_tip.GetSafeHwnd() == NULL || header->hwndFrom != m_tip.GetSafeHwnd() ||
        header->code != TTN_NEEDTEXTA)
        return FALSE;
    NMTTDISPINFOA* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    UINT_PTR id = header->idFrom;
    if (request->uFlags & TTF_IDISHWND)
        id = ::GetDlgCtrlID((HWND)id);
    m_text = TipOfCommand((UINT)id);
    request->hinst = NULL;
    request->lpszText = const_cast<LPSTR>((LPCSTR)m_text);
    return TRUE;
}

CString TkBarToolTip::TipOfCommand(UINT id)
{
    CString text;
    if (id == 0 || !text.LoadString(id))
        return CString();
    int newline = text.Find('\n');
    if (newline < 0)
        return CString();
    text = text.Mid(newline + 1);
    newline = text.Find('\n');
    return newline < 0 ? text : text.Left(newline);
}
