#include "image/ImagePNG.h"

#include "image/ImageFile.h"
#include "image/PngFile.h"

namespace
{
const int kMaxColors = 256;

class CImagePngSink : public CPngReadSink
{
public:
    explicit CImagePngSink(CImageImpl& image) : m_image(image) {}

    bool Begin(int width, int height, int depth, int colorType, int paletteCount,
               const unsigned char* palette) override
    {
        if (!m_image.Create(width, height, depth, colorType))
            return false;
        if (paletteCount > 0)
            return m_image.SetPaletteFromTriples(paletteCount, palette) != FALSE;
        if (depth <= 8)
            SetGreyColorTable(depth);
        return true;
    }

    unsigned char* Row(int row) override
    {
        return m_image.GetRowFromTop(row);
    }

private:
    // Grey files have no palette: their samples index an even grey ramp.
    void SetGreyColorTable(int depth)
    {
        BITMAPINFOHEADER* dib = m_image.GetDIB();
        RGBQUAD* table = reinterpret_cast<RGBQUAD*>(dib + 1);
        int levels = 1 << depth;
        for (int i = 0; i < levels; i++)
        {
            BYTE grey = BYTE(i * 255 / (levels - 1));
            RGBQUAD entry = {grey, grey, grey, 0};
            table[i] = entry;
        }
    }

    CImageImpl& m_image;
};

// Rows as the file holds them; depths the file can't hold directly (16 and
// 32 bits) go through a row of blue, green, red.
class CImagePngSource : public CPngWriteSource
{
public:
    explicit CImagePngSource(const CImageImpl& image)
        : m_image(image), m_converted(NULL)
    {
        if (IsConverted())
            m_converted = new BYTE[3 * image.GetWidth()];
    }

    ~CImagePngSource() override
    {
        delete[] m_converted;
    }

    int FileDepth() const
    {
        return IsConverted() ? 24 : m_image.GetDepth();
    }

    const unsigned char* Row(int row) override
    {
        if (!m_converted)
            return m_image.GetRowFromTop(row);
        int y = m_image.GetHeight() - 1 - row;
        BYTE* pixel = m_converted;
        for (int x = 0; x < m_image.GetWidth(); x++, pixel += 3)
            m_image.GetPixelColor(x, y, pixel[2], pixel[1], pixel[0]);
        return m_converted;
    }

private:
    bool IsConverted() const
    {
        return m_image.GetDepth() > 8 && m_image.GetDepth() != 24;
    }

    const CImageImpl& m_image;
    BYTE* m_converted;
};
}

BOOL CImagePNG::Read(const CString& fileName)
{
    CImageFile file;
    if (!file.Open(UseFileName(fileName), "rb"))
        return FALSE;
    m_transparentIndex = -1;
    CImagePngSink sink(*this);
    return ReadPngFile(file.Get(), sink);
}

// The file's colour type follows from what the image holds, whatever its
// flags say: a true-colour image from a BMP has flags 0, and one read from
// a file with alpha keeps the alpha bit although the alpha is composited.
BOOL CImagePNG::Write(const CString& fileName)
{
    if (!m_dib)
        return FALSE;
    CImageFile file;
    if (!file.Open(UseFileName(fileName), "wb"))
        return FALSE;
    CImagePngSource source(*this);
    int depth = source.FileDepth();
    BYTE palette[3 * kMaxColors];
    int paletteCount = 0;
    if (depth <= 8 && (m_flags & kImageHasPalette))
    {
        paletteCount = kMaxColors;
        for (int i = 0; i < kMaxColors; i++)
            GetColorEntry(i, palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
    }
    bool written = WritePngFile(file.Get(), m_width, m_height, depth, paletteCount, palette, source);
    return file.Close() && written;
}
