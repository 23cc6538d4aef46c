// GIF files: versions 87a and 89a are read into an 8-bit palette image;
// images of up to 8 bits are written as GIF87a.
#pragma once

#include "image/ImageImpl.h"

class CGifByteReader;

class CImageGIF : public CImageFileImpl
{
public:
    explicit CImageGIF(const CString& fileName) : CImageFileImpl(fileName), m_colorCount(0) {}

    BOOL Read(const CString& fileName) override;
    BOOL Write(const CString& fileName) override;

private:
    static const int kMaxColors = 256;

    // Reads the image descriptor and its data; false on a bad image.
    bool ReadImage(CGifByteReader& reader);
    bool ReadGraphicControl(CGifByteReader& reader);
    void MakePalette();

    BYTE m_colorTable[3 * kMaxColors];
    int m_colorCount;
};
