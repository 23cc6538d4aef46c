#include "shell/app/ChildFrame.h"

#include "shell/app/WindowPlacementText.h"

namespace
{
// A frame that goes by this name stays hidden.
const char kHiddenSection[] = "Bogus";
const RECT kDefaultRect = { 239, 0, 562, 357 };
}

int CChildFrame::s_openCount = 0;

IMPLEMENT_DYNCREATE(CChildFrame, TkMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, TkMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CChildFrame::CChildFrame()
{
}

BOOL CChildFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The document writes the titles itself.
    cs.style &= ~FWS_ADDTOTITLE;
    return TkMDIChildWnd::PreCreateWindow(cs);
}

void CChildFrame::ActivateFrame(int cmdShow)
{
    if (m_bFirstActivation)
    {
        m_bFirstActivation = FALSE;
        cmdShow = RestorePlacement(cmdShow);
    }
    if (m_strSection == kHiddenSection)
        cmdShow = SW_HIDE;
    TkMDIChildWnd::ActivateFrame(cmdShow);
}

int CChildFrame::RestorePlacement(int cmdShow)
{
    GetWindowText(m_strSection);
    CRect rect = kDefaultRect;
    CString saved = AfxGetApp()->GetProfileString(m_strSection, "Rect", "");
    if (!saved.IsEmpty() && !ParseProfileRect(saved, rect))
        rect = kDefaultRect;
    if (rect.right <= rect.left)
        return cmdShow;
    WINDOWPLACEMENT placement = { sizeof(placement) };
    placement.flags = WPF_RESTORETOMAXIMIZED;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.ptMaxPosition.x = -GetSystemMetrics(SM_CXBORDER);
    placement.ptMaxPosition.y = -GetSystemMetrics(SM_CYBORDER);
    placement.rcNormalPosition = rect;
    SetWindowPlacement(&placement);
    return SW_SHOWMAXIMIZED;
}

int CChildFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (TkMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    ++s_openCount;
    return 0;
}

void CChildFrame::OnClose()
{
    if (s_openCount <= 1)
        return;
    TkMDIChildWnd::OnClose();
}

void CChildFrame::OnDestroy()
{
    // A frame destroyed without its close (with the document) counts down here.
    --s_openCount;
    SaveWindowPlacement(this, m_strSection);
    TkMDIChildWnd::OnDestroy();
}
