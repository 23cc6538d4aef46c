// MPEG audio frame headers: parsing, checking, frame sizes and stream information.
#pragma once

// The fields of a frame header, from the 32-bit header word read most significant
// byte first.
struct MpegHeader {
    unsigned version;        // 1 MPEG-1, 0 MPEG-2, 2 MPEG-2.5, 3 reserved
    unsigned layer;          // 3 layer I, 2 layer II, 1 layer III, 0 reserved
    unsigned protection;     // 0: a 16-bit CRC follows the header
    unsigned bitrateIndex;   // 0 free format, 15 forbidden
    unsigned frequencyIndex; // 3 reserved
    unsigned padding;
    unsigned privateBit;
    unsigned mode;           // kModeStereo .. kModeSingleChannel
    unsigned modeExtension;
    unsigned copyright;
    unsigned original;
    unsigned emphasis;
};

const unsigned kVersionMpeg2 = 0;
const unsigned kVersionMpeg1 = 1;
const unsigned kVersionMpeg25 = 2;
const unsigned kLayerIII = 1;
const unsigned kLayerII = 2;
const unsigned kLayerI = 3;
const unsigned kModeStereo = 0;
const unsigned kModeJointStereo = 1;
const unsigned kModeDualChannel = 2;
const unsigned kModeSingleChannel = 3;

const unsigned kSyncMask = 0xFFE00000;

// What the decoder object shows of a stream.
struct MpegStreamInfo {
    int version;    // 1 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer;      // 1, 2 or 3
    int bitrate;    // kbit/s
    int frequency;  // Hz
    int mode;
};

inline bool IsMpegSyncCandidate(unsigned word) { return (word & kSyncMask) == kSyncMask; }

inline unsigned BigEndian32(const unsigned char* p)
{
    return (unsigned)p[0] << 24 | (unsigned)p[1] << 16 | (unsigned)p[2] << 8 | p[3];
}

void ParseMpegHeader(unsigned word, MpegHeader* header);
bool IsValidMpegHeader(const MpegHeader& header);
void GetMpegStreamInfo(const MpegHeader& header, MpegStreamInfo* info);

int MpegBitrate(const MpegHeader& header);   // kbit/s, 0 for free format
int MpegFrequency(const MpegHeader& header); // Hz
int MpegChannels(const MpegHeader& header);
int MpegLayerNumber(const MpegHeader& header);
int MpegSamplesPerFrame(const MpegHeader& header);
int MpegSideInfoSize(const MpegHeader& header);

// The frame's length in bytes with its header, and for layer III the length of the
// side information. A free-format frame has no computable size: size is 0.
void GetMpegFrameSize(const MpegHeader& header, int* size, int* sideInfoSize);
