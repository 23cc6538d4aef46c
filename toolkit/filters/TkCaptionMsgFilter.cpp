#include "toolkit/filters/TkCaptionMsgFilter.h"

namespace
{
// Ids below this name a caption control.
const UINT kFirstNonControlId = 4096;
// The controls' ids: the DrawFrameControl caption buttons of the same number.
const int kClose = 0;
const int kMinimize = 1;
const int kMaximize = 2;
const int kRestore = 3;
const int kHelp = 4;
const UINT_PTR kRepeatTimer = 1;
// Results of a control's filtering.
const LRESULT kDrewItself = 1;
const LRESULT kUsedMouse = 7;

CPoint PointOf(LPARAM lParam)
{
    return CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
}
}

IMPLEMENT_DYNCREATE(TkCaptionMsgFilter, TkNcMsgFilter)

CRect TkCaptionMsgFilter::GetCaptionRect() const
{
    CWnd* owner = GetOwner();
    if (!owner || !::IsWindow(owner->m_hWnd))
        return CRect(0, 0, 0, 0);
    DWORD style = owner->GetStyle();
    DWORD exStyle = owner->GetExStyle();
    CSize border(0, 0);
    if (style & (WS_CAPTION | WS_THICKFRAME))
    {
        if ((style & WS_THICKFRAME) && !owner->IsIconic())
            border = CSize(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
        else if (style & WS_DLGFRAME)
            border = CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME));
        else
            border = CSize(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
    }
    CRect window;
    owner->GetWindowRect(&window);
    int height = 0;
    if ((style & WS_CAPTION) == WS_CAPTION)
        height = ::GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION) -
                 ::GetSystemMetrics(SM_CYBORDER);
    return CRect(border.cx, border.cy, border.cx + window.Width() - 2 * border.cx,
                 border.cy + height);
}

CSize TkCaptionMsgFilter::GetButtonSize(int cxMetric, int cyMetric) const
{
    return CSize(::GetSystemMetrics(cxMetric) - 2, ::GetSystemMetrics(cyMetric) - 4);
}

CSize TkCaptionMsgFilter::GetCaptionButtonSize() const
{
    CWnd* owner = GetOwner();
    if (owner && owner->m_hWnd && (owner->GetExStyle() & WS_EX_TOOLWINDOW))
        return GetButtonSize(SM_CXSMSIZE, SM_CYSMSIZE);
    return GetButtonSize(SM_CXSIZE, SM_CYSIZE);
}

CPoint TkCaptionMsgFilter::GetFirstButtonPos(const CRect& caption, CSize button) const
{
    return CPoint(caption.right - button.cx - 2, caption.top + 2);
}

IMPLEMENT_DYNCREATE(TkCaptionControlMsgFilter, TkCaptionMsgFilter)

TkCaptionControlMsgFilter::TkCaptionControlMsgFilter()
    : m_rect(0, 0, 0, 0), m_nType(DFC_CAPTION), m_nState(0), m_bTracking(FALSE), m_nRepeat(-1),
      m_pTimer(NULL)
{
}

TkCaptionControlMsgFilter::TkCaptionControlMsgFilter(const TkCaptionControlMsgFilter& other)
    : TkCaptionMsgFilter(other), m_rect(other.m_rect), m_nType(other.m_nType),
      m_nState(other.m_nState), m_bTracking(FALSE), m_nRepeat(other.m_nRepeat), m_pTimer(NULL)
{
}

TkCaptionControlMsgFilter::~TkCaptionControlMsgFilter()
{
    StopRepeat();
}

int TkCaptionControlMsgFilter::GetControlId() const
{
    return m_nId < kFirstNonControlId ? (int)m_nId : -1;
}

LRESULT TkCaptionControlMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT* result)
{
    CPoint point = PointOf(lParam);
    switch (message)
    {
    case WM_SETTEXT:
    case WM_SETCURSOR:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        Draw();
        return kDrewItself;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && HitTest(point.x, point.y))
        {
            if (!(m_nState & DFCS_INACTIVE))
                OnNcLButtonDown(point.x, point.y);
            return kUsedMouse;
        }
        break;
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && HitTest(point.x, point.y) && !(m_nState & DFCS_INACTIVE))
        {
            Fire(fireRightPress, point.x, point.y);
            return kUsedMouse;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (m_bTracking && GetOwner())
        {
            GetOwner()->ClientToScreen(&point);
            if (message == WM_MOUSEMOVE)
                OnMouseMove(point.x, point.y);
            else
                OnLButtonUp(point.x, point.y);
            return kUsedMouse;
        }
        break;
    }
    return TkCaptionMsgFilter::OnFilter(message, wParam, lParam, result);
}

