// A player driven through its control channel: opening, playing to the end, pausing,
// seeking and stopping, with the notifications and time codes a client sees; errors
// as codes and texts; the channel itself.
#include "tests/support/TestFramework.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mp3/decoder/DecoderModules.h"
#include "mp3/decoder/DecoderPlayer.h"
#include "mp3/decoder/tests/DecoderTestSupport.h"
#include "mp3/decoder/tests/support/SyntheticStreams.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Waits.h"

namespace {

// A constant bit rate stream of 8.2 s at 44.1 kHz.
const char kStream[] = "l3-sin1k0db.bit";

int Le16(const std::string& b, size_t at) { return (unsigned char)b[at] | (unsigned char)b[at + 1] << 8; }
unsigned Le32(const std::string& b, size_t at) { return Le16(b, at) | (unsigned)Le16(b, at + 2) << 16; }

class DecoderPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ZYM_NEED_STREAMS();
        m_stream = TestStreamPath(kStream);
        ASSERT_FALSE(m_stream.empty()) << kStream;
        ASSERT_TRUE(m_folder.IsValid());
        ASSERT_EQ(0, m_client.Created());
        ASSERT_EQ(kMsgReady, m_client.Next().code);
    }

    // Opens the stream with a WAV file as the output.
    void OpenWithWavOutput()
    {
        std::string output = "wav:" + m_folder.WindowsPath("out.wav");
        ASSERT_EQ(0, m_client.Command(kMsgSetOutputName, output.c_str()));
        m_client.Seen().clear();
        ASSERT_EQ(0, m_client.Command(kMsgInputOpen, WindowsPath(m_stream).c_str()));
    }

    std::string m_stream;
    CTempFolder m_folder{"zym-player"};
    CPlayerClient m_client;
};

// A file that begins with an ID3v2 tag and a frame whose Xing or VBRI tag counts
// 8500 frames (222 s at 44.1 kHz), followed by ten frames of audio.
std::string TaggedVbrFile(const char* lengthTag, int lengthTagAt)
{
    const size_t kTagBody = 3000;
    std::string file = "ID3";
    file += std::string{4, 0, 0, 0, 0, (char)(kTagBody >> 7), (char)(kTagBody & 0x7F)};
    file += std::string(kTagBody, '\xFF');
    Bytes first = Frame(kLayer3Header, kLayer3FrameSize);
    std::copy_n(lengthTag, 4, first.begin() + lengthTagAt);
    first[lengthTagAt + 7] = 1;   // Xing: the frame count is there
    const unsigned frames = 8500;
    int countAt = lengthTagAt + (lengthTag[0] == 'X' ? 8 : 14);
    for (int i = 0; i < 4; i++)
        first[countAt + i] = (unsigned char)(frames >> (24 - 8 * i));
    Bytes audio = RandomLayer3Stream(10, 3);
    return file + std::string(first.begin(), first.end()) + std::string(audio.begin(), audio.end());
}

TEST_F(DecoderPlayerTest, ALengthTagAfterAnId3v2TagGivesTheDurationAtOpen)
{
    for (const char* tag : {"Xing", "VBRI"}) {
        SCOPED_TRACE(tag);
        WriteBytes(m_folder.UnixPath("vbr.mp3"), TaggedVbrFile(tag, 36));
        m_client.Seen().clear();
        ASSERT_EQ(0, m_client.Command(kMsgInputOpen, m_folder.WindowsPath("vbr.mp3").c_str()));
        std::vector<Note> durations = m_client.SeenCodes(kMsgInputDuration);
        ASSERT_FALSE(durations.empty());
        EXPECT_EQ(222, durations[0].values[0]);
        ASSERT_EQ(0, m_client.Command(kMsgInputClose));
    }
}

