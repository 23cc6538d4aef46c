#include "image/ImageImpl.h"

#include <afxwin.h>

#include <string.h>

#include "image/Dib.h"

namespace
{
const DWORD kGreen565Mask = 0x07E0;

// Expands a 5- or 6-bit channel to 8 bits.
BYTE Expand(unsigned value, int bits)
{
    return BYTE((value << (8 - bits)) | (value >> (2 * bits - 8)));
}
}

CImageImpl::CImageImpl()
    : m_bits(NULL), m_width(0), m_height(0), m_depth(0), m_flags(0), m_rowSize(0),
      m_dib(NULL), m_transparentIndex(-1), m_palette(NULL)
{
}

CImageImpl::~CImageImpl()
{
    FreeImage();
}

void CImageImpl::FreeImage()
{
    FreeDIB(m_dib);
    m_dib = NULL;
    m_bits = NULL;
    delete m_palette;
    m_palette = NULL;
}

BOOL CImageImpl::Inside(int x, int y) const
{
    return x >= 0 && x < m_width && y >= 0 && y < m_height;
}

BOOL CImageImpl::Create(int width, int height, int depth, int flags)
{
    FreeImage();
    m_dib = AllocateDIB(depth, width, height);
    if (!m_dib)
    {
        m_width = m_height = m_depth = m_rowSize = 0;
        return FALSE;
    }
    m_width = width;
    m_height = height;
    m_depth = depth;
    m_flags = flags >= 0 ? flags : depth <= 8 ? 0 : kImageColor;
    m_bits = DIBBits(m_dib);
    m_rowSize = DIBRowSize(depth, width);
    return TRUE;
}

BYTE* CImageImpl::GetRowFromTop(int row) const
{
    return m_bits + size_t(m_rowSize) * (m_height - 1 - row);
}

int CImageImpl::GetPixelIndex(int x, int y) const
{
    if (!Inside(x, y) || m_depth > 8)
        return -1;
    BYTE byte = m_bits[size_t(m_rowSize) * y + m_depth * x / 8];
    // Pixels below 8 bits are packed from the most significant bit.
    int shift = 8 - m_depth - (m_depth * x) % 8;
    return (byte >> shift) & ((1 << m_depth) - 1);
}

BOOL CImageImpl::SetPixelIndex(int x, int y, int index)
{
    if (!Inside(x, y) || m_depth > 8 || index < 0 || index >= (1 << m_depth))
        return FALSE;
    BYTE& byte = m_bits[size_t(m_rowSize) * y + m_depth * x / 8];
    int shift = 8 - m_depth - (m_depth * x) % 8;
    BYTE mask = BYTE(((1 << m_depth) - 1) << shift);
    byte = BYTE((byte & ~mask) | (index << shift));
    return TRUE;
}

BOOL CImageImpl::GetColorEntry(int index, BYTE& red, BYTE& green, BYTE& blue) const
{
    if (m_palette)
        return m_palette->GetEntry(index, red, green, blue);
    red = green = blue = 0;
    if (!m_dib || index < 0 || DWORD(index) >= ColorCount(m_dib))
        return FALSE;
    const RGBQUAD& entry = reinterpret_cast<const RGBQUAD*>(m_dib + 1)[index];
    red = entry.rgbRed;
    green = entry.rgbGreen;
    blue = entry.rgbBlue;
    return TRUE;
}

BOOL CImageImpl::GetPixelColor(int x, int y, BYTE& red, BYTE& green, BYTE& blue) const
{
    red = green = blue = 0;
    if (!Inside(x, y))
        return FALSE;
    if (m_depth <= 8)
        return GetColorEntry(GetPixelIndex(x, y), red, green, blue);
    const BYTE* pixel = m_bits + size_t(m_rowSize) * y + m_depth * x / 8;
    if (m_depth == 16)
    {
        unsigned value = pixel[0] | (pixel[1] << 8);
        const DWORD* masks = reinterpret_cast<const DWORD*>(m_dib + 1);
        bool is565 = m_dib->biCompression == BI_BITFIELDS && masks[1] == kGreen565Mask;
        int greenBits = is565 ? 6 : 5;
        red = Expand(value >> (5 + greenBits) & 0x1F, 5);
        green = Expand(value >> 5 & ((1 << greenBits) - 1), greenBits);
        blue = Expand(value & 0x1F, 5);
        return TRUE;
    }
    blue = pixel[0];
    green = pixel[1];
    red = pixel[2];
    return TRUE;
}

BOOL CImageImpl::SetPixelColor(int x, int y, BYTE red, BYTE green, BYTE blue)
{
    if (!Inside(x, y))
        return FALSE;
    if (m_depth <= 8)
    {
        // Without a palette there is no colour to look up.
        if (!(m_flags & kImageHasPalette) || !m_palette)
            return FALSE;
        return SetPixelIndex(x, y, m_palette->GetNearestIndex(red, green, blue));
    }
    if (m_depth < 24)
        return FALSE;
    BYTE* pixel = m_bits + size_t(m_rowSize) * y + m_depth * x / 8;
    pixel[0] = blue;
    pixel[1] = green;
    pixel[2] = red;
    return TRUE;
}

