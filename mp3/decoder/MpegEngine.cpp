#include "mp3/decoder/MpegEngine.h"

#include <new>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"

namespace {

const int kQuarterRateFrom = 32000;
const int kHalfRateFrom = 16000;

int DownsamplingShift(int option, int frequency)
{
    if (option == 1)
        return frequency >= kQuarterRateFrom ? 1 : 0;
    if (option == 2)
        return frequency >= kQuarterRateFrom ? 2 : frequency >= kHalfRateFrom ? 1 : 0;
    return 0;
}

// Points the filters at the output and tells which of them the layer decoder feeds.
MpegFilters RouteChannels(MpegEngine* engine, const MpegHeader& header, int channelMode,
                          short* output, int shift, int* outputChannels)
{
    if (MpegChannels(header) == 1 || channelMode == kChannelsLeft || channelMode == kChannelsMix) {
        *outputChannels = 1;
        SetSynthesisOutput(engine->left, output, 1, shift);
        if (MpegChannels(header) == 1)
            return MpegFilters{engine->left, nullptr};
        return MpegFilters{engine->left, channelMode == kChannelsMix ? engine->left : nullptr};
    }
    if (channelMode == kChannelsRight) {
        *outputChannels = 1;
        SetSynthesisOutput(engine->right, output, 1, shift);
        return MpegFilters{nullptr, engine->right};
    }
    *outputChannels = 2;
    SetSynthesisOutput(engine->left, output, 2, shift);
    SetSynthesisOutput(engine->right, output + 1, 2, shift);
    return MpegFilters{engine->left, engine->right};
}

} // namespace

int CreateMpegEngine(MpegEngine** result, Decoder* decoder)
{
    *result = nullptr;
    MpegEngine* engine = new (std::nothrow) MpegEngine;
    if (!engine)
        return kErrOutOfMemory;
    memset(engine, 0, sizeof(*engine));
    engine->left = CreateMpegSynthesis();
    engine->right = CreateMpegSynthesis();
    if (!engine->left || !engine->right || CreateMpegBitReader(&engine->reader, decoder) != 0) {
        DeleteMpegEngine(engine);
        return kErrOutOfMemory;
    }
    *result = engine;
    return 0;
}

void DeleteMpegEngine(MpegEngine* engine)
{
    if (!engine)
        return;
    DeleteMpegBitReader(&engine->reader);
    DeleteMpegSynthesis(engine->left);
    DeleteMpegSynthesis(engine->right);
    delete engine;
}

void ResetMpegEngine(MpegEngine* engine)
{
    ResetMpegBitReader(&engine->reader);
    ClearLayer3Buffers(&engine->layer3);
    ResetMpegSynthesis(engine->left);
    ResetMpegSynthesis(engine->right);
}

int DecodeMpegFrame(MpegEngine* engine, const MpegDecodeOptions& options, short* output,
                    MpegFrameOutput* frame)
{
    MpegHeader header;
    int code = ReadNextMpegFrame(&engine->reader, &header);
    if (code)
        return code;

    int frequency = MpegFrequency(header);
    int shift = DownsamplingShift(options.downsampling, frequency);
    int channels;
    MpegFilters filters = RouteChannels(engine, header, options.channelMode, output, shift, &channels);

    frame->silent = false;
    if (header.layer == kLayerIII) {
        engine->layer3.header = header;
        engine->layer3.shift = shift;
        code = DecodeLayer3Frame(&engine->reader, &engine->layer3, filters);
        frame->silent = engine->layer3.mainDataMissing;
    } else {
        engine->layer12.header = header;
        engine->layer12.shift = shift;
        code = header.layer == kLayerII ? DecodeLayer2Frame(&engine->reader, &engine->layer12, filters)
                                        : DecodeLayer1Frame(&engine->reader, &engine->layer12, filters);
    }
    if (code)
        return code;

    frame->header = header;
    frame->channels = channels;
    frame->frequency = frequency >> shift;
    frame->sampleCount = (MpegSamplesPerFrame(header) * channels) >> shift;
    return 0;
}