TEST_F(DecoderPlayerTest, PlaysToTheEndWithTimecodesAndWritesEverySample)
{
    OpenWithWavOutput();
    // The stream starts with padding, so the stream information comes with the
    // first frame.
    std::vector<int> codes;
    for (const Note& n : m_client.Seen())
        codes.push_back(n.code);
    EXPECT_EQ((std::vector<int>{kMsgInputState, kMsgInputName, kMsgInputCaps, kMsgInputDuration, kMsgAck}), codes);
    EXPECT_EQ(0, m_client.Seen()[0].values[0]);
    EXPECT_EQ(WindowsPath(m_stream), m_client.Seen()[1].texts[0]);
    EXPECT_EQ(kInputSeekable, m_client.Seen()[2].values[0]);

    m_client.Seen().clear();
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    ASSERT_TRUE(m_client.WaitFor(kMsgPlayerState, kPlayerInputEnd));
    ASSERT_EQ(0, m_client.Command(kMsgStop));

    std::vector<int> states, seconds;
    for (const Note& n : m_client.SeenCodes(kMsgPlayerState))
        states.push_back(n.values[0]);
    for (const Note& n : m_client.SeenCodes(kMsgInputTimecode)) {
        EXPECT_EQ(0, n.values[3]) << "hundredths with the granularity of a second";
        seconds.push_back(n.values[0] * 3600 + n.values[1] * 60 + n.values[2]);
    }
    EXPECT_EQ((std::vector<int>{kPlayerPlaying, kPlayerInputEnd, kPlayerStopped}), states);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}), seconds);
    std::vector<Note> positions = m_client.SeenCodes(kMsgInputPosition);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(400, positions.back().values[1]);
    EXPECT_GE(positions.back().values[0], 395);
    std::vector<Note> durations = m_client.SeenCodes(kMsgInputDuration);
    ASSERT_FALSE(durations.empty());
    EXPECT_EQ(8, durations.back().values[0]);
    std::vector<Note> infos = m_client.SeenCodes(kMsgInputStreamInfo);
    ASSERT_FALSE(infos.empty());
    EXPECT_EQ((std::vector<int>{1, 3, 128, 44100, infos[0].values[4]}),
              (std::vector<int>(infos[0].values, infos[0].values + 5)));

    // The output closes with the file; its sizes are final then.
    ASSERT_EQ(0, m_client.Command(kMsgOutputClose));
    std::string wav = ReadBytes(m_folder.UnixPath("out.wav"));
    std::string decoded = DecodeWithDecoder(WindowsPath(m_stream));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ("RIFF", wav.substr(0, 4));
    EXPECT_EQ("WAVEfmt ", wav.substr(8, 8));
    EXPECT_EQ(wav.size() - 8, Le32(wav, 4));
    EXPECT_EQ(1, Le16(wav, 20));
    EXPECT_EQ(2, Le16(wav, 22));
    EXPECT_EQ(44100u, Le32(wav, 24));
    EXPECT_EQ(44100u * 4, Le32(wav, 28));
    EXPECT_EQ(4, Le16(wav, 32));
    EXPECT_EQ(16, Le16(wav, 34));
    EXPECT_EQ("data", wav.substr(36, 4));
    EXPECT_EQ(wav.size() - 44, Le32(wav, 40));
    ASSERT_FALSE(decoded.empty());
    EXPECT_TRUE(decoded == wav.substr(44)) << "every decoded sample lands in the file, in order";
}

// In a stream whose bit rate varies, the estimate of the time moves both ways with
// the average bit rate; the time codes must not.
TEST_F(DecoderPlayerTest, TimecodesOfAVariableBitRateStreamOnlyAdvance)
{
    std::string output = "wav:" + m_folder.WindowsPath("vbr.wav");
    ASSERT_EQ(0, m_client.Command(kMsgSetOutputName, output.c_str()));
    ASSERT_EQ(0, m_client.Command(kMsgInputOpen, WindowsPath(TestStreamPath("l3-he_44khz.bit")).c_str()));
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    ASSERT_TRUE(m_client.WaitFor(kMsgPlayerState, kPlayerInputEnd));
    std::vector<int> seconds;
    for (const Note& n : m_client.SeenCodes(kMsgInputTimecode))
        seconds.push_back(n.values[0] * 3600 + n.values[1] * 60 + n.values[2]);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), seconds);
}

