// The waveform output plays through Wine's waveOut for real: the ALSA default
// device of a test-only configuration writes what it receives to a file, which
// must hold the decoder's samples.
#include "tests/support/TestFramework.h"

#include <mmsystem.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "mp3/decoder/WaveOutput.h"
#include "mp3/decoder/tests/DecoderTestSupport.h"
#include "tests/support/AlsaFileDevice.h"

namespace {

// A short stream at 44.1 kHz: 0.8 s.
const char kStream[] = "l3-hecommon.bit";

class WaveOutputTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_device = new CAlsaFileDevice;
        ASSERT_TRUE(s_device->IsValid());
    }
    void SetUp() override { ZYM_NEED_STREAMS(); }
    static void TearDownTestSuite()
    {
        delete s_device;
        s_device = nullptr;
    }

    static CAlsaFileDevice* s_device;
};

CAlsaFileDevice* WaveOutputTest::s_device = nullptr;

void CollectDebug(void* context, int, int, const char* message, const char* detail)
{
    *(std::string*)context += std::string(message) + " (" + (detail ? detail : "") + ")\n";
}

// A decoder with the built-in modules whose debug reports land in debug.
Decoder* NewDecoder(std::string* debug)
{
    Decoder* decoder = nullptr;
    if (CreateDecoder(&decoder) != 0)
        return nullptr;
    decoder->reportContext = debug;
    decoder->debugReport = CollectDebug;
    RegisterBuiltinInputModules(decoder);
    RegisterBuiltinOutputModules(decoder);
    return decoder;
}

TEST_F(WaveOutputTest, TheDeviceReceivesTheDecodedSamples)
{
    std::string stream = WindowsPath(TestStreamPath(kStream));
    std::string decoded = DecodeWithDecoder(stream, 0);
    ASSERT_FALSE(decoded.empty());

    std::string debug;
    Decoder* decoder = NewDecoder(&debug);
    ASSERT_TRUE(decoder);
    ASSERT_EQ(0, SelectOutput(decoder, "/dev/wave/0", -1));
    ASSERT_EQ(1, decoder->output.module->id);
    ASSERT_EQ(0, OpenOutput(decoder)) << debug;
    ASSERT_EQ(0, SelectInput(decoder, stream.c_str(), -1));
    ASSERT_EQ(0, OpenInput(decoder));
    int code;
    while ((code = DecodeStep(decoder)) == 0 || code == kErrInvalidFrame)
        ;
    EXPECT_EQ(kErrInputEnd, code);
    OutputControl control = {};
    EXPECT_EQ(0, SetOutputControl(decoder, &control, kControlDrain));
    EXPECT_EQ(0, CloseOutput(decoder));
    DestroyDecoder(decoder);

    std::string played = WithoutSilence(s_device->Played());
    std::string sound = WithoutSilence(decoded);
    ASSERT_FALSE(sound.empty());
    size_t at = played.find(sound.substr(0, 4096));
    ASSERT_NE(std::string::npos, at) << "played " << played.size() << " bytes\n" << debug;
    EXPECT_TRUE(played.compare(at, sound.size(), sound) == 0);
    EXPECT_EQ(std::string::npos, debug.find("stuck"));
}

// A paused device never finishes a buffer: once every buffer is queued, the wait
// for the next one gives up (after its bound of waits, shortened here), reports the
// device and takes the buffers back, and the output closes without waiting for each
// of them in turn.
TEST_F(WaveOutputTest, AStuckDeviceIsReportedAndReleased)
{
    const int kQueuedFrames = 64;
    const int kShortBound = 20;
    SetWaveOutputMaxWaits(kShortBound);
    std::string debug;
    Decoder* decoder = NewDecoder(&debug);
    ASSERT_TRUE(decoder);
    ASSERT_EQ(0, SelectOutput(decoder, "", -1));
    ASSERT_EQ(0, OpenOutput(decoder)) << debug;
    std::string stream = WindowsPath(TestStreamPath("l3-sin1k0db.bit"));
    ASSERT_EQ(0, SelectInput(decoder, stream.c_str(), -1));
    ASSERT_EQ(0, OpenInput(decoder));
    // The first frame reopens the device for the stream's format; pause after it.
    ASSERT_EQ(0, DecodeStep(decoder));
    OutputControl control = {};
    ASSERT_EQ(0, SetOutputControl(decoder, &control, kControlPause));
    for (int i = 0; i < kQueuedFrames + 2; i++)
        ASSERT_EQ(0, DecodeStep(decoder)) << i;
    EXPECT_NE(std::string::npos, debug.find("wave device stuck (a buffer never finished playing)")) << debug;
    EXPECT_EQ(0, CloseOutput(decoder));
    DestroyDecoder(decoder);
    SetWaveOutputMaxWaits(0);
}

TEST(WaveVolume, LevelAndBalanceMakeTheVolumeWord)
{
    const float kFullLevel = 100 * 655.35f;
    const struct {
        float level;
        float balance;
        unsigned left;
        unsigned right;
    } cases[] = {
        {kFullLevel, 0.5f, 65534, 65534},
        {kFullLevel, 0.25f, 65534, 32767},
        {kFullLevel, 0.75f, 32767, 65534},
        {kFullLevel, 0.0f, 65534, 0},
        {kFullLevel, 1.0f, 0, 65534},
        {50 * 655.35f, 0.5f, 32767, 32767},
        {0, 0.5f, 0, 0},
    };
    for (const auto& c : cases) {
        unsigned word = WaveVolumeWord(c.level, c.balance);
        EXPECT_EQ(c.left, word & 0xffff) << c.level << " " << c.balance;
        EXPECT_EQ(c.right, word >> 16) << c.level << " " << c.balance;
    }
}

} // namespace
