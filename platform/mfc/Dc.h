// CDC: a device context. Output goes to m_hDC; what is asked of the device
// (text sizes, colours, mapping) comes from m_hAttribDC, which is the same
// handle except where a derived class gives them apart.
#pragma once

#include <afx.h>

#include "platform/mfc/GdiObject.h"

class CDC : public CObject
{
    DECLARE_DYNCREATE(CDC)
public:
    CDC();
    // Deletes a DC that CreateDC or CreateCompatibleDC made and that is still
    // held; an attached handle is deleted too (detach what is borrowed).
    ~CDC() override;

    HDC m_hDC;
    HDC m_hAttribDC;
    operator HDC() const { return m_hDC; }
    // Takes a NULL object too.
    HDC GetSafeHdc() const { return SafeHandle(this); }
    static HDC PASCAL SafeHandle(const CDC* dc);

    static CDC* PASCAL FromHandle(HDC hDC);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HDC hDC);
    HDC Detach();
    virtual void SetAttribDC(HDC hDC);
    virtual void SetOutputDC(HDC hDC);
    virtual void ReleaseAttribDC();
    virtual void ReleaseOutputDC();

    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* initData);
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();

    virtual int SaveDC();
    virtual BOOL RestoreDC(int savedDC);
    int GetDeviceCaps(int index) const;

    // Each gives the object that was selected before, or NULL on failure.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    // The region's kind of complexity (SIMPLEREGION ...), as SelectClipRgn.
    int SelectObject(CRgn* region);
    CGdiObject* SelectObject(CGdiObject* object);
    virtual CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    COLORREF GetTextColor() const;
    virtual COLORREF SetTextColor(COLORREF color);
    COLORREF GetBkColor() const;
    virtual COLORREF SetBkColor(COLORREF color);
    int GetBkMode() const;
    int SetBkMode(int mode);
    int SetROP2(int drawMode);
    int GetROP2() const;
    int SetStretchBltMode(int mode);
    UINT SetTextAlign(UINT flags);
    int SetPolyFillMode(int mode);
    COLORREF GetNearestColor(COLORREF color) const;

    // Mapping.
    int GetMapMode() const;
    virtual int SetMapMode(int mode);
    CPoint GetViewportOrg() const;
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point);
    virtual CPoint OffsetViewportOrg(int dx, int dy);
    CSize GetViewportExt() const;
    virtual CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size);
    CPoint GetWindowOrg() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point);
    CSize GetWindowExt() const;
    virtual CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size);
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void LPtoDP(LPSIZE size) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void DPtoLP(LPSIZE size) const;

    // Clipping.
    int GetClipBox(LPRECT rect) const;
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT rect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT rect);
    BOOL PtVisible(int x, int y) const;
    BOOL RectVisible(LPCRECT rect) const;

    // Lines and shapes.
    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point);
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point);
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT rect);
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT rect);
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const;
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color);

    // Areas.
    void FillRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    // Fills with a colour without a brush; the background colour is changed.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A one-pixel frame: top and left in topLeft, bottom and right in bottomRight.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    void DrawFocusRect(LPCRECT rect);
    // Drags a frame of the given border widths from lastRect to rect with
    // patterned XOR brushes: the old frame's parts that the new one does not
    // cover are erased and the new frame is drawn. A NULL lastRect draws only.
    void DrawDragRect(LPCRECT rect, SIZE size, LPCRECT lastRect, SIZE lastSize,
                      CBrush* brush = NULL, CBrush* lastBrush = NULL);
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT point, HICON icon);

    // Bit transfers.
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop);

    // Text.
    virtual BOOL TextOut(int x, int y, LPCSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text);
    virtual BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count,
                            LPINT dxWidths);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text,
                    LPINT dxWidths);
    virtual int DrawText(LPCSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const;
    CSize GetOutputTextExtent(const CString& text) const;
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const;
    int GetTextFace(int count, LPSTR faceName) const;
    int GetTextFace(CString& faceName) const;
    int SetTextCharacterExtra(int extra);

private:
    CDC(const CDC&);
    void operator=(const CDC&);

    // The object that stands for the handle SelectObject gave back.
    CGdiObject* Select(HGDIOBJ handle);
    // Inverts the pattern of brush over region (drag frames).
    void InvertRegion(CRgn* region, CBrush* brush);
};