TEST_F(DecoderPlayerTest, PausesSeeksAndStops)
{
    EXPECT_EQ(kErrInternal, m_client.Command(kMsgPause));
    EXPECT_EQ(kErrInternal, m_client.Command(kMsgStop));
    EXPECT_EQ(kErrFailed, m_client.Command(kMsgSeek, 1, 2));
    EXPECT_EQ(kErrInvalidParameters, m_client.Command(kMsgSeek, 1, 0));

    OpenWithWavOutput();
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    ASSERT_TRUE(m_client.WaitFor(kMsgInputTimecode));
    ASSERT_EQ(0, m_client.Command(kMsgPause));
    EXPECT_EQ(kPlayerPaused, m_client.SeenCodes(kMsgPlayerState).back().values[0]);

    m_client.Seen().clear();
    ASSERT_EQ(0, m_client.Command(kMsgSeek, 200, 400));
    std::vector<Note> positions = m_client.SeenCodes(kMsgInputPosition);
    ASSERT_EQ(1u, positions.size());
    EXPECT_EQ(200, positions[0].values[0]);
    EXPECT_EQ(400, positions[0].values[1]);
    std::vector<Note> timecodes = m_client.SeenCodes(kMsgInputTimecode);
    ASSERT_EQ(1u, timecodes.size());
    EXPECT_EQ(4, timecodes[0].values[2]) << "the middle of a stream of 8.2 s";

    // Playing on from the middle reaches the end.
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    ASSERT_TRUE(m_client.WaitFor(kMsgPlayerState, kPlayerInputEnd));
    // At the end a seek stops the player.
    ASSERT_EQ(0, m_client.Command(kMsgSeek, 0, 400));
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    ASSERT_EQ(0, m_client.Command(kMsgStop));
    std::vector<int> states;
    for (const Note& n : m_client.SeenCodes(kMsgPlayerState))
        states.push_back(n.values[0]);
    EXPECT_EQ((std::vector<int>{kPlayerPlaying, kPlayerInputEnd, kPlayerStopped, kPlayerPlaying, kPlayerStopped}),
              states);
}

TEST_F(DecoderPlayerTest, ModeClosesTheOutputOnStopPauseAndEnd)
{
    OpenWithWavOutput();
    const struct {
        int mode;
        int command;
        bool closes;
    } cases[] = {
        {0, kMsgStop, false},
        {0, kMsgPause, false},
        {kModeCloseOnStop, kMsgStop, true},
        {kModeCloseOnStop, kMsgPause, false},
        {kModeCloseOnPause, kMsgPause, true},
        {kModeCloseOnPause, kMsgStop, false},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, m_client.Command(kMsgSetPlayerMode, c.mode));
        ASSERT_EQ(0, m_client.Command(kMsgPlay));
        ASSERT_EQ(0, m_client.Command(c.command));
        // Playing again opens the output only when the command closed it.
        m_client.Seen().clear();
        ASSERT_EQ(0, m_client.Command(kMsgPlay));
        EXPECT_EQ(c.closes ? 1u : 0u, m_client.SeenCodes(kMsgOutputState).size())
            << "mode " << c.mode << " command " << c.command;
    }
    ASSERT_EQ(0, m_client.Command(kMsgSetPlayerMode, kModeCloseAtEnd));
    m_client.Seen().clear();
    ASSERT_TRUE(m_client.WaitFor(kMsgPlayerState, kPlayerInputEnd));
    ASSERT_TRUE(m_client.WaitFor(kMsgOutputState, 1, nullptr, 5000));
}

struct FailingInput {
    int reads;
};

int FailingCreate(void** instance, const char*, DecoderModuleRecord*, Decoder*)
{
    *instance = new FailingInput{0};
    return 0;
}
int FailingDestroy(void* instance)
{
    delete (FailingInput*)instance;
    return 0;
}
int FailingOpenClose(void*) { return 0; }
int FailingRead(void* instance, unsigned char*, int)
{
    ((FailingInput*)instance)->reads++;
    return kErrReadFailed;
}
int AcceptNothing(const char*) { return kErrFailed; }

void RegisterFailingInput(void* descriptor)
{
    InputModuleDescriptor* d = (InputModuleDescriptor*)descriptor;
    d->probe = AcceptNothing;
    d->create = FailingCreate;
    d->destroy = FailingDestroy;
    d->open = FailingOpenClose;
    d->close = FailingOpenClose;
    d->read = FailingRead;
}


std::string FunctionReference(void (*function)(void*))
{
    char reference[64];
    snprintf(reference, sizeof(reference), "function@%llx", (unsigned long long)(UINT_PTR)function);
    return reference;
}

const char* NamedFilter() { return "named"; }

