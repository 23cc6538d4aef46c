// Every public conformance stream decodes to its reference output within the
// accuracy that conformance asks for: PSNR of 96 dB and no sample off by more than 1.
#include "tests/support/TestFramework.h"
#include "tests/support/TestData.h"

#include <dirent.h>
#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mp3/decoder/tests/support/StreamDecoding.h"

namespace {

// Folders of the shared test data whose every stream.bit has its stream.pcm.
const char* const kStreamFolders[] = {"mpeg", "mpeg-more"};

std::vector<std::string> StreamNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bit") == 0)
            names.push_back(name.substr(0, name.size() - 4));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<short> ReadPcm(const std::string& path)
{
    std::vector<unsigned char> bytes = ReadFileBytes(path);
    std::vector<short> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); i++)
        samples[i] = (short)(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return samples;
}

// Our output without the frames the reference decoder leaves out: a layer III frame
// whose main data lies before the start of the stream is played as silence here and
// dropped there.
std::vector<short> ComparableSamples(const DecodedStream& decoded)
{
    std::vector<short> samples;
    size_t at = 0;
    for (const MpegFrameOutput& frame : decoded.frames) {
        if (!frame.silent)
            samples.insert(samples.end(), decoded.samples.begin() + at,
                           decoded.samples.begin() + at + frame.sampleCount);
        at += frame.sampleCount;
    }
    return samples;
}

// The reference of a layer I or II stream goes on past its last frame with the
// synthesis filter's fade-out, then zeros up to a whole block of 32768 samples.
const size_t kReferenceBlock = 32768;
const size_t kFilterFadeOut = 1024; // 512 samples a channel

bool IsPaddedBlockReference(const std::vector<short>& reference, size_t decoded)
{
    if (reference.size() != (decoded + kReferenceBlock - 1) / kReferenceBlock * kReferenceBlock)
        return false;
    for (size_t i = decoded + kFilterFadeOut; i < reference.size(); i++)
        if (reference[i] != 0)
            return false;
    return true;
}

bool IsFreeFormat(const std::vector<unsigned char>& bytes)
{
    MpegHeader header;
    if (bytes.size() < 4 || !IsMpegSyncCandidate(BigEndian32(bytes.data())))
        return false;
    ParseMpegHeader(BigEndian32(bytes.data()), &header);
    return header.bitrateIndex == 0;
}

class Conformance : public ::testing::TestWithParam<const char*>
{
};

TEST_P(Conformance, EveryStreamMatchesItsReference)
{
    std::string folder = TestDataFolder(GetParam());
    ZYM_NEED_TEST_DATA(folder, GetParam());
    std::vector<std::string> names = StreamNames(folder);
    ASSERT_FALSE(names.empty()) << "no streams in " << folder;

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        MemoryInput input;
        input.bytes = ReadFileBytes(folder + "/" + name + ".bit");
        std::vector<short> reference = ReadPcm(folder + "/" + name + ".pcm");
        DecodedStream decoded = DecodeStream(input);
        if (IsFreeFormat(input.bytes)) {
            // Free format is not decoded: its frames have no size to find the next by.
            EXPECT_TRUE(decoded.frames.empty());
            continue;
        }
        ASSERT_FALSE(decoded.frames.empty());
        std::vector<short> samples = ComparableSamples(decoded);

        // Where the lengths differ, only in the ways the reference is known to differ:
        // block padding after layer I and II, and the final layer III frame, which
        // the reference of most MPEG-1 layer III streams ends without.
        const MpegFrameOutput& last = decoded.frames.back();
        bool layer3 = last.header.layer == kLayerIII;
        if (reference.size() > samples.size()) {
            EXPECT_TRUE(!layer3 && IsPaddedBlockReference(reference, samples.size()));
        }
        if (reference.size() < samples.size()) {
            EXPECT_TRUE(layer3 && samples.size() - reference.size() == (size_t)last.sampleCount);
        }

        size_t n = std::min(samples.size(), reference.size());
        double squares = 0;
        int worst = 0;
        for (size_t i = 0; i < n; i++) {
            int d = samples[i] - reference[i];
            squares += (double)d * d;
            worst = std::max(worst, abs(d));
        }
        double mse = n ? squares / n : 0;
        double psnr = mse > 0 ? 10 * log10(32767.0 * 32767.0 / mse) : INFINITY;
        printf("%-22s %7zu samples, reference %7zu: PSNR %7.2f dB, largest difference %d\n", name.c_str(),
               samples.size(), reference.size(), psnr, worst);
        EXPECT_GE(psnr, 96.0);
        EXPECT_LE(worst, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, Conformance, ::testing::ValuesIn(kStreamFolders));

} // namespace
