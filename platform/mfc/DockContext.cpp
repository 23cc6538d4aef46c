#include "platform/mfc/DockContext.h"
#include "platform/mfc/DockBar.h"
#include "platform/mfc/MiniFrameWnd.h"

namespace {

BOOL Horizontal(DWORD style)
{
    return (style & CBRS_ORIENT_HORZ) != 0;
}

BOOL Vertical(DWORD style)
{
    return (style & CBRS_ORIENT_VERT) != 0;
}

// Moves rect so that point lies inside it.
void KeepPointInside(CRect& rect, CPoint point)
{
    if (point.x < rect.left)
        rect.OffsetRect(point.x - rect.left, 0);
    else if (point.x >= rect.right)
        rect.OffsetRect(point.x - rect.right + 1, 0);
    if (point.y < rect.top)
        rect.OffsetRect(0, point.y - rect.top);
    else if (point.y >= rect.bottom)
        rect.OffsetRect(0, point.y - rect.bottom + 1);
}

CBrush* WhiteBrush()
{
    return CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
}

}  // namespace

CDockContext::CDockContext(CControlBar* bar)
    : m_uMRUDockID(0), m_rectMRUDockPos(0, 0, 0, 0), m_dwMRUFloatStyle(CBRS_ALIGN_TOP),
      m_ptMRUFloatPos(-1, -1),
      m_bDitherLast(FALSE), m_pBar(bar), m_pDockSite(bar->m_pDockSite), m_dwDockStyle(0),
      m_dwOverDockStyle(0), m_dwStyle(0), m_bFlip(FALSE), m_bForceFrame(FALSE), m_pDC(NULL),
      m_bDragging(FALSE), m_nHitTest(0), m_nResizeLength(0), m_dwResizeMode(LM_HORZ),
      m_hDesktopLocked(NULL)
{
}

CDockContext::~CDockContext()
{
    if (m_pBar->m_pDockBar != NULL && m_pBar->m_hWnd != NULL) {
        m_pBar->m_pDockBar->RemoveControlBar(m_pBar, -1, FALSE);
        m_pBar->m_pDockBar = NULL;
    }
}

void CDockContext::InitLoop()
{
    if (m_pDockSite == NULL)
        m_pDockSite = m_pBar->m_pDockSite;
    m_dwStyle = m_pBar->m_dwStyle;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    HWND desktop = ::GetDesktopWindow();
    m_hDesktopLocked = ::LockWindowUpdate(desktop) ? desktop : NULL;
    HDC dc = ::GetDCEx(desktop, NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    m_dc.Attach(dc);
    m_pDC = &m_dc;
}

void CDockContext::CancelLoop()
{
    DrawFocusRect(TRUE);
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    if (m_hDesktopLocked != NULL)
        ::LockWindowUpdate(NULL);
    m_hDesktopLocked = NULL;
    if (m_pDC != NULL)
        ::ReleaseDC(::GetDesktopWindow(), m_dc.Detach());
    m_pDC = NULL;
}

void CDockContext::StartDrag(CPoint point)
{
    InitLoop();
    m_bDragging = TRUE;
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = point;
    BOOL horizontal = Horizontal(m_dwStyle);
    CSize horzSize = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    CSize vertSize = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
        m_rectDragHorz = CRect(rect.TopLeft(), horzSize);
        m_rectDragVert = CRect(rect.TopLeft(), vertSize);
        m_rectFrameDragHorz = CRect(rect.TopLeft(), floating);
        m_rectFrameDragVert = m_rectFrameDragHorz;
    } else {
        m_rectDragHorz = horizontal ? rect : CRect(CPoint(point.x - horzSize.cx / 2, rect.top), horzSize);
        m_rectDragVert = horizontal ? CRect(CPoint(rect.left, point.y - vertSize.cy / 2), vertSize) : rect;
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
    }
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragVert);
    KeepPointInside(m_rectDragHorz, point);
    KeepPointInside(m_rectDragVert, point);
    KeepPointInside(m_rectFrameDragHorz, point);
    KeepPointInside(m_rectFrameDragVert, point);
    m_dwOverDockStyle = CanDock();
    Move(point);
    Track();
}

