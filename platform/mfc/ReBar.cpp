#include "platform/mfc/ReBar.h"
#include "platform/mfc/FrameWnd.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CReBar::CReBar()
{
    SetBorders(0, 0, 0, 0);
}

BOOL CReBar::Create(CWnd* parent, DWORD rebarStyle, DWORD style, UINT id)
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_COOL_CLASSES};
    if (!::InitCommonControlsEx(&init))
        return FALSE;
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | rebarStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN;
    if (m_dwStyle & CBRS_ORIENT_VERT)
        windowStyle |= CCS_VERT;
    if (!CWnd::Create(REBARCLASSNAMEA, NULL, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    REBARINFO info = {sizeof(info), 0, NULL};
    return (BOOL)SendMessage(RB_SETBARINFO, 0, (LPARAM)&info);
}

BOOL CReBar::AddBar(CWnd* bar, LPCSTR text, DWORD bandStyle)
{
    CRect rect;
    bar->GetWindowRect(&rect);
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    band.fStyle = bandStyle;
    band.hwndChild = bar->m_hWnd;
    band.cxMinChild = rect.Width();
    band.cyMinChild = rect.Height();
    band.cx = rect.Width();
    if (text != NULL) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPSTR>(text);
    }
    return (BOOL)SendMessage(RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&band);
}

int CReBar::GetBandCount() const
{
    return (int)::SendMessageA(m_hWnd, RB_GETBANDCOUNT, 0, 0);
}

HWND CReBar::GetBandChild(int band) const
{
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD;
    if (!::SendMessageA(m_hWnd, RB_GETBANDINFOA, band, (LPARAM)&info))
        return NULL;
    return info.hwndChild;
}

int CReBar::GetBarHeight() const
{
    return (int)::SendMessageA(m_hWnd, RB_GETBARHEIGHT, 0, 0);
}

// The rebar's rows across its whole side; the control draws its own edges.
CSize CReBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CRect window;
    GetWindowRect(&window);
    int height = GetBarHeight();
    if (horizontal)
        return CSize(stretch ? 32767 : window.Width(), height);
    return CSize(height, stretch ? 32767 : window.Height());
}

CSize CReBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZ);
}

// The control paints its bands itself.
void CReBar::OnPaint()
{
    Default();
}

BOOL CReBar::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}
