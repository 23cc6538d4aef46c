// libFuzzer target over the frame reader and the layer decoders: the first bytes
// choose the decode options, how the input trickles and where it times out; the rest
// is the stream. Built natively (the engine has no Win32 dependency) by
// run-fuzzer.sh, under AddressSanitizer and UndefinedBehaviorSanitizer; the decoder
// object is Win32 code, so here the engine reads a bare stream in memory.
#include <stddef.h>
#include <stdint.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderInput.h"
#include "mp3/decoder/MpegEngine.h"
#include "mp3/decoder/tests/support/MemoryStream.h"

struct Decoder : MemoryStream {};

// Ends the input as the decoder object does.
int ReadInput(Decoder* decoder, unsigned char* buffer, int size)
{
    int count = decoder->Read(buffer, size);
    return count == 0 ? kErrInputEnd : count;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    MpegDecodeOptions options;
    options.channelMode = data[0] & 3;
    options.downsampling = (data[0] >> 2) % 3;
    Decoder input;
    input.chunk = data[1] & 15;
    int timeoutEvery = data[2];
    input.bytes.assign(data + 3, data + size);
    if (timeoutEvery)
        for (size_t at = timeoutEvery; at < input.bytes.size(); at += timeoutEvery * 7)
            input.timeouts.push_back(at);

    MpegEngine* engine = nullptr;
    if (CreateMpegEngine(&engine, &input) != 0)
        return 0;
    ResetMpegEngine(engine);
    static short pcm[kMaxFrameSamples];
    size_t most = input.bytes.size() + input.timeouts.size() + 16;
    for (size_t calls = 0; calls < most; calls++) {
        MpegFrameOutput frame;
        int code = DecodeMpegFrame(engine, options, pcm, &frame);
        if (code == kErrInputEnd)
            break;
        if (code == 0 && (frame.sampleCount < 0 || frame.sampleCount > kMaxFrameSamples))
            __builtin_trap();
    }
    // Every call consumes input or ends it: running out of calls is a hang.
    if (input.position < input.bytes.size())
        __builtin_trap();
    DeleteMpegEngine(engine);
    return 0;
}