void TkCaptionControlMsgFilter::Draw()
{
    int id = GetControlId();
    CWnd* owner = GetOwner();
    if (id < 0 || !owner || !::IsWindow(owner->m_hWnd) || m_rect.IsRectEmpty())
        return;
    // The caption buttons' glyphs have the numbers of the controls' ids.
    UINT state = m_nState | (id <= kHelp ? (UINT)id : 0);
    CWindowDC dc(owner);
    CRect rect(m_rect);
    ::DrawFrameControl(dc.m_hDC, &rect, m_nType, state);
}

BOOL TkCaptionControlMsgFilter::HitTest(int x, int y) const
{
    CWnd* owner = GetOwner();
    if (!owner || !::IsWindow(owner->m_hWnd))
        return FALSE;
    CRect window;
    owner->GetWindowRect(&window);
    return m_rect.PtInRect(CPoint(x - window.left, y - window.top));
}

void TkCaptionControlMsgFilter::OnNcLButtonDown(int x, int y)
{
    BeginTracking(TRUE, TRUE);
    if (m_nRepeat != 0)
        StartRepeat(x, y);
    else
        OnRepeat(x, y);
}

void TkCaptionControlMsgFilter::OnLButtonUp(int x, int y)
{
    EndTracking(TRUE, TRUE);
    if (HitTest(x, y))
        Fire(fireClick, x, y);
}

void TkCaptionControlMsgFilter::OnRepeat(int x, int y)
{
    EndTracking(TRUE, FALSE);
    Fire(fireRepeat, x, y);
}

void TkCaptionControlMsgFilter::OnMouseMove(int x, int y)
{
    BOOL over = HitTest(x, y);
    if (over == ((m_nState & DFCS_PUSHED) != 0))
        return;
    if (over)
    {
        m_nState |= DFCS_PUSHED;
        StartRepeat(x, y);
    }
    else
    {
        m_nState &= ~DFCS_PUSHED;
        StopRepeat();
    }
    Draw();
}

void TkCaptionControlMsgFilter::Fire(int kind, int x, int y)
{
    HWND window = NULL;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (GetCommand(kind, x, y, &window, &message, &wParam, &lParam))
        ::PostMessageA(window, message, wParam, lParam);
}

BOOL TkCaptionControlMsgFilter::GetCommand(int kind, int x, int y, HWND* window, UINT* message,
                                           WPARAM* wParam, LPARAM* lParam)
{
    static const WPARAM kCommands[] = {SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE,
                                       SC_CONTEXTHELP};
    int id = GetControlId();
    if (kind != fireClick || id < kClose || id > kHelp || !GetOwner())
        return FALSE;
    *window = GetOwner()->m_hWnd;
    *message = WM_SYSCOMMAND;
    *wParam = kCommands[id];
    *lParam = MAKELONG(x, y);
    return TRUE;
}

void TkCaptionControlMsgFilter::BeginTracking(BOOL pushed, BOOL redraw)
{
    m_bTracking = TRUE;
    if (pushed)
        m_nState |= DFCS_PUSHED;
    if (GetOwner())
        GetOwner()->SetCapture();
    if (redraw)
        Draw();
}

void TkCaptionControlMsgFilter::EndTracking(BOOL clearPushed, BOOL redraw)
{
    m_bTracking = FALSE;
    StopRepeat();
    if (clearPushed)
        m_nState &= ~DFCS_PUSHED;
    if (GetOwner() && ::GetCapture() == GetOwner()->m_hWnd)
        ::ReleaseCapture();
    if (redraw)
        Draw();
}

void TkCaptionControlMsgFilter::StopRepeat()
{
    if (!m_pTimer)
        return;
    m_pTimer->Release();
    m_pTimer = NULL;
}

void TkCaptionControlMsgFilter::StartRepeat(int x, int y)
{
    if (m_nRepeat <= 0)
        return;
    StopRepeat();
    m_pTimer = new TkCaptionControlMsgFilterTimer(this, m_nRepeat, CPoint(x, y));
    if (!m_pTimer->Create())
    {
        delete m_pTimer;
        m_pTimer = NULL;
    }
}

BOOL TkCaptionControlMsgFilter::IsShown(BOOL* inactive) const
{
    int id = GetControlId();
    CWnd* owner = GetOwner();
    if (id < 0 || !owner || !::IsWindow(owner->m_hWnd) || !(owner->GetStyle() & WS_SYSMENU))
        return FALSE;
    DWORD style = owner->GetStyle();
    BOOL off = FALSE;
    BOOL shown = FALSE;
    DWORD boxes = style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    BOOL toolWindow = (owner->GetExStyle() & WS_EX_TOOLWINDOW) != 0;
    if (id == kClose)
    {
        HMENU menu = ::GetSystemMenu(owner->m_hWnd, FALSE);
        UINT state = menu ? ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : 0;
        off = state != (UINT)-1 && (state & (MF_GRAYED | MF_DISABLED));
        shown = TRUE;
    }
    else if (toolWindow)
        shown = FALSE;
    else if (id == kMaximize)
    {
        shown = boxes && !owner->IsZoomed();
        off = !(style & WS_MAXIMIZEBOX);
    }
    else if (id == kRestore)
    {
        shown = boxes && (owner->IsZoomed() || owner->IsIconic());
        off = !(style & (owner->IsZoomed() ? WS_MAXIMIZEBOX : WS_MINIMIZEBOX));
    }
    else if (id == kMinimize)
    {
        shown = boxes && !owner->IsIconic();
        off = !(style & WS_MINIMIZEBOX);
    }
    else if (id == kHelp)
        shown = !boxes && (owner->GetExStyle() & WS_EX_CONTEXTHELP);
    if (inactive)
        *inactive = off;
    return shown;
}

