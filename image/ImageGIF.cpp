#include "image/ImageGIF.h"

#include <afxwin.h>

#include <string.h>

#include "image/GifDecoder.h"
#include "image/GifEncoder.h"
#include "image/ImageFile.h"

namespace
{
const BYTE kExtensionIntroducer = '!';
const BYTE kImageSeparator = ',';
const BYTE kTrailer = ';';
const BYTE kGraphicControlLabel = 0xF9;
const BYTE kGraphicControlSize = 4;
const BYTE kTransparentFlag = 0x01;
const BYTE kColorTableFlag = 0x80;
const BYTE kInterlacedFlag = 0x40;
const BYTE kTableSizeMask = 0x07;
const int kScreenSize = 13;  // signature and logical screen
const int kDescriptorSize = 9;
// Global table of 256 entries, colour resolution 8 bits.
const BYTE kWrittenScreenFlags = 0xF7;
const BYTE kWrittenCodeSize = 8;

WORD Word(const BYTE* bytes)
{
    return WORD(bytes[0] | (bytes[1] << 8));
}

void PutWord(FILE* file, int value)
{
    fputc(value & 0xFF, file);
    fputc((value >> 8) & 0xFF, file);
}

int TableCount(BYTE flags)
{
    return 2 << (flags & kTableSizeMask);
}
}

BOOL CImageGIF::Read(const CString& fileName)
{
    CImageFile file;
    if (!file.Open(UseFileName(fileName), "rb"))
        return FALSE;
    CGifByteReader reader(file.Get());
    BYTE screen[kScreenSize];
    if (!reader.Read(screen, kScreenSize) || memcmp(screen, "GIF8", 4) != 0)
        return FALSE;
    m_colorCount = 0;
    m_transparentIndex = -1;
    if (screen[10] & kColorTableFlag)
    {
        m_colorCount = TableCount(screen[10]);
        if (!reader.Read(m_colorTable, 3 * m_colorCount))
            return FALSE;
    }
    bool hasImage = false;
    for (;;)
    {
        BYTE blockType, label;
        if (!reader.ReadByte(blockType))
            break;
        if (blockType == kImageSeparator)
        {
            if (!ReadImage(reader))
                return FALSE;
            hasImage = true;
        }
        else if (blockType == kExtensionIntroducer)
        {
            if (!reader.ReadByte(label))
                break;
            if (label == kGraphicControlLabel && !ReadGraphicControl(reader))
                break;
            if (!reader.SkipSubBlocks())
                break;
        }
        else
            break;
    }
    // A file without an image holds nothing to show.
    return hasImage;
}

bool CImageGIF::ReadGraphicControl(CGifByteReader& reader)
{
    BYTE size, control[kGraphicControlSize];
    if (!reader.ReadByte(size) || size != kGraphicControlSize || !reader.Read(control, size))
        return false;
    if (control[0] & kTransparentFlag)
        m_transparentIndex = control[3];
    return true;
}

bool CImageGIF::ReadImage(CGifByteReader& reader)
{
    BYTE descriptor[kDescriptorSize];
    if (!reader.Read(descriptor, kDescriptorSize))
        return false;
    BYTE flags = descriptor[8];
    if (flags & kColorTableFlag)
    {
        m_colorCount = TableCount(flags);
        if (!reader.Read(m_colorTable, 3 * m_colorCount))
            return false;
    }
    if (!Create(Word(descriptor + 4), Word(descriptor + 6), 8, -1))
        return false;
    if (m_colorCount > 0)
        MakePalette();
    CGifLzwDecoder* decoder = new CGifLzwDecoder(reader, *this, (flags & kInterlacedFlag) != 0);
    int result = decoder->Decode();
    delete decoder;
    return result == kGifDecoded;
}

// With a transparent index the palette gets 256 entries, the transparent one
// black, and white somewhere: drawing masks the picture with the entries
// nearest to black and white.
void CImageGIF::MakePalette()
{
    BYTE red[kMaxColors], green[kMaxColors], blue[kMaxColors];
    for (int i = 0; i < m_colorCount; i++)
    {
        red[i] = m_colorTable[3 * i];
        green[i] = m_colorTable[3 * i + 1];
        blue[i] = m_colorTable[3 * i + 2];
    }
    if (m_transparentIndex < 0)
    {
        CreatePalette(m_colorCount, red, green, blue);
        return;
    }
    bool hasWhite = false;
    for (int i = 0; i < kMaxColors; i++)
    {
        if (i >= m_colorCount)
            red[i] = green[i] = blue[i] = 255;
        if (i == m_transparentIndex)
            red[i] = green[i] = blue[i] = 0;
        if (red[i] == 255 && green[i] == 255 && blue[i] == 255)
            hasWhite = true;
    }
    if (!hasWhite)
        red[kMaxColors - 1] = green[kMaxColors - 1] = blue[kMaxColors - 1] = 255;
    CreatePalette(kMaxColors, red, green, blue);
}

BOOL CImageGIF::Write(const CString& fileName)
{
    if (m_depth > 8)
    {
        AfxMessageBox("GIF Images must be 8 bit or less");
        return FALSE;
    }
    if (!m_dib)
        return FALSE;
    CImageFile file;
    if (!file.Open(UseFileName(fileName), "wb"))
    {
        AfxMessageBox("Can't open GIF for writing");
        return FALSE;
    }
    FILE* stream = file.Get();
    fwrite("GIF87a", 1, 6, stream);
    PutWord(stream, m_width);
    PutWord(stream, m_height);
    const BYTE screenRest[] = {kWrittenScreenFlags, 0, 0};
    fwrite(screenRest, 1, sizeof(screenRest), stream);
    for (int i = 0; i < kMaxColors; i++)
    {
        BYTE rgb[3];
        GetColorEntry(i, rgb[0], rgb[1], rgb[2]);
        fwrite(rgb, 1, sizeof(rgb), stream);
    }
    fputc(kImageSeparator, stream);
    PutWord(stream, 0);
    PutWord(stream, 0);
    PutWord(stream, m_width);
    PutWord(stream, m_height);
    fputc(0, stream);
    fputc(kWrittenCodeSize, stream);
    CGifLzwEncoder* encoder = new CGifLzwEncoder(stream);
    encoder->Encode(*this);
    delete encoder;
    fputc(0, stream);
    fputc(kTrailer, stream);
    if (!file.Close())
    {
        AfxMessageBox("Write Error in GIF file");
        return FALSE;
    }
    return TRUE;
}
