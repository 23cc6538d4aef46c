#include "image/Dib.h"

#include <string.h>

namespace
{
const WORD kBitmapFileType = 0x4D42;  // "BM"
const DWORD kCoreHeaderSize = 12;
const DWORD kInfoHeaderSize = 40;
// Later headers (V2 to V5) keep the three colour masks right after the
// 40 bytes of BITMAPINFOHEADER.
const DWORD kHeaderWithMasksSize = 52;
const DWORD kLargestHeaderSize = 1024;
const DWORD kMaskBytes = 3 * sizeof(DWORD);
const DWORD kMaxColors = 256;
const size_t kChunkSize = 32768;
// Nothing the program shows comes near this; it keeps hostile headers from
// asking for gigabytes.
const ULONGLONG kMaxImageBytes = 256u * 1024 * 1024;

const BYTE kDefaultColors[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

BITMAPINFOHEADER* AllocateLocked(SIZE_T size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!memory)
        return NULL;
    BITMAPINFOHEADER* dib = static_cast<BITMAPINFOHEADER*>(GlobalLock(memory));
    if (!dib)
        GlobalFree(memory);
    return dib;
}

// Grows the block to size bytes (the new bytes are zero); null on failure,
// when the old block stays valid.
BITMAPINFOHEADER* GrowLocked(BITMAPINFOHEADER* dib, SIZE_T size)
{
    HGLOBAL memory = GlobalHandle(dib);
    GlobalUnlock(memory);
    HGLOBAL grown = GlobalReAlloc(memory, size, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!grown)
    {
        GlobalLock(memory);
        return NULL;
    }
    return static_cast<BITMAPINFOHEADER*>(GlobalLock(grown));
}

DWORD MaskBytes(const BITMAPINFOHEADER* dib)
{
    return dib->biCompression == BI_BITFIELDS ? kMaskBytes : 0;
}

ULONGLONG ImageBytes(const BITMAPINFOHEADER* header)
{
    ULONGLONG rowSize = (ULONGLONG(header->biBitCount) * header->biWidth + 31) / 32 * 4;
    return rowSize * header->biHeight;
}

bool ReadExactly(FILE* file, void* data, size_t size)
{
    return fread(data, 1, size, file) == size;
}

bool SkipBytes(FILE* file, long count)
{
    return count == 0 || fseek(file, count, SEEK_CUR) == 0;
}

bool IsSupportedFormat(const BITMAPINFOHEADER& header)
{
    switch (header.biCompression)
    {
    case BI_RGB:
        switch (header.biBitCount)
        {
        case 1: case 4: case 8: case 16: case 24: case 32:
            return true;
        }
        return false;
    case BI_RLE8:
        return header.biBitCount == 8;
    case BI_RLE4:
        return header.biBitCount == 4;
    case BI_BITFIELDS:
        return header.biBitCount == 16 || header.biBitCount == 32;
    }
    return false;
}

// Reads the header in any of its sizes as a 40-byte BITMAPINFOHEADER, the
// colour masks of BI_BITFIELDS into masks; false for what we can't hold.
bool ReadInfoHeader(FILE* file, BITMAPINFOHEADER& header, DWORD masks[3], bool& isCore)
{
    DWORD size;
    if (!ReadExactly(file, &size, sizeof(size)))
        return false;
    memset(&header, 0, sizeof(header));
    isCore = size == kCoreHeaderSize;
    if (isCore)
    {
        BITMAPCOREHEADER core;
        if (!ReadExactly(file, &core.bcWidth, kCoreHeaderSize - sizeof(size)))
            return false;
        header.biWidth = core.bcWidth;
        header.biHeight = core.bcHeight;
        header.biPlanes = core.bcPlanes;
        header.biBitCount = core.bcBitCount;
    }
    else
    {
        if (size < kInfoHeaderSize || size > kLargestHeaderSize)
            return false;
        if (!ReadExactly(file, &header.biWidth, kInfoHeaderSize - sizeof(size)))
            return false;
        DWORD rest = size - kInfoHeaderSize;
        if (header.biCompression == BI_BITFIELDS)
        {
            if (rest == 0)
                rest = kMaskBytes;  // the masks follow the header
            else if (size < kHeaderWithMasksSize)
                return false;
            if (!ReadExactly(file, masks, kMaskBytes))
                return false;
            rest -= kMaskBytes;
        }
        if (!SkipBytes(file, rest))
            return false;
    }
    header.biSize = kInfoHeaderSize;
    if (header.biWidth < 1 || header.biHeight < 1 || !IsSupportedFormat(header))
        return false;
    if (header.biClrUsed == 0 && header.biBitCount <= 8)
        header.biClrUsed = 1u << header.biBitCount;
    return header.biClrUsed <= kMaxColors && ImageBytes(&header) <= kMaxImageBytes;
}

class CRunLengthDecoder
{
public:
    CRunLengthDecoder(BITMAPINFOHEADER* dib)
        : m_bits(DIBBits(dib)), m_rowSize(DIBRowSize(dib->biBitCount, dib->biWidth)),
          m_width(dib->biWidth), m_height(dib->biHeight), m_nibbles(dib->biBitCount == 4)
    {
    }