void RegisterNamedFilter(void* descriptor)
{
    ((InputFilterDescriptor*)descriptor)->name = NamedFilter;
}

TEST_F(DecoderPlayerTest, FiltersComeFromModuleReferences)
{
    const std::string named = FunctionReference(RegisterNamedFilter);
    const struct {
        std::string reference;
        int result;
        const char* infoName;
    } cases[] = {
        {named, 0, "named"},
        {named, 0, "named"},
        // A symbol that fills nothing: the filter has no name and is refused.
        {"GetTickCount@kernel32.dll", kErrInvalidParameters, ""},
        {"NoSuchSymbol@kernel32.dll", kErrSymbolNotFound, nullptr},
        {"kernel32.dll", kErrSymbolNotFound, nullptr},
        {"no-such-library.dll", kErrLibraryNotFound, nullptr},
        {"", kErrInvalidParameters, nullptr},
    };
    for (const auto& c : cases) {
        m_client.Seen().clear();
        EXPECT_EQ(c.result, m_client.Command(kMsgInputFilterRegister, c.reference.c_str(), 0)) << c.reference;
        std::vector<Note> infos = m_client.SeenCodes(kMsgInputFilterInfo);
        ASSERT_EQ(c.infoName ? 1u : 0u, infos.size()) << c.reference;
        if (c.infoName) {
            EXPECT_EQ(c.infoName, infos[0].texts[0]) << c.reference;
        }
    }
    m_client.Seen().clear();
    ASSERT_EQ(0, m_client.Command(kMsgInputFiltersList));
    std::vector<int> ids;
    for (const Note& n : m_client.SeenCodes(kMsgInputFilterInfo))
        ids.push_back(n.values[1]);
    EXPECT_EQ((std::vector<int>{1, 2}), ids);
    ASSERT_EQ(0, m_client.Command(kMsgInputFilterUnregister, "named", -2));
    ASSERT_EQ(0, m_client.Command(kMsgInputFilterUnregister, "", 0));
    EXPECT_EQ(kErrFailed, m_client.Command(kMsgInputFilterUnregister, "", 0));
}

TEST_F(DecoderPlayerTest, AnInputThatFailsForGoodIsReportedAndStops)
{
    ASSERT_EQ(0, m_client.Command(kMsgInputModuleRegister, FunctionReference(RegisterFailingInput).c_str()));
    ASSERT_EQ(0, m_client.Command(kMsgSetInputModule, 2));
    std::string output = "wav:" + m_folder.WindowsPath("failing.wav");
    ASSERT_EQ(0, m_client.Command(kMsgSetOutputName, output.c_str()));
    ASSERT_EQ(0, m_client.Command(kMsgInputOpen, "anything"));
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    Note report;
    ASSERT_TRUE(m_client.WaitFor(kMsgErrorReport, CPlayerClient::kAnyValue, &report));
    EXPECT_EQ(kErrReadFailed, report.values[1]);
    EXPECT_EQ("read failed", report.texts[2]);
    ASSERT_TRUE(m_client.WaitFor(kMsgPlayerState, kPlayerStopped));
    // The player is idle and answers at once.
    ASSERT_EQ(0, m_client.Command(kMsgPing, 77));
    EXPECT_EQ(1u, m_client.SeenCodes(kMsgErrorReport).size());
}

