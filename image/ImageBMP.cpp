#include "image/ImageBMP.h"

#include "image/Dib.h"

BOOL CImageBMP::Read(const CString& fileName)
{
    BITMAPINFOHEADER* dib = ReadDIBFile(UseFileName(fileName));
    if (!dib)
        return FALSE;
    FreeImage();
    m_dib = dib;
    m_width = dib->biWidth;
    m_height = dib->biHeight;
    m_depth = dib->biBitCount;
    m_bits = DIBBits(dib);
    m_rowSize = DIBRowSize(m_depth, m_width);
    m_flags = 0;
    m_transparentIndex = -1;
    HPALETTE palette = PaletteFromDIB(dib, 0);
    if (palette)
        SetPalette(new CImagePalette(palette));
    return TRUE;
}

BOOL CImageBMP::Write(const CString& fileName)
{
    if (!m_dib)
        return FALSE;
    const CString& name = UseFileName(fileName);
    // In memory the table holds palette indexes; the file needs the colours.
    if (!m_palette)
        return WriteDIBFile(name, m_dib);
    SetColorTableMode(m_dib, *m_palette, kColorTableRGB);
    bool written = WriteDIBFile(name, m_dib);
    SetColorTableMode(m_dib, *m_palette, kColorTableIndexes);
    return written;
}
