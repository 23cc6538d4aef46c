// Huffman decoding of a layer III granule's spectral lines.
#pragma once

const int kGranuleLines = 576;

// The big-values regions of a granule and channel: each ends at a line (the third at
// big_values * 2) and is coded with the table that table_select names.
struct HuffmanRegions {
    int end[3];
    unsigned table[3];
    unsigned count1Table; // 0 quadruple table A, 1 table B
};

// Decodes the lines of one granule and channel from data, starting at *bitPos, the
// quadruples up to endBit; *bitPos is left after the last code read. Each line x
// becomes sign(x) |x|^(4/3), the first step of requantisation. Returns the number of
// lines decoded; the lines after them are not touched.
int DecodeHuffmanLines(const unsigned char* data, unsigned* bitPos, unsigned endBit,
                       const HuffmanRegions& regions, float* lines);
