#include "image/Image.h"

#include "image/ImageBMP.h"
#include "image/ImageGIF.h"
#include "image/ImageJPG.h"
#include "image/ImagePNG.h"

namespace
{
struct ExtensionType
{
    const char* extension;
    int type;
};

// In name order: searched by halving.
const ExtensionType kExtensions[] = {
    {"BMP", kImageBMP}, {"GIF", kImageGIF}, {"JPG", kImageJPG}, {"PNG", kImagePNG}, {"XPM", kImageXPM}};
}

CImage::CImage() : m_type(kImageTypeFromName), m_implementation(NULL)
{
}

CImage::CImage(const CString& fileName, int type) : m_type(kImageTypeFromName), m_implementation(NULL)
{
    Read(fileName, type);
}

CImage::~CImage()
{
    delete m_implementation;
}

int CImage::TypeFromFileName(const CString& fileName)
{
    int dot = fileName.ReverseFind('.');
    if (dot < 0 || dot == fileName.GetLength() - 1)
        return kImageTypeFromName;
    CString extension = fileName.Mid(dot + 1);
    int low = 0, high = int(sizeof(kExtensions) / sizeof(kExtensions[0])) - 1;
    while (low <= high)
    {
        int middle = (low + high) / 2;
        int order = extension.CompareNoCase(kExtensions[middle].extension);
        if (order == 0)
            return kExtensions[middle].type;
        if (order < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return kImageTypeFromName;
}

CImageImpl* CImage::NewImplementation(const CString& fileName, int type)
{
    switch (type)
    {
    case kImageBMP:
        return new CImageBMP(fileName);
    case kImageJPG:
        return new CImageJPG(fileName);
    case kImageGIF:
        return new CImageGIF(fileName);
    case kImagePNG:
        return new CImagePNG(fileName);
    }
    return NULL;
}

BOOL CImage::MakeImplementation(const CString& fileName, int& type)
{
    delete m_implementation;
    m_implementation = NewImplementation(fileName, type);
    m_type = type;
    return m_implementation != NULL;
}

BOOL CImage::Read(const CString& fileName, int type)
{
    m_fileName = fileName;
    if (type == kImageTypeFromName)
        type = TypeFromFileName(fileName);
    if (!m_implementation || type != m_type)
    {
        if (!MakeImplementation(fileName, type))
            return FALSE;
    }
    return m_implementation->Read(fileName);
}

BOOL CImage::Write(const CString& fileName, int type)
{
    if (!m_implementation)
        return FALSE;
    m_fileName = fileName;
    if (type == kImageTypeFromName)
        type = TypeFromFileName(fileName);
    if (type != m_type)
    {
        CImageImpl* converted = NewImplementation(fileName, type);
        if (!converted)
            return FALSE;
        converted->TakeOver(*m_implementation);
        delete m_implementation;
        m_implementation = converted;
        m_type = type;
    }
    return m_implementation->Write(fileName);
}

BOOL CImage::Create(int width, int height, int depth, int flags)
{
    if (!m_implementation)
    {
        m_implementation = NewImplementation(m_fileName, m_type);
        // An image of no known type still holds pixels until it is written.
        if (!m_implementation)
            m_implementation = new CImageImpl;
    }
    return m_implementation->Create(width, height, depth, flags);
}

int CImage::GetEffWidth() const
{
    return m_implementation ? m_implementation->GetEffWidth() : 0;
}

int CImage::GetWidth() const
{
    return m_implementation ? m_implementation->GetWidth() : 0;
}

int CImage::GetHeight() const
{
    return m_implementation ? m_implementation->GetHeight() : 0;
}

int CImage::GetDepth() const
{
    return m_implementation ? m_implementation->GetDepth() : 0;
}

int CImage::GetFlags() const
{
    return m_implementation ? m_implementation->GetFlags() : 0;
}

BOOL CImage::Inside(int x, int y) const
{
    return m_implementation && m_implementation->Inside(x, y);
}

BOOL CImage::Draw(CDC* dc, int x, int y, int cx, int cy, int srcX, int srcY) const
{
    return m_implementation && m_implementation->Draw(dc, x, y, cx, cy, srcX, srcY);
}

BOOL CImage::Stretch(CDC* dc, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx, int srcCy)
{
    return m_implementation && m_implementation->Stretch(dc, x, y, cx, cy, srcX, srcY, srcCx, srcCy);
}

int CImage::GetPixelIndex(int x, int y) const
{
    return m_implementation ? m_implementation->GetPixelIndex(x, y) : -1;
}

BOOL CImage::GetPixelColor(int x, int y, BYTE& red, BYTE& green, BYTE& blue) const
{
    if (m_implementation)
        return m_implementation->GetPixelColor(x, y, red, green, blue);
    red = green = blue = 0;
    return FALSE;
}

BOOL CImage::SetPixelIndex(int x, int y, int index)
{
    return m_implementation && m_implementation->SetPixelIndex(x, y, index);
}

BOOL CImage::SetPixelColor(int x, int y, BYTE red, BYTE green, BYTE blue)
{
    return m_implementation && m_implementation->SetPixelColor(x, y, red, green, blue);
}

BOOL CImage::CreatePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue)
{
    return m_implementation && m_implementation->CreatePalette(count, red, green, blue);
}

BOOL CImage::SetPaletteFromTriples(int count, const BYTE* rgb)
{
    return m_implementation && m_implementation->SetPaletteFromTriples(count, rgb);
}

BOOL CImage::SetPalette(CImagePalette* palette)
{
    if (m_implementation)
        return m_implementation->SetPalette(palette);
    delete palette;
    return FALSE;
}

CImagePalette* CImage::GetPalette() const
{
    return m_implementation ? m_implementation->GetPalette() : NULL;
}

BOOL CImage::IsValid() const
{
    return m_implementation && m_implementation->GetDIB();
}

BYTE* CImage::GetBits() const
{
    return m_implementation ? m_implementation->GetBits() : NULL;
}
