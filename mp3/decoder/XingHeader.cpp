#include "mp3/decoder/XingHeader.h"

#include <stdlib.h>
#include <string.h>

namespace {

const unsigned kXingFrames = 1;
const unsigned kXingBytes = 2;
const unsigned kXingToc = 4;

} // namespace

int ReadXingHeader(unsigned fileSize, const unsigned char* first, int count, MpegStreamInfo* info,
                   double* duration, unsigned char** toc, int* vbr)
{
    *toc = nullptr;
    if (count < 4)
        return 0;
    unsigned word = BigEndian32(first);
    MpegHeader header;
    if (!IsMpegSyncCandidate(word))
        return 0;
    ParseMpegHeader(word, &header);
    if (!IsValidMpegHeader(header))
        return 0;
    GetMpegStreamInfo(header, info);
    // A free-format stream has no rate to measure the duration by.
    *duration = info->bitrate ? fileSize / (info->bitrate * 1000.0 / 8.0) : 0.0;
    *vbr = 0;

    // The tag follows the layer III side information.
    bool mpeg1 = header.version == kVersionMpeg1;
    bool single = header.mode == kModeSingleChannel;
    int pos = 4 + (mpeg1 ? (single ? 17 : 32) : (single ? 9 : 17));
    if (pos + 8 > count || memcmp(first + pos, "Xing", 4) != 0)
        return 1;
    unsigned flags = BigEndian32(first + pos + 4);
    pos += 8;
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