    // Pixels outside the image are dropped; data that ends early leaves the
    // rest of the image at index 0.
    void Decode(const BYTE* data, size_t size)
    {
        const BYTE kEscape = 0, kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2;
        int x = 0, y = 0;
        size_t pos = 0;
        while (pos + 2 <= size)
        {
            BYTE count = data[pos++];
            BYTE value = data[pos++];
            if (count != kEscape)
            {
                for (int i = 0; i < count; i++)
                    Put(x++, y, m_nibbles ? (i & 1 ? value & 0x0F : value >> 4) : value);
                continue;
            }
            if (value == kEndOfLine)
            {
                x = 0;
                y++;
            }
            else if (value == kEndOfBitmap)
                return;
            else if (value == kDelta)
            {
                if (pos + 2 > size)
                    return;
                x += data[pos++];
                y += data[pos++];
            }
            else
            {
                size_t bytes = m_nibbles ? (value + 1) / 2 : value;
                if (pos + bytes > size)
                    return;
                for (int i = 0; i < value; i++)
                {
                    BYTE packed = data[pos + (m_nibbles ? i / 2 : i)];
                    Put(x++, y, m_nibbles ? (i & 1 ? packed & 0x0F : packed >> 4) : packed);
                }
                pos += (bytes + 1) & ~size_t(1);  // runs are padded to 16 bits
            }
        }
    }

private:
    void Put(int x, int y, BYTE index)
    {
        if (x >= m_width || y >= m_height)
            return;
        BYTE* row = m_bits + size_t(m_rowSize) * y;
        if (!m_nibbles)
            row[x] = index;
        else if (x & 1)
            row[x / 2] = (row[x / 2] & 0xF0) | index;
        else
            row[x / 2] = (row[x / 2] & 0x0F) | (index << 4);
    }

    BYTE* m_bits;
    DWORD m_rowSize;
    int m_width;
    int m_height;
    bool m_nibbles;
};

bool ReadRunLengthBits(CImageFile& file, BITMAPINFOHEADER* dib, DWORD compressedSize)
{
    long remaining = file.Remaining();
    if (remaining <= 0)
        return false;
    size_t size = compressedSize && compressedSize < DWORD(remaining) ? compressedSize : remaining;
    BYTE* data = new BYTE[size];
    bool read = ReadExactly(file.Get(), data, size);
    if (read)
        CRunLengthDecoder(dib).Decode(data, size);
    delete[] data;
    return read;
}
}

DWORD DIBRowSize(int depth, int width)
{
    return (DWORD(depth) * width + 31) / 32 * 4;
}

