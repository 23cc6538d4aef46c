#include "toolkit/toolbars/TkDrawData.h"

namespace {

HBRUSH MakeDitherBrush()
{
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP pattern = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(NULL, screen);
    HBRUSH brush = NULL;
    if (dc != NULL && pattern != NULL) {
        HGDIOBJ old = SelectObject(dc, pattern);
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        for (int y = 0; y < 8; y++) {
            for (int x = 0; x < 8; x++)
                SetPixel(dc, x, y, ((x + y) & 1) ? highlight : face);
        }
        SelectObject(dc, old);
        brush = CreatePatternBrush(pattern);
    }
    if (pattern != NULL)
        DeleteObject(pattern);
    if (dc != NULL)
        DeleteDC(dc);
    return brush;
}

}  // namespace

TkDrawData::TkDrawData()
    : m_hdcMask(CreateCompatibleDC(NULL)), m_hdcImage(CreateCompatibleDC(NULL)),
      m_hdcButton(CreateCompatibleDC(NULL)), m_hbrDither(MakeDitherBrush()), m_hImageStrip(NULL),
      m_sizeImage(16, 15), m_bCoolLook(FALSE), m_bCustomizing(FALSE), m_dwExStyle(0),
      m_hButtonBitmap(NULL), m_hMaskBitmap(NULL), m_hOldButton(NULL), m_hOldMask(NULL),
      m_hOldImage(NULL)
{
    if (m_hdcMask == NULL || m_hdcImage == NULL || m_hdcButton == NULL || m_hbrDither == NULL) {
        Destroy();
        AfxThrowResourceException();
    }
}

TkDrawData::~TkDrawData()
{
    Destroy();
}

void TkDrawData::Destroy()
{
    FreeBitmaps();
    SelectImageStrip(NULL);
    HDC dcs[] = {m_hdcMask, m_hdcImage, m_hdcButton};
    for (HDC dc : dcs) {
        if (dc != NULL)
            DeleteDC(dc);
    }
    if (m_hbrDither != NULL)
        DeleteObject(m_hbrDither);
    m_hdcMask = m_hdcImage = m_hdcButton = NULL;
    m_hbrDither = NULL;
}

void TkDrawData::RebuildDitherBrush()
{
    HBRUSH brush = MakeDitherBrush();
    if (brush == NULL)
        return;
    DeleteObject(m_hbrDither);
    m_hbrDither = brush;
}

BOOL TkDrawData::PrepareBitmaps(CDC* screen, int cx, int cy)
{
    FreeBitmaps();
    m_hButtonBitmap = CreateCompatibleBitmap(screen->m_hDC, cx, cy);
    m_hMaskBitmap = CreateBitmap(cx, cy, 1, 1, NULL);
    if (m_hButtonBitmap == NULL || m_hMaskBitmap == NULL) {
        FreeBitmaps();
        return FALSE;
    }
    m_hOldButton = SelectObject(m_hdcButton, m_hButtonBitmap);
    m_hOldMask = SelectObject(m_hdcMask, m_hMaskBitmap);
    return TRUE;
}

void TkDrawData::FreeBitmaps()
{
    if (m_hOldButton != NULL)
        SelectObject(m_hdcButton, m_hOldButton);
    if (m_hOldMask != NULL)
        SelectObject(m_hdcMask, m_hOldMask);
    if (m_hButtonBitmap != NULL)
        DeleteObject(m_hButtonBitmap);
    if (m_hMaskBitmap != NULL)
        DeleteObject(m_hMaskBitmap);
    m_hOldButton = m_hOldMask = NULL;
    m_hButtonBitmap = m_hMaskBitmap = NULL;
}

void TkDrawData::SelectImageStrip(HBITMAP strip)
{
    if (strip == m_hImageStrip)
        return;
    if (m_hOldImage != NULL)
        SelectObject(m_hdcImage, m_hOldImage);
    m_hOldImage = strip != NULL ? SelectObject(m_hdcImage, strip) : NULL;
    m_hImageStrip = strip;
}
