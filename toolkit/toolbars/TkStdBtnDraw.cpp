// TkStdBtn's drawing: face, frame and image are painted into the bar's
// off-screen button bitmap, then copied to the screen in one blit.
#include "toolkit/toolbars/TkStdBtn.h"

#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkDrawData.h"

namespace {

// Where a monochrome source is 0, the pattern; where 1, the destination.
const DWORD ROP_PATTERN_ON_ZERO = 0xB8074A;
// Where a monochrome source is 1, the pattern; where 0, the destination.
const DWORD ROP_PATTERN_ON_ONE = 0xE20746;
// The destination and not the source.
const DWORD ROP_DEST_AND_NOT_SOURCE = 0x220326;

void Fill(HDC dc, const CRect& rect, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, NULL, 0, NULL);
}

// A 3-D ring (top and left in one colour, bottom and right in the other),
// then the rectangle shrinks by one pixel on every side.
void Ring(HDC dc, CRect& rect, int topLeft, int bottomRight)
{
    COLORREF tl = GetSysColor(topLeft);
    COLORREF br = GetSysColor(bottomRight);
    Fill(dc, CRect(rect.left, rect.top, rect.right - 1, rect.top + 1), tl);
    Fill(dc, CRect(rect.left, rect.top, rect.left + 1, rect.bottom - 1), tl);
    Fill(dc, CRect(rect.right - 1, rect.top, rect.right, rect.bottom), br);
    Fill(dc, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), br);
    rect.DeflateRect(1, 1);
}

// Blits the mask at offset through a brush with one of the mask raster
// operations.
void PaintThroughMask(TkDrawData* drawData, const CRect& area, CPoint offset, HBRUSH brush,
                      DWORD rop)
{
    HDC dc = drawData->m_hdcButton;
    HGDIOBJ old = SelectObject(dc, brush);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, area.left + offset.x, area.top + offset.y, area.Width(), area.Height(),
           drawData->m_hdcMask, area.left, area.top, rop);
    SelectObject(dc, old);
}

void PaintSolidThroughMask(TkDrawData* drawData, const CRect& area, CPoint offset, int colour)
{
    HBRUSH brush = CreateSolidBrush(GetSysColor(colour));
    PaintThroughMask(drawData, area, offset, brush, ROP_PATTERN_ON_ZERO);
    DeleteObject(brush);
}

void Dither(TkDrawData* drawData)
{
    PaintThroughMask(drawData, drawData->m_rectInside, CPoint(0, 0), drawData->m_hbrDither,
                     ROP_PATTERN_ON_ONE);
}

}  // namespace

void TkStdBtn::Render(CDC* dc, TkDrawData* drawData)
{
    CRect rect = GetRect();
    if (!RectVisible(dc->m_hDC, &rect))
        return;
    if (DrawSeparator(dc))
        return;
    SelectImage(drawData);
    DrawFace(drawData);
    DrawTransparent(drawData);
    DrawSelection(drawData);
    BlitToScreen(dc, drawData);
}

void TkStdBtn::DrawFace(TkDrawData* drawData)
{
    if (drawData->m_bCustomizing) {
        DrawButton(drawData, TRUE);
        return;
    }
    DrawButton(drawData, FALSE);
    if (HasStyle(TBBS_PRESSED))
        return;
    if (HasStyle(TBBS_DISABLED))
        DrawDisabled(drawData);
    else if (HasStyle(TBBS_CHECKED))
        DrawChecked(drawData);
    else if (HasStyle(TBBS_INDETERMINATE))
        DrawIndeterminate(drawData);
}