BITMAPINFOHEADER* AllocateDIB(int depth, int width, int height)
{
    if (width < 1 || height < 1 || depth < 1 || depth > 32)
        return NULL;
    ULONGLONG imageSize = ULONGLONG(DIBRowSize(depth, width)) * height;
    if (imageSize > kMaxImageBytes)
        return NULL;
    BITMAPINFOHEADER* dib = AllocateLocked(kInfoHeaderSize + kMaxColors * sizeof(RGBQUAD) + imageSize);
    if (!dib)
        return NULL;
    dib->biSize = kInfoHeaderSize;
    dib->biWidth = width;
    dib->biHeight = height;
    dib->biPlanes = 1;
    dib->biBitCount = depth;
    dib->biCompression = BI_RGB;
    dib->biSizeImage = DWORD(imageSize);
    dib->biClrUsed = depth <= 8 ? 1u << depth : 0;
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(dib + 1);
    for (DWORD i = 0; i < dib->biClrUsed; i++)
    {
        const BYTE* rgb = kDefaultColors[i % 16];
        table[i].rgbRed = rgb[0];
        table[i].rgbGreen = rgb[1];
        table[i].rgbBlue = rgb[2];
    }
    return dib;
}

void FreeDIB(BITMAPINFOHEADER* dib)
{
    if (!dib)
        return;
    HGLOBAL memory = GlobalHandle(dib);
    GlobalUnlock(memory);
    GlobalFree(memory);
}

DWORD ColorCount(const BITMAPINFOHEADER* dib)
{
    if (dib->biClrUsed)
        return dib->biClrUsed;
    return dib->biBitCount <= 8 ? 1u << dib->biBitCount : 0;
}

DWORD ColorTableSize(const BITMAPINFOHEADER* dib)
{
    return ColorCount(dib) * sizeof(RGBQUAD);
}

DWORD DIBBitsOffset(const BITMAPINFOHEADER* dib)
{
    return dib->biSize + MaskBytes(dib) + ColorTableSize(dib);
}

BYTE* DIBBits(BITMAPINFOHEADER* dib)
{
    return reinterpret_cast<BYTE*>(dib) + DIBBitsOffset(dib);
}

BITMAPINFOHEADER* ReadDIBHeader(CImageFile& file)
{
    FILE* stream = file.Get();
    long start = ftell(stream);
    BITMAPFILEHEADER fileHeader;
    if (!ReadExactly(stream, &fileHeader, sizeof(fileHeader)))
        return NULL;
    bool hasFileHeader = fileHeader.bfType == kBitmapFileType;
    if (!hasFileHeader && fseek(stream, start, SEEK_SET) != 0)
        return NULL;

    BITMAPINFOHEADER header;
    DWORD masks[3];
    bool isCore;
    if (!ReadInfoHeader(stream, header, masks, isCore))
        return NULL;
    BITMAPINFOHEADER* dib = AllocateLocked(DIBBitsOffset(&header));
    if (!dib)
        return NULL;
    *dib = header;
    BYTE* afterHeader = reinterpret_cast<BYTE*>(dib + 1);
    memcpy(afterHeader, masks, MaskBytes(dib));
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(afterHeader + MaskBytes(dib));
    DWORD colors = ColorCount(dib);
    bool read;
    if (isCore)
    {
        // 3-byte entries, spread to 4 bytes from the last entry back.
        BYTE* packed = reinterpret_cast<BYTE*>(table);
        read = ReadExactly(stream, packed, colors * 3);
        for (DWORD i = colors; read && i-- > 0;)
        {
            RGBQUAD entry = {packed[i * 3], packed[i * 3 + 1], packed[i * 3 + 2], 0};
            table[i] = entry;
        }
    }
    else
        read = ReadExactly(stream, table, colors * sizeof(RGBQUAD));
    if (read && hasFileHeader)
        read = fseek(stream, start + long(fileHeader.bfOffBits), SEEK_SET) == 0;
    if (!read)
    {
        FreeDIB(dib);
        return NULL;
    }
    return dib;
}

