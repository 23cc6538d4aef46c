// A C stream on an image file. The codec libraries read and write C streams,
// while the program names its files by Windows paths: the name is mapped to
// its Unix name first.
#pragma once

#include <stdio.h>

class CImageFile
{
public:
    CImageFile() : m_file(NULL) {}
    ~CImageFile();

    bool Open(const char* fileName, const char* mode);
    // False when data still buffered could not be written.
    bool Close();
    FILE* Get() const { return m_file; }
    // Bytes from the current position to the end; the position is kept.
    long Remaining();

private:
    CImageFile(const CImageFile&);
    CImageFile& operator=(const CImageFile&);

    FILE* m_file;
};
