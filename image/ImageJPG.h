// JPEG files: read as 8-bit palette images (colour pictures quantised, grey
// ones with a grey palette); written as baseline RGB files.
#pragma once

#include "image/ImageImpl.h"

class CImageJPG : public CImageFileImpl
{
public:
    static const int kDefaultQuality = 30;

    explicit CImageJPG(const CString& fileName) : CImageFileImpl(fileName), m_quality(kDefaultQuality) {}

    BOOL Read(const CString& fileName) override;
    BOOL Write(const CString& fileName) override;

    int GetQuality() const { return m_quality; }
    void SetQuality(int quality) { m_quality = quality; }

private:
    int m_quality;
};