BITMAPINFOHEADER* ReadDIBFile(const char* fileName)
{
    CImageFile file;
    if (!file.Open(fileName, "rb"))
        return NULL;
    BITMAPINFOHEADER* dib = ReadDIBHeader(file);
    if (!dib)
        return NULL;
    DWORD compressedSize = dib->biSizeImage;
    dib->biSizeImage = DWORD(ImageBytes(dib));
    bool compressed = dib->biCompression == BI_RLE8 || dib->biCompression == BI_RLE4;
    // Refuse a short file before allocating what its header asks for.
    if (!compressed && file.Remaining() < long(dib->biSizeImage))
    {
        FreeDIB(dib);
        return NULL;
    }
    BITMAPINFOHEADER* grown = GrowLocked(dib, DIBBitsOffset(dib) + dib->biSizeImage);
    if (!grown)
    {
        FreeDIB(dib);
        return NULL;
    }
    dib = grown;
    bool read;
    if (compressed)
    {
        read = ReadRunLengthBits(file, dib, compressedSize);
        dib->biCompression = BI_RGB;
    }
    else
        read = ReadExactly(file.Get(), DIBBits(dib), dib->biSizeImage);
    if (!read)
    {
        FreeDIB(dib);
        return NULL;
    }
    return dib;
}

size_t WriteInChunks(FILE* file, const void* data, size_t size)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    for (size_t done = 0; done < size;)
    {
        size_t chunk = size - done > kChunkSize ? kChunkSize : size - done;
        if (fwrite(bytes + done, 1, chunk, file) != chunk)
            return 0;
        done += chunk;
    }
    return size;
}

bool WriteDIBFile(const char* fileName, const BITMAPINFOHEADER* dib)
{
    CImageFile file;
    if (!file.Open(fileName, "w+b"))
        return false;
    DWORD dibSize = DIBBitsOffset(dib) + dib->biSizeImage;
    BITMAPFILEHEADER fileHeader;
    fileHeader.bfType = kBitmapFileType;
    fileHeader.bfSize = sizeof(fileHeader) + dibSize;
    fileHeader.bfReserved1 = 0;
    fileHeader.bfReserved2 = 0;
    fileHeader.bfOffBits = sizeof(fileHeader) + DIBBitsOffset(dib);
    bool written = WriteInChunks(file.Get(), &fileHeader, sizeof(fileHeader)) == sizeof(fileHeader) &&
                   WriteInChunks(file.Get(), dib, dibSize) == dibSize;
    return file.Close() && written;
}

void SetColorTableMode(BITMAPINFOHEADER* dib, HPALETTE palette, ColorTableMode mode)
{
    DWORD colors = ColorCount(dib);
    if (colors < 1 || dib->biCompression == BI_BITFIELDS)
        return;
    BYTE* table = reinterpret_cast<BYTE*>(dib) + dib->biSize;
    if (mode == kColorTableIndexes)
    {
        WORD* indexes = reinterpret_cast<WORD*>(table);
        for (DWORD i = 0; i < colors; i++)
            indexes[i] = WORD(i);
        return;
    }
    PALETTEENTRY entries[kMaxColors];
    memset(entries, 0, sizeof(entries));
    UINT count = colors < kMaxColors ? colors : kMaxColors;
    GetPaletteEntries(palette, 0, count, entries);
    RGBQUAD* quads = reinterpret_cast<RGBQUAD*>(table);
    for (UINT i = 0; i < count; i++)
    {
        RGBQUAD quad = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        quads[i] = quad;
    }
}

HPALETTE PaletteFromDIB(const BITMAPINFOHEADER* dib, BYTE flags)
{
    // A true-colour DIB may carry a colour table as a hint; it has no palette.
    if (dib->biBitCount > 8)
        return NULL;
    WORD colors = WORD(ColorCount(dib));
    if (colors == 0)
        return NULL;
    BYTE buffer[sizeof(LOGPALETTE) + kMaxColors * sizeof(PALETTEENTRY)];
    LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(buffer);
    logical->palVersion = 0x300;
    logical->palNumEntries = colors;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
    for (WORD i = 0; i < colors; i++)
    {
        logical->palPalEntry[i].peRed = table[i].rgbRed;
        logical->palPalEntry[i].peGreen = table[i].rgbGreen;
        logical->palPalEntry[i].peBlue = table[i].rgbBlue;
        logical->palPalEntry[i].peFlags = flags;
    }
    return CreatePalette(logical);
}
