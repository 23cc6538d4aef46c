// The decoder object: module choice by name, filter chains, seeking, the equalizer,
// sample conversion and the file modules.
#include "tests/support/TestFramework.h"

#include <mmsystem.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "mp3/decoder/DecoderFilters.h"
#include "mp3/decoder/Id3v2Header.h"
#include "mp3/decoder/XingHeader.h"
#include "mp3/decoder/tests/DecoderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

const char kStream[] = "l3-sin1k0db.bit";

struct DebugLine {
    std::string message;
    std::string detail;
};

void CollectDebug(void* context, int, int, const char* message, const char* detail)
{
    ((std::vector<DebugLine>*)context)->push_back({message, detail ? detail : ""});
}

class DecoderObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ZYM_NEED_STREAMS();
        ASSERT_EQ(0, CreateDecoder(&m_decoder));
        m_decoder->reportContext = &m_debug;
        m_decoder->debugReport = CollectDebug;
        ASSERT_EQ(1, RegisterBuiltinInputModules(m_decoder));
        ASSERT_EQ(1, RegisterBuiltinOutputModules(m_decoder));
        m_stream = WindowsPath(TestStreamPath(kStream));
    }
    void TearDown() override { DestroyDecoder(m_decoder); }

    Decoder* m_decoder = nullptr;
    std::vector<DebugLine> m_debug;
    std::string m_stream;
};

TEST_F(DecoderObjectTest, ModulesAreChosenByName)
{
    const struct {
        bool input;
        const char* name;
        int id;
    } cases[] = {
        {false, "/dev/wave/0", 1}, {false, "", 1},       {false, "wav:take.wav", 0}, {false, "out.pcm", 0},
        {true, "http://host/a.mp3", 1}, {true, "FTP://host/a.mp3", 1}, {true, "tcp://host:5", 1},
        {true, "udp://:8888", 1}, {true, "file:a.mp3", 0}, {true, "C:\\music\\a.mp3", 0},
    };
    for (const auto& c : cases) {
        int code = c.input ? SelectInput(m_decoder, c.name, -1) : SelectOutput(m_decoder, c.name, -1);
        ASSERT_EQ(0, code) << c.name;
        EXPECT_EQ(c.id, (c.input ? m_decoder->input : m_decoder->output).module->id) << c.name;
    }
    EXPECT_EQ(kErrModuleNotFound, SelectInput(m_decoder, "a.mp3", 2));
    EXPECT_EQ(kErrNoSuchDevice, SelectOutput(m_decoder, "/dev/wave/10", -1));
    EXPECT_EQ(kErrInvalidParameters, SelectInput(m_decoder, "", 0));

    // The same name again keeps the instance.
    ASSERT_EQ(0, SelectInput(m_decoder, m_stream.c_str(), -1));
    void* instance = m_decoder->input.instance;
    ASSERT_EQ(0, SelectInput(m_decoder, m_stream.c_str(), -1));
    EXPECT_EQ(instance, m_decoder->input.instance);
}

