// Test helpers: decode a whole stream held in memory through the engine.
#pragma once

#include <string>
#include <vector>

#include "mp3/decoder/MpegEngine.h"
#include "mp3/decoder/tests/support/MemoryInput.h"

struct DecodedStream {
    std::vector<short> samples;
    std::vector<MpegFrameOutput> frames;
    std::vector<int> codes; // every non-zero code on the way, the final one included
};

// Decodes until the input ends, going on after time-outs and dropped frames.
DecodedStream DecodeStream(MemoryInput& input, const MpegDecodeOptions& options = MpegDecodeOptions{});

std::vector<unsigned char> ReadFileBytes(const std::string& path);