TEST_F(DecoderPlayerTest, ErrorsArriveAsCodesAndTexts)
{
    WriteBytes(m_folder.UnixPath("damaged.mp3"), std::string(3000, '\x5a'));
    const std::string missing = m_folder.WindowsPath("missing.mp3");
    const std::string damaged = m_folder.WindowsPath("damaged.mp3");
    const struct {
        int command;
        const char* text;
        INT_PTR value;
        int code;
        const char* errorText;
    } cases[] = {
        {kMsgInputOpen, missing.c_str(), 0, kErrNoSuchFile, "no such file"},
        {kMsgSetInputModule, nullptr, 9, kErrModuleNotFound, "plugin module not found"},
        {kMsgSetOutputModule, nullptr, -2, kErrModuleNotFound, "plugin module not found"},
        {kMsgOutputOpen, "/dev/wave/10", 0, kErrNoSuchDevice, "no such device"},
        {kMsgGetEnvironmentInteger, "NOTHING", 0, kErrNoSuchVariable, "no such environment variable"},
        {kMsgInputFilterRegister, "missing-library.dll", 0, kErrLibraryNotFound, "library not found"},
        {kMsgOutputMute, nullptr, 0, kErrInternal, "internal error"},
    };
    for (const auto& c : cases) {
        int code = c.text ? m_client.Command(c.command, c.text, (int)c.value) : m_client.Command(c.command, (int)c.value);
        EXPECT_EQ(c.code, code) << "command " << c.command;
        EXPECT_STREQ(c.errorText, GetDecoderErrorText(code));
    }
    Note report;
    ASSERT_TRUE(!m_client.SeenCodes(kMsgDebugReport).empty());
    EXPECT_EQ("cannot open input file (file not found)", m_client.SeenCodes(kMsgDebugReport)[0].texts[2]);

    // A file with no frame in it opens and plays straight to its end.
    std::string output = "wav:" + m_folder.WindowsPath("damaged.wav");
    ASSERT_EQ(0, m_client.Command(kMsgSetOutputName, output.c_str()));
    ASSERT_EQ(0, m_client.Command(kMsgInputOpen, damaged.c_str()));
    ASSERT_EQ(0, m_client.Command(kMsgPlay));
    ASSERT_TRUE(m_client.WaitFor(kMsgPlayerState, kPlayerInputEnd));
}

TEST_F(DecoderPlayerTest, MaskAndSettingsCommands)
{
    ASSERT_EQ(0, m_client.Command(kMsgSetEnvironmentString, "NAME", "value"));
    EXPECT_EQ(kErrVariableType, m_client.Command(kMsgSetEnvironmentInteger, "NAME", 3));
    ASSERT_EQ(0, m_client.Command(kMsgGetEnvironmentString, "NAME"));
    std::vector<Note> strings = m_client.SeenCodes(kMsgEnvironmentString);
    ASSERT_EQ(1u, strings.size());
    EXPECT_EQ("NAME", strings[0].texts[0]);
    EXPECT_EQ("value", strings[0].texts[1]);
    ASSERT_EQ(0, m_client.Command(kMsgUnsetEnvironment, "NAME"));
    EXPECT_EQ(kErrNoSuchVariable, m_client.Command(kMsgUnsetEnvironment, "NAME"));

    signed char gains[kEqualizerBytes];
    for (int i = 0; i < kEqualizerBytes; i++)
        gains[i] = (signed char)(i - 32);
    ASSERT_EQ(0, m_client.Command(kMsgSetCodecEqualizer, gains));
    ASSERT_EQ(0, m_client.Command(kMsgGetCodecEqualizer));
    std::vector<Note> equalizers = m_client.SeenCodes(kMsgCodecEqualizer);
    ASSERT_EQ(1u, equalizers.size());

    // With the mask 0 only what the mask does not list arrives.
    ASSERT_EQ(0, m_client.Command(kMsgGetInputModule));
    ASSERT_EQ(0, SendDecoderCommandValue(m_client.Channel(), kMsgSetNotificationMask, 0));
    m_client.Seen().clear();
    SendDecoderCommandValue(m_client.Channel(), kMsgGetInputName, 0);
    SendDecoderCommandValue(m_client.Channel(), kMsgGetInputModule, 0);
    SendDecoderCommandValue(m_client.Channel(), kMsgPause, 0);
    SendDecoderCommandValue(m_client.Channel(), kMsgGetNotificationMask, 0);
    SendDecoderCommandValue(m_client.Channel(), kMsgPing, 5);
    ASSERT_TRUE(m_client.WaitFor(kMsgPong, 5));
    std::vector<int> codes;
    for (const Note& n : m_client.Seen())
        codes.push_back(n.code);
    EXPECT_EQ((std::vector<int>{kMsgInputModule, kMsgNotificationMask, kMsgPong}), codes);
    EXPECT_EQ(-1, m_client.SeenCodes(kMsgInputModule)[0].values[0]);
}

