// BMP files: a packed DIB with or without the 14-byte file header.
#pragma once

#include "image/ImageImpl.h"

class CImageBMP : public CImageFileImpl
{
public:
    explicit CImageBMP(const CString& fileName) : CImageFileImpl(fileName) {}

    BOOL Read(const CString& fileName) override;
    BOOL Write(const CString& fileName) override;
};
