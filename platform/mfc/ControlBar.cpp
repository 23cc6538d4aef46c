#include "platform/mfc/ControlBar.h"
#include "platform/mfc/DockBar.h"
#include "platform/mfc/DockContext.h"
#include "platform/mfc/DockState.h"
#include "platform/mfc/MiniFrameWnd.h"
#include "platform/mfc/WindowDc.h"

#include <algorithm>

const char kControlBarClassName[] = "AfxControlBar42";

namespace {

// Each bordered side of a bar takes this many pixels.
const int kBorderWidth = 2;
// What a stretched bar asks for along its side: all there is.
const int kStretchLength = 32767;

}  // namespace

BOOL AfxRegisterControlBarClass()
{
    WNDCLASSA existing;
    if (::GetClassInfoA(AfxGetInstanceHandle(), kControlBarClassName, &existing))
        return TRUE;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kControlBarClassName;
    return ::RegisterClassA(&wc) != 0;
}

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(2), m_cyBottomBorder(2),
      m_cxDefaultGap(2), m_nMRUWidth(32767), m_bAutoDelete(FALSE), m_nStateFlags(0),
      m_dwStyle(0), m_dwDockStyle(0), m_pDockSite(NULL), m_pDockBar(NULL),
      m_pDockContext(NULL)
{
}

CControlBar::~CControlBar()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    if (m_pDockSite != NULL)
        m_pDockSite->RemoveControlBar(this);
    delete m_pDockContext;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

// Commands and notifications of the bar's controls go to the frame.
LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result))
            return result;
        CWnd* owner = m_pDockSite != NULL ? m_pDockSite : GetParentFrame();
        if (owner != NULL)
            return owner->SendMessage(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int CControlBar::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    CWnd* parent = GetParent();
    if (parent != NULL && parent->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(parent);
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite != NULL) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = NULL;
    }
    CWnd::OnDestroy();
}

void CControlBar::SetBarStyle(DWORD style)
{
    if (m_dwStyle != style) {
        DWORD oldStyle = m_dwStyle;
        m_dwStyle = style;
        if (m_hWnd != NULL)
            Invalidate();
        OnBarStyleChange(oldStyle, style);
    } else {
        m_dwStyle = style;
    }
}

void CControlBar::SetBorders(int left, int top, int right, int bottom)
{
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

void CControlBar::DeflateBorderedSides(CRect& rect, int width) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += width;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += width;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= width;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= width;
}

void CControlBar::DrawBorderLines(CDC* dc, const CRect& rect, COLORREF leftTop,
                                  COLORREF rightBottom) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        dc->FillSolidRect(rect.left, rect.top, 1, rect.Height(), leftTop);
    if (m_dwStyle & CBRS_BORDER_TOP)
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, leftTop);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        dc->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), rightBottom);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, rightBottom);
}

void CControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle;
    if (m_pDockContext == NULL)
        m_pDockContext = new CDockContext(this);
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* frame = GetParentFrame();
    if (frame != NULL && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        frame = frame->GetParentFrame();
    return frame != NULL ? frame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar != NULL && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsDockBar() const
{
    return FALSE;
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize size(stretch && horizontal ? kStretchLength : 0, stretch && !horizontal ? kStretchLength : 0);
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, horizontal);
    size.cx -= rect.Width();
    size.cy -= rect.Height();
    return size;
}

CSize CControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) &&
        (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZDOCK);
    return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZ);
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    DeflateBorderedSides(rect, kBorderWidth);
    if (horizontal) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::DrawBorders(CDC* dc, CRect& rect)
{
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY))
        return;
    DrawBorderLines(dc, rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    DeflateBorderedSides(rect, kBorderWidth);
}

void CControlBar::DoPaint(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(dc, rect);
}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (m_pDockContext != NULL && m_pDockBar != NULL) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CControlBar::OnLButtonDblClk(UINT, CPoint)
{
    if (m_pDockContext != NULL && m_pDockBar != NULL) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (GetStyle() & WS_VISIBLE) {
        CFrameWnd* target = GetDockingFrame();
        if (target != NULL)
            OnUpdateCmdUI(target, (BOOL)wParam);
    }
    return 0;
}

