#include "toolkit/toolbars/TkSysColorBitmap.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

const DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
// BI_BITFIELDS masks follow a plain header, or sit at the same place inside a
// larger one.
const DWORD kMaskBytes = 3 * sizeof(DWORD);
const LONG kMaxSide = 32767;

const struct
{
    BYTE red, green, blue;
    int sysColor;
} kColorMap[] = {
    {0, 0, 0, COLOR_BTNTEXT},
    {128, 128, 128, COLOR_BTNSHADOW},
    {192, 192, 192, COLOR_BTNFACE},
    {255, 255, 255, COLOR_BTNHIGHLIGHT},
};

void MapColor(RGBQUAD& entry)
{
    for (const auto& map : kColorMap) {
        if (entry.rgbRed == map.red && entry.rgbGreen == map.green && entry.rgbBlue == map.blue) {
            COLORREF color = ::GetSysColor(map.sysColor);
            entry.rgbRed = GetRValue(color);
            entry.rgbGreen = GetGValue(color);
            entry.rgbBlue = GetBValue(color);
            return;
        }
    }
}

BOOL IsKnownDepth(WORD bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The layout of a bitmap block, checked against its size.
struct DibLayout
{
    BITMAPINFOHEADER header;
    DWORD masks;    // bytes of BI_BITFIELDS masks after a plain header
    DWORD colors;   // entries of the colour table
    DWORD tableAt;  // offset of the colour table
    DWORD bitsAt;
};

BOOL ReadLayout(const BYTE* dib, DWORD size, DibLayout* layout)
{
    if (dib == NULL || size < kInfoHeaderSize)
        return FALSE;
    BITMAPINFOHEADER& header = layout->header;
    memcpy(&header, dib, kInfoHeaderSize);
    WORD bits = header.biBitCount;
    BOOL fields = header.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32);
    if (header.biSize < kInfoHeaderSize || header.biSize > size || header.biWidth <= 0 ||
        header.biWidth > kMaxSide || header.biHeight == 0 || labs(header.biHeight) > kMaxSide ||
        header.biPlanes != 1 || !IsKnownDepth(bits) || (header.biCompression != BI_RGB && !fields))
        return FALSE;
    if (fields && size < kInfoHeaderSize + kMaskBytes)
        return FALSE;
    UINT64 maxColors = bits <= 8 ? (1u << bits) : 0;
    UINT64 colors = bits <= 8 && header.biClrUsed == 0 ? maxColors : header.biClrUsed;
    if (bits <= 8 && colors > maxColors)
        return FALSE;
    layout->masks = fields && header.biSize == kInfoHeaderSize ? kMaskBytes : 0;
    layout->tableAt = header.biSize + layout->masks;
    UINT64 stride = ((UINT64)header.biWidth * bits + 31) / 32 * 4;
    UINT64 end = layout->tableAt + colors * sizeof(RGBQUAD) + stride * labs(header.biHeight);
    if (end > size)
        return FALSE;
    layout->colors = (DWORD)colors;
    layout->bitsAt = layout->tableAt + layout->colors * sizeof(RGBQUAD);
    return TRUE;
}

}  // namespace

HBITMAP TkCreateSysColorBitmap(const BYTE* dib, DWORD size)
{
    DibLayout layout;
    if (!ReadLayout(dib, size, &layout))
        return NULL;
    // A plain header, the masks and a colour table: only a table of up to 8 bits
    // per pixel is mapped; deeper bitmaps need none.
    BOOL mapped = layout.header.biBitCount <= 8;
    DWORD colors = mapped ? layout.colors : 0;
    std::vector<BYTE> info(kInfoHeaderSize + kMaskBytes + colors * sizeof(RGBQUAD));
    BITMAPINFOHEADER header = layout.header;
    header.biSize = kInfoHeaderSize;
    header.biClrUsed = colors;
    memcpy(info.data(), &header, kInfoHeaderSize);
    DWORD tableAt = kInfoHeaderSize;
    if (header.biCompression == BI_BITFIELDS) {
        memcpy(info.data() + kInfoHeaderSize, dib + kInfoHeaderSize, kMaskBytes);
        tableAt += kMaskBytes;
    }
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(info.data() + tableAt);
    memcpy(table, dib + layout.tableAt, colors * sizeof(RGBQUAD));
    for (DWORD i = 0; i < colors; i++)
        MapColor(table[i]);

    HDC screen = ::GetDC(NULL);
    LONG height = labs(header.biHeight);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, header.biWidth, height);
    if (bitmap != NULL &&
        ::SetDIBits(screen, bitmap, 0, height, dib + layout.bitsAt,
                    reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == 0) {
        ::DeleteObject(bitmap);
        bitmap = NULL;
    }
    ::ReleaseDC(NULL, screen);
    return bitmap;
}

const BYTE* TkLockResource(HINSTANCE instance, LPCSTR name, LPCSTR type, DWORD* size)
{
    HRSRC found = ::FindResourceA(instance, name, type);
    HGLOBAL loaded = found != NULL ? ::LoadResource(instance, found) : NULL;
    *size = loaded != NULL ? ::SizeofResource(instance, found) : 0;
    return loaded != NULL ? static_cast<const BYTE*>(::LockResource(loaded)) : NULL;
}

BOOL TkLoadSysColorBitmap(HBITMAP* bitmap, HINSTANCE instance, LPCSTR resource)
{
    DWORD size = 0;
    const BYTE* dib = TkLockResource(instance, resource, (LPCSTR)RT_BITMAP, &size);
    *bitmap = dib != NULL ? TkCreateSysColorBitmap(dib, size) : NULL;
    return *bitmap != NULL;
}
