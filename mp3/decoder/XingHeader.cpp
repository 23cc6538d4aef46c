#include "mp3/decoder/XingHeader.h"

#include <stdlib.h>
#include <string.h>

namespace {

const unsigned kXingFrames = 1;
const unsigned kXingBytes = 2;
const unsigned kXingToc = 4;

bool ReadFirstHeader(const unsigned char* first, int count, MpegHeader* header)
{
    if (count < 4)
        return false;
    unsigned word = BigEndian32(first);
    if (!IsMpegSyncCandidate(word))
        return false;
    ParseMpegHeader(word, header);
    return IsValidMpegHeader(*header);
}

// Where the tag's flags word is: after the layer III side information and the
// "Xing" word; -1 when the frame has no tag.
int XingFlagsAt(const MpegHeader& header, const unsigned char* first, int count)
{
    bool mpeg1 = header.version == kVersionMpeg1;
    bool single = header.mode == kModeSingleChannel;
    int pos = 4 + (mpeg1 ? (single ? 17 : 32) : (single ? 9 : 17));
    if (pos + 8 > count || memcmp(first + pos, "Xing", 4) != 0)
        return -1;
    return pos + 4;
}

} // namespace

bool ReadXingFrameCount(const unsigned char* first, int count, unsigned* frames)
{
    MpegHeader header;
    if (!ReadFirstHeader(first, count, &header))
        return false;
    int pos = XingFlagsAt(header, first, count);
    if (pos < 0 || !(BigEndian32(first + pos) & kXingFrames) || pos + 8 > count)
        return false;
    *frames = BigEndian32(first + pos + 4);
    return true;
}

int ReadXingHeader(unsigned fileSize, const unsigned char* first, int count, MpegStreamInfo* info,
                   double* duration, unsigned char** toc, int* vbr)
{
    *toc = nullptr;
    MpegHeader header;
    if (!ReadFirstHeader(first, count, &header))
        return 0;
    GetMpegStreamInfo(header, info);
    // A free-format stream has no rate to measure the duration by.
    *duration = info->bitrate ? fileSize / (info->bitrate * 1000.0 / 8.0) : 0.0;
    *vbr = 0;

    bool mpeg1 = header.version == kVersionMpeg1;
    int pos = XingFlagsAt(header, first, count);
    if (pos < 0)
        return 1;
    unsigned flags = BigEndian32(first + pos);
    pos += 4;
    if (flags & kXingFrames) {
        if (pos + 4 > count)
            return 1;
        unsigned frames = BigEndian32(first + pos);
        pos += 4;
        unsigned samplesPerFrame = mpeg1 ? 1152 : 576;
        unsigned seconds = (unsigned)((unsigned long long)frames * samplesPerFrame / MpegFrequency(header));
        *duration = seconds;
        info->bitrate = seconds ? (int)(fileSize / seconds * 8 / 1000) : 0;
        *vbr = 1;
    }
    if (flags & kXingBytes)
        pos += 4;
    if ((flags & kXingToc) && pos + kXingTocSize <= count) {
        *toc = (unsigned char*)malloc(kXingTocSize);
        if (*toc)
            memcpy(*toc, first + pos, kXingTocSize);
    }
    return 1;
}
