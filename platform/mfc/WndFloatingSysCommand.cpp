#include "platform/mfc/Wnd.h"

BOOL CWnd::HandleFloatingSysCommand(UINT id, LPARAM lParam)
{
    CWnd* parent = GetTopLevelParent();
    if (!(GetStyle() & WS_POPUP) || !parent || parent->m_hWnd == m_hWnd)
        return FALSE;
    switch (id & 0xFFF0)
    {
    case SC_PREVWINDOW:
    case SC_NEXTWINDOW:
        if (LOWORD(lParam) != VK_F6)
            return FALSE;
        parent->SetFocus();
        return TRUE;
    case SC_KEYMENU:
    case SC_CLOSE:
        parent->SendMessage(WM_SYSCOMMAND, id, lParam);
        return TRUE;
    }
    return FALSE;
}
