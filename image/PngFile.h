// PNG files through libpng. This interface and its source include no Windows
// header, so that libpng's declarations keep the host's calling convention.
#pragma once

#include <stdio.h>

class CPngReadSink
{
public:
    virtual ~CPngReadSink() {}
    // depth is 1, 4, 8 or 24 bits a pixel (24: blue, green, red); colorType
    // is the file's; palette holds paletteCount red, green, blue triples.
    virtual bool Begin(int width, int height, int depth, int colorType,
                       int paletteCount, const unsigned char* palette) = 0;
    // Where row (counted from the top) goes: room for its packed pixels.
    virtual unsigned char* Row(int row) = 0;
};

class CPngWriteSource
{
public:
    virtual ~CPngWriteSource() {}
    // Packed pixels of one row, counted from the top (24 bits: blue, green, red).
    virtual const unsigned char* Row(int row) = 0;
};

// Transparent parts are composited over a fixed blue; 16-bit samples become
// 8 bits; 2-bit pixels are widened to bytes. False on any library error.
bool ReadPngFile(FILE* file, CPngReadSink& sink);
// depth is 1, 4 or 8 with a palette or as grey (paletteCount 0), or 24 for
// colour; false on any library error.
bool WritePngFile(FILE* file, int width, int height, int depth, int paletteCount,
                  const unsigned char* palette, CPngWriteSource& source);
