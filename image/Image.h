// The image object: a file name, an image type and the implementation that
// owns the pixels and reads and writes the type's file format.
#pragma once

#include <afx.h>

#include "image/ImageImpl.h"

enum ImageType
{
    kImageTypeFromName = -1,  // taken from the file name's extension
    kImageBMP = 0,
    kImageJPG = 1,
    kImageGIF = 2,
    kImageXPM = 3,            // known, but no format class reads or writes it
    kImagePNG = 4
};

class CImage : public CObject
{
public:
    CImage();
    CImage(const CString& fileName, int type);
    ~CImage() override;

    // The type of the name's extension, or -1 when it has none we know.
    static int TypeFromFileName(const CString& fileName);

    BOOL Read(const CString& fileName, int type = kImageTypeFromName);
    // Converts the implementation when the type changes.
    BOOL Write(const CString& fileName, int type = kImageTypeFromName);
    int GetType() const { return m_type; }

    virtual int GetEffWidth() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetDepth() const;
    virtual int GetFlags() const;
    virtual BOOL Inside(int x, int y) const;
    // Makes an implementation for the stored type first when there is none.
    virtual BOOL Create(int width, int height, int depth, int flags);
    // Replaces the implementation by the format class of type; FALSE and none
    // for a type without one.
    virtual BOOL MakeImplementation(const CString& fileName, int& type);
    virtual BOOL Draw(CDC* dc, int x, int y, int cx = -1, int cy = -1, int srcX = 0, int srcY = 0) const;
    virtual BOOL Stretch(CDC* dc, int x, int y, int cx, int cy, int srcX = 0, int srcY = 0,
                         int srcCx = 0, int srcCy = 0);
    virtual int GetPixelIndex(int x, int y) const;
    virtual BOOL GetPixelColor(int x, int y, BYTE& red, BYTE& green, BYTE& blue) const;
    virtual BOOL SetPixelIndex(int x, int y, int index);
    virtual BOOL SetPixelColor(int x, int y, BYTE red, BYTE green, BYTE blue);
    virtual BOOL CreatePalette(int count, const BYTE* red, const BYTE* green = NULL, const BYTE* blue = NULL);
    virtual BOOL SetPaletteFromTriples(int count, const BYTE* rgb);
    virtual BOOL SetPalette(CImagePalette* palette);
    virtual CImagePalette* GetPalette() const;
    virtual BOOL IsValid() const;
    virtual CImageImpl* GetImplementation() const { return m_implementation; }
    virtual BYTE* GetBits() const;

private:
    // The format class of type, or null.
    static CImageImpl* NewImplementation(const CString& fileName, int type);

    int m_type;
    CString m_fileName;
    CImageImpl* m_implementation;
};