IMPLEMENT_DYNCREATE(TkCaptionControlListMsgFilter, TkCaptionMsgFilter)

TkCaptionControlListMsgFilter::TkCaptionControlListMsgFilter()
{
    for (int id : {kClose, kMaximize, kRestore, kMinimize, kHelp})
        m_controls.Add(id, (UINT)-1, RUNTIME_CLASS(TkCaptionControlMsgFilter));
    ApplyDescriptors(&m_controls, TRUE);
}

TkCaptionControlListMsgFilter::TkCaptionControlListMsgFilter(
    const TkCaptionControlListMsgFilter& other)
    : TkCaptionMsgFilter(other), m_controls(other.m_controls)
{
}

LRESULT TkCaptionControlListMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT* result)
{
    LayoutControls();
    return TkCaptionMsgFilter::OnFilter(message, wParam, lParam, result);
}

void TkCaptionControlListMsgFilter::LayoutControls()
{
    CWnd* owner = GetOwner();
    if (!IsEnabled() || !owner || !::IsWindow(owner->m_hWnd))
        return;
    CSize size = GetCaptionButtonSize();
    CPoint position = GetFirstButtonPos(GetCaptionRect(), size);
    for (int index = 0; index < GetChildCount(); index++)
    {
        TkMsgFilter* child = GetChild(index);
        if (!child->IsKindOf(RUNTIME_CLASS(TkCaptionControlMsgFilter)))
            continue;
        TkCaptionControlMsgFilter* control = static_cast<TkCaptionControlMsgFilter*>(child);
        BOOL inactive = FALSE;
        if (!control->IsShown(&inactive))
        {
            control->SetRect(CRect(0, 0, 0, 0));
            continue;
        }
        control->SetRect(CRect(position, size));
        UINT state = control->GetState() & ~DFCS_INACTIVE;
        control->SetState(inactive ? state | DFCS_INACTIVE : state);
        position.x -= size.cx;
        int id = control->GetControlId();
        if (id == kClose || id == kMinimize || (id == kRestore && owner->IsIconic()))
            position.x -= 2;
    }
}

IMPLEMENT_DYNCREATE(TkCapConLstMDIMaxChildMsgFilter, TkCaptionControlListMsgFilter)

CSize TkCapConLstMDIMaxChildMsgFilter::GetCaptionButtonSize() const
{
    return GetButtonSize(SM_CXMENUSIZE, SM_CYMENUSIZE);
}

CPoint TkCapConLstMDIMaxChildMsgFilter::GetFirstButtonPos(const CRect& caption,
                                                          CSize button) const
{
    CPoint position = TkCaptionControlListMsgFilter::GetFirstButtonPos(caption, button);
    position.y += ::GetSystemMetrics(SM_CYCAPTION);
    return position;
}

BEGIN_MESSAGE_MAP(TkCaptionControlMsgFilterTimer, CWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TkCaptionControlMsgFilterTimer::TkCaptionControlMsgFilterTimer(
    TkCaptionControlMsgFilter* control, int interval, CPoint point)
    : m_pControl(control), m_nInterval(interval), m_bTimerSet(FALSE), m_bFired(FALSE),
      m_point(point)
{
}

BOOL TkCaptionControlMsgFilterTimer::Create()
{
    return CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, NULL, NULL);
}

void TkCaptionControlMsgFilterTimer::Release()
{
    m_pControl = NULL;
    PostMessage(WM_CLOSE);
}

// A window that failed to be made leaves its object to the control.
void TkCaptionControlMsgFilterTimer::PostNcDestroy()
{
    if (m_bTimerSet)
        delete this;
}

int TkCaptionControlMsgFilterTimer::OnCreate(LPCREATESTRUCTA)
{
    m_bTimerSet = SetTimer(kRepeatTimer, m_nInterval, NULL) != 0;
    return m_bTimerSet ? 0 : -1;
}

void TkCaptionControlMsgFilterTimer::OnTimer(UINT_PTR)
{
    if (m_bFired || !m_pControl)
        return;
    m_bFired = TRUE;
    m_pControl->OnRepeat(m_point.x, m_point.y);
}

void TkCaptionControlMsgFilterTimer::OnDestroy()
{
    if (m_bTimerSet)
        KillTimer(kRepeatTimer);
    CWnd::OnDestroy();
}
