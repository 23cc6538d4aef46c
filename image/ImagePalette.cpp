#include "ImagePalette.h"

namespace
{
const int kMaxEntries = 256;
const WORD kPaletteVersion = 0x300;
}

CImagePalette::CImagePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue)
{
    if (count > kMaxEntries)
        count = kMaxEntries;
    BYTE buffer[sizeof(LOGPALETTE) + kMaxEntries * sizeof(PALETTEENTRY)];
    LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(buffer);
    logical->palVersion = kPaletteVersion;
    logical->palNumEntries = WORD(count);
    for (int i = 0; i < count; i++)
    {
        logical->palPalEntry[i].peRed = red[i];
        logical->palPalEntry[i].peGreen = green[i];
        logical->palPalEntry[i].peBlue = blue[i];
        logical->palPalEntry[i].peFlags = 0;
    }
    m_palette = CreatePalette(logical);
}

CImagePalette::CImagePalette(HPALETTE palette) : m_palette(palette)
{
}

CImagePalette::~CImagePalette()
{
    if (m_palette)
        DeleteObject(m_palette);
}

int CImagePalette::GetEntryCount() const
{
    WORD count = 0;
    if (!m_palette || !GetObjectA(m_palette, sizeof(count), &count))
        return 0;
    return count;
}

BOOL CImagePalette::GetEntry(int index, BYTE& red, BYTE& green, BYTE& blue) const
{
    PALETTEENTRY entry = {0, 0, 0, 0};
    BOOL found = index >= 0 && index < kMaxEntries && m_palette &&
                 GetPaletteEntries(m_palette, index, 1, &entry) == 1;
    red = entry.peRed;
    green = entry.peGreen;
    blue = entry.peBlue;
    return found;
}

int CImagePalette::GetNearestIndex(BYTE red, BYTE green, BYTE blue) const
{
    return GetNearestPaletteIndex(m_palette, RGB(red, green, blue));
}
