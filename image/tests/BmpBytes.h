// BMP files built byte by byte, for layouts and damage ImageMagick won't write.
#pragma once

#include <windows.h>

#include <vector>

// Offsets of the fields in a file with a 40-byte header.
const size_t kBfSize = 2;
const size_t kBfOffBits = 10;
const size_t kBiSize = 14;
const size_t kBiWidth = 18;
const size_t kBiHeight = 22;
const size_t kBiBitCount = 28;
const size_t kBiCompression = 30;
const size_t kBiSizeImage = 34;
const size_t kBiClrUsed = 46;

// A file with a 40-byte header; bits as given (compressed or not).
std::vector<unsigned char> MakeBmp(int width, int height, int bitCount, DWORD compression,
                                   const std::vector<RGBQUAD>& table, const std::vector<unsigned char>& bits,
                                   const std::vector<DWORD>& masks = std::vector<DWORD>());

DWORD DwordAt(const std::vector<unsigned char>& bytes, size_t offset);
void PutDword(std::vector<unsigned char>& bytes, size_t offset, DWORD value);
