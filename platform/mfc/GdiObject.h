// CGdiObject and its kinds: pens, brushes, fonts, bitmaps, regions and
// palettes. An object deletes the GDI object it holds when it is destroyed,
// unless the handle was detached first; objects from FromHandle only borrow
// their handle.
#pragma once

#include <afx.h>

#include "platform/mfc/Geometry.h"

class CDC;

class CGdiObject : public CObject
{
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject();
    ~CGdiObject() override;

    HGDIOBJ m_hObject;
    operator HGDIOBJ() const { return SafeHandle(this); }
    HGDIOBJ GetSafeHandle() const { return SafeHandle(this); }
    static HGDIOBJ PASCAL SafeHandle(const CGdiObject* object);

    // An object of the handle's kind (a CPen for a pen, ...).
    static CGdiObject* PASCAL FromHandle(HGDIOBJ handle);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();

    int GetObject(int count, LPVOID buffer) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject();

private:
    CGdiObject(const CGdiObject&);
    void operator=(const CGdiObject&);
};

class CPen : public CGdiObject
{
    DECLARE_DYNCREATE(CPen)
public:
    CPen() {}
    CPen(int penStyle, int width, COLORREF color);

    static CPen* PASCAL FromHandle(HPEN pen);
    operator HPEN() const { return (HPEN)GetSafeHandle(); }

    BOOL CreatePen(int penStyle, int width, COLORREF color);
    BOOL CreatePenIndirect(LPLOGPEN logPen);
    int GetLogPen(LOGPEN* logPen) const;
};

class CBitmap;

class CBrush : public CGdiObject
{
    DECLARE_DYNCREATE(CBrush)
public:
    CBrush() {}
    explicit CBrush(COLORREF color);
    CBrush(int hatchIndex, COLORREF color);
    explicit CBrush(CBitmap* bitmap);

    static CBrush* PASCAL FromHandle(HBRUSH brush);
    operator HBRUSH() const { return (HBRUSH)GetSafeHandle(); }

    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatchIndex, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* logBrush) const;
};

class CFont : public CGdiObject
{
    DECLARE_DYNCREATE(CFont)
public:
    static CFont* PASCAL FromHandle(HFONT font);
    operator HFONT() const { return (HFONT)GetSafeHandle(); }

    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCSTR faceName);
    // pointSize is in tenths of a point, measured on dc (the screen when NULL).
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = NULL);
    BOOL CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc = NULL);
    int GetLogFont(LOGFONTA* logFont) const;
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNCREATE(CBitmap)
public:
    static CBitmap* PASCAL FromHandle(HBITMAP bitmap);
    operator HBITMAP() const { return (HBITMAP)GetSafeHandle(); }

    BOOL LoadBitmap(LPCSTR resourceName);
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadOEMBitmap(UINT bitmapId);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(LPBITMAP bitmap);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const;
    DWORD SetBitmapBits(DWORD count, const void* bits);
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const;
};

class CRgn : public CGdiObject
{
    DECLARE_DYNCREATE(CRgn)
public:
    static CRgn* PASCAL FromHandle(HRGN region);
    operator HRGN() const { return (HRGN)GetSafeHandle(); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL CreatePolygonRgn(const POINT* points, int count, int polyFillMode);
    void SetRectRgn(int x1, int y1, int x2, int y2);
    void SetRectRgn(LPCRECT rect);
    // This region becomes a combined with b by mode (RGN_AND, RGN_OR, ...).
    int CombineRgn(const CRgn* a, const CRgn* b, int combineMode);
    int CopyRgn(const CRgn* source);
    BOOL EqualRgn(const CRgn* other) const;
    int OffsetRgn(int x, int y);
    int OffsetRgn(POINT point);
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const;
    BOOL RectInRegion(LPCRECT rect) const;
};

class CPalette : public CGdiObject
{
    DECLARE_DYNCREATE(CPalette)
public:
    static CPalette* PASCAL FromHandle(HPALETTE palette);
    operator HPALETTE() const { return (HPALETTE)GetSafeHandle(); }

    BOOL CreatePalette(LPLOGPALETTE logPalette);
    BOOL CreateHalftonePalette(CDC* dc);
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const;
    UINT SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries);
    void AnimatePalette(UINT start, UINT count, LPPALETTEENTRY entries);
    UINT GetNearestPaletteIndex(COLORREF color) const;
    BOOL ResizePalette(UINT count);
};