// Releasing a side closes its open instance and forgets it and its name: the
// side then has no module to open until one is chosen again, and choosing the
// same name again makes a new instance that opens.
TEST_F(DecoderObjectTest, ReleasedSidesForgetTheirInstance)
{
    CTempFolder folder("zym-release");
    const std::string output = folder.WindowsPath("out.pcm");
    const struct {
        bool input;
        std::string name;
        const char* detail;
    } cases[] = {
        {true, m_stream, "null input module"},
        {false, output, "null output module"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        auto select = [&] { return c.input ? SelectInput(m_decoder, c.name.c_str(), -1) : SelectOutput(m_decoder, c.name.c_str(), -1); };
        auto open = [&] { return c.input ? OpenInput(m_decoder) : OpenOutput(m_decoder); };
        DecoderPart& part = c.input ? m_decoder->input : m_decoder->output;
        ASSERT_EQ(0, select());
        ASSERT_EQ(0, open());
        c.input ? ReleaseInput(m_decoder) : ReleaseOutput(m_decoder);
        EXPECT_EQ(nullptr, part.instance);
        EXPECT_EQ(nullptr, part.name);
        m_debug.clear();
        EXPECT_EQ(kErrInternal, open());
        ASSERT_EQ(1u, m_debug.size());
        EXPECT_EQ(c.detail, m_debug[0].detail);
        ASSERT_EQ(0, select());
        EXPECT_EQ(0, open());
    }
}

TEST_F(DecoderObjectTest, ModulesDescribeThemselves)
{
    const struct {
        bool input;
        int id;
        const char* name;
        int devices;
        const char* firstDevice;
    } cases[] = {
        {true, 0, "Input From File", 2, "*"},
        {true, 1, "Network Streaming Module", 1, "http://*, ftp://*, udp://*"},
        {false, 0, "Output To File", 3, "*, or raw:*"},
        {false, 1, "Win32 Sound Driver Interface", (int)waveOutGetNumDevs() + 1, "/dev/wave/0"},
    };
    for (const auto& c : cases) {
        DecoderModuleInfo info = {};
        auto query = c.input ? QueryInputModule : QueryOutputModule;
        ASSERT_EQ(0, query(m_decoder, c.id, &info, kQueryNames | kQueryDeviceCount));
        EXPECT_STREQ(c.name, info.name);
        EXPECT_EQ(c.devices, info.device) << c.name;
        DecoderModuleInfo device = {};
        // The wave mapper's description comes from the sound system, which may have
        // no device to describe.
        int code = query(m_decoder, c.id, &device, kQueryDevice);
        if (code == 0) {
            EXPECT_STREQ(c.firstDevice, device.name) << c.name;
        } else {
            EXPECT_EQ(kErrFailed, code) << c.name;
        }
        device.device = c.devices;
        EXPECT_EQ(kErrInvalidParameters, query(m_decoder, c.id, &device, kQueryDevice)) << c.name;
    }
    EXPECT_EQ(kErrModuleNotFound, QueryInputModule(m_decoder, 2, nullptr, kQueryNames));
}

TEST_F(DecoderObjectTest, ModulesWithoutRequiredOperationsAreRefused)
{
    InputModuleDescriptor input = {};
    input.create = [](void**, const char*, DecoderModuleRecord*, Decoder*) { return 0; };
    input.destroy = [](void*) { return 0; };
    input.open = [](void*) { return 0; };
    input.close = [](void*) { return 0; };
    EXPECT_EQ(kErrInternal, AddInputModule(m_decoder, &input));
    ASSERT_FALSE(m_debug.empty());
    EXPECT_EQ("internal error", m_debug.back().message);
    EXPECT_EQ("null 'read' method in module", m_debug.back().detail);
    EXPECT_EQ(2, m_decoder->inputModuleCount);
}

// A filter that counts the bytes read through it.
int g_filteredBytes = 0;
const char* CounterName() { return "counter"; }
int CounterRead(InputFilterNode* node, unsigned char* buffer, int size)
{
    int n = InputChainRead(node->next, buffer, size);
    if (n > 0)
        g_filteredBytes += n;
    return n;
}
const char* OtherName() { return "other"; }

std::vector<int> FilterIds(Decoder* decoder)
{
    std::vector<int> ids;
    ForEachInputFilter(decoder, [](void* context, const char*, int id) { ((std::vector<int>*)context)->push_back(id); },
                       &ids);
    return ids;
}

TEST_F(DecoderObjectTest, FiltersSitInTheirChainInOrder)
{
    InputFilterDescriptor counter = {};
    counter.name = CounterName;
    counter.read = CounterRead;
    InputFilterDescriptor other = {};
    other.name = OtherName;
    EXPECT_EQ(1, AddInputFilter(m_decoder, &counter, 0));
    EXPECT_EQ(2, AddInputFilter(m_decoder, &other, 0));
    EXPECT_EQ(3, AddInputFilter(m_decoder, &other, -1));
    EXPECT_EQ(4, AddInputFilter(m_decoder, &other, 2));
    EXPECT_EQ((std::vector<int>{3, 1, 4, 2}), FilterIds(m_decoder));
    EXPECT_EQ(kErrInvalidParameters, AddInputFilter(m_decoder, &other, -2));

    EXPECT_EQ(3, RemoveInputFilter(m_decoder, "", 0));        // the last filter
    EXPECT_EQ(1, RemoveInputFilter(m_decoder, "", -1));       // the first
    EXPECT_EQ(1, RemoveInputFilter(m_decoder, "other", -2));  // by name
    EXPECT_EQ(kErrFailed, RemoveInputFilter(m_decoder, "", 7));
    EXPECT_EQ((std::vector<int>{1}), FilterIds(m_decoder));
    EXPECT_EQ(2, AddInputFilter(m_decoder, &other, 1));

    // Every byte the decoder reads passes the counting filter.
    g_filteredBytes = 0;
    ASSERT_EQ(0, SelectInput(m_decoder, m_stream.c_str(), 0));
    ASSERT_EQ(0, OpenInput(m_decoder));
    int code;
    while ((code = DecodeFrame(m_decoder, nullptr)) == 0 || code == kErrInvalidFrame)
        ;
    EXPECT_EQ(kErrInputEnd, code);
    // Opening reads where a leading ID3v2 tag would say, then the first frame's tags.
    EXPECT_EQ(m_decoder->bytesRead, (unsigned)g_filteredBytes - kId3v2HeaderBytes - kXingProbeBytes);
    EXPECT_EQ(m_decoder->size, m_decoder->bytesRead);
}

TEST_F(DecoderObjectTest, SeeksByFractionTimeAndTable)
{
    EXPECT_EQ(kErrInternal, SeekInput(m_decoder, 0));
    ASSERT_EQ(0, SelectInput(m_decoder, m_stream.c_str(), 0));
    ASSERT_EQ(0, OpenInput(m_decoder));
    unsigned size = m_decoder->size;
    ASSERT_GT(size, 0u);

    ASSERT_EQ(0, SeekInputFraction(m_decoder, 0.5));
    EXPECT_EQ(size / 2, m_decoder->bytesRead);
    ASSERT_EQ(0, SeekInputFraction(m_decoder, 7));
    EXPECT_EQ(size, m_decoder->bytesRead);

    // With a seek table the fraction maps through it; from the last entry on it runs
    // up to 256.
    m_decoder->seekTable = (unsigned char*)malloc(kXingTocSize);
    for (int i = 0; i < kXingTocSize; i++)
        m_decoder->seekTable[i] = (unsigned char)(i * 2);
    const struct {
        double fraction;
        unsigned offset;
    } cases[] = {
        {1.0, size},
        {0.25, (unsigned)(size * 50.0 / 256)},
        {0.255, (unsigned)(size * (50 + 0.5 * 2) / 256)},
        {0.995, (unsigned)(size * (198 + 0.5 * (256 - 198)) / 256)},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, SeekInputFraction(m_decoder, c.fraction));
        EXPECT_NEAR(c.offset, m_decoder->bytesRead, 1) << c.fraction;
    }
    DecoderTimecode t = {0, 0, 0, 0};
    EXPECT_EQ(kErrInvalidParameters, SeekInputTimecode(m_decoder, nullptr));
    EXPECT_EQ(0, SeekInputTimecode(m_decoder, &t));
    EXPECT_EQ(0u, m_decoder->bytesRead);
}

