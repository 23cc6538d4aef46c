#include "platform/mfc/Dc.h"
#include "platform/mfc/HandleMap.h"
#include "platform/mfc/ScreenDragFrame.h"

namespace
{
CObject* NewTempDC(HANDLE handle)
{
    CDC* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = (HDC)handle;
    return dc;
}

void ForgetDCHandles(CObject* object)
{
    CDC* dc = static_cast<CDC*>(object);
    dc->m_hDC = dc->m_hAttribDC = NULL;
}

thread_local CHandleMap t_dcMap(NewTempDC, ForgetDCHandles);

// The 8x8 pattern of alternate pixels that drag frames are drawn with.
const WORD kHalftonePattern[8] = { 0x5555, 0xAAAA, 0x5555, 0xAAAA,
                                   0x5555, 0xAAAA, 0x5555, 0xAAAA };

// The frame between rect and rect shrunk by size, as a region.
void MakeFrameRegion(CRgn& frame, LPCRECT rect, SIZE size)
{
    CRect inside(rect);
    inside.DeflateRect(size);
    inside.IntersectRect(inside, rect);
    CRgn hole;
    frame.CreateRectRgnIndirect(rect);
    hole.CreateRectRgnIndirect(inside);
    frame.CombineRgn(&frame, &hole, RGN_XOR);
}
}

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::CDC() : m_hDC(NULL), m_hAttribDC(NULL)
{
}

CDC::~CDC()
{
    DeleteDC();
}

HDC PASCAL CDC::SafeHandle(const CDC* dc)
{
    return dc ? dc->m_hDC : NULL;
}

CDC* PASCAL CDC::FromHandle(HDC hDC)
{
    return static_cast<CDC*>(t_dcMap.FromHandle(hDC));
}

void PASCAL CDC::DeleteTempMap()
{
    t_dcMap.DeleteTemp();
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    t_dcMap.SetPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC)
        t_dcMap.RemoveHandle(hDC);
    m_hDC = m_hAttribDC = NULL;
    return hDC;
}

void CDC::SetAttribDC(HDC hDC)
{
    m_hAttribDC = hDC;
}

void CDC::SetOutputDC(HDC hDC)
{
    m_hDC = hDC;
}

void CDC::ReleaseAttribDC()
{
    m_hAttribDC = NULL;
}

void CDC::ReleaseOutputDC()
{
    m_hDC = NULL;
}

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* initData)
{
    return Attach(::CreateDCA(driver, device, output, initData));
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    return Attach(::CreateCompatibleDC(dc->GetSafeHdc()));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int saved = m_hAttribDC ? ::SaveDC(m_hAttribDC) : 0;
    if (m_hDC != m_hAttribDC)
        saved = ::SaveDC(m_hDC);
    return saved;
}

BOOL CDC::RestoreDC(int savedDC)
{
    BOOL restored = TRUE;
    if (m_hDC != m_hAttribDC)
        restored = ::RestoreDC(m_hDC, savedDC);
    if (m_hAttribDC)
        restored = ::RestoreDC(m_hAttribDC, savedDC) && restored;
    return restored;
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hAttribDC, index);
}

CGdiObject* CDC::Select(HGDIOBJ handle)
{
    HGDIOBJ old = NULL;
    if (m_hDC != m_hAttribDC)
        old = ::SelectObject(m_hDC, handle);
    if (m_hAttribDC)
        old = ::SelectObject(m_hAttribDC, handle);
    return CGdiObject::FromHandle(old);
}

CPen* CDC::SelectObject(CPen* pen)
{
    return static_cast<CPen*>(Select(pen->GetSafeHandle()));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return static_cast<CBrush*>(Select(brush->GetSafeHandle()));
}

CFont* CDC::SelectObject(CFont* font)
{
    return static_cast<CFont*>(Select(font->GetSafeHandle()));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return static_cast<CBitmap*>(Select(bitmap->GetSafeHandle()));
}

int CDC::SelectObject(CRgn* region)
{
    return SelectClipRgn(region);
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return Select(object->GetSafeHandle());
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return Select(::GetStockObject(index));
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground)
{
    HPALETTE handle = (HPALETTE)palette->GetSafeHandle();
    return CPalette::FromHandle(::SelectPalette(m_hDC, handle, forceBackground));
}

UINT CDC::RealizePalette()
{
    return ::RealizePalette(m_hDC);
}

