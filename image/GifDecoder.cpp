#include "image/GifDecoder.h"

#include <string.h>

namespace
{
// Rows of the four interlace passes, counted from the top.
const int kPassCount = 4;
const int kPassStart[kPassCount] = {0, 4, 2, 1};
const int kPassStep[kPassCount] = {8, 8, 4, 2};
const int kMinCodeSize = 2;
const int kMaxCodeSize = 9;
}

bool CGifByteReader::ReadByte(BYTE& value)
{
    if (m_position == m_count)
    {
        m_count = fread(m_buffer, 1, kBufferSize, m_file);
        m_position = 0;
        if (m_count == 0)
            return false;
    }
    value = m_buffer[m_position++];
    return true;
}

bool CGifByteReader::Read(BYTE* data, size_t size)
{
    for (size_t i = 0; i < size; i++)
    {
        if (!ReadByte(data[i]))
            return false;
    }
    return true;
}

bool CGifByteReader::SkipSubBlocks()
{
    for (;;)
    {
        BYTE size, skipped;
        if (!ReadByte(size))
            return false;
        if (size == 0)
            return true;
        for (int i = 0; i < size; i++)
        {
            if (!ReadByte(skipped))
                return false;
        }
    }
}

CGifLzwDecoder::CGifLzwDecoder(CGifByteReader& reader, CImageImpl& image, bool interlaced)
    : m_reader(reader), m_image(image), m_interlaced(interlaced), m_clear(0), m_codeBits(0),
      m_accumulator(0), m_accumulatedBits(0), m_blockLeft(0), m_stackSize(0),
      m_column(0), m_row(0), m_pass(0)
{
    memset(m_prefix, 0, sizeof(m_prefix));
    memset(m_suffix, 0, sizeof(m_suffix));
}

int CGifLzwDecoder::Decode()
{
    BYTE codeSize;
    if (!m_reader.ReadByte(codeSize))
        return kGifTruncated;
    if (codeSize < kMinCodeSize || codeSize > kMaxCodeSize)
        return kGifBadCodeSize;
    m_clear = 1 << codeSize;
    const int clear = m_clear;
    const int end = clear + 1;
    m_codeBits = codeSize + 1;
    int limit = 1 << m_codeBits;
    int free = clear + 2;
    int previous = -1;
    int previousFirst = 0;
    for (;;)
    {
        int code = NextCode();
        if (code == kGifTruncated)
            return kGifTruncated;
        // Data that stops without its end code keeps the pixels decoded so far.
        if (code == kEndOfData)
            return kGifDecoded;
        if (code == end)
            break;
        if (code == clear)
        {
            m_codeBits = codeSize + 1;
            limit = 1 << m_codeBits;
            free = clear + 2;
            previous = -1;
            continue;
        }
        if (previous < 0)
        {
            if (code >= free)
                code = 0;
            previous = previousFirst = code;
            if (!PutPixel(BYTE(code)))
                break;
            continue;
        }
        if (code > free)
            return kGifBadCode;
        int first = Expand(code, free, previous, previousFirst);
        if (first < 0)
            return first;
        bool room = true;
        while (m_stackSize > 0 && room)
            room = PutPixel(m_stack[--m_stackSize]);
        if (!room)
            break;
        if (free < kMaxCodes)
        {
            m_prefix[free] = WORD(previous);
            m_suffix[free] = BYTE(first);
            free++;
            if (free >= limit && m_codeBits < kMaxBits)
            {
                m_codeBits++;
                limit <<= 1;
            }
        }
        previous = code;
        previousFirst = first;
    }
    return SkipRest();
}

int CGifLzwDecoder::NextCode()
{
    while (m_accumulatedBits < m_codeBits)
    {
        BYTE byte;
        if (m_blockLeft == 0)
        {
            if (!m_reader.ReadByte(byte))
                return kGifTruncated;
            if (byte == 0)
                return kEndOfData;
            m_blockLeft = byte;
        }
        if (!m_reader.ReadByte(byte))
            return kGifTruncated;
        m_blockLeft--;
        m_accumulator |= static_cast<unsigned long>(byte) << m_accumulatedBits;
        m_accumulatedBits += 8;
    }
    int code = int(m_accumulator & ((1ul << m_codeBits) - 1));
    m_accumulator >>= m_codeBits;
    m_accumulatedBits -= m_codeBits;
    return code;
}

int CGifLzwDecoder::Expand(int code, int free, int previous, int previousFirst)
{
    m_stackSize = 0;
    int current = code;
    // A code not yet in the table is the previous string and its first byte.
    if (code == free)
    {
        m_stack[m_stackSize++] = BYTE(previousFirst);
        current = previous;
    }
    while (current > m_clear + 1)
    {
        if (m_stackSize >= kMaxCodes)
            return kGifBadCode;
        m_stack[m_stackSize++] = m_suffix[current];
        current = m_prefix[current];
    }
    if (m_stackSize >= kMaxCodes)
        return kGifBadCode;
    m_stack[m_stackSize++] = BYTE(current);
    return current;
}

bool CGifLzwDecoder::PutPixel(BYTE index)
{
    if (m_row >= m_image.GetHeight())
        return false;
    m_image.GetRowFromTop(m_row)[m_column++] = index;
    if (m_column == m_image.GetWidth())
    {
        m_column = 0;
        NextRow();
    }
    return true;
}

void CGifLzwDecoder::NextRow()
{
    if (!m_interlaced)
    {
        m_row++;
        return;
    }
    m_row += kPassStep[m_pass];
    while (m_row >= m_image.GetHeight() && m_pass < kPassCount - 1)
    {
        m_pass++;
        m_row = kPassStart[m_pass];
    }
}

int CGifLzwDecoder::SkipRest()
{
    BYTE skipped;
    for (; m_blockLeft > 0; m_blockLeft--)
    {
        if (!m_reader.ReadByte(skipped))
            return kGifTruncated;
    }
    return m_reader.SkipSubBlocks() ? kGifDecoded : kGifTruncated;
}
