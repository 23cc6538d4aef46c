// mpegbench FILE: decodes an MPEG audio file to nothing and prints how long the
// decoding took (the file is read into memory first, so only decoding is timed).
#include <windows.h>

#include <stdio.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/MpegEngine.h"
#include "mp3/decoder/tests/support/MemoryInput.h"

namespace {

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (ok) {
        bytes->resize((size_t)size.QuadPart);
        DWORD done = 0;
        ok = ReadFile(file, bytes->data(), (DWORD)bytes->size(), &done, nullptr) && done == bytes->size();
    }
    CloseHandle(file);
    return ok;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: mpegbench FILE\n");
        return 2;
    }
    MemoryInput input;
    if (!ReadWholeFile(argv[1], &input.bytes)) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    MpegEngine* engine = nullptr;
    if (!input.decoder() || CreateMpegEngine(&engine, input.decoder()) != 0)
        return 1;
    ResetMpegEngine(engine);

    static short pcm[kMaxFrameSamples];
    long frames = 0;
    long long samples = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (;;) {
        MpegFrameOutput frame;
        int code = DecodeMpegFrame(engine, MpegDecodeOptions{}, pcm, &frame);
        if (code == kErrInputEnd)
            break;
        if (code == 0) {
            frames++;
            samples += frame.sampleCount;
        }
    }
    QueryPerformanceCounter(&end);
    DeleteMpegEngine(engine);
    printf("frames: %ld\nsamples: %lld\nseconds: %.4f\n", frames, samples, Seconds(start, end));
    return 0;
}
