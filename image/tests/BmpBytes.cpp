#include "image/tests/BmpBytes.h"

#include <string.h>

std::vector<unsigned char> MakeBmp(int width, int height, int bitCount, DWORD compression,
                                   const std::vector<RGBQUAD>& table, const std::vector<unsigned char>& bits,
                                   const std::vector<DWORD>& masks)
{
    const size_t kFileHeaderSize = 14, kInfoHeaderSize = 40;
    size_t offBits = kFileHeaderSize + kInfoHeaderSize + 4 * masks.size() + 4 * table.size();
    std::vector<unsigned char> bytes(offBits);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutDword(bytes, kBfOffBits, DWORD(offBits));
    PutDword(bytes, kBiSize, kInfoHeaderSize);
    PutDword(bytes, kBiWidth, width);
    PutDword(bytes, kBiHeight, height);
    bytes[26] = 1;  // planes
    bytes[kBiBitCount] = BYTE(bitCount);
    PutDword(bytes, kBiCompression, compression);
    PutDword(bytes, kBiSizeImage, DWORD(bits.size()));
    PutDword(bytes, kBiClrUsed, DWORD(table.size()));
    size_t at = kFileHeaderSize + kInfoHeaderSize;
    for (DWORD mask : masks)
    {
        PutDword(bytes, at, mask);
        at += 4;
    }
    if (!table.empty())
        memcpy(&bytes[at], table.data(), 4 * table.size());
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    PutDword(bytes, kBfSize, DWORD(bytes.size()));
    return bytes;
}

DWORD DwordAt(const std::vector<unsigned char>& bytes, size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (DWORD(bytes[offset + 3]) << 24);
}

void PutDword(std::vector<unsigned char>& bytes, size_t offset, DWORD value)
{
    for (int i = 0; i < 4; i++)
        bytes[offset + i] = BYTE(value >> (8 * i));
}
