// Reading side of GIF files: a buffered byte reader and the LZW decoder that
// stores the pixels of one image into an 8-bit image, top row first.
#pragma once

#include <stdio.h>

#include "image/ImageImpl.h"

enum GifDecodeResult
{
    kGifDecoded = 0,
    kGifBadCodeSize = -20,
    kGifBadCode = -30,      // a code the table can't hold yet, or a string too long
    kGifTruncated = -40     // the file ends inside the image data
};

class CGifByteReader
{
public:
    explicit CGifByteReader(FILE* file) : m_file(file), m_position(0), m_count(0) {}

    // False at the end of the file.
    bool ReadByte(BYTE& value);
    bool Read(BYTE* data, size_t size);
    // Skips data sub-blocks up to and with the terminator of size 0.
    bool SkipSubBlocks();

private:
    static const size_t kBufferSize = 16384;

    FILE* m_file;
    BYTE m_buffer[kBufferSize];
    size_t m_position;
    size_t m_count;
};

class CGifLzwDecoder
{
public:
    CGifLzwDecoder(CGifByteReader& reader, CImageImpl& image, bool interlaced);

    // Decodes the code size byte and the data sub-blocks of one image,
    // through the terminator; a GifDecodeResult.
    int Decode();

private:
    static const int kMaxCodes = 4096;
    static const int kMaxBits = 12;
    static const int kEndOfData = -1;

    // The next code, kEndOfData at the terminator, or kGifTruncated.
    int NextCode();
    // Stacks the string of code; returns its first byte, or kGifBadCode.
    int Expand(int code, int free, int previous, int previousFirst);
    // False once every row of the image is stored.
    bool PutPixel(BYTE index);
    void NextRow();
    // Reads past the rest of the data, through the terminator.
    int SkipRest();

    CGifByteReader& m_reader;
    CImageImpl& m_image;
    bool m_interlaced;

    int m_clear;
    int m_codeBits;
    unsigned long m_accumulator;
    int m_accumulatedBits;
    int m_blockLeft;

    unsigned short m_prefix[kMaxCodes];
    BYTE m_suffix[kMaxCodes];
    BYTE m_stack[kMaxCodes];
    int m_stackSize;

    int m_column;
    int m_row;
    int m_pass;
};
