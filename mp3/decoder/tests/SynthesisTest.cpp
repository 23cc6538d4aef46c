// The synthesis filter bank: clipping, reduced rates, equaliser gains and reset.
#include "tests/support/TestFramework.h"

#include <vector>

#include "mp3/decoder/MpegSynthesis.h"

namespace {

const int kSlots = 40;

class SynthesisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        filter = CreateMpegSynthesis();
        ASSERT_NE(filter, nullptr);
        ResetMpegSynthesis(filter);
    }
    void TearDown() override { DeleteMpegSynthesis(filter); }

    // Runs kSlots slots of the same input; returns the output.
    std::vector<short> Run(const float* input, int shift)
    {
        std::vector<short> out(kSlots * kSubbands, 0x5555);
        SetSynthesisOutput(filter, out.data(), 1, shift);
        for (int s = 0; s < kSlots; s++)
            SynthesizeSlot(filter, input);
        EXPECT_EQ(filter->output - out.data(), (kSlots * kSubbands) >> shift);
        out.resize((kSlots * kSubbands) >> shift);
        return out;
    }

    MpegSynthesis* filter = nullptr;
};

TEST_F(SynthesisTest, FullScaleClipsWithoutWrapping)
{
    for (float level : {100.0f, -100.0f}) {
        ResetMpegSynthesis(filter);
        float input[kSubbands] = {level};
        std::vector<short> out = Run(input, 0);
        // Once the filter has filled, every sample sits at the limit.
        for (size_t i = 16 * kSubbands; i < out.size(); i++)
            ASSERT_EQ(out[i], level > 0 ? 32767 : -32768) << i;
    }
}

TEST_F(SynthesisTest, ReducedRatesWriteFewerSamples)
{
    float input[kSubbands] = {0.1f};
    for (int shift = 0; shift <= 2; shift++) {
        SCOPED_TRACE(shift);
        ResetMpegSynthesis(filter);
        std::vector<short> out = Run(input, shift);
        EXPECT_NE(out.back(), 0);
    }
}

TEST_F(SynthesisTest, ZeroGainRemovesItsSubband)
{
    float gains[kSubbands];
    for (float& g : gains)
        g = 1.0f;
    gains[3] = 0.0f;
    filter->equalizer = gains;
    float input[kSubbands] = {};
    input[3] = 0.5f;
    for (short s : Run(input, 0))
        ASSERT_EQ(s, 0);
    input[4] = 0.5f;
    std::vector<short> out = Run(input, 0);
    EXPECT_NE(out.back(), 0);
}

TEST_F(SynthesisTest, ResetForgetsThePast)
{
    float input[kSubbands] = {0.5f, 0.25f, 0.125f};
    Run(input, 0);
    ResetMpegSynthesis(filter);
    float silence[kSubbands] = {};
    short out[kSubbands];
    SetSynthesisOutput(filter, out, 1, 0);
    SynthesizeSlot(filter, silence);
    for (short s : out)
        ASSERT_EQ(s, 0);
}

} // namespace
