// The jukebox from its library file to the loudspeaker: a saved library with
// albums on two changers of a simulated interface unit on a pty and an album
// of MP3 files; the start-up loads it, locates the unit and scans the bus; a
// play list across the first changer, the MP3 player and the second changer
// plays in order (the changers' words on the bus, the program's events, the
// MP3 player's samples on the ALSA file device); a disc taken out is seen by
// the changer, re-synced and saved; the close ends every thread.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "tests/support/ChangerBus.h"
#include "mp3/player/MPEGPlayerThread.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"
#include "mp3/decoder/tests/DecoderTestSupport.h"
#include "tests/support/AlsaFileDevice.h"
#include "tests/support/Waits.h"

#include <algorithm>

namespace {

const int kUnitPort = 8;   // the document checks COM1 to COM8
const char kAlbumMp3[] = "00000000000000B2";
// 8.2 s at 44.1 kHz: longer than the overlap, so the track is still to come
// when the changer before it ends.
const char kStream[] = "l3-sin1k0db.bit";
const DWORD kPatienceMs = 20000;

class ZymDocEndToEndTest : public DocFixture
{
protected:
    // The sound system reads its configuration at the first waveOut call.
    static void SetUpTestSuite() { s_device = new CAlsaFileDevice; }
    static void TearDownTestSuite()
    {
        delete s_device;
        s_device = nullptr;
    }

    ZymDocEndToEndTest() : m_pty(kUnitPort), m_unit(m_pty, 38400, 3.0), m_bus(m_unit, 0)
    {
        m_bus.Add(1, 107, 400).SetDisc(5, ChangerDisc{ { 100, 100 } });
        m_bus.Add(2, 107, 400).SetDisc(9, ChangerDisc{ { 100, 120 } });
        Option("COM Ports to Check", 1 << (kUnitPort - 1));
        Option("Music File Directory", m_folder.WindowsPath("").c_str());
        Option("Playlist Save and Restore", 0);
    }

    ~ZymDocEndToEndTest() override
    {
        if (m_doc)
            Close();
        EndMp3Player();
    }

    // The library file as a first run leaves it.
    void SaveLibraryFile()
    {
        Option("Auto Load DB", 0);
        Option("Auto Locate Tavlins", 0);
        Open();
        AddChangerAlbum(0, 5, { 100, 100 });
        AddChangerAlbum(1, 9, { 100, 120 });
        AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
        album.SetIdText(kAlbumMp3);
        album.SetTrackCount(1);
        album.SetFileLocation(0, "t0.mp3");
        album.SetPlayer(kMp3Player);
        album.SetSlot(0);
        album.SetPresent(true);
        m_doc->GetMusicLibrary().AppendAlbum(album);
        WriteBytes(m_folder.UnixPath("t0.mp3"), ReadBytes(TestStreamPath(kStream)));
        m_doc->GetMusicLibrary().MarkAllChanged();
        CMessageBoxScript boxes;
        boxes.Then(IDYES);   // the first save makes the file from the template
        ASSERT_TRUE(m_doc->SaveLibrary());
        Close();
        m_trace.Take();
    }

    // The library names a changer's disc by the id its lengths make.
    void AddChangerAlbum(int changer, int slot, const std::vector<int>& lengths)
    {
        AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
        album.SetTrackCount(int(lengths.size()));
        for (size_t t = 0; t < lengths.size(); ++t)
            album.SetPlayTime(int(t), lengths[t]);
        album.SetPlayer(changer);
        album.SetSlot(slot);
        // The id its lengths give, as identification makes it: the load
        // keeps it.
        album.SetIdText(album.ComputeAlbumId());
        album.SetPresent(true);
        m_doc->GetMusicLibrary().AppendAlbum(album);
    }

    // The album the loaded library holds in a changer's slot, present or not.
    AlbumRecord AlbumAt(int changer, int slot)
    {
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        for (int i = 0; i < library.GetAlbumCount(); ++i)
        {
            AlbumRecord album;
            if (library.GetAlbumAt(i, album) && album.GetStoredPlayer() == changer && album.GetSlot() == slot)
                return album;
        }
        ADD_FAILURE() << "no album in " << changer << "/" << slot;
        return AlbumRecord();
    }

    CString AlbumIn(int changer, int slot) { return AlbumAt(changer, slot).GetIdText(); }

    void EndMp3Player()
    {
        if (m_mp3Thread)
            EXPECT_TRUE(CMPEGPlayerThread::End(m_mp3Thread, kPatienceMs));
        m_mp3Thread = nullptr;
    }

    Texts EventsSoFar()
    {
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 6, "event ") == 0)
                m_events.push_back(line.substr(6));
        }
        return m_events;
    }

    bool Fired(const char* event)
    {
        Texts events = EventsSoFar();
        return std::find(events.begin(), events.end(), event) != events.end();
    }

    bool ChangerPlays(int id, int disc, int track)
    {
        return m_bus.Inspect(id, [&](CChangerModel& changer) {
            return changer.IsPlaying() && changer.Disc() == disc && changer.Track() == track;
        });
    }

    static CAlsaFileDevice* s_device;
    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CChangerBus m_bus;
    CMPEGPlayerThread* m_mp3Thread = nullptr;
    Texts m_events;
};

CAlsaFileDevice* ZymDocEndToEndTest::s_device = nullptr;

