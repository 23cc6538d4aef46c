// PNG files: depths up to 24 bits, with transparency composited over a
// fixed background colour; the image flags carry the file's colour type.
#pragma once

#include "image/ImageImpl.h"

class CImagePNG : public CImageFileImpl
{
public:
    explicit CImagePNG(const CString& fileName) : CImageFileImpl(fileName) {}

    BOOL Read(const CString& fileName) override;
    BOOL Write(const CString& fileName) override;
};
