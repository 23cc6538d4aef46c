#include "mp3/analyzer/StreamLength.h"

#include "analyze.h"
#include "mp3/decoder/MpegHeader.h"
#include "mp3/decoder/XingHeader.h"

#include <algorithm>
#include <limits.h>

namespace {

// A frame header at pos whose frame fits before end; free format has no size to
// step by and is not taken.
bool FrameAt(const unsigned char* data, size_t pos, size_t end, MpegHeader* header, int* size)
{
    if (pos + 4 > end)
        return false;
    unsigned word = BigEndian32(data + pos);
    if (!IsMpegSyncCandidate(word))
        return false;
    ParseMpegHeader(word, header);
    if (!IsValidMpegHeader(*header))
        return false;
    int sideInfo;
    GetMpegFrameSize(*header, size, &sideInfo);
    return *size > 0 && pos + *size <= end;
}

bool SameStream(const MpegHeader& a, const MpegHeader& b)
{
    return a.version == b.version && a.layer == b.layer && a.frequencyIndex == b.frequencyIndex;
}

// A frame followed by another of the same stream, or by the audio's end: a lone
// sync word in other data is rarely followed by a second one in the right place.
bool StreamStartsAt(const unsigned char* data, size_t pos, size_t end)
{
    MpegHeader header, next;
    int size, nextSize;
    if (!FrameAt(data, pos, end, &header, &size))
        return false;
    return pos + size == end || (FrameAt(data, pos + size, end, &next, &nextSize) && SameStream(header, next));
}

bool FindFirstFrame(const unsigned char* data, size_t start, size_t end, size_t window, size_t* first)
{
    size_t limit = window ? std::min(end, start + window) : end;
    for (size_t pos = start; pos < limit; pos++) {
        if (StreamStartsAt(data, pos, end)) {
            *first = pos;
            return true;
        }
    }
    return false;
}

// A damaged Xing count may claim years: it is held at the record's largest value
// rather than wrapped.
unsigned Milliseconds(unsigned long long frames, const MpegHeader& header)
{
    unsigned long long ms = frames * MpegSamplesPerFrame(header) * 1000 / MpegFrequency(header);
    return (unsigned)std::min<unsigned long long>(ms, UINT_MAX);
}

// The time the first frame's Xing tag counts, when it has a count.
bool XingLength(const unsigned char* data, size_t first, size_t end, unsigned* milliseconds)
{
    MpegHeader header;
    int size;
    unsigned frames;
    int count = (int)std::min<size_t>(kXingProbeBytes, end - first);
    if (!FrameAt(data, first, end, &header, &size) || !ReadXingFrameCount(data + first, count, &frames))
        return false;
    *milliseconds = Milliseconds(frames, header);
    return true;
}

// Where the stream starts again after damage at pos, as the decoder finds it.
bool Resync(const unsigned char* data, size_t pos, size_t end, const MpegHeader& stream, size_t* next)
{
    MpegHeader header;
    int size;
    for (size_t at = pos + 1; at < end; at++) {
        if (StreamStartsAt(data, at, end) && FrameAt(data, at, end, &header, &size) && SameStream(stream, header)) {
            *next = at;
            return true;
        }
    }
    return false;
}

// Walks the frames of the first one's stream, on past junk and cut frames as the
// decoder plays on; returns the bytes the frames cover.
size_t WalkFrames(const unsigned char* data, size_t first, size_t end, unsigned* milliseconds)
{
    MpegHeader stream, header;
    int size;
    FrameAt(data, first, end, &stream, &size);
    unsigned long long frames = 0;
    size_t covered = 0;
    size_t pos = first;
    for (;;) {
        if (FrameAt(data, pos, end, &header, &size) && SameStream(stream, header)) {
            frames++;
            covered += size;
            pos += size;
        } else if (!Resync(data, pos, end, stream, &pos)) {
            break;
        }
    }
    *milliseconds = Milliseconds(frames, stream);
    return covered;
}

} // namespace

int MeasureStream(const unsigned char* data, size_t start, size_t end, const StreamSearch& search,
                  unsigned* milliseconds)
{
    size_t first;
    if (start >= end || !FindFirstFrame(data, start, end, search.syncWindow, &first))
        return ANALYZER_E_NOT_MPEG;
    if (XingLength(data, first, end, milliseconds))
        return ANALYZER_OK;
    size_t covered = WalkFrames(data, first, end, milliseconds);
    if (covered * 100 < (unsigned long long)search.coverage * (end - first))
        return ANALYZER_E_DAMAGED;
    return ANALYZER_OK;
}
