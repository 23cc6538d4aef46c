#include "platform/mfc/GdiObject.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/HandleMap.h"

namespace
{
// The class that stands for each kind of GDI object.
struct GdiKind
{
    DWORD objectType;
    CRuntimeClass* runtimeClass;
};

const GdiKind kGdiKinds[] = {
    { OBJ_PEN, RUNTIME_CLASS(CPen) },
    { OBJ_EXTPEN, RUNTIME_CLASS(CPen) },
    { OBJ_BRUSH, RUNTIME_CLASS(CBrush) },
    { OBJ_FONT, RUNTIME_CLASS(CFont) },
    { OBJ_BITMAP, RUNTIME_CLASS(CBitmap) },
    { OBJ_REGION, RUNTIME_CLASS(CRgn) },
    { OBJ_PAL, RUNTIME_CLASS(CPalette) },
};

CObject* NewGdiObject(HANDLE handle)
{
    DWORD type = ::GetObjectType(handle);
    CGdiObject* object = NULL;
    for (const GdiKind& kind : kGdiKinds)
    {
        if (kind.objectType == type)
            object = static_cast<CGdiObject*>(kind.runtimeClass->CreateObject());
    }
    if (!object)
        object = new CGdiObject;
    object->m_hObject = handle;
    return object;
}

void ForgetGdiHandle(CObject* object)
{
    static_cast<CGdiObject*>(object)->m_hObject = NULL;
}

thread_local CHandleMap t_gdiMap(NewGdiObject, ForgetGdiHandle);

// Logical font heights are negative character heights; points are tenths.
const int kTenthsPerInch = 720;
}

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CPalette, CGdiObject)

CGdiObject::CGdiObject() : m_hObject(NULL)
{
}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

HGDIOBJ PASCAL CGdiObject::SafeHandle(const CGdiObject* object)
{
    return object ? object->m_hObject : NULL;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ handle)
{
    return static_cast<CGdiObject*>(t_gdiMap.FromHandle(handle));
}

void PASCAL CGdiObject::DeleteTempMap()
{
    t_gdiMap.DeleteTemp();
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    t_gdiMap.SetPermanent(handle, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    if (handle)
        t_gdiMap.RemoveHandle(handle);
    m_hObject = NULL;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int count, LPVOID buffer) const
{
    return ::GetObjectA(m_hObject, count, buffer);
}

UINT CGdiObject::GetObjectType() const
{
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return Attach(::GetStockObject(index));
}

BOOL CGdiObject::UnrealizeObject()
{
    return ::UnrealizeObject(m_hObject);
}

CPen::CPen(int penStyle, int width, COLORREF color)
{
    CreatePen(penStyle, width, color);
}

CPen* PASCAL CPen::FromHandle(HPEN pen)
{
    return static_cast<CPen*>(CGdiObject::FromHandle(pen));
}

BOOL CPen::CreatePen(int penStyle, int width, COLORREF color)
{
    return Attach(::CreatePen(penStyle, width, color));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN logPen)
{
    return Attach(::CreatePenIndirect(logPen));
}

int CPen::GetLogPen(LOGPEN* logPen) const
{
    return GetObject(sizeof(LOGPEN), logPen);
}

CBrush::CBrush(COLORREF color)
{
    CreateSolidBrush(color);
}

CBrush::CBrush(int hatchIndex, COLORREF color)
{
    CreateHatchBrush(hatchIndex, color);
}

CBrush::CBrush(CBitmap* bitmap)
{
    CreatePatternBrush(bitmap);
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH brush)
{
    return static_cast<CBrush*>(CGdiObject::FromHandle(brush));
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return Attach(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatchIndex, COLORREF color)
{
    return Attach(::CreateHatchBrush(hatchIndex, color));
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return Attach(::CreatePatternBrush((HBITMAP)bitmap->GetSafeHandle()));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush)
{
    return Attach(::CreateBrushIndirect(logBrush));
}

BOOL CBrush::CreateSysColorBrush(int index)
{
    return Attach(::GetSysColorBrush(index));
}

int CBrush::GetLogBrush(LOGBRUSH* logBrush) const
{
    return GetObject(sizeof(LOGBRUSH), logBrush);
}

CFont* PASCAL CFont::FromHandle(HFONT font)
{
    return static_cast<CFont*>(CGdiObject::FromHandle(font));
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont)
{
    return Attach(::CreateFontIndirectA(logFont));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                       BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR faceName)
{
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic,
                                underline, strikeOut, charSet, outPrecision, clipPrecision,
                                quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = pointSize;
    lstrcpynA(logFont.lfFaceName, faceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc)
{
    HDC hDC = dc ? dc->m_hAttribDC : ::GetDC(NULL);
    // lfHeight holds tenths of a point: turn it into device pixels, then into
    // logical units of the DC.
    POINT height = { 0, MulDiv(logFont->lfHeight, ::GetDeviceCaps(hDC, LOGPIXELSY),
                               kTenthsPerInch) };
    POINT origin = { 0, 0 };
    ::DPtoLP(hDC, &height, 1);
    ::DPtoLP(hDC, &origin, 1);
    if (!dc)
        ::ReleaseDC(NULL, hDC);
    LOGFONTA scaled = *logFont;
    scaled.lfHeight = -abs(height.y - origin.y);
    return CreateFontIndirect(&scaled);
}

int CFont::GetLogFont(LOGFONTA* logFont) const
{
    return GetObject(sizeof(LOGFONTA), logFont);
}

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP bitmap)
{
    return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap));
}