void TkStdBtn::DrawButton(TkDrawData* drawData, BOOL forceUp)
{
    HDC dc = drawData->m_hdcButton;
    CSize image = drawData->m_sizeImage;
    CRect rect(0, 0, m_cx, m_cy);
    CPoint pt((rect.Width() - image.cx - 1) / 2, (rect.Height() - image.cy) / 2);
    Fill(dc, rect, GetSysColor(COLOR_BTNFACE));
    BOOL down = (m_dwStyle & (TBBS_PRESSED | TBBS_CHECKED)) && !forceUp;
    BOOL cool = drawData->m_bCoolLook;
    if (!down && !cool) {
        Ring(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_WINDOWFRAME);
        Ring(dc, rect, COLOR_BTNFACE, COLOR_BTNSHADOW);
    } else if (!down) {
        if (HasStyle(TKBS_HOT) && !forceUp)
            Ring(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        else
            rect.DeflateRect(1, 1);
        rect.DeflateRect(1, 1);
    } else {
        Ring(dc, rect, cool ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME, COLOR_BTNHIGHLIGHT);
        if (cool)
            rect.DeflateRect(1, 1);
        else
            Ring(dc, rect, COLOR_BTNSHADOW, COLOR_BTNFACE);
        pt.Offset(1, 1);
    }
    drawData->m_rectInside = rect;
    drawData->m_ptImage = pt;
    BlitImage(drawData);
}

// Only a face that shows the plain image: the disabled, checked and
// indeterminate looks are drawn through the image's own mask.
void TkStdBtn::DrawTransparent(TkDrawData* drawData)
{
    const DWORD transparent = TKTBS_COOLLOOK | TKTBS_TRANSPARENT;
    const DWORD overlays = TBBS_DISABLED | TBBS_CHECKED | TBBS_INDETERMINATE;
    if ((drawData->m_dwExStyle & transparent) != transparent || drawData->m_hImageStrip == NULL)
        return;
    if (!drawData->m_bCustomizing && !HasStyle(TBBS_PRESSED) && (m_dwStyle & overlays))
        return;
    HDC button = drawData->m_hdcButton;
    HDC image = drawData->m_hdcImage;
    HDC mask = drawData->m_hdcMask;
    CSize size = drawData->m_sizeImage;
    CPoint pt = drawData->m_ptImage;
    int x = size.cx * (int)m_nImage;
    // Mask: 1 on image pixels, 0 on those of the corner colour.
    PatBlt(mask, 0, 0, m_cx, m_cy, WHITENESS);
    SetBkColor(image, GetPixel(image, x, 0));
    BitBlt(mask, pt.x, pt.y, size.cx, size.cy, image, x, 0, SRCINVERT);
    // face ^ image, cleared under the mask, ^ image: the image where the mask
    // is 1, the face elsewhere.
    Fill(button, CRect(pt, size), GetSysColor(COLOR_BTNFACE));
    SetTextColor(button, RGB(0, 0, 0));
    SetBkColor(button, RGB(255, 255, 255));
    BitBlt(button, pt.x, pt.y, size.cx, size.cy, image, x, 0, SRCINVERT);
    BitBlt(button, pt.x, pt.y, size.cx, size.cy, mask, pt.x, pt.y, ROP_DEST_AND_NOT_SOURCE);
    BitBlt(button, pt.x, pt.y, size.cx, size.cy, image, x, 0, SRCINVERT);
}

void TkStdBtn::MakeMask(TkDrawData* drawData) const
{
    HDC mask = drawData->m_hdcMask;
    HDC image = drawData->m_hdcImage;
    CSize size = drawData->m_sizeImage;
    CPoint pt = drawData->m_ptImage;
    PatBlt(mask, 0, 0, m_cx, m_cy, WHITENESS);
    if (drawData->m_hImageStrip == NULL)
        return;
    int x = size.cx * (int)m_nImage;
    SetBkColor(image, GetSysColor(COLOR_BTNFACE));
    BitBlt(mask, pt.x, pt.y, size.cx, size.cy, image, x, 0, SRCCOPY);
    SetBkColor(image, GetSysColor(COLOR_BTNHIGHLIGHT));
    BitBlt(mask, pt.x, pt.y, size.cx, size.cy, image, x, 0, SRCPAINT);
}

void TkStdBtn::DrawDisabled(TkDrawData* drawData)
{
    Fill(drawData->m_hdcButton, drawData->m_rectInside, GetSysColor(COLOR_BTNFACE));
    MakeMask(drawData);
    CRect whole(0, 0, m_cx, m_cy);
    PaintSolidThroughMask(drawData, whole - CPoint(1, 1), CPoint(1, 1), COLOR_BTNHIGHLIGHT);
    PaintSolidThroughMask(drawData, whole, CPoint(0, 0), COLOR_BTNSHADOW);
    if (HasStyle(TBBS_CHECKED))
        Dither(drawData);
}

void TkStdBtn::DrawChecked(TkDrawData* drawData)
{
    MakeMask(drawData);
    Dither(drawData);
}

void TkStdBtn::DrawIndeterminate(TkDrawData* drawData)
{
    MakeMask(drawData);
    PaintSolidThroughMask(drawData, CRect(0, 0, m_cx, m_cy), CPoint(0, 0), COLOR_BTNSHADOW);
    Dither(drawData);
}

void TkStdBtn::DrawSelectionFrame(TkDrawData* drawData)
{
    CRect rect(0, 0, m_cx, m_cy);
    for (int i = 0; i < 3; i++) {
        DrawFocusRect(drawData->m_hdcButton, &rect);
        rect.DeflateRect(1, 1);
    }
}

void TkStdBtn::SelectImage(TkDrawData* drawData)
{
    HBITMAP strip = NULL;
    m_pBar->GetButtonImage(m_nID, &strip);
    drawData->SelectImageStrip(strip);
}

BOOL TkStdBtn::DrawSeparator(CDC* dc)
{
    if (!IsSeparator())
        return FALSE;
    if (!m_pBar->IsCoolLook() || HasStyle(TBBS_WRAPPED))
        return TRUE;
    const DWORD transparent = TKTBS_COOLLOOK | TKTBS_TRANSPARENT;
    CRect rect = GetRect();
    if ((m_pBar->GetExBarStyle() & transparent) != transparent)
        Fill(dc->m_hDC, rect, GetSysColor(COLOR_BTNFACE));
    int x = m_x + m_pBar->m_cxSeparator / 2;
    Fill(dc->m_hDC, CRect(x, rect.top, x + 1, rect.bottom), GetSysColor(COLOR_BTNSHADOW));
    Fill(dc->m_hDC, CRect(x + 1, rect.top, x + 2, rect.bottom), GetSysColor(COLOR_BTNHIGHLIGHT));
    return TRUE;
}

void TkStdBtn::BlitImage(TkDrawData* drawData)
{
    if (drawData->m_hImageStrip == NULL)
        return;
    CSize size = drawData->m_sizeImage;
    BitBlt(drawData->m_hdcButton, drawData->m_ptImage.x, drawData->m_ptImage.y, size.cx, size.cy,
           drawData->m_hdcImage, size.cx * (int)m_nImage, 0, SRCCOPY);
}

void TkStdBtn::DrawSelection(TkDrawData* drawData)
{
    if (HasStyle(TKBS_SELECTED))
        DrawSelectionFrame(drawData);
}

void TkStdBtn::BlitToScreen(CDC* dc, TkDrawData* drawData)
{
    BitBlt(dc->m_hDC, m_x, m_y, m_cx, m_cy, drawData->m_hdcButton, 0, 0, SRCCOPY);
}
