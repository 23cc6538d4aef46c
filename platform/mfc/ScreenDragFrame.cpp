#include "platform/mfc/ScreenDragFrame.h"

namespace
{
const char kStripClass[] = "ZymScreenDragFrame";
const WORD kHalftoneRows[8] = { 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA };

HWND g_strips[CScreenDragFrame::kStripCount];
HBRUSH g_brush;
HBRUSH g_halftone;

HBRUSH Halftone()
{
    if (!g_halftone)
    {
        HBITMAP bits = ::CreateBitmap(8, 8, 1, 1, kHalftoneRows);
        g_halftone = ::CreatePatternBrush(bits);
        ::DeleteObject(bits);
    }
    return g_halftone;
}

// The frame keeps a brush of its own: the caller's may be gone before the
// strips repaint.
HBRUSH CopyBrush(HBRUSH brush)
{
    LOGBRUSH log;
    if (brush && ::GetObjectA(brush, sizeof(log), &log) == sizeof(log) &&
        (log.lbStyle == BS_SOLID || log.lbStyle == BS_HATCHED))
        return ::CreateBrushIndirect(&log);
    return NULL;
}

LRESULT CALLBACK StripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NCHITTEST:
        // The mouse goes to whatever lies under the frame.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        // The pattern follows the screen, so that the strips join seamlessly.
        RECT placed;
        ::GetWindowRect(window, &placed);
        ::SetBrushOrgEx(dc, -placed.left & 7, -placed.top & 7, NULL);
        ::FillRect(dc, &paint.rcPaint, g_brush ? g_brush : Halftone());
        ::EndPaint(window, &paint);
        return 0;
    }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

BOOL MakeStrips()
{
    if (g_strips[0] && ::IsWindow(g_strips[0]))
        return TRUE;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StripProc;
    windowClass.hInstance = ::GetModuleHandleA(NULL);
    windowClass.lpszClassName = kStripClass;
    windowClass.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    ::RegisterClassA(&windowClass);
    for (HWND& strip : g_strips)
    {
        strip = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                                  kStripClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                  windowClass.hInstance, NULL);
        if (!strip)
            return FALSE;
    }
    return TRUE;
}

void PlaceStrip(HWND strip, int left, int top, int right, int bottom)
{
    ::SetWindowPos(strip, HWND_TOPMOST, left, top, right > left ? right - left : 0,
                   bottom > top ? bottom - top : 0,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(strip, NULL, FALSE);
    ::UpdateWindow(strip);
}
}

void CScreenDragFrame::Show(const RECT& rect, SIZE border, HBRUSH brush)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top || border.cx <= 0 || border.cy <= 0)
    {
        Hide();
        return;
    }
    if (!MakeStrips())
        return;
    if (g_brush)
        ::DeleteObject(g_brush);
    g_brush = CopyBrush(brush);
    // Top and bottom span the width; the sides fill between them.
    PlaceStrip(g_strips[0], rect.left, rect.top, rect.right, rect.top + border.cy);
    PlaceStrip(g_strips[1], rect.left, rect.bottom - border.cy, rect.right, rect.bottom);
    PlaceStrip(g_strips[2], rect.left, rect.top + border.cy, rect.left + border.cx, rect.bottom - border.cy);
    PlaceStrip(g_strips[3], rect.right - border.cx, rect.top + border.cy, rect.right, rect.bottom - border.cy);
}

void CScreenDragFrame::Hide()
{
    for (HWND strip : g_strips)
    {
        if (strip && ::IsWindow(strip))
            ::ShowWindow(strip, SW_HIDE);
    }
}

HWND CScreenDragFrame::GetStrip(int index)
{
    return index >= 0 && index < kStripCount ? g_strips[index] : NULL;
}
