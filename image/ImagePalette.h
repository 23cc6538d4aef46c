// A logical palette of up to 256 colours for an image.
#pragma once

#include <afxwin.h>

class CImagePalette : public CPalette
{
public:
    // Entries from three arrays of count bytes each (count <= 256).
    CImagePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue);
    // Takes over a palette handle.
    explicit CImagePalette(HPALETTE palette);

    // False for an index outside the palette (the colour is then black).
    BOOL GetEntry(int index, BYTE& red, BYTE& green, BYTE& blue) const;
    int GetNearestIndex(BYTE red, BYTE green, BYTE blue) const;
};