void CControlBar::DelayShow(BOOL show)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
    if (show && !visible)
        m_nStateFlags |= delayShow;
    else if (!show && visible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (GetStyle() & WS_VISIBLE) || (m_nStateFlags & delayShow);
}

// Applies a delayed show or hide unless the layout only asks; returns the
// style the bar will have.
DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout)
{
    DWORD style = GetStyle();
    if (!(m_nStateFlags & (delayHide | delayShow)))
        return style;
    BOOL show = (m_nStateFlags & delayShow) != 0;
    style = show ? (style | WS_VISIBLE) : (style & ~WS_VISIBLE);
    if (layout == NULL || layout->hDWP != NULL) {
        m_nStateFlags &= ~(delayHide | delayShow);
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    return style;
}

INT_PTR CControlBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (child == NULL || child == m_hWnd)
        return -1;
    int id = ::GetDlgCtrlID(child);
    if (id == 0)
        return -1;
    if (info != NULL) {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)child;
        info->uFlags |= TTF_IDISHWND;
        info->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return id;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    CRect rect;
    if (TakeLayoutPlace(layout, rect) && layout->hDWP != NULL)
        AfxRepositionWindow(layout, m_hWnd, &rect);
    return 0;
}

BOOL CControlBar::TakeLayoutPlace(AFX_SIZEPARENTPARAMS* layout, CRect& rect)
{
    DWORD style = RecalcDelayShow(layout);
    if (!(style & WS_VISIBLE) || !(m_dwStyle & CBRS_ALIGN_ANY))
        return FALSE;
    rect = layout->rect;
    CSize available = rect.Size();
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        mode |= LM_HORZ | LM_MRUWIDTH;
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, mode);
    size.cx = std::max<LONG>(0, std::min(size.cx, available.cx));
    size.cy = std::max<LONG>(0, std::min(size.cy, available.cy));
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            layout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (m_dwStyle & CBRS_ALIGN_LEFT) {
            layout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    return TRUE;
}

void CControlBar::GetBarInfo(CControlBarInfo* info)
{
    info->m_pBar = this;
    info->m_nBarID = GetDlgCtrlID() & 0xFFFF;
    info->m_bVisible = IsVisible();
    info->m_nMRUWidth = m_nMRUWidth;
    info->m_bFloating = IsFloating();
    info->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    info->m_bDockBar = IsDockBar();
    // Docked bars keep their place in their dock bar, floating dock bars
    // theirs on the screen; the frame's own dock bars have none (-1, -1).
    CRect rect;
    GetWindowRect(&rect);
    if (m_pDockBar != NULL)
        m_pDockBar->ScreenToClient(&rect);
    if (m_pDockBar != NULL || info->m_bFloating)
        info->m_pointPos = rect.TopLeft();
    info->m_bDocking = m_pDockContext != NULL;
    if (m_pDockContext != NULL) {
        info->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        info->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        info->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        info->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* info, CFrameWnd* frame)
{
    if (IsDockBar()) {
        static_cast<CDockBar*>(this)->SetDockBarInfo(info, frame);
        return;
    }
    m_nMRUWidth = info->m_nMRUWidth;
    SetDockContextInfo(info);
    ApplyPlacement(info);
}

void CControlBar::SetDockContextInfo(const CControlBarInfo* info)
{
    if (info->m_bDocking && m_pDockContext != NULL) {
        m_pDockContext->m_uMRUDockID = info->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = info->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = info->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = info->m_ptMRUFloatPos;
    }
}

void CControlBar::ApplyPlacement(const CControlBarInfo* info)
{
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    flags |= info->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    if (m_pDockBar == NULL || info->m_pointPos.x < 0 || info->m_pointPos.y < 0)
        flags |= SWP_NOMOVE;
    m_nStateFlags &= ~(delayHide | delayShow);
    SetWindowPos(NULL, info->m_pointPos.x, info->m_pointPos.y, 0, 0, flags);
}
