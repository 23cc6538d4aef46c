// The MP3 player on its own thread, playing for real: the decoder player sends
// the samples through Wine's waveOut to the ALSA file device, or to a WAV
// file, and its notifications reach the dialog's flags and the library.
#include "tests/support/TestFramework.h"

#include <atomic>
#include <string>
#include <vector>

#include "mp3/player/MPEGPlayerThread.h"
#include "mp3/decoder/tests/DecoderTestSupport.h"
#include "library/records/MusicLibrary.h"
#include "tests/support/AlsaFileDevice.h"
#include "tests/support/TempFolder.h"

namespace {

// Short conformance streams at 44.1 kHz: 0.8 s stereo, 1.6 s mono, 8.2 s.
const char kShort[] = "l3-hecommon.bit";
const char kMono[] = "l3-si_block.bit";
const char kLong[] = "l3-sin1k0db.bit";
const char kAlbumId[] = "00000000000000A1";
// A bound against hanging, far above any wait here.
const DWORD kPatienceMs = 30000;
const DWORD kEndMs = 15000;

// The document: a library, the music folder and the output name.
class CMp3HostStandIn : public CMp3Host
{
public:
    CMusicLibrary& GetLibrary() override { return library; }
    CString GetMusicFileDirectory() override { return musicFolder.c_str(); }
    CString GetOutputName() override { return outputName.c_str(); }
    void ThreadStarted(const char* name) override { threads.push_back(std::string("start ") + name); }
    void ThreadEnded() override { threads.push_back("end"); }
    void ReportNoOutputDevice() override { noOutputReports++; }

    CMusicLibrary library;
    std::string musicFolder;
    std::string outputName = "(default)";
    std::vector<std::string> threads;
    std::atomic<int> noOutputReports{0};
};

class MPEGPlayerTest : public ::testing::Test
{
protected:
    // The sound system reads its configuration at the first waveOut call.
    static void SetUpTestSuite() { s_device = new CAlsaFileDevice; }
    static void TearDownTestSuite()
    {
        delete s_device;
        s_device = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_device->IsValid());
        ASSERT_TRUE(m_music.IsValid());
        std::string data = TestDataFolder("mpeg");
        ZYM_NEED_TEST_DATA(data, "mpeg");
        m_host.musicFolder = m_music.WindowsPath("");
    }

    void TearDown() override { End(); }

    // Track files named t0.mp3, t1.mp3, ... with the given streams; an empty
    // name leaves that file missing.
    AlbumRecord MakeAlbum(const std::vector<std::string>& streams)
    {
        AlbumRecord album = m_host.library.NewAlbum();
        album.SetIdText(kAlbumId);
        album.SetPlayer(kMp3Player);
        album.SetTrackCount((int)streams.size());
        album.AllocTracks();
        for (size_t i = 0; i < streams.size(); i++) {
            std::string name = "t" + std::to_string(i) + ".mp3";
            album.SetFileLocation((int)i, name.c_str());
            if (!streams[i].empty())
                WriteBytes(m_music.UnixPath(name.c_str()), ReadBytes(TestStreamPath(streams[i])));
        }
        m_host.library.AppendAlbum(album);
        return album;
    }

    CMPEGDlg& Start()
    {
        m_thread = CMPEGPlayerThread::Start(m_host);
        EXPECT_TRUE(m_thread);
        return m_thread->GetPlayer();
    }

    // The decoder player drains the output after it reported the end of the
    // input; once the thread has ended, every sample has reached the device.
    void End()
    {
        if (m_thread) {
            EXPECT_TRUE(CMPEGPlayerThread::End(m_thread, kEndMs));
        }
        m_thread = nullptr;
    }

    // Waits on the player's status event until done holds.
    template <typename Done>
    bool WaitUntil(CMPEGDlg& player, Done done)
    {
        DWORD start = GetTickCount();
        for (;;) {
            ResetEvent(player.GetStatusEvent());
            if (done())
                return true;
            DWORD spent = GetTickCount() - start;
            if (spent >= kPatienceMs)
                return false;
            WaitForSingleObject(player.GetStatusEvent(), kPatienceMs - spent);
        }
    }

    bool WaitForEnd(CMPEGDlg& player)
    {
        return WaitUntil(player, [&] { return player.IsFinished() && !player.IsPlaying(); });
    }

    static std::string Decoded(const char* stream) { return DecodeWithDecoder(WindowsPath(TestStreamPath(stream))); }