void CDockContext::Move(CPoint point)
{
    CPoint offset = point - m_ptLast;
    m_rectDragHorz.OffsetRect(offset);
    m_rectDragVert.OffsetRect(offset);
    m_rectFrameDragHorz.OffsetRect(offset);
    m_rectFrameDragVert.OffsetRect(offset);
    m_ptLast = point;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int key, BOOL down)
{
    if (key == VK_CONTROL)
        m_bForceFrame = down;
    else if (key == VK_SHIFT)
        m_bFlip = down;
    else
        return;
    Move(m_ptLast);
}

DWORD CDockContext::CanDock()
{
    if (m_pDockSite == NULL)
        return 0;
    BOOL horizontal = Horizontal(m_dwStyle) != m_bFlip;
    DWORD dock = 0;
    if (horizontal && Horizontal(m_dwDockStyle))
        dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    else if (Vertical(m_dwDockStyle))
        dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (m_bFlip || dock != 0)
        return dock;
    if (Horizontal(m_dwDockStyle)) {
        DWORD other = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
        dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
        dock = dock == other ? dock : 0;
    }
    if (dock == 0 && Vertical(m_dwDockStyle)) {
        DWORD other = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
        dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
        dock = dock == other ? dock : 0;
    }
    return dock;
}

BOOL CDockContext::ShowsDockFeedback()
{
    return m_dwOverDockStyle != 0;
}

CRect CDockContext::DockFeedbackRect(CDockBar*, const CRect& dragRect)
{
    return dragRect;
}

CDockBar* CDockContext::GetDockBar(DWORD overDockStyle)
{
    CDockBar* dockBar = NULL;
    if (Horizontal(overDockStyle))
        m_pDockSite->CanDock(m_rectDragHorz, overDockStyle & ~CBRS_ORIENT_VERT, &dockBar);
    if (dockBar == NULL && Vertical(overDockStyle))
        m_pDockSite->CanDock(m_rectDragVert, overDockStyle & ~CBRS_ORIENT_HORZ, &dockBar);
    return dockBar;
}