TEST_F(ZymDocEndToEndTest, APlayListAcrossTwoChangersAndTheMp3Player)
{
    ASSERT_TRUE(s_device->IsValid());
    ZYM_NEED_STREAMS();
    SaveLibraryFile();

    Option("Auto Load DB", 1);
    Option("Auto Locate Tavlins", 1);
    Option("Pre-Queue Mode", 2);
    Option("Fade Overlap Time", 2);
    m_frame.makePlayer = [this]() -> CMp3Control* {
        m_mp3Thread = CMPEGPlayerThread::Start(*m_doc);
        return m_mp3Thread ? &m_mp3Thread->GetPlayer() : nullptr;
    };
    Open();
    ASSERT_TRUE(m_mp3Thread != nullptr);
    // The start-up, then ticks until the library is in and "startup" fired.
    m_doc->RunTick();
    ASSERT_TRUE(WaitUntil([&] {
        m_doc->RunTick();
        return Fired("startup");
    }, kPatienceMs));
    ASSERT_EQ(2, m_doc->GetSonyControl()->GetPlayerCount());
    ASSERT_EQ(3, m_doc->GetMusicLibrary().GetAlbumCount());

    size_t playedBefore = s_device->Played().size();
    CPlayList& list = *m_doc->GetPlayList();
    list.AddItem(CLibItem(AlbumIn(0, 5), 0));
    list.AddItem(CLibItem(kAlbumMp3, 0));
    list.AddItem(CLibItem(AlbumIn(1, 9), 1));
    m_doc->OnPlaylistPlay();

    // The first changer plays; the second, further ahead, is prepared at its
    // disc and track (pre-queue mode 2).
    ASSERT_TRUE(WaitUntil([&] { return ChangerPlays(1, 5, 1); }, kPatienceMs));
    EXPECT_TRUE(m_unit.WaitForReceived(CTavlinSimulator::Message(0, CTavlinSimulator::Bytes({ 0x92, 0x51, 0x09, 0x02 })),
                                       5000));
    // The changer's track runs to its end: the MP3 entry follows.
    m_bus.RunSeconds(101);
    ASSERT_TRUE(WaitUntil([&] { return Fired("using_player[mp3]"); }, kPatienceMs));
    ASSERT_TRUE(WaitUntil([&] { return ChangerPlays(2, 9, 2); }, kPatienceMs));
    EXPECT_TRUE(WaitUntil([&] { return Fired("playlist_pointer[3]"); }, kPatienceMs));

    Texts events = EventsSoFar();
    Texts order;
    for (const std::string& event : events)
    {
        if (event.compare(0, 13, "using_player[") == 0 || event.compare(0, 17, "playlist_pointer[") == 0 ||
            event == "playlist_play")
            order.push_back(event);
    }
    // Each next player starts within the overlap time before the entry
    // ahead of it ends; the changer's track ends at once, the MP3 track
    // after its 8 s.
    std::string seen;
    for (const std::string& event : order)
        seen += event + " ";
    ASSERT_EQ(6u, order.size()) << seen;
    EXPECT_EQ(Texts({ "playlist_play", "using_player[cd1]" }), Texts(order.begin(), order.begin() + 2));
    std::sort(order.begin() + 2, order.begin() + 4);
    EXPECT_EQ(Texts({ "playlist_pointer[2]", "using_player[mp3]" }), Texts(order.begin() + 2, order.begin() + 4));
    EXPECT_EQ(Texts({ "using_player[cd2]", "playlist_pointer[3]" }), Texts(order.begin() + 4, order.end()));

    // Stopped once the player control has heard the changer play, the
    // changer stops.
    ASSERT_TRUE(WaitUntil([&] { return m_doc->GetSonyControl()->IsAnyPlaying() != FALSE; }, kPatienceMs));
    m_doc->OnPlaylistStop();
    EXPECT_TRUE(WaitUntil([&] { return !ChangerPlays(2, 9, 2); }, kPatienceMs));

    // The first changer's disc is taken out. Asked for it again, the changer
    // reports the slot empty; the tick re-syncs the library with the changer
    // and the next automatic save (on by default, each minute) writes it.
    m_bus.Inspect(1, [](CChangerModel& changer) {
        changer.SetDisc(5, ChangerDisc());
        return 0;
    });
    m_doc->GetClock().Set(time(nullptr));
    list.Clear();
    list.AddItem(CLibItem(AlbumIn(0, 5), 0));
    m_doc->OnPlaylistPlay();
    ASSERT_TRUE(WaitUntil([&] {
        m_doc->RunTick();
        return !AlbumAt(0, 5).IsPresent();
    }, kPatienceMs));
    EXPECT_LT(0, m_doc->GetMusicLibrary().CountChanged());
    m_doc->GetClock().Advance(61 * 1000);
    m_doc->RunTick();
    EXPECT_EQ(0, m_doc->GetMusicLibrary().CountChanged());
    EXPECT_TRUE(Fired("library_save_end"));

    Close();
    EndMp3Player();
    std::string sound = WithoutSilence(s_device->Played().substr(playedBefore));
    std::string expected = WithoutSilence(DecodeWithDecoder(WindowsPath(TestStreamPath(kStream))));
    ASSERT_FALSE(expected.empty());
    EXPECT_NE(std::string::npos, sound.find(expected.substr(0, 4096)));

    // The file says so at the next start.
    Option("Auto Locate Tavlins", 0);
    m_frame.player = &m_frame.mp3;
    Open();
    ASSERT_TRUE(WaitUntil([&] {
        m_doc->RunTick();
        return !m_doc->GetMusicLibrary().IsLoading() && m_doc->GetMusicLibrary().GetAlbumCount() == 3;
    }, kPatienceMs)) << m_doc->GetMusicLibrary().GetAlbumCount();
    EXPECT_FALSE(AlbumAt(0, 5).IsPresent());
    EXPECT_TRUE(AlbumAt(1, 9).IsPresent());
}

} // namespace
