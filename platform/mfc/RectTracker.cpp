#include "platform/mfc/RectTracker.h"

#include <algorithm>

namespace {

const int kDefaultHandleSize = 4;

}  // namespace

CRectTracker::CRectTracker()
    : m_rect(0, 0, 0, 0), m_nStyle(0), m_nHandleSize(kDefaultHandleSize), m_bAllowInvert(FALSE),
      m_bFinalErase(FALSE), m_rectLast(0, 0, 0, 0), m_sizeLast(0, 0)
{
}

CRectTracker::CRectTracker(LPCRECT rect, UINT style) : CRectTracker()
{
    m_rect = *rect;
    m_nStyle = style;
}

CRectTracker::~CRectTracker()
{
}

int CRectTracker::HitTest(CPoint point) const
{
    CRect rect = m_rect;
    rect.NormalizeRect();
    return rect.PtInRect(point) ? hitMiddle : hitNothing;
}

BOOL CRectTracker::Track(CWnd* window, CPoint point, BOOL allowInvert, CWnd* clipWindow)
{
    int handle = HitTest(point);
    if (handle == hitNothing)
        return FALSE;
    m_bAllowInvert = allowInvert;
    return TrackHandle(handle, window, point, clipWindow);
}

void CRectTracker::AdjustRect(int, LPRECT)
{
}

CRect CRectTracker::RectOnCanvas(LPCRECT rect, CWnd* clipWindow, CWnd* window) const
{
    CRect shown = *rect;
    shown.NormalizeRect();
    if (clipWindow != NULL)
        window->MapWindowPoints(clipWindow, &shown);
    return shown;
}

void CRectTracker::DrawDragFrame(CDC* dc, const CRect& shown, CSize border)
{
    dc->DrawDragRect(&shown, border, m_rectLast.IsRectEmpty() ? NULL : &m_rectLast, m_sizeLast);
    m_rectLast = shown;
    m_sizeLast = border;
}

// A dotted frame: drawing it again takes it away.
void CRectTracker::DrawTrackerRect(LPCRECT rect, CWnd* clipWindow, CDC* dc, CWnd* window)
{
    if (!m_rectLast.IsRectEmpty())
        dc->DrawFocusRect(&m_rectLast);
    m_rectLast.SetRectEmpty();
    if (m_bFinalErase)
        return;
    m_rectLast = RectOnCanvas(rect, clipWindow, window);
    dc->DrawFocusRect(&m_rectLast);
}

// The edges that handle holds follow the mouse; the whole rectangle for the middle.
CRect CRectTracker::MovedRect(int handle, const CRect& start, CSize offset) const
{
    CRect rect = start;
    if (handle == hitMiddle) {
        rect.OffsetRect(offset.cx, offset.cy);
        return rect;
    }
    if (handle == hitTopLeft || handle == hitBottomLeft || handle == hitLeft)
        rect.left += offset.cx;
    if (handle == hitTopRight || handle == hitBottomRight || handle == hitRight)
        rect.right += offset.cx;
    if (handle == hitTopLeft || handle == hitTopRight || handle == hitTop)
        rect.top += offset.cy;
    if (handle == hitBottomLeft || handle == hitBottomRight || handle == hitBottom)
        rect.bottom += offset.cy;
    if (!m_bAllowInvert) {
        rect.right = std::max(rect.right, rect.left);
        rect.bottom = std::max(rect.bottom, rect.top);
    }
    return rect;
}

BOOL CRectTracker::TrackHandle(int handle, CWnd* window, CPoint point, CWnd* clipWindow)
{
    if (::GetCapture() != NULL)
        return FALSE;
    window->SetCapture();
    window->UpdateWindow();
    if (clipWindow != NULL)
        clipWindow->UpdateWindow();
    CWnd* canvas = clipWindow != NULL ? clipWindow : window;
    HDC hdc = ::GetDCEx(canvas->m_hWnd, NULL, DCX_CACHE);
    CDC* dc = CDC::FromHandle(hdc);
    const CRect start = m_rect;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bFinalErase = FALSE;
    DrawTrackerRect(&m_rect, clipWindow, dc, window);
    BOOL done = FALSE;
    BOOL cancelled = FALSE;
    while (!done && !cancelled && ::GetCapture() == window->m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint mouse((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != window->m_hWnd)
                ::MapWindowPoints(msg.hwnd, window->m_hWnd, &mouse, 1);
            CRect next = MovedRect(handle, start, mouse - point);
            AdjustRect(handle, &next);
            if (next != m_rect) {
                m_rect = next;
                DrawTrackerRect(&m_rect, clipWindow, dc, window);
            }
            done = msg.message == WM_LBUTTONUP;
            break;
        }
        case WM_KEYDOWN:
            cancelled = msg.wParam == VK_ESCAPE;
            break;
        case WM_RBUTTONDOWN:
            cancelled = TRUE;
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    m_bFinalErase = TRUE;
    DrawTrackerRect(&m_rect, clipWindow, dc, window);
    m_bFinalErase = FALSE;
    ::ReleaseDC(canvas->m_hWnd, hdc);
    if (::GetCapture() == window->m_hWnd)
        ::ReleaseCapture();
    if (!done)
        m_rect = start;
    return done && m_rect != start;
}