BOOL CImageImpl::Read(const CString&)
{
    return FALSE;
}

BOOL CImageImpl::Write(const CString&)
{
    return FALSE;
}

BOOL CImageImpl::CreatePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue)
{
    if (!green)
        green = red;
    if (!blue)
        blue = green;
    return SetPalette(new CImagePalette(count, red, green, blue));
}

BOOL CImageImpl::SetPaletteFromTriples(int count, const BYTE* rgb)
{
    const int kMaxEntries = 256;
    if (m_palette)
        AfxMessageBox("CImageImpl::imagePalette already exists!");
    if (count > kMaxEntries)
        count = kMaxEntries;
    BYTE red[kMaxEntries], green[kMaxEntries], blue[kMaxEntries];
    for (int i = 0; i < count; i++)
    {
        red[i] = rgb[3 * i];
        green[i] = rgb[3 * i + 1];
        blue[i] = rgb[3 * i + 2];
    }
    return CreatePalette(count, red, green, blue);
}

BOOL CImageImpl::SetPalette(CImagePalette* palette)
{
    if (!palette)
        return FALSE;
    if (palette != m_palette)
        delete m_palette;
    m_palette = palette;
    m_flags |= kImageHasPalette | kImageColor;
    if (m_dib)
        SetColorTableMode(m_dib, *m_palette, kColorTableIndexes);
    return TRUE;
}

UINT CImageImpl::ColorUse() const
{
    return m_palette ? DIB_PAL_COLORS : DIB_RGB_COLORS;
}

BOOL CImageImpl::Draw(CDC* dc, int x, int y, int cx, int cy, int srcX, int srcY) const
{
    if (!m_dib)
        return FALSE;
    if (!dc)
        return TRUE;
    dc->RealizePalette();
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(m_dib);
    return SetDIBitsToDevice(dc->GetSafeHdc(), x, y, cx < 0 ? m_width : cx, cy < 0 ? m_height : cy,
                             srcX, srcY, 0, m_height, m_bits, info, ColorUse()) != 0;
}

BOOL CImageImpl::Stretch(CDC* dc, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx, int srcCy)
{
    if (!m_dib)
        return FALSE;
    if (!dc)
        return TRUE;
    if (!cx)
        cx = m_width;
    if (!cy)
        cy = m_height;
    if (!srcCx)
        srcCx = m_width;
    if (!srcCy)
        srcCy = m_height;
    dc->RealizePalette();
    dc->SetStretchBltMode(COLORONCOLOR);
    if (m_transparentIndex >= 0 && m_depth == 8 && m_palette)
        return StretchTransparent(dc->GetSafeHdc(), x, y, cx, cy, srcX, srcY, srcCx, srcCy);
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(m_dib);
    return StretchDIBits(dc->GetSafeHdc(), x, y, cx, cy, srcX, srcY, srcCx, srcCy, m_bits, info, ColorUse(),
                         SRCCOPY) > 0;
}

// Two passes: a mask (transparent pixels white, others black) ANDed onto the
// background, then the picture with transparent pixels black ORed over it.
BOOL CImageImpl::StretchTransparent(HDC dc, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx, int srcCy)
{
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(m_dib);
    BYTE white = BYTE(m_palette->GetNearestIndex(255, 255, 255));
    BYTE black = BYTE(m_palette->GetNearestIndex(0, 0, 0));
    BYTE transparent = BYTE(m_transparentIndex);
    size_t size = size_t(m_rowSize) * m_height;
    BYTE* saved = new BYTE[size];
    memcpy(saved, m_bits, size);
    for (size_t i = 0; i < size; i++)
        m_bits[i] = saved[i] == transparent ? white : black;
    BOOL drawn = StretchDIBits(dc, x, y, cx, cy, srcX, srcY, srcCx, srcCy, m_bits, info, DIB_PAL_COLORS, SRCAND) > 0;
    for (size_t i = 0; i < size; i++)
        m_bits[i] = saved[i] == transparent ? black : saved[i];
    drawn = StretchDIBits(dc, x, y, cx, cy, srcX, srcY, srcCx, srcCy, m_bits, info, DIB_PAL_COLORS, SRCPAINT) > 0 && drawn;
    memcpy(m_bits, saved, size);
    delete[] saved;
    return drawn;
}

void CImageImpl::TakeOver(CImageImpl& other)
{
    FreeImage();
    m_bits = other.m_bits;
    m_width = other.m_width;
    m_height = other.m_height;
    m_depth = other.m_depth;
    m_flags = other.m_flags;
    m_rowSize = other.m_rowSize;
    m_dib = other.m_dib;
    m_transparentIndex = other.m_transparentIndex;
    m_palette = other.m_palette;
    other.m_dib = NULL;
    other.m_bits = NULL;
    other.m_palette = NULL;
}

const CString& CImageFileImpl::UseFileName(const CString& fileName)
{
    if (!fileName.IsEmpty())
        m_fileName = fileName;
    return m_fileName;
}
