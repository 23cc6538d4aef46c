#include "shell/views/ResizingFormView.h"

IMPLEMENT_DYNAMIC(CResizingFormView, CFormView)

BEGIN_MESSAGE_MAP(CResizingFormView, CFormView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CResizingFormView::CResizingFormView(UINT templateId) : CFormView(templateId), m_templateId(templateId)
{
}

void CResizingFormView::AddControl(UINT id, WORD flags)
{
    if (flags)
        m_controls.push_back(MAKELONG(id, flags));
}

int CResizingFormView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CFormView::OnCreate(cs) == -1)
        return -1;
    m_minTrack = CSize(cs->cx, cs->cy);
    return 0;
}

void CResizingFormView::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (m_minTrack.cx == 0 && m_minTrack.cy == 0)
    {
        Default();
        return;
    }
    info->ptMinTrackSize = CPoint(m_minTrack.cx, m_minTrack.cy);
}

void CResizingFormView::OnSize(UINT type, int cx, int cy)
{
    CFormView::OnSize(type, cx, cy);
    if (m_sized)
        FollowSize(cx - m_last.cx, cy - m_last.cy);
    m_last = CSize(cx, cy);
    m_sized = true;
}

void CResizingFormView::FollowSize(int dx, int dy)
{
    for (DWORD entry : m_controls)
    {
        CWnd* control = GetDlgItem(LOWORD(entry));
        if (!control)
            continue;
        WORD flags = HIWORD(entry);
        CRect rect;
        control->GetWindowRect(&rect);
        ScreenToClient(&rect);
        if (flags & kStretchRight)
            rect.right += dx;
        else if (flags & kMoveRight)
            rect.OffsetRect(dx, 0);
        if (flags & kStretchDown)
            rect.bottom += dy;
        else if (flags & kMoveDown)
            rect.OffsetRect(0, dy);
        control->MoveWindow(&rect, TRUE);
    }
}

void CResizingFormView::OnDestroy()
{
    if (m_rememberSize && m_sized)
    {
        CRect window;
        GetWindowRect(&window);
        CString section;
        section.Format("%X", m_templateId);
        AfxGetApp()->WriteProfileInt(section, "CX", window.Width());
        AfxGetApp()->WriteProfileInt(section, "CY", window.Height());
    }
    m_sized = false;
    m_last = CSize(0, 0);
    CFormView::OnDestroy();
}
