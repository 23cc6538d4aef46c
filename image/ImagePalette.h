// A logical palette of up to 256 colours that owns its GDI handle.
#pragma once

#include <windows.h>

class CImagePalette
{
public:
    // Entries from three arrays of count bytes each (count <= 256).
    CImagePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue);
    // Takes over a palette handle.
    explicit CImagePalette(HPALETTE palette);
    ~CImagePalette();

    operator HPALETTE() const { return m_palette; }
    int GetEntryCount() const;
    // False for an index outside the palette (the colour is then black).
    BOOL GetEntry(int index, BYTE& red, BYTE& green, BYTE& blue) const;
    int GetNearestIndex(BYTE red, BYTE green, BYTE blue) const;

private:
    CImagePalette(const CImagePalette&);
    CImagePalette& operator=(const CImagePalette&);

    HPALETTE m_palette;
};
