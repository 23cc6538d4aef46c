#include "image/GifEncoder.h"

namespace
{
int LargestCode(int bits)
{
    // 12-bit codes stop only when the table is full.
    return bits == 12 ? 4096 : (1 << bits) - 1;
}
}

CGifLzwEncoder::CGifLzwEncoder(FILE* file)
    : m_file(file), m_bits(kInitialBits), m_maxCode(LargestCode(kInitialBits)),
      m_freeCode(kFirstFreeCode), m_clearFlag(false), m_accumulator(0),
      m_accumulatedBits(0), m_packetSize(0)
{
    ClearHash();
}

void CGifLzwEncoder::ClearHash()
{
    for (int i = 0; i < kHashSize; i++)
        m_keys[i] = -1;
}

int CGifLzwEncoder::Find(long key, int& slot) const
{
    if (m_keys[slot] == key)
        return m_codes[slot];
    if (m_keys[slot] < 0)
        return -1;
    int step = slot == 0 ? 1 : kHashSize - slot;
    for (;;)
    {
        slot -= step;
        if (slot < 0)
            slot += kHashSize;
        if (m_keys[slot] == key)
            return m_codes[slot];
        if (m_keys[slot] < 0)
            return -1;
    }
}

void CGifLzwEncoder::Encode(const CImageImpl& image)
{
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    Output(kClearCode);
    int current = -1;
    for (int row = 0; row < height; row++)
    {
        int y = height - 1 - row;
        for (int x = 0; x < width; x++)
        {
            int pixel = image.GetPixelIndex(x, y);
            if (current < 0)
            {
                current = pixel;
                continue;
            }
            long key = (long(pixel) << kMaxBits) + current;
            int slot = (pixel << kHashShift) ^ current;
            int code = Find(key, slot);
            if (code >= 0)
            {
                current = code;
                continue;
            }
            Output(current);
            current = pixel;
            if (m_freeCode < kMaxCodes)
            {
                m_codes[slot] = (unsigned short)m_freeCode++;
                m_keys[slot] = key;
            }
            else
            {
                ClearHash();
                m_freeCode = kFirstFreeCode;
                m_clearFlag = true;
                Output(kClearCode);
            }
        }
    }
    Output(current);
    Output(kEndCode);
}

void CGifLzwEncoder::Output(int code)
{
    m_accumulator |= static_cast<unsigned long>(code) << m_accumulatedBits;
    m_accumulatedBits += m_bits;
    while (m_accumulatedBits >= 8)
    {
        AddByte(BYTE(m_accumulator & 0xFF));
        m_accumulator >>= 8;
        m_accumulatedBits -= 8;
    }
    if (m_clearFlag)
    {
        m_bits = kInitialBits;
        m_maxCode = LargestCode(m_bits);
        m_clearFlag = false;
    }
    else if (m_freeCode > m_maxCode)
    {
        m_bits++;
        m_maxCode = LargestCode(m_bits);
    }
    if (code == kEndCode)
    {
        while (m_accumulatedBits > 0)
        {
            AddByte(BYTE(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_accumulatedBits -= 8;
        }
        FlushPacket();
    }
}

void CGifLzwEncoder::AddByte(BYTE value)
{
    m_packet[m_packetSize++] = value;
    if (m_packetSize == kPacketSize)
        FlushPacket();
}

void CGifLzwEncoder::FlushPacket()
{
    if (m_packetSize == 0)
        return;
    fputc(m_packetSize, m_file);
    fwrite(m_packet, 1, m_packetSize, m_file);
    m_packetSize = 0;
}
