// A 32-bit memory bitmap, white at first, that drawing tests read back
// pixel by pixel.
#pragma once

#include <afxwin.h>

#include <string>

class Canvas
{
public:
    Canvas(int cx, int cy) : m_dc(CreateCompatibleDC(NULL))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = NULL;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, cx, cy};
        FillRect(m_dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(m_dc, x, y); }
    // The first pixel of rect that differs from other's, or "" when none.
    std::string Differs(const Canvas& other, const CRect& rect) const
    {
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (Pixel(x, y) != other.Pixel(x, y))
                    return std::to_string(x) + "," + std::to_string(y);
        return "";
    }

    HDC m_dc;

private:
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