    // Each stream's sound, in order, in what the device played after from.
    static void ExpectPlayedInOrder(const std::string& played, const std::vector<const char*>& streams)
    {
        std::string sound = WithoutSilence(played);
        size_t at = 0;
        for (const char* stream : streams) {
            std::string expected = WithoutSilence(Decoded(stream));
            ASSERT_FALSE(expected.empty()) << stream;
            at = sound.find(expected.substr(0, 4096), at);
            ASSERT_NE(std::string::npos, at) << stream << " not played";
            EXPECT_EQ(0, sound.compare(at, expected.size(), expected)) << stream;
            at += expected.size();
        }
    }

    static CAlsaFileDevice* s_device;
    CTempFolder m_music{"zym-music"};
    CMp3HostStandIn m_host;
    CMPEGPlayerThread* m_thread = nullptr;
};

CAlsaFileDevice* MPEGPlayerTest::s_device = nullptr;

// With "(default)" the wave mapper plays: every track reaches the device, each
// after the output closed and opened again at the end of the one before.
TEST_F(MPEGPlayerTest, AWholeAlbumPlaysThroughTheSoundDevice)
{
    AlbumRecord album = MakeAlbum({kShort, kMono, kShort});
    size_t before = s_device->Played().size();
    CMPEGDlg& player = Start();
    EXPECT_EQ(std::vector<std::string>{"start MP3"}, m_host.threads);
    EXPECT_TRUE(player.Play(album, -1));
    EXPECT_TRUE(player.IsBusy());
    ASSERT_TRUE(WaitForEnd(player));
    EXPECT_EQ(2, player.GetTrack());
    EXPECT_FALSE(player.HasError());
    EXPECT_FALSE(player.IsBusy());
    End();
    ExpectPlayedInOrder(s_device->Played().substr(before), {kShort, kMono, kShort});
}

