#include "mp3/decoder/XingHeader.h"

#include <stdlib.h>
#include <string.h>

namespace {

const unsigned kXingFrames = 1;
const unsigned kXingBytes = 2;
const unsigned kXingToc = 4;
// The VBRI tag stands 32 bytes after the header whatever the side information's size;
// its frame count follows its name, version, delay, quality and byte count.
const int kVbriOffset = 36;
const int kVbriFramesAt = kVbriOffset + 14;

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

// The frame count of the first frame's Xing tag, or else of its VBRI tag.
bool TagFrameCount(const MpegHeader& header, const unsigned char* first, int count, unsigned* frames)
{
    int pos = XingFlagsAt(header, first, count);
    if (pos >= 0) {
        if (!(BigEndian32(first + pos) & kXingFrames) || pos + 8 > count)
            return false;
        *frames = BigEndian32(first + pos + 4);
        return true;
    }
    if (kVbriFramesAt + 4 > count || memcmp(first + kVbriOffset, "VBRI", 4) != 0)
        return false;
    *frames = BigEndian32(first + kVbriFramesAt);
    return true;
}

} // namespace

bool ReadXingFrameCount(const unsigned char* first, int count, unsigned* frames)
{
    MpegHeader header;
    return ReadFirstHeader(first, count, &header) && TagFrameCount(header, first, count, frames);
}

int ReadXingHeader(unsigned fileSize, const unsigned char* first, int count, MpegStreamInfo* info,
                   double* duration, unsigned char** toc, int* vbr)
{
    *toc = nullptr;
    MpegHeader header;
    if (!ReadFirstHeader(first, count, &header))
        return 0;
    GetMpegStreamInfo(header, info);
    *duration = fileSize / (info->bitrate * 1000.0 / 8.0);
    *vbr = 0;

    unsigned frames;
    if (TagFrameCount(header, first, count, &frames)) {
        unsigned samplesPerFrame = header.version == kVersionMpeg1 ? 1152 : 576;
        unsigned seconds = (unsigned)((unsigned long long)frames * samplesPerFrame / MpegFrequency(header));
        *duration = seconds;
        info->bitrate = seconds ? (int)(fileSize / seconds * 8 / 1000) : 0;
        *vbr = 1;
    }
    int pos = XingFlagsAt(header, first, count);
    if (pos < 0)
        return 1;
    unsigned flags = BigEndian32(first + pos);
    pos += 4;
    if (flags & kXingFrames)
        pos += 4;
    if (flags & kXingBytes)
        pos += 4;
    if ((flags & kXingToc) && pos + kXingTocSize <= count) {
        *toc = (unsigned char*)malloc(kXingTocSize);
        if (*toc)
            memcpy(*toc, first + pos, kXingTocSize);
    }
    return 1;
}