CPen* CDC::GetCurrentPen() const
{
    return CPen::FromHandle((HPEN)::GetCurrentObject(m_hAttribDC, OBJ_PEN));
}

CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hAttribDC, OBJ_BRUSH));
}

CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle((HFONT)::GetCurrentObject(m_hAttribDC, OBJ_FONT));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hAttribDC, OBJ_BITMAP));
}

COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hAttribDC);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    COLORREF old = CLR_INVALID;
    if (m_hDC != m_hAttribDC)
        old = ::SetTextColor(m_hDC, color);
    if (m_hAttribDC)
        old = ::SetTextColor(m_hAttribDC, color);
    return old;
}

COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hAttribDC);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    COLORREF old = CLR_INVALID;
    if (m_hDC != m_hAttribDC)
        old = ::SetBkColor(m_hDC, color);
    if (m_hAttribDC)
        old = ::SetBkColor(m_hAttribDC, color);
    return old;
}

int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hAttribDC);
}

int CDC::SetBkMode(int mode)
{
    int old = 0;
    if (m_hDC != m_hAttribDC)
        old = ::SetBkMode(m_hDC, mode);
    if (m_hAttribDC)
        old = ::SetBkMode(m_hAttribDC, mode);
    return old;
}

int CDC::SetROP2(int drawMode)
{
    int old = 0;
    if (m_hDC != m_hAttribDC)
        old = ::SetROP2(m_hDC, drawMode);
    if (m_hAttribDC)
        old = ::SetROP2(m_hAttribDC, drawMode);
    return old;
}

int CDC::GetROP2() const
{
    return ::GetROP2(m_hAttribDC);
}

int CDC::SetStretchBltMode(int mode)
{
    int old = 0;
    if (m_hDC != m_hAttribDC)
        old = ::SetStretchBltMode(m_hDC, mode);
    if (m_hAttribDC)
        old = ::SetStretchBltMode(m_hAttribDC, mode);
    return old;
}

UINT CDC::SetTextAlign(UINT flags)
{
    UINT old = GDI_ERROR;
    if (m_hDC != m_hAttribDC)
        old = ::SetTextAlign(m_hDC, flags);
    if (m_hAttribDC)
        old = ::SetTextAlign(m_hAttribDC, flags);
    return old;
}

int CDC::SetPolyFillMode(int mode)
{
    int old = 0;
    if (m_hDC != m_hAttribDC)
        old = ::SetPolyFillMode(m_hDC, mode);
    if (m_hAttribDC)
        old = ::SetPolyFillMode(m_hAttribDC, mode);
    return old;
}

COLORREF CDC::GetNearestColor(COLORREF color) const
{
    return ::GetNearestColor(m_hAttribDC, color);
}

int CDC::GetMapMode() const
{
    return ::GetMapMode(m_hAttribDC);
}

int CDC::SetMapMode(int mode)
{
    int old = 0;
    if (m_hDC != m_hAttribDC)
        old = ::SetMapMode(m_hDC, mode);
    if (m_hAttribDC)
        old = ::SetMapMode(m_hAttribDC, mode);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    POINT point = {};
    ::GetViewportOrgEx(m_hAttribDC, &point);
    return point;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old = {};
    if (m_hDC != m_hAttribDC)
        ::SetViewportOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::SetViewportOrgEx(m_hAttribDC, x, y, &old);
    return old;
}

CPoint CDC::SetViewportOrg(POINT point)
{
    return SetViewportOrg(point.x, point.y);
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old = {};
    if (m_hDC != m_hAttribDC)
        ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    if (m_hAttribDC)
        ::OffsetViewportOrgEx(m_hAttribDC, dx, dy, &old);
    return old;
}

CSize CDC::GetViewportExt() const
{
    SIZE size = {};
    ::GetViewportExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old = {};
    if (m_hDC != m_hAttribDC)
        ::SetViewportExtEx(m_hDC, cx, cy, &old);
    if (m_hAttribDC)
        ::SetViewportExtEx(m_hAttribDC, cx, cy, &old);
    return old;
}

CSize CDC::SetViewportExt(SIZE size)
{
    return SetViewportExt(size.cx, size.cy);
}

CPoint CDC::GetWindowOrg() const
{
    POINT point = {};
    ::GetWindowOrgEx(m_hAttribDC, &point);
    return point;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old = {};
    if (m_hDC != m_hAttribDC)
        ::SetWindowOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::SetWindowOrgEx(m_hAttribDC, x, y, &old);
    return old;
}