// Missing, empty, cut or foreign files: the album goes on with the next track;
// a single track ends finished, never hanging the thread. Each case has a
// thread of its own: notifications about one item may still come after the
// player has reported it finished.
TEST_F(MPEGPlayerTest, FilesThatCannotPlay)
{
    const std::string stream = ReadBytes(TestStreamPath(kShort));
    const struct {
        const char* name;
        bool missing;
        std::string bytes;
        bool error;
    } cases[] = {
        {"missing", true, "", true},
        {"empty", false, "", false},
        {"cut in its first frame", false, stream.substr(0, 100), false},
        {"not MPEG", false, std::string(20000, 'x'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.library.RemoveAllAlbums();
        AlbumRecord album = MakeAlbum({kShort, "", kShort});
        if (!c.missing)
            WriteBytes(m_music.UnixPath("t1.mp3"), c.bytes);
        size_t before = s_device->Played().size();
        CMPEGDlg& player = Start();
        EXPECT_TRUE(player.Play(album, -1));
        ASSERT_TRUE(WaitForEnd(player));
        EXPECT_EQ(2, player.GetTrack());
        End();
        ExpectPlayedInOrder(s_device->Played().substr(before), {kShort, kShort});

        CMPEGDlg& single = Start();
        EXPECT_TRUE(single.Play(album, 1));
        ASSERT_TRUE(WaitForEnd(single));
        EXPECT_EQ(c.error, (bool)single.HasError());
        EXPECT_FALSE(single.IsBusy());
        End();
    }
}

// An output that will not open, by the device's own code or by the open
// failing plainly: the album stops at its first track with the error flag,
// not finished (the play list would move on as if it had played), and the
// program hears of it once.
TEST_F(MPEGPlayerTest, AnOutputThatWillNotOpenStopsTheAlbumAndIsReported)
{
    const struct {
        const char* name;
        std::string output;
    } cases[] = {
        {"a wave device that does not exist", "/dev/wave/9"},
        {"a file output in a missing folder", "wav:" + m_music.WindowsPath("missing\\out.wav")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.library.RemoveAllAlbums();
        AlbumRecord album = MakeAlbum({kShort, kShort, kShort});
        m_host.outputName = c.output;
        m_host.noOutputReports = 0;
        size_t before = s_device->Played().size();
        CMPEGDlg& player = Start();
        EXPECT_TRUE(player.Play(album, -1));
        ASSERT_TRUE(WaitUntil(player, [&] { return player.HasError() || player.IsFinished(); }));
        EXPECT_TRUE(player.HasError());
        EXPECT_FALSE(player.IsFinished());
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_FALSE(player.IsBusy());
        EXPECT_EQ(0, player.GetTrack());
        // Asked again, as the playing thread does at every step: no new attempt.
        player.Play(album, -1);
        End();
        EXPECT_EQ(1, m_host.noOutputReports);
        EXPECT_EQ(before, s_device->Played().size());
    }
}

// A "wav:" output name writes the samples to that file; the duration the
// decoder reads corrects the track's length in the library.
TEST_F(MPEGPlayerTest, AWavOutputTakesTheSamplesAndTheLengthIsCorrected)
{
    AlbumRecord album = MakeAlbum({kShort, kLong});
    ASSERT_TRUE(album.SetPlayTime(1, 180));
    m_host.library.RemoveAllAlbums();
    m_host.library.AppendAlbum(album);
    m_host.outputName = "wav:" + m_music.WindowsPath("out.wav");
    CMPEGDlg& player = Start();
    EXPECT_TRUE(player.Play(album, 1));
    ASSERT_TRUE(WaitForEnd(player));
    int minutes, seconds;
    player.GetDuration(&minutes, &seconds);
    EXPECT_EQ(0, minutes);
    EXPECT_EQ(8, seconds);
    End();
    std::string wav = ReadBytes(m_music.UnixPath("out.wav"));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_TRUE(wav.substr(44) == Decoded(kLong));
    AlbumRecord stored;
    ASSERT_TRUE(m_host.library.GetAlbum(album, stored));
    EXPECT_EQ(8, stored.GetPlayTime(1));
    EXPECT_TRUE(m_host.library.IsModified());
}

// With an overlap of 5 s, finished comes while the track still plays, in time
// for the next entry to start.
TEST_F(MPEGPlayerTest, TheOverlapFinishesATrackBeforeItsEnd)
{
    AlbumRecord album = MakeAlbum({kLong});
    CMPEGDlg& player = Start();
    player.SetFades(0, 0, 5);
    EXPECT_TRUE(player.Play(album, 0));
    ASSERT_TRUE(WaitUntil(player, [&] { return player.IsFinished() || player.HasError(); }));
    EXPECT_FALSE(player.HasError());
    EXPECT_TRUE(player.IsPlaying());
    int minutes, seconds;
    player.GetPosition(&minutes, &seconds);
    EXPECT_LT(seconds, 8);
    player.StopPlayback();
    ASSERT_TRUE(WaitUntil(player, [&] { return !player.IsPlaying(); }));
}

// Pause holds the item, play resumes it, a cue loads it paused at its start,
// stop ends it; the device is closed whenever nothing plays.
TEST_F(MPEGPlayerTest, PauseResumeCueAndStop)
{
    AlbumRecord album = MakeAlbum({kLong, kShort});
    CMPEGDlg& player = Start();
    EXPECT_TRUE(player.Cue(album, 1));
    // Loaded and held: the player is no longer busy although nothing plays.
    ASSERT_TRUE(WaitUntil(player, [&] { return player.IsPaused() && !player.IsBusy(); }));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.Cue(album, 1));
    EXPECT_TRUE(player.Play(album, 0));
    ASSERT_TRUE(WaitUntil(player, [&] { return player.IsPlaying(); }));
    EXPECT_TRUE(player.IsPlayingItem(album, 0));
    EXPECT_TRUE(player.Pause(album, 0));
    ASSERT_TRUE(WaitUntil(player, [&] { return player.IsPaused() && !player.IsPlaying(); }));
    EXPECT_TRUE(player.IsPausedItem(album, 0));
    EXPECT_FALSE(player.Pause(album, 0));
    EXPECT_TRUE(player.Play(album, 0));
    ASSERT_TRUE(WaitUntil(player, [&] { return player.IsPlaying(); }));
    EXPECT_TRUE(player.StopPlayback());
    ASSERT_TRUE(WaitUntil(player, [&] { return !player.IsPlaying() && !player.IsPaused(); }));
    EXPECT_TRUE(player.IsFinished());
    EXPECT_FALSE(player.HasError());
}

// WM_QUIT ends the thread: the dialog and its decoder player go, and the
// thread leaves the crash link.
TEST_F(MPEGPlayerTest, QuitEndsTheThread)
{
    AlbumRecord album = MakeAlbum({kLong});
    CMPEGDlg& player = Start();
    HWND window = player.GetSafeHwnd();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(player.Play(album, 0));
    ASSERT_TRUE(WaitUntil(player, [&] { return player.IsPlaying(); }));
    EXPECT_TRUE(CMPEGPlayerThread::End(m_thread, kEndMs));
    m_thread = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ((std::vector<std::string>{"start MP3", "end"}), m_host.threads);
}

}  // namespace
