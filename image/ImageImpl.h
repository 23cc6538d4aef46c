// The pixels of an image: a packed DIB in global memory with an optional
// palette. While a palette is attached the DIB's colour table holds palette
// indexes and the image is drawn with DIB_PAL_COLORS.
#pragma once

#include <afx.h>

#include "image/ImagePalette.h"

// Image flags: the bit meanings of the PNG colour type.
enum ImageFlags
{
    kImageHasPalette = 1,
    kImageColor = 2,
    kImageAlpha = 4
};

class CImageImpl
{
public:
    CImageImpl();
    virtual ~CImageImpl();

    virtual BOOL Inside(int x, int y) const;
    // Negative flags mean 0 for depths up to 8, else colour.
    virtual BOOL Create(int width, int height, int depth, int flags);
    // Row 0 is the bottom row of the picture.
    virtual int GetPixelIndex(int x, int y) const;
    virtual BOOL GetPixelColor(int x, int y, BYTE& red, BYTE& green, BYTE& blue) const;
    virtual BOOL SetPixelIndex(int x, int y, int index);
    virtual BOOL SetPixelColor(int x, int y, BYTE red, BYTE green, BYTE blue);
    virtual BOOL Read(const CString& fileName);
    virtual BOOL Write(const CString& fileName);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetDepth() const { return m_depth; }
    int GetFlags() const { return m_flags; }
    // Bytes of one pixel row.
    int GetEffWidth() const { return m_rowSize; }
    BYTE* GetBits() const { return m_bits; }
    BITMAPINFOHEADER* GetDIB() const { return m_dib; }
    // Pixel row counted from the top of the picture.
    BYTE* GetRowFromTop(int row) const;
    int GetTransparentIndex() const { return m_transparentIndex; }

    // One array gives greys: a missing green array is the red one, a missing
    // blue array the green one.
    BOOL CreatePalette(int count, const BYTE* red, const BYTE* green = NULL, const BYTE* blue = NULL);
    // count triples of red, green, blue.
    BOOL SetPaletteFromTriples(int count, const BYTE* rgb);
    // Takes ownership; null is ignored.
    BOOL SetPalette(CImagePalette* palette);
    CImagePalette* GetPalette() const { return m_palette; }
    // Colour of a palette entry, or of the DIB's colour table without a palette.
    BOOL GetColorEntry(int index, BYTE& red, BYTE& green, BYTE& blue) const;

    // The caller selects the palette into the DC first. -1 sizes mean the image's.
    BOOL Draw(CDC* dc, int x, int y, int cx, int cy, int srcX, int srcY) const;
    // 0 sizes mean the image's.
    BOOL Stretch(CDC* dc, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx, int srcCy);

    // Moves the pixels, palette, transparent index and geometry of other here.
    void TakeOver(CImageImpl& other);

protected:
    void FreeImage();
    UINT ColorUse() const;
    BOOL StretchTransparent(HDC dc, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx, int srcCy);

    BYTE* m_bits;
    int m_width;
    int m_height;
    int m_depth;
    int m_flags;
    int m_rowSize;
    BITMAPINFOHEADER* m_dib;
    int m_transparentIndex;
    CImagePalette* m_palette;

private:
    CImageImpl(const CImageImpl&);
    CImageImpl& operator=(const CImageImpl&);
};

// An implementation that reads and writes one file format.
class CImageFileImpl : public CImageImpl
{
public:
    explicit CImageFileImpl(const CString& fileName) : m_fileName(fileName) {}

protected:
    // A non-empty name replaces the stored one; returns the name to use.
    const CString& UseFileName(const CString& fileName);

    CString m_fileName;
};