TEST_F(DecoderObjectTest, EqualizerBytesRoundTrip)
{
    signed char bytes[kEqualizerBytes], back[kEqualizerBytes];
    EXPECT_EQ(kErrFailed, GetEqualizer(m_decoder, back));
    for (int i = 0; i < kEqualizerBytes; i++)
        bytes[i] = (signed char)(i - 32);
    ASSERT_EQ(0, SetEqualizer(m_decoder, bytes));
    EXPECT_FLOAT_EQ(0.5f, m_decoder->equalizer[0][0]);
    EXPECT_FLOAT_EQ(1.96875f, m_decoder->equalizer[1][31]);
    ASSERT_EQ(0, GetEqualizer(m_decoder, back));
    for (int i = 0; i < kEqualizerBytes; i++)
        EXPECT_NEAR(bytes[i], back[i], 1) << i;
    ASSERT_EQ(0, SetEqualizer(m_decoder, nullptr));
    EXPECT_EQ(nullptr, m_decoder->equalizer[0]);
}

// An output that takes 8-bit samples and keeps what it gets.
std::string g_written;
int KeepCreate(void** instance, const char*, DecoderModuleRecord*, Decoder*)
{
    *instance = &g_written;
    return 0;
}
int KeepNothing(void*) { return 0; }
int KeepWrite(void*, unsigned char* buffer, int size, int, int, int)
{
    g_written.append((const char*)buffer, size);
    return size;
}
int EightBitOnly(void*) { return 0; }

