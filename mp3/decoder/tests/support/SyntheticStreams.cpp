#include "mp3/decoder/tests/support/SyntheticStreams.h"

#include <random>

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        Append(all, part);
    return all;
}

Bytes ApeTag()
{
    const Bytes item{5, 0, 0, 0, 0, 0, 0, 0, 'T', 'i', 't', 'l', 'e', 0, 'T', 'u', 'n', 'e', '!'};
    Bytes tag;
    // The header says it is one (bit 29) and that a header exists (bit 31); the footer only the latter.
    for (unsigned flags : {0xA0000000u, 0x80000000u}) {
        Bytes part{'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0, (unsigned char)(item.size() + 32), 0, 0, 0,
                   1, 0, 0, 0};
        for (int shift = 0; shift < 32; shift += 8)
            part.push_back((unsigned char)(flags >> shift));
        part.resize(32, 0);
        Append(tag, part);
        if (flags & 0x20000000)
            Append(tag, item);
    }
    return tag;
}

Bytes Frame(unsigned header, int size, unsigned char fill)
{
    Bytes frame(size, fill);
    for (int i = 0; i < 4; i++)
        frame[i] = (unsigned char)(header >> (24 - 8 * i));
    return frame;
}

void BitWriter::Put(unsigned value, int bits)
{
    for (int i = bits - 1; i >= 0; i--, pos_++) {
        unsigned char mask = (unsigned char)(0x80 >> (pos_ & 7));
        if ((value >> i) & 1)
            out_[pos_ >> 3] |= mask;
        else
            out_[pos_ >> 3] &= (unsigned char)~mask;
    }
}

Bytes RandomLayer3Stream(int frames, unsigned seed)
{
    std::minstd_rand random(seed);
    auto below = [&random](unsigned n) { return (unsigned)(random() % n); };
    Bytes stream;
    unsigned reservoir = 0;
    for (int f = 0; f < frames; f++) {
        Bytes frame = Frame(kLayer3Header, kLayer3FrameSize);
        for (int i = 4 + kLayer3SideInfo; i < kLayer3FrameSize; i++)
            frame[i] = (unsigned char)random();
        BitWriter side(frame, 4);
        unsigned back = below(200);
        side.Put(back < reservoir ? back : reservoir, 9); // main_data_begin
        side.Put(0, 3 + 8);                                // private bits, scfsi
        for (int gr = 0; gr < 2; gr++) {
            for (int ch = 0; ch < 2; ch++) {
                side.Put(200 + below(500), 12); // part2_3_length
                side.Put(below(289), 9);        // big_values
                side.Put(130 + below(40), 8);   // global_gain
                side.Put(below(16), 4);         // scalefac_compress
                side.Put(0, 1);                 // no window switching
                for (int r = 0; r < 3; r++) {
                    unsigned table = below(32);
                    side.Put(table == 4 || table == 14 ? 1 : table, 5);
                }
                side.Put(below(16), 4); // region0_count
                side.Put(below(8), 3);  // region1_count
                side.Put(below(8), 3);  // preflag, scalefac_scale, count1table_select
            }
        }
        reservoir = kLayer3FrameSize - 4 - kLayer3SideInfo;
        Append(stream, frame);
    }
    return stream;
}