CPoint CDC::SetWindowOrg(POINT point)
{
    return SetWindowOrg(point.x, point.y);
}

CSize CDC::GetWindowExt() const
{
    SIZE size = {};
    ::GetWindowExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old = {};
    if (m_hDC != m_hAttribDC)
        ::SetWindowExtEx(m_hDC, cx, cy, &old);
    if (m_hAttribDC)
        ::SetWindowExtEx(m_hAttribDC, cx, cy, &old);
    return old;
}

CSize CDC::SetWindowExt(SIZE size)
{
    return SetWindowExt(size.cx, size.cy);
}

void CDC::LPtoDP(LPPOINT points, int count) const
{
    ::LPtoDP(m_hAttribDC, points, count);
}

void CDC::LPtoDP(LPRECT rect) const
{
    ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(rect), 2);
}

// Sizes scale by the extents but keep their sign: a height stays a height
// in a mapping mode whose y axis points up.
void CDC::LPtoDP(LPSIZE size) const
{
    CSize viewport = GetViewportExt();
    CSize window = GetWindowExt();
    size->cx = MulDiv(size->cx, abs(viewport.cx), abs(window.cx));
    size->cy = MulDiv(size->cy, abs(viewport.cy), abs(window.cy));
}

void CDC::DPtoLP(LPPOINT points, int count) const
{
    ::DPtoLP(m_hAttribDC, points, count);
}

void CDC::DPtoLP(LPRECT rect) const
{
    ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(rect), 2);
}

void CDC::DPtoLP(LPSIZE size) const
{
    CSize viewport = GetViewportExt();
    CSize window = GetWindowExt();
    size->cx = MulDiv(size->cx, abs(window.cx), abs(viewport.cx));
    size->cy = MulDiv(size->cy, abs(window.cy), abs(viewport.cy));
}

int CDC::GetClipBox(LPRECT rect) const
{
    return ::GetClipBox(m_hDC, rect);
}

int CDC::SelectClipRgn(CRgn* region)
{
    HRGN handle = (HRGN)region->GetSafeHandle();
    int result = ERROR;
    if (m_hDC != m_hAttribDC)
        result = ::SelectClipRgn(m_hDC, handle);
    if (m_hAttribDC)
        result = ::SelectClipRgn(m_hAttribDC, handle);
    return result;
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    HRGN handle = (HRGN)region->GetSafeHandle();
    int result = ERROR;
    if (m_hDC != m_hAttribDC)
        result = ::ExtSelectClipRgn(m_hDC, handle, mode);
    if (m_hAttribDC)
        result = ::ExtSelectClipRgn(m_hAttribDC, handle, mode);
    return result;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC)
        result = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC)
        result = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
    return result;
}

int CDC::IntersectClipRect(LPCRECT rect)
{
    return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC)
        result = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC)
        result = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
    return result;
}

int CDC::ExcludeClipRect(LPCRECT rect)
{
    return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}

BOOL CDC::RectVisible(LPCRECT rect) const
{
    return ::RectVisible(m_hDC, rect);
}

CPoint CDC::GetCurrentPosition() const
{
    POINT point = {};
    ::GetCurrentPositionEx(m_hAttribDC, &point);
    return point;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old = {};
    if (m_hDC != m_hAttribDC)
        ::MoveToEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, &old);
    return old;
}

CPoint CDC::MoveTo(POINT point)
{
    return MoveTo(point.x, point.y);
}

