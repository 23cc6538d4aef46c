// Test helpers: MPEG audio streams built byte by byte.
#pragma once

#include <stddef.h>

#include <vector>

typedef std::vector<unsigned char> Bytes;

void Append(Bytes& to, const Bytes& from);
Bytes Concat(const std::vector<Bytes>& parts);

// An APEv2 tag with header and footer around one text item ("Title" "Tune!").
Bytes ApeTag();

// A frame of the given header and length; a zero body is silence in every layer.
Bytes Frame(unsigned header, int size, unsigned char fill = 0);

// Writes fields into bytes, most significant bit first, from a byte offset.
class BitWriter {
public:
    BitWriter(Bytes& out, size_t at) : out_(out), pos_(at * 8) {}
    void Put(unsigned value, int bits);

private:
    Bytes& out_;
    size_t pos_;
};

// MPEG-1 layer III, 44.1 kHz, 128 kbit/s, stereo: 417-byte frames with random main
// data and side information that stays within the format, main_data_begin included,
// so the decoder reaches back into the reservoir.
const unsigned kLayer3Header = 0xFFFB9000;
const int kLayer3FrameSize = 417;
const int kLayer3SideInfo = 32;
Bytes RandomLayer3Stream(int frames, unsigned seed);
