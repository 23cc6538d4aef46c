// JPEG files through libjpeg. This interface and its source include no
// Windows header: jpeglib.h declares boolean differently.
#pragma once

#include <stdio.h>

class CJpegReadSink
{
public:
    virtual ~CJpegReadSink() {}
    // colorMap holds colors entries of red, green and blue when the picture
    // was quantised to a palette; colors is 0 for grey pictures.
    virtual bool Begin(int width, int height, int components, int colors,
                       const unsigned char* const* colorMap) = 0;
    // One row of width x components samples, counted from the top.
    virtual void Row(int row, const unsigned char* samples) = 0;
};

class CJpegWriteSource
{
public:
    virtual ~CJpegWriteSource() {}
    // Fills one row of red, green, blue samples, counted from the top.
    virtual void Row(int row, unsigned char* rgb) = 0;
};

// Colour pictures are quantised to this many colours.
const int kJpegPaletteColors = 128;

// False on any library error or when the sink refuses the picture.
bool ReadJpegFile(FILE* file, CJpegReadSink& sink);
// A baseline RGB file; false on any library error.
bool WriteJpegFile(FILE* file, int width, int height, int quality, CJpegWriteSource& source);