BOOL CDC::LineTo(int x, int y)
{
    if (m_hAttribDC && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, NULL);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point)
{
    return LineTo(point.x, point.y);
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    return ::Polyline(m_hDC, points, count);
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    return ::Polygon(m_hDC, points, count);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT rect)
{
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Ellipse(LPCRECT rect)
{
    return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::GetPixel(POINT point) const
{
    return GetPixel(point.x, point.y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    return ::SetPixel(m_hDC, x, y, color);
}

COLORREF CDC::SetPixel(POINT point, COLORREF color)
{
    return SetPixel(point.x, point.y, color);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    ::FillRect(m_hDC, rect, (HBRUSH)brush->GetSafeHandle());
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush)
{
    ::FrameRect(m_hDC, rect, (HBRUSH)brush->GetSafeHandle());
}

void CDC::InvertRect(LPCRECT rect)
{
    ::InvertRect(m_hDC, rect);
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    return ::FillRgn(m_hDC, (HRGN)region->GetSafeHandle(), (HBRUSH)brush->GetSafeHandle());
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    return ::FrameRgn(m_hDC, (HRGN)region->GetSafeHandle(), (HBRUSH)brush->GetSafeHandle(),
                      width, height);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags)
{
    return ::DrawEdge(m_hDC, rect, edge, flags);
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state)
{
    return ::DrawFrameControl(m_hDC, rect, type, state);
}

void CDC::DrawFocusRect(LPCRECT rect)
{
    ::DrawFocusRect(m_hDC, rect);
}

void CDC::DrawDragRect(LPCRECT rect, SIZE size, LPCRECT lastRect, SIZE lastSize,
                       CBrush* brush, CBrush* lastBrush)
{
    // On X the screen DC draws on the root window, under every window: the
    // frame is shown by topmost windows of its own instead.
    if (::WindowFromDC(m_hDC) == ::GetDesktopWindow())
    {
        CScreenDragFrame::Show(rect ? *rect : CRect(), size, brush ? (HBRUSH)brush->m_hObject : NULL);
        return;
    }
    CBitmap halftoneBits;
    CBrush halftone;
    if (!brush || (lastRect && !lastBrush))
    {
        halftoneBits.CreateBitmap(8, 8, 1, 1, kHalftonePattern);
        halftone.CreatePatternBrush(&halftoneBits);
    }
    if (!brush)
        brush = &halftone;
    if (!lastBrush)
        lastBrush = &halftone;

    CRgn frame;
    MakeFrameRegion(frame, rect, size);
    CRgn update;
    if (lastRect)
    {
        CRgn lastFrame;
        MakeFrameRegion(lastFrame, lastRect, lastSize);
        if (brush->m_hObject == lastBrush->m_hObject)
        {
            // XOR twice restores: inverting only where the frames differ erases
            // the old frame and draws the new one without flicker.
            update.CreateRectRgn(0, 0, 0, 0);
            update.CombineRgn(&lastFrame, &frame, RGN_XOR);
        }
        else
        {
            InvertRegion(&lastFrame, lastBrush);
        }
    }
    InvertRegion(update.m_hObject ? &update : &frame, brush);
}

void CDC::InvertRegion(CRgn* region, CBrush* brush)
{
    int saved = ::SaveDC(m_hDC);
    ::SelectClipRgn(m_hDC, (HRGN)region->m_hObject);
    CRect box;
    ::GetClipBox(m_hDC, &box);
    ::SelectObject(m_hDC, brush->m_hObject);
    ::PatBlt(m_hDC, box.left, box.top, box.Width(), box.Height(), PATINVERT);
    ::RestoreDC(m_hDC, saved);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon)
{
    return ::DrawIcon(m_hDC, x, y, icon);
}

BOOL CDC::DrawIcon(POINT point, HICON icon)
{
    return DrawIcon(point.x, point.y, icon);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    return ::PatBlt(m_hDC, x, y, width, height, rop);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                 DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source->GetSafeHdc(), xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, source->GetSafeHdc(), xSrc, ySrc, srcWidth,
                        srcHeight, rop);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int count)
{
    return ::TextOutA(m_hDC, x, y, text, count);
}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    return TextOut(x, y, text, text.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count,
                     LPINT dxWidths)
{
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, dxWidths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text,
                     LPINT dxWidths)
{
    return ExtTextOut(x, y, options, rect, text, text.GetLength(), dxWidths);
}

int CDC::DrawText(LPCSTR text, int count, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, count, rect, format);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format)
{
    return DrawText(text, text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hAttribDC, text, count, &size);
    return size;
}

CSize CDC::GetTextExtent(const CString& text) const
{
    return GetTextExtent(text, text.GetLength());
}

CSize CDC::GetOutputTextExtent(const CString& text) const
{
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hDC, text, text.GetLength(), &size);
    return size;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICA metrics) const
{
    return ::GetTextMetricsA(m_hAttribDC, metrics);
}

int CDC::GetTextFace(int count, LPSTR faceName) const
{
    return ::GetTextFaceA(m_hDC, count, faceName);
}

int CDC::GetTextFace(CString& faceName) const
{
    char name[LF_FACESIZE] = "";
    int length = ::GetTextFaceA(m_hDC, LF_FACESIZE, name);
    faceName = name;
    return length;
}

int CDC::SetTextCharacterExtra(int extra)
{
    return ::SetTextCharacterExtra(m_hDC, extra);
}