BOOL CBitmap::LoadBitmap(LPCSTR resourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), resourceName));
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    return LoadBitmap(MAKEINTRESOURCEA(resourceId));
}

BOOL CBitmap::LoadOEMBitmap(UINT bitmapId)
{
    return Attach(::LoadBitmapA(NULL, MAKEINTRESOURCEA(bitmapId)));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                           const void* bits)
{
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP bitmap)
{
    return Attach(::CreateBitmapIndirect(bitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

int CBitmap::GetBitmap(BITMAP* bitmap) const
{
    return GetObject(sizeof(BITMAP), bitmap);
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits)
{
    return ::SetBitmapBits((HBITMAP)m_hObject, count, bits);
}

DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const
{
    return ::GetBitmapBits((HBITMAP)m_hObject, count, bits);
}

CRgn* PASCAL CRgn::FromHandle(HRGN region)
{
    return static_cast<CRgn*>(CGdiObject::FromHandle(region));
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect)
{
    return Attach(::CreateRectRgnIndirect(rect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int polyFillMode)
{
    return Attach(::CreatePolygonRgn(points, count, polyFillMode));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT rect)
{
    SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int combineMode)
{
    return ::CombineRgn((HRGN)m_hObject, (HRGN)a->GetSafeHandle(), (HRGN)b->GetSafeHandle(),
                        combineMode);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return ::CombineRgn((HRGN)m_hObject, (HRGN)source->GetSafeHandle(), NULL, RGN_COPY);
}

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return ::EqualRgn((HRGN)m_hObject, (HRGN)other->GetSafeHandle());
}

int CRgn::OffsetRgn(int x, int y)
{
    return ::OffsetRgn((HRGN)m_hObject, x, y);
}

int CRgn::OffsetRgn(POINT point)
{
    return OffsetRgn(point.x, point.y);
}

int CRgn::GetRgnBox(LPRECT rect) const
{
    return ::GetRgnBox((HRGN)m_hObject, rect);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion((HRGN)m_hObject, x, y);
}

BOOL CRgn::PtInRegion(POINT point) const
{
    return PtInRegion(point.x, point.y);
}

BOOL CRgn::RectInRegion(LPCRECT rect) const
{
    return ::RectInRegion((HRGN)m_hObject, rect);
}

CPalette* PASCAL CPalette::FromHandle(HPALETTE palette)
{
    return static_cast<CPalette*>(CGdiObject::FromHandle(palette));
}

BOOL CPalette::CreatePalette(LPLOGPALETTE logPalette)
{
    return Attach(::CreatePalette(logPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* dc)
{
    return Attach(::CreateHalftonePalette(dc->m_hDC));
}

int CPalette::GetEntryCount() const
{
    WORD count = 0;
    GetObject(sizeof(count), &count);
    return count;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const
{
    return ::GetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
}

UINT CPalette::SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries)
{
    return ::SetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
}

void CPalette::AnimatePalette(UINT start, UINT count, LPPALETTEENTRY entries)
{
    ::AnimatePalette((HPALETTE)m_hObject, start, count, entries);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF color) const
{
    return ::GetNearestPaletteIndex((HPALETTE)m_hObject, color);
}

BOOL CPalette::ResizePalette(UINT count)
{
    return ::ResizePalette((HPALETTE)m_hObject, count);
}
