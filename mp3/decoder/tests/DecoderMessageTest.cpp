// The message set: building records from send arguments, the window-message form and
// the byte-stream form.
#include "tests/support/TestFramework.h"

#include <string.h>

#include <string>
#include <vector>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderMessage.h"

namespace {

DecoderMessage Build(int code, ...)
{
    DecoderMessage m;
    va_list arguments;
    va_start(arguments, code);
    BuildDecoderMessage(&m, code, arguments);
    va_end(arguments);
    return m;
}

// A record for code with a distinct value in every field its format has.
struct Sample {
    DecoderMessage message;
    std::vector<std::string> texts;
    std::vector<unsigned char> blob;
};

void FillSample(Sample* s, int code, const char* format)
{
    memset(&s->message, 0, sizeof(s->message));
    s->message.code = code;
    s->texts.resize(kMaxMessageFields);
    s->blob.resize(code == kMsgSetCodecEqualizer || code == kMsgCodecEqualizer ? kEqualizerBytes : 5);
    for (size_t i = 0; i < s->blob.size(); i++)
        s->blob[i] = (unsigned char)(code * 7 + i * 31);
    for (int i = 0; format[i]; i++) {
        DecoderField& f = s->message.fields[i];
        switch (format[i]) {
        case 'b': f.value = (code * 3 + i * 50) & 0xff; break;
        // Shorts travel sign-extended, except the stream information's halves.
        case 's': f.value = code == kMsgInputStreamInfo ? 40000 + i : -(code * 11 + i); break;
        case 'l': f.value = code * 1000003 + i - 50000000; break;
        case 'c':
            s->texts[i] = "text " + std::to_string(code) + "/" + std::to_string(i);
            f.text = s->texts[i].c_str();
            break;
        case 'B':
            f.bytes = s->blob.data();
            f.length = (int)s->blob.size();
            break;
        }
    }
}

void ExpectSameFields(const DecoderMessage& a, const DecoderMessage& b, const char* format, const char* form)
{
    ASSERT_EQ(a.code, b.code) << form;
    for (int i = 0; format[i]; i++) {
        const DecoderField& x = a.fields[i];
        const DecoderField& y = b.fields[i];
        if (format[i] == 'c') {
            ASSERT_TRUE(y.text) << form << " code " << a.code << " field " << i;
            EXPECT_STREQ(x.text, y.text) << form << " code " << a.code << " field " << i;
        } else if (format[i] == 'B') {
            ASSERT_EQ(x.length, y.length) << form << " code " << a.code;
            EXPECT_EQ(0, memcmp(x.bytes, y.bytes, x.length)) << form << " code " << a.code;
        } else {
            EXPECT_EQ(x.value, y.value) << form << " code " << a.code << " field " << i;
        }
    }
}

TEST(DecoderMessage, EveryCodeRoundTripsThroughBothForms)
{
    int packed = 0;
    for (int code = 1; code <= kLastMessageCode; code++) {
        const char* format = DecoderMessageFormat(code);
        if (!format)
            continue;
        Sample s;
        FillSample(&s, code, format);

        unsigned char block[512];
        int used = PackDecoderMessage(&s.message, block, sizeof(block));
        ASSERT_GT(used, 2) << "code " << code;
        DecoderMessage unpacked;
        ASSERT_EQ(0, UnpackDecoderMessage(&unpacked, block, used)) << "code " << code;
        ExpectSameFields(s.message, unpacked, format, "stream");
        packed++;

        WPARAM wParam;
        LPARAM lParam;
        int encoded = EncodeWindowMessage(&s.message, &wParam, &lParam);
        if (code > kMsgErrorReport) {
            EXPECT_EQ(1, encoded) << "code " << code << " has no window form";
            continue;
        }
        ASSERT_EQ(0, encoded) << "code " << code;
        char area[4096];
        DecoderMessage decoded;
        DecodeWindowMessage(&decoded, kDecoderMessageBase + code, wParam, lParam, area, sizeof(area));
        ExpectSameFields(s.message, decoded, format, "window");
    }
    // Every code of 1-113 but 109-111 has a stream form; 89 is reached through the
    // byte-stream form only.
    EXPECT_EQ(109, packed);
}

TEST(DecoderMessage, StreamLayoutOfSeekAndVolume)
{
    DecoderMessage seek = Build(kMsgSeek, 1, 400);
    unsigned char block[32];
    ASSERT_EQ(13, PackDecoderMessage(&seek, block, sizeof(block)));
    const unsigned char expected[] = {6, 0, 12, 'l', 0, 0, 0, 1, 'l', 0, 0, 1, 0x90};
    EXPECT_EQ(0, memcmp(expected, block, sizeof(expected)));

    // Arguments balance, pcm, master; the stream runs master, pcm, balance.
    DecoderMessage volume = Build(kMsgSetOutputVolume, 50, 100, 255);
    ASSERT_EQ(9, PackDecoderMessage(&volume, block, sizeof(block)));
    const unsigned char volumeBytes[] = {48, 0, 8, 'b', 255, 'b', 100, 'b', 50};
    EXPECT_EQ(0, memcmp(volumeBytes, block, sizeof(volumeBytes)));

    DecoderMessage open = Build(kMsgInputOpen, (const char*)nullptr);
    ASSERT_EQ(7, PackDecoderMessage(&open, block, sizeof(block)));
    const unsigned char openBytes[] = {7, 0, 6, 'c', 0, 1, 0};
    EXPECT_EQ(0, memcmp(openBytes, block, sizeof(openBytes)));

    // Too small a buffer: the size needed, nothing written.
    memset(block, 0xAA, sizeof(block));
    EXPECT_EQ(-13, PackDecoderMessage(&seek, block, 12));
    EXPECT_EQ(0xAA, block[0]);
}

TEST(DecoderMessage, DamagedBlocksAreRefused)
{
    const struct {
        std::vector<unsigned char> block;
        int result;
    } cases[] = {
        {{0, 0, 2}, kErrInvalidMessage},                     // code 0
        {{110, 0, 2}, kErrInvalidMessage},                   // undefined code
        {{114, 0, 2}, kErrInvalidMessage},
        {{3, 0, 1}, kErrInternal},                           // length below 2
        {{2, 0, 8, 'l', 0, 0, 0, 1, 9}, kErrInternal},       // a byte past the fields
        {{2, 0, 6, 'l', 0, 0, 0, 1}, kErrInternal},          // the length overruns the block
        {{2, 0, 7, 'x', 0, 0, 0, 1}, kErrInternal},          // unknown letter
        {{7, 0, 6, 'c', 0, 9, 0}, kErrInternal},             // text longer than the block
        {{7, 0, 6, 'c', 0, 1, 'a'}, kErrInternal},           // text without its NUL
        {{2, 0, 7, 'l', 0, 0, 0, 1}, 0},
    };
    for (const auto& c : cases) {
        DecoderMessage m;
        EXPECT_EQ(c.result, UnpackDecoderMessage(&m, c.block.data(), (int)c.block.size()))
            << "code byte " << (int)c.block[0];
    }
}

TEST(DecoderMessage, WindowFormOfSingleCodes)
{
    WPARAM w;
    LPARAM l;
    DecoderMessage ping = Build(kMsgPing, 1234);
    ASSERT_EQ(0, EncodeWindowMessage(&ping, &w, &l));
    EXPECT_EQ(0u, w);
    EXPECT_EQ(1234, l);

    DecoderMessage timecode = Build(kMsgInputTimecode, 1, 2, 3, 4);
    ASSERT_EQ(0, EncodeWindowMessage(&timecode, &w, &l));
    EXPECT_EQ(0x04030201u, w);

    DecoderMessage nack = Build(kMsgNack, kMsgPause, kErrInternal);
    ASSERT_EQ(0, EncodeWindowMessage(&nack, &w, &l));
    EXPECT_EQ((WPARAM)kMsgPause, w);
    EXPECT_EQ(kErrInternal, (int)l);

    DecoderMessage info = Build(kMsgInputStreamInfo, 1, 3, 128, 44100, 1);
    ASSERT_EQ(0, EncodeWindowMessage(&info, &w, &l));
    char area[64];
    DecoderMessage decoded;
    DecodeWindowMessage(&decoded, kDecoderMessageBase + kMsgInputStreamInfo, w, l, area, sizeof(area));
    EXPECT_EQ(128, decoded.fields[2].value);
    EXPECT_EQ(44100, decoded.fields[3].value);

    // An empty blob travels as no block.
    DecoderMessage equalizer = Build(kMsgCodecEqualizer, (const unsigned char*)nullptr);
    ASSERT_EQ(0, EncodeWindowMessage(&equalizer, &w, &l));
    EXPECT_EQ(0, l);

    // Codes that cannot be built.
    for (int code : {0, 89, 109, 110, 111, 114})
        EXPECT_EQ(0, Build(code, 1, 2, 3).code) << code;

    // Reading Exit gives the code alone.
    DecodeWindowMessage(&decoded, kDecoderMessageBase + kMsgExit, 5, 6, area, sizeof(area));
    EXPECT_EQ(kMsgExit, decoded.code);
    EXPECT_EQ(0, decoded.fields[0].value);
}

TEST(DecoderMessage, LongTextsAreCutToTheArea)
{
    std::string first(5000, 'a');
    DecoderMessage m = Build(kMsgInputOpen, first.c_str());
    WPARAM w;
    LPARAM l;
    ASSERT_EQ(0, EncodeWindowMessage(&m, &w, &l));
    char area[4096];
    DecoderMessage decoded;
    DecodeWindowMessage(&decoded, kDecoderMessageBase + kMsgInputOpen, w, l, area, sizeof(area));
    EXPECT_EQ(std::string(4095, 'a'), decoded.fields[0].text);

    // Two texts: the second follows the first when there is room, else it is empty.
    const struct {
        size_t firstLength;
        const char* second;
    } pairs[] = {{10, "value"}, {4095, ""}};
    for (const auto& p : pairs) {
        std::string name(p.firstLength, 'n');
        DecoderMessage two = Build(kMsgEnvironmentString, name.c_str(), "value");
        ASSERT_EQ(0, EncodeWindowMessage(&two, &w, &l));
        DecodeWindowMessage(&decoded, kDecoderMessageBase + kMsgEnvironmentString, w, l, area, sizeof(area));
        EXPECT_EQ(name, decoded.fields[0].text);
        EXPECT_STREQ(p.second, decoded.fields[1].text);
    }
}

} // namespace
