#include "toolkit/menus/TkCaptionButtons.h"

#include "toolkit/menus/TkMenuBarMessages.h"
#include "toolkit/toolbars/TkCustomToolBar.h"

#include <algorithm>

namespace
{
const int kIconSize = 16;
// Gap before the close box.
const int kCloseGap = 2;

TkStdBtn* CreateCaption()
{
    return new TkBtnCaption;
}

TkStdBtn* CreateCapMenu()
{
    return new TkCapMenuBtn;
}
}  // namespace

HWND TkActiveMDIChild(CWnd* bar)
{
    // A floating bar's mini frame is owned by the frame.
    HWND root = bar && bar->GetSafeHwnd() ? ::GetAncestor(bar->m_hWnd, GA_ROOTOWNER) : NULL;
    CMDIFrameWnd* mdi = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(root));
    if (!mdi || !mdi->m_hWndMDIClient)
        return NULL;
    return (HWND)::SendMessageA(mdi->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0);
}

const TkBtnFactory TkBtnCaption::classTkBtnCaption = {CreateCaption};

TkBtnCaption::TkBtnCaption()
    : m_dwStyleMirror(kTkCaptionStyles), m_cxBox(::GetSystemMetrics(SM_CXSIZE) - 2),
      m_cyBox(::GetSystemMetrics(SM_CYSIZE) - 4), m_nPressed(-1)
{
    m_nKind = kTkBtnCaption;
}

const TkBtnFactory* TkBtnCaption::GetButtonClass() const
{
    return &classTkBtnCaption;
}

void TkBtnCaption::AdjustSize()
{
    m_cx = 3 * m_cxBox + kCloseGap;
    m_cy = m_cyBox;
    if (m_pBar)
        m_pBar->m_cxWidest = std::max(m_pBar->m_cxWidest, m_cx);
}

CRect TkBtnCaption::BoxRect(int box) const
{
    int x = m_x + box * m_cxBox + (box == 2 ? kCloseGap : 0);
    return CRect(x, m_y, x + m_cxBox, m_y + m_cyBox);
}

// The restore box counts only with the minimise-box style, as the minimise
// box does.
int TkBtnCaption::HitTest(CPoint pt) const
{
    if (!(m_dwStyleMirror & WS_SYSMENU))
        return -1;
    for (int box = 0; box < 3; box++)
    {
        if ((box < 2 && !(m_dwStyleMirror & WS_MINIMIZEBOX)) || !BoxRect(box).PtInRect(pt))
            continue;
        return box;
    }
    return -1;
}

BOOL TkBtnCaption::BtnPressDown(CPoint pt)
{
    if (HasStyle(TBBS_DISABLED))
        return FALSE;
    int box = HitTest(pt);
    if (box < 0)
        return FALSE;
    m_nPressed = box;
    m_dwStyle |= TBBS_PRESSED;
    Invalidate(FALSE);
    return TRUE;
}

void TkBtnCaption::BtnMouseMove(CPoint pt)
{
    BOOL over = m_nPressed >= 0 && HitTest(pt) == m_nPressed;
    DWORD before = m_dwStyle;
    m_dwStyle = over ? (m_dwStyle | TBBS_PRESSED) : (m_dwStyle & ~TBBS_PRESSED);
    if (m_dwStyle != before)
        Invalidate(FALSE);
}

void TkBtnCaption::BtnCancel()
{
    m_nPressed = -1;
    m_dwStyle &= ~TBBS_PRESSED;
    Invalidate(FALSE);
}

UINT TkBtnCaption::BtnPressUp(CPoint pt)
{
    static const UINT kCommands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    if (m_nPressed >= 0 && HitTest(pt) == m_nPressed)
    {
        HWND child = TkActiveMDIChild(m_pBar);
        CPoint screen(pt);
        m_pBar->ClientToScreen(&screen);
        if (child)
            ::PostMessageA(child, WM_SYSCOMMAND, kCommands[m_nPressed],
                           MAKELPARAM(screen.x, screen.y));
    }
    m_nPressed = -1;
    m_dwStyle &= ~TBBS_PRESSED;
    return 0;
}

void TkBtnCaption::Render(CDC* dc, TkDrawData*)
{
    dc->FillSolidRect(GetRect(), ::GetSysColor(COLOR_BTNFACE));
    if (!(m_dwStyleMirror & WS_SYSMENU))
        return;
    static const UINT kGlyphs[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
    for (int box = 0; box < 3; box++)
    {
        UINT state = kGlyphs[box];
        if (box < 2 && !(m_dwStyleMirror & WS_MINIMIZEBOX))
            state |= DFCS_INACTIVE;
        if (box == m_nPressed && HasStyle(TBBS_PRESSED))
            state |= DFCS_PUSHED;
        CRect rect = BoxRect(box);
        ::DrawFrameControl(dc->m_hDC, &rect, DFC_CAPTION, state);
    }
}

const TkBtnFactory TkCapMenuBtn::classTkCapMenuBtn = {CreateCapMenu};

TkCapMenuBtn::TkCapMenuBtn() : m_hIcon(NULL)
{
    m_nKind = kTkBtnSysMenu;
}

const TkBtnFactory* TkCapMenuBtn::GetButtonClass() const
{
    return &classTkCapMenuBtn;
}

void TkCapMenuBtn::Init(TkCustomToolBar* bar, const TkBtnInitData*)
{
    m_pBar = bar;
    AdjustSize();
}

void TkCapMenuBtn::AdjustSize()
{
    m_cx = m_cy = kIconSize;
    if (m_pBar)
        m_pBar->m_cxWidest = std::max(m_pBar->m_cxWidest, kIconSize);
}

void TkCapMenuBtn::Render(CDC* dc, TkDrawData*)
{
    dc->FillSolidRect(GetRect(), ::GetSysColor(COLOR_BTNFACE));
    if (m_hIcon)
        ::DrawIconEx(dc->m_hDC, m_x, m_y, m_hIcon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
}

void TkCapMenuBtn::OpenMenu()
{
    HWND child = TkActiveMDIChild(m_pBar);
    if (!child)
        return;
    HMENU menu = TkMenuBarMessages::GetDefaultedSystemMenu(CWnd::FromHandle(child));
    if (menu)
        m_pBar->OpenMenuButton(this, (DWORD_PTR)menu, (DWORD_PTR)-1);
}