void CDockContext::DrawFocusRect(BOOL remove)
{
    if (m_pDC == NULL)
        return;
    CSize size(1, 1);
    CRect rect;
    BOOL dither = FALSE;
    if (m_bDragging && ShowsDockFeedback()) {
        rect = Horizontal(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
        CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (dockBar != NULL)
            rect = DockFeedbackRect(dockBar, rect);
    } else if (m_bDragging) {
        BOOL horizontal = Horizontal(m_dwStyle) != m_bFlip;
        rect = horizontal ? m_rectFrameDragHorz : m_rectFrameDragVert;
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        dither = TRUE;
    } else {
        rect = m_rectFrameDragHorz;
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        dither = TRUE;
    }
    if (remove)
        size = CSize(0, 0);
    m_pDC->DrawDragRect(&rect, size, m_rectLast.IsRectEmpty() ? NULL : &m_rectLast, m_sizeLast,
                        dither ? NULL : WhiteBrush(), m_bDitherLast ? NULL : WhiteBrush());
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = dither;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (m_dwOverDockStyle != 0) {
        CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (dockBar != NULL) {
            CRect rect = Horizontal(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
            m_uMRUDockID = dockBar->GetDlgCtrlID();
            m_rectMRUDockPos = rect;
            dockBar->ScreenToClient(&m_rectMRUDockPos);
            DockAtSite(dockBar, rect);
            m_pDockSite->RecalcLayout();
        }
    } else if ((m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horizontal(m_dwStyle) && !m_bFlip) ||
               (Vertical(m_dwStyle) && m_bFlip)) {
        m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
        FloatAtSite(m_ptMRUFloatPos, m_dwMRUFloatStyle);
    } else {
        m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
        FloatAtSite(m_ptMRUFloatPos, m_dwMRUFloatStyle);
    }
    m_bDragging = FALSE;
}

void CDockContext::StartResize(int hitTest, CPoint point)
{
    InitLoop();
    m_bDragging = FALSE;
    m_nHitTest = hitTest;
    m_ptLast = point;
    m_pBar->GetWindowRect(&m_rectDragHorz);
    CFrameWnd* frame = m_pBar->GetParentFrame();
    if (frame != NULL)
        frame->GetWindowRect(&m_rectFrameDragHorz);
    else
        m_rectFrameDragHorz = m_rectDragHorz;
    m_rectDragVert = m_rectDragHorz;
    m_rectFrameDragVert = m_rectFrameDragHorz;
    m_dwOverDockStyle = 0;
    Stretch(point);
    Track();
}

// The border under the mouse follows it; the bar says what size it takes.
void CDockContext::Stretch(CPoint point)
{
    CPoint offset = point - m_ptLast;
    CRect requested = m_rectDragHorz;
    DWORD mode = LM_HORZ;
    int length = 0;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
        if (m_nHitTest == HTLEFT)
            requested.left += offset.x;
        else
            requested.right += offset.x;
        length = requested.Width();
    } else {
        if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
            requested.top += offset.y;
        else
            requested.bottom += offset.y;
        length = requested.Height();
        mode |= LM_LENGTHY;
    }
    CSize size = m_pBar->CalcDynamicLayout(length > 0 ? length : 0, mode);
    CRect frameBorders(m_rectFrameDragHorz.left - m_rectDragHorz.left,
                       m_rectFrameDragHorz.top - m_rectDragHorz.top,
                       m_rectFrameDragHorz.right - m_rectDragHorz.right,
                       m_rectFrameDragHorz.bottom - m_rectDragHorz.bottom);
    CRect actual(requested.TopLeft(), size);
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
        actual.OffsetRect(m_rectDragHorz.right - actual.right, 0);
    if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
        actual.OffsetRect(0, m_rectDragHorz.bottom - actual.bottom);
    m_rectDragVert = actual;
    m_rectFrameDragVert = CRect(actual.left + frameBorders.left, actual.top + frameBorders.top,
                                actual.right + frameBorders.right, actual.bottom + frameBorders.bottom);
    m_rectFrameDragHorz = m_rectFrameDragVert;
    m_rectDragHorz = actual;
    m_ptLast = point;
    m_nResizeLength = length > 0 ? length : 0;
    m_dwResizeMode = mode;
    DrawFocusRect();
}

void CDockContext::EndResize()
{
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_nResizeLength, m_dwResizeMode | LM_COMMIT);
    FloatAtSite(m_rectFrameDragHorz.TopLeft(),
                CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

BOOL CDockContext::Track()
{
    if (::GetCapture() != NULL)
        return FALSE;
    m_pBar->SetCapture();
    while (::GetCapture() == m_pBar->m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        CPoint point((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
        switch (msg.message) {
        case WM_LBUTTONUP:
            m_pBar->ClientToScreen(&point);
            if (m_bDragging) {
                Move(point);
                EndDrag();
            } else {
                Stretch(point);
                EndResize();
            }
            return TRUE;
        case WM_MOUSEMOVE:
            m_pBar->ClientToScreen(&point);
            if (m_bDragging)
                Move(point);
            else
                Stretch(point);
            break;
        case WM_KEYUP:
            if (m_bDragging)
                OnKey((int)msg.wParam, FALSE);
            break;
        case WM_KEYDOWN:
            if (m_bDragging)
                OnKey((int)msg.wParam, TRUE);
            if (msg.wParam == VK_ESCAPE) {
                CancelLoop();
                m_bDragging = FALSE;
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            m_bDragging = FALSE;
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    CancelLoop();
    m_bDragging = FALSE;
    return FALSE;
}

void CDockContext::ToggleDocking()
{
    if (m_pDockSite == NULL)
        m_pDockSite = m_pBar->m_pDockSite;
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            return;
        CRect rect = m_rectMRUDockPos;
        CDockBar* dockBar = NULL;
        if (m_uMRUDockID != 0) {
            dockBar = static_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
            if (dockBar != NULL)
                dockBar->ClientToScreen(&rect);
        }
        ReDockAtSite(dockBar, rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    CPoint point = m_ptMRUFloatPos;
    if (point.x < 0 || point.y < 0) {
        point = m_rectMRUDockPos.TopLeft();
        m_pBar->GetParent()->ClientToScreen(&point);
    }
    FloatAtSite(point, m_dwMRUFloatStyle);
}

void CDockContext::DockAtSite(CDockBar* dockBar, const CRect& rect)
{
    m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
}

void CDockContext::ReDockAtSite(CDockBar* dockBar, const CRect& rect)
{
    m_pDockSite->ReDockControlBar(m_pBar, dockBar, &rect);
}

void CDockContext::FloatAtSite(CPoint point, DWORD style)
{
    m_pDockSite->FloatControlBar(m_pBar, point, style);
}
