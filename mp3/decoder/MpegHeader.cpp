#include "mp3/decoder/MpegHeader.h"

namespace {

// kbit/s by bit-rate index 0..15, per layer (I, II, III).
const short kMpeg1Rates[3][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
};
const short kMpeg2Rates[2][16] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};
const int kFrequencies[3][3] = {
    {22050, 24000, 16000}, // MPEG-2
    {44100, 48000, 32000}, // MPEG-1
    {11025, 12000, 8000},  // MPEG-2.5
};

unsigned Field(unsigned word, int shift, unsigned mask) { return (word >> shift) & mask; }

} // namespace

void ParseMpegHeader(unsigned word, MpegHeader* header)
{
    if (word & (1u << 20))
        header->version = Field(word, 19, 1);
    else
        header->version = (word & (1u << 19)) ? 3 : kVersionMpeg25;
    header->layer = Field(word, 17, 3);
    header->protection = Field(word, 16, 1);
    header->bitrateIndex = Field(word, 12, 15);
    header->frequencyIndex = Field(word, 10, 3);
    header->padding = Field(word, 9, 1);
    header->privateBit = Field(word, 8, 1);
    header->mode = Field(word, 6, 3);
    header->modeExtension = Field(word, 4, 3);
    header->copyright = Field(word, 3, 1);
    header->original = Field(word, 2, 1);
    header->emphasis = Field(word, 0, 3);
}

// Free format (bit-rate index 0) is not decoded: its frames have no size to
// find the next by, and in other data (cover art in a tag) its header is an
// easy false sync. Padding is valid at every sampling frequency.
bool IsValidMpegHeader(const MpegHeader& header)
{
    if (header.bitrateIndex == 0 || header.bitrateIndex == 15 || header.layer == 0 || header.frequencyIndex == 3 ||
        header.version == 3)
        return false;
    if (header.version == kVersionMpeg25 && header.layer != kLayerIII)
        return false;
    if (header.version == kVersionMpeg1 && header.layer == kLayerII) {
        bool single = header.mode == kModeSingleChannel;
        switch (header.bitrateIndex) {
        case 1: case 2: case 3: case 5:
            return single;
        case 11: case 12: case 13: case 14:
            return !single;
        }
    }
    return true;
}

int MpegBitrate(const MpegHeader& header)
{
    int layerRow = 3 - header.layer; // 0 layer I, 1 layer II, 2 layer III
    if (header.version == kVersionMpeg1)
        return kMpeg1Rates[layerRow][header.bitrateIndex];
    return kMpeg2Rates[layerRow == 0 ? 0 : 1][header.bitrateIndex];
}

int MpegFrequency(const MpegHeader& header)
{
    return kFrequencies[header.version][header.frequencyIndex];
}

int MpegChannels(const MpegHeader& header)
{
    return header.mode == kModeSingleChannel ? 1 : 2;
}

int MpegLayerNumber(const MpegHeader& header) { return 4 - header.layer; }

int MpegSamplesPerFrame(const MpegHeader& header)
{
    if (header.layer == kLayerI)
        return 384;
    if (header.layer == kLayerIII && header.version != kVersionMpeg1)
        return 576;
    return 1152;
}

int MpegSideInfoSize(const MpegHeader& header)
{
    if (header.layer != kLayerIII)
        return 0;
    bool single = header.mode == kModeSingleChannel;
    if (header.version == kVersionMpeg1)
        return single ? 17 : 32;
    return single ? 9 : 17;
}

void GetMpegFrameSize(const MpegHeader& header, int* size, int* sideInfoSize)
{
    *sideInfoSize = MpegSideInfoSize(header);
    long bits = MpegBitrate(header) * 1000L;
    long frequency = MpegFrequency(header);
    if (bits == 0)
        *size = 0;
    else if (header.layer == kLayerI)
        *size = (int)((12 * bits / frequency + header.padding) * 4);
    else if (header.layer == kLayerIII && header.version != kVersionMpeg1)
        *size = (int)(72 * bits / frequency + header.padding);
    else
        *size = (int)(144 * bits / frequency + header.padding);
}

void GetMpegStreamInfo(const MpegHeader& header, MpegStreamInfo* info)
{
    info->version = 2 - (int)header.version;
    info->layer = MpegLayerNumber(header);
    info->bitrate = MpegBitrate(header);
    info->frequency = MpegFrequency(header);
    info->mode = (int)header.mode;
}