TEST_F(DecoderObjectTest, SamplesBecomeEightBitForAnOutputWithoutSixteen)
{
    OutputModuleDescriptor keep = {};
    keep.create = KeepCreate;
    keep.destroy = KeepNothing;
    keep.open = KeepNothing;
    keep.close = KeepNothing;
    keep.write = KeepWrite;
    keep.capabilities = EightBitOnly;
    ASSERT_EQ(2, AddOutputModule(m_decoder, &keep));
    g_written.clear();
    ASSERT_EQ(0, SelectOutput(m_decoder, "", 2));
    ASSERT_EQ(0, OpenOutput(m_decoder));
    ASSERT_EQ(0, SelectInput(m_decoder, m_stream.c_str(), 0));
    ASSERT_EQ(0, OpenInput(m_decoder));
    int code;
    while ((code = DecodeStep(m_decoder)) == 0 || code == kErrInvalidFrame)
        ;
    EXPECT_EQ(kErrInputEnd, code);
    EXPECT_EQ(1, m_decoder->bytesPerSample);

    std::string pcm = DecodeWithDecoder(m_stream, 0);
    ASSERT_EQ(pcm.size() / 2, g_written.size());
    int wrong = 0;
    for (size_t i = 0; i < g_written.size(); i++) {
        short s = (short)((unsigned char)pcm[2 * i] | (unsigned char)pcm[2 * i + 1] << 8);
        wrong += (unsigned char)g_written[i] != (unsigned char)(s / 256 + 128);
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(DecoderObjectTest, FileOutputNamesSetTheFileType)
{
    CTempFolder folder("zym-output");
    ASSERT_TRUE(folder.IsValid());
    std::string pcm = DecodeWithDecoder(m_stream, 0);
    ASSERT_FALSE(pcm.empty());
    const struct {
        const char* prefix;
        const char* file;
        size_t header;
    } cases[] = {
        {"raw:", "a.pcm", 0}, {"", "b.pcm", 0}, {"aiff:", "c.aif", 0}, {"sun:", "d.au", 0}, {"wav:", "e.wav", 44},
    };
    for (const auto& c : cases) {
        std::string name = c.prefix + folder.WindowsPath(c.file);
        ASSERT_EQ(0, SelectOutput(m_decoder, name.c_str(), -1));
        ASSERT_EQ(0, OpenOutput(m_decoder));
        ASSERT_EQ(0, SelectInput(m_decoder, m_stream.c_str(), 0));
        ASSERT_EQ(0, OpenInput(m_decoder));
        int code;
        while ((code = DecodeStep(m_decoder)) == 0 || code == kErrInvalidFrame)
            ;
        ASSERT_EQ(0, CloseOutput(m_decoder));
        ASSERT_EQ(0, CloseInput(m_decoder));
        std::string bytes = ReadBytes(folder.UnixPath(c.file));
        ASSERT_EQ(pcm.size() + c.header, bytes.size()) << name;
        EXPECT_TRUE(bytes.substr(c.header) == pcm) << name;
    }
    m_debug.clear();
    std::string denied = folder.WindowsPath("no-such-folder") + "\\x.pcm";
    ASSERT_EQ(0, SelectOutput(m_decoder, denied.c_str(), 0));
    EXPECT_EQ(kErrOpenFailed, OpenOutput(m_decoder));
    ASSERT_FALSE(m_debug.empty());
    EXPECT_EQ("cannot open output file", m_debug.back().message);
}

} // namespace
