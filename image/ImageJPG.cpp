#include "image/ImageJPG.h"

#include <string.h>

#include "image/ImageFile.h"
#include "image/JpegFile.h"

namespace
{
class CImageJpegSink : public CJpegReadSink
{
public:
    explicit CImageJpegSink(CImageImpl& image) : m_image(image) {}

    bool Begin(int width, int height, int components, int colors, const unsigned char* const* colorMap) override
    {
        // Quantised and grey pictures alike come with one sample a pixel.
        if (components != 1 || !m_image.Create(width, height, 8, -1))
            return false;
        if (colors > 0)
            return m_image.CreatePalette(colors, colorMap[0], colorMap[1], colorMap[2]) != FALSE;
        const int kGreys = 256;
        BYTE greys[kGreys];
        for (int i = 0; i < kGreys; i++)
            greys[i] = BYTE(i * 256 / kGreys);
        return m_image.CreatePalette(kGreys, greys) != FALSE;
    }

    void Row(int row, const unsigned char* samples) override
    {
        memcpy(m_image.GetRowFromTop(row), samples, m_image.GetWidth());
    }

private:
    CImageImpl& m_image;
};

class CImageJpegSource : public CJpegWriteSource
{
public:
    explicit CImageJpegSource(const CImageImpl& image) : m_image(image) {}

    void Row(int row, unsigned char* rgb) override
    {
        int y = m_image.GetHeight() - 1 - row;
        for (int x = 0; x < m_image.GetWidth(); x++, rgb += 3)
            m_image.GetPixelColor(x, y, rgb[0], rgb[1], rgb[2]);
    }

private:
    const CImageImpl& m_image;
};
}

BOOL CImageJPG::Read(const CString& fileName)
{
    CImageFile file;
    if (!file.Open(UseFileName(fileName), "rb"))
        return FALSE;
    m_transparentIndex = -1;
    CImageJpegSink sink(*this);
    return ReadJpegFile(file.Get(), sink);
}

BOOL CImageJPG::Write(const CString& fileName)
{
    if (!m_dib)
        return FALSE;
    CImageFile file;
    if (!file.Open(UseFileName(fileName), "wb"))
        return FALSE;
    CImageJpegSource source(*this);
    bool written = WriteJpegFile(file.Get(), m_width, m_height, m_quality, source);
    return file.Close() && written;
}
