// Writing side of GIF files: the LZW encoder with its hash table, which
// writes an 8-bit image's pixels, top row first, as data sub-blocks.
#pragma once

#include <stdio.h>

#include "image/ImageImpl.h"

class CGifLzwEncoder
{
public:
    explicit CGifLzwEncoder(FILE* file);

    // Writes the LZW data of every pixel with 8-bit codes, without the code
    // size byte and the terminator.
    void Encode(const CImageImpl& image);

private:
    static const int kHashSize = 5003;
    static const int kHashShift = 4;
    static const int kInitialBits = 9;
    static const int kMaxBits = 12;
    static const int kMaxCodes = 4096;
    static const int kClearCode = 256;
    static const int kEndCode = 257;
    static const int kFirstFreeCode = 258;
    static const int kPacketSize = 254;

    void ClearHash();
    void Output(int code);
    void AddByte(BYTE value);
    void FlushPacket();
    // The code of the string key in the table, or -1 with slot left at the
    // empty slot where it belongs.
    int Find(long key, int& slot) const;

    FILE* m_file;
    int m_bits;
    int m_maxCode;
    int m_freeCode;
    bool m_clearFlag;
    unsigned long m_accumulator;
    int m_accumulatedBits;
    BYTE m_packet[kPacketSize];
    int m_packetSize;
    long m_keys[kHashSize];
    unsigned short m_codes[kHashSize];
};
