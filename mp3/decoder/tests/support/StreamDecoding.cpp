#include "mp3/decoder/tests/support/StreamDecoding.h"

#include <stdio.h>

#include "mp3/decoder/DecoderErrors.h"

DecodedStream DecodeStream(MemoryInput& input, const MpegDecodeOptions& options)
{
    DecodedStream result;
    MpegEngine* engine = nullptr;
    if (CreateMpegEngine(&engine, input.decoder()) != 0)
        return result;
    ResetMpegEngine(engine);
    short pcm[kMaxFrameSamples];
    // Bounded: every call consumes input, reports one injected time-out, or ends.
    size_t most = input.bytes.size() + input.timeouts.size() + 16;
    for (size_t calls = 0; calls < most; calls++) {
        MpegFrameOutput frame;
        int code = DecodeMpegFrame(engine, options, pcm, &frame);
        if (code == 0) {
            result.samples.insert(result.samples.end(), pcm, pcm + frame.sampleCount);
            result.frames.push_back(frame);
            continue;
        }
        result.codes.push_back(code);
        if (code == kErrInputEnd)
            break;
    }
    DeleteMpegEngine(engine);
    return result;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}
