#include "tests/support/audio/AudioFiles.h"

namespace {

const unsigned kHeader = 0xFFFB9000;
const int kFrameSize = 417;
const int kSamplesPerFrame = 1152;
const int kFrequency = 44100;
const size_t kXingAt = 4 + 32;  // after MPEG-1 stereo side information

void Put32(Bytes& b, size_t at, unsigned v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (unsigned char)(v >> (24 - 8 * i));
}

void PutText(Bytes& b, size_t at, const std::string& text, size_t size)
{
    for (size_t i = 0; i < size && i < text.size(); i++)
        b[at + i] = (unsigned char)text[i];
}

Bytes Synchsafe(unsigned v) { return {(unsigned char)(v >> 21 & 0x7F), (unsigned char)(v >> 14 & 0x7F),
                                      (unsigned char)(v >> 7 & 0x7F), (unsigned char)(v & 0x7F)}; }

Bytes FrameSize(int version, unsigned v)
{
    if (version == 4)
        return Synchsafe(v);
    Bytes b(4);
    Put32(b, 0, v);
    return b;
}

Bytes FrameBody(const Id3v2Frame& frame)
{
    Bytes body{frame.encoding};
    if (frame.id == "COMM") {
        Append(body, {'e', 'n', 'g'});
        // The empty description's terminator is one code unit of the encoding.
        if (frame.encoding == 1)
            Append(body, {0xFF, 0xFE, 0, 0});
        else
            body.push_back(0);
    }
    Append(body, Bytes(frame.text.begin(), frame.text.end()));
    return body;
}

} // namespace

Bytes Layer3Frames(int count)
{
    Bytes stream;
    for (int i = 0; i < count; i++)
        Append(stream, Frame(kHeader, kFrameSize));
    return stream;
}

Bytes XingStream(unsigned flags, unsigned frames, int count)
{
    Bytes first = Frame(kHeader, kFrameSize);
    PutText(first, kXingAt, "Xing", 4);
    Put32(first, kXingAt + 4, flags);
    Put32(first, kXingAt + 8, frames);
    return Concat({first, Layer3Frames(count - 1)});
}

unsigned Layer3Milliseconds(int frames)
{
    return (unsigned)((unsigned long long)frames * kSamplesPerFrame * 1000 / kFrequency);
}

Bytes Id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
               const std::string& year, const std::string& comment)
{
    Bytes tag(128, 0);
    PutText(tag, 0, "TAG", 3);
    PutText(tag, 3, title, 30);
    PutText(tag, 33, artist, 30);
    PutText(tag, 63, album, 30);
    PutText(tag, 93, year, 4);
    PutText(tag, 97, comment, 30);
    tag[127] = 255;  // no genre
    return tag;
}

Bytes Id3v2Tag(int version, const std::vector<Id3v2Frame>& frames)
{
    Bytes body;
    for (const Id3v2Frame& frame : frames) {
        Bytes content = FrameBody(frame);
        Append(body, Bytes(frame.id.begin(), frame.id.end()));
        Append(body, FrameSize(version, (unsigned)content.size()));
        Append(body, {0, 0});
        Append(body, content);
    }
    Bytes tag{'I', 'D', '3', (unsigned char)version, 0, 0};
    Append(tag, Synchsafe((unsigned)body.size()));
    Append(tag, body);
    return tag;
}

std::string Utf16WithBom(const std::string& utf8)
{
    std::string out("\xFF\xFE", 2);
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = utf8[i];
        unsigned code;
        int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        code = n == 1 ? c : n == 2 ? c & 0x1F : c & 0x0F;
        for (int k = 1; k < n; k++)
            code = code << 6 | (utf8[i + k] & 0x3F);
        out += (char)(code & 0xFF);
        out += (char)(code >> 8);
        i += n;
    }
    return out;
}
