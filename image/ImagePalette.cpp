#include "image/ImagePalette.h"

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
    CreatePalette(logical);
}

CImagePalette::CImagePalette(HPALETTE palette)
{
    Attach(palette);
}

BOOL CImagePalette::GetEntry(int index, BYTE& red, BYTE& green, BYTE& blue) const
{
    PALETTEENTRY entry = {0, 0, 0, 0};
    BOOL found = index >= 0 && index < kMaxEntries && m_hObject &&
                 GetPaletteEntries(index, 1, &entry) == 1;
    red = entry.peRed;
    green = entry.peGreen;
    blue = entry.peBlue;
    return found;
}

int CImagePalette::GetNearestIndex(BYTE red, BYTE green, BYTE blue) const
{
    return GetNearestPaletteIndex(RGB(red, green, blue));
}