TEST(DecoderChannel, EventsArePrivateAndChannelsIndependent)
{
    CPlayerClient first;
    ASSERT_EQ(0, first.Created());
    ASSERT_EQ(kMsgReady, first.Next().code);
    // Nothing of the channel can be reached by name from elsewhere.
    for (const char* name : {"control init", "control done"})
        EXPECT_EQ(nullptr, OpenEventA(EVENT_ALL_ACCESS, FALSE, name)) << name;

    {
        CPlayerClient second;
        ASSERT_EQ(0, second.Created());
        EXPECT_EQ(4, GetDecoderPlayerPriority(second.Channel()));
        EXPECT_EQ(0, SetDecoderPlayerPriority(second.Channel(), 1));
        EXPECT_EQ(1, GetDecoderPlayerPriority(second.Channel()));
        EXPECT_EQ(kErrInvalidParameters, SetDecoderPlayerPriority(second.Channel(), 5));
    }
    // The second channel's end leaves the first one working.
    ASSERT_EQ(0, SendDecoderCommandValue(first.Channel(), kMsgPing, 9));
    Note pong = first.Next();
    EXPECT_EQ(kMsgPong, pong.code);
    EXPECT_EQ(9, pong.values[0]);
    EXPECT_EQ(kErrInvalidMessage, SendDecoderCommand0(first.Channel(), 110));
}

// A player main loop that answers Exit only after its client has stopped waiting.
int SlowToExit(DecoderChannel* channel, void* done)
{
    DecoderMessage m;
    while (WaitDecoderMessage(channel, &m, -1) == 0 && m.code != kMsgExit)
        ;
    Sleep(11000);
    SendDecoderCommand(channel, kMsgExited);
    SetEvent((HANDLE)done);
    return 0;
}

TEST(DecoderChannel, APlayerThatOutlivesItsClientKeepsAWorkingChannel)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DecoderChannel* channel = nullptr;
    ASSERT_EQ(0, CreateDecoderChannel(&channel, nullptr, SlowToExit, done));
    EXPECT_EQ(0, DeleteDecoderChannel(channel));
    // The player thread sends on the channel after the client gave up on it.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done, 30000));
    CloseHandle(done);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, kDecoderMessageBase + kMsgExited, kDecoderMessageBase + kMsgExited,
                             PM_REMOVE));
}

int CannotCreate(Decoder** decoder)
{
    *decoder = nullptr;
    return kErrOutOfMemory;
}

struct FailingStart {
    HANDLE done;
    int result;
};

// A player whose decoder cannot be made; it tells its test what the player returned.
int PlayerWithoutDecoder(DecoderChannel* channel, void* argument)
{
    FailingStart* start = (FailingStart*)argument;
    DecoderFactory create = CannotCreate;
    start->result = RunDecoderPlayer(channel, &create);
    SetEvent(start->done);
    return start->result;
}

TEST(DecoderChannel, APlayerWithoutItsDecoderReportsAndReturnsTheError)
{
    FailingStart start = {CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    DecoderChannel* channel = nullptr;
    ASSERT_EQ(0, CreateDecoderChannel(&channel, nullptr, PlayerWithoutDecoder, &start));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(start.done, 10000));
    EXPECT_EQ(kErrOutOfMemory, start.result);
    DecoderMessage m;
    ASSERT_EQ(0, WaitDecoderMessage(channel, &m, 0));
    EXPECT_EQ(kMsgErrorReport, m.code);
    EXPECT_EQ(kErrOutOfMemory, m.fields[1].value);
    EXPECT_EQ(kErrTimeout, WaitDecoderMessage(channel, &m, 0)); // no Ready
    DeleteDecoderChannel(channel);
    CloseHandle(start.done);
}

TEST(DecoderChannel, AWindowClientGetsWindowMessages)
{
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    DecoderChannel* channel = nullptr;
    ASSERT_EQ(0, CreateDecoderPlayer(&channel, window));
    // The decoder's messages are taken from the queue as they come, up to "ready".
    bool ready = WaitUntil([&] {
        MSG msg;
        while (PeekMessageA(&msg, window, kDecoderMessageBase, kDecoderMessageBase + kLastMessageCode, PM_REMOVE))
            if (msg.message == kDecoderMessageBase + kMsgReady)
                return true;
        return false;
    }, 10000);
    EXPECT_TRUE(ready);
    DeleteDecoderPlayer(channel);
    DestroyWindow(window);
    const char* major = nullptr;
    EXPECT_STREQ("1.3.1", GetDecoderVersion(&major, nullptr, nullptr));
    EXPECT_STREQ("1", major);
}

} // namespace
