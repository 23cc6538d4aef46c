// Packed device-independent bitmaps (DIBs) in global memory, and BMP files.
// A packed DIB is a BITMAPINFOHEADER, the three colour masks when the
// compression is BI_BITFIELDS, the colour table, then the pixel rows (bottom
// row first, each padded to a multiple of 4 bytes).
#pragma once

#include <windows.h>

#include "image/ImageFile.h"

enum ColorTableMode
{
    kColorTableRGB = 0,     // RGBQUAD entries, as in a file
    kColorTableIndexes = 1  // 16-bit palette indexes (DIB_PAL_COLORS)
};

// Bytes of one pixel row.
DWORD DIBRowSize(int depth, int width);

// A new bottom-up DIB with the default colour table, locked; null when it
// can't be allocated.
BITMAPINFOHEADER* AllocateDIB(int depth, int width, int height);
void FreeDIB(BITMAPINFOHEADER* dib);

// Entries of the colour table.
DWORD ColorCount(const BITMAPINFOHEADER* dib);
DWORD ColorTableSize(const BITMAPINFOHEADER* dib);
// The pixel rows, after the header, the masks and the colour table.
BYTE* DIBBits(BITMAPINFOHEADER* dib);
DWORD DIBBitsOffset(const BITMAPINFOHEADER* dib);

// Reads a BMP file, or a bare packed DIB, into a new locked DIB (always
// uncompressed, with a 40-byte header); null when the file is not a BMP the
// image classes can hold, or is short.
BITMAPINFOHEADER* ReadDIBFile(const char* fileName);
// Header and colour table from the stream, which is left at the pixels.
BITMAPINFOHEADER* ReadDIBHeader(CImageFile& file);

// Writes the DIB with a file header; false when any byte could not be written.
bool WriteDIBFile(const char* fileName, const BITMAPINFOHEADER* dib);
// Returns size, or 0 when a write came up short.
size_t WriteInChunks(FILE* file, const void* data, size_t size);

// Rewrites the colour table in the given form from the image's palette.
void SetColorTableMode(BITMAPINFOHEADER* dib, HPALETTE palette, ColorTableMode mode);
// A logical palette from the DIB's RGB colour table; null for true colour.
HPALETTE PaletteFromDIB(const BITMAPINFOHEADER* dib, BYTE flags);
