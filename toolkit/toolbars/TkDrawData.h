// TkDrawData: a tool bar's drawing workspace. Every button is painted into
// an off-screen button bitmap through three memory DCs (mask, image, button)
// and reaches the screen in one blit; the dither brush (button face and
// highlight in alternate pixels) shades checked buttons. The bar prepares
// the bitmaps before painting and frees them after.
#pragma once

#include <afxwin.h>

class TkDrawData
{
public:
    // Throws the resource exception when a DC or the brush cannot be made.
    TkDrawData();
    ~TkDrawData();

    void RebuildDitherBrush();
    // Selects a button bitmap and a mask of cx x cy into the button and mask DCs.
    BOOL PrepareBitmaps(CDC* screen, int cx, int cy);
    void FreeBitmaps();
    void SelectImageStrip(HBITMAP strip);

    HDC m_hdcMask;
    HDC m_hdcImage;
    HDC m_hdcButton;
    HBRUSH m_hbrDither;
    HBITMAP m_hImageStrip;
    CSize m_sizeImage;
    // Set by the bar for each paint.
    BOOL m_bCoolLook;
    BOOL m_bCustomizing;
    DWORD m_dwExStyle;
    // Set by DrawButton for the drawing steps after it: the face inside
    // the frame and where the image lies, in the button bitmap.
    CRect m_rectInside;
    CPoint m_ptImage;

private:
    TkDrawData(const TkDrawData&);
    void operator=(const TkDrawData&);
    void Destroy();

    HBITMAP m_hButtonBitmap;
    HBITMAP m_hMaskBitmap;
    HGDIOBJ m_hOldButton;
    HGDIOBJ m_hOldMask;
    HGDIOBJ m_hOldImage;
};
