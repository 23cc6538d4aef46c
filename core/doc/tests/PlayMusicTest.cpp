#include "tests/support/TestFramework.h"

#include "core/players/tests/StandIns.h"
#include "core/doc/PlayMusic.h"
#include "core/players/SonyControl.h"
#include "core/devpath/DevicePath.h"
#include "mp3/decoder/DecoderPlayer.h"
#include "mp3/player/MPEGRequests.h"
#include "library/playlist/PlayList.h"

#include <afxmt.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const char kAlbumD[] = "000000000000000D";   // MP3 files Z:\music\d0.mp3, d1.mp3
const char kAlbumE[] = "000000000000000E";   // MP3 file Z:\music\e0.mp3

// The document as the player control and the playing thread see it: no
// changers, the MP3 stand-in, a library of two MP3 albums and a set clock.
class CDocumentStandIn : public CControlHost, public CPlayingHost
{
public:
    // The MP3 stand-in unless another player is given.
    explicit CDocumentStandIn(CMp3Control* player = nullptr) : list(library), m_player(player ? player : &mp3)
    {
        library.SetHost(&m_libraryHost);
        AddAlbum(kAlbumD, 2);
        AddAlbum(kAlbumE, 1);
        control.reset(new CSonyControl(this));
        m_fired = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~CDocumentStandIn() override
    {
        control.reset();
        CloseHandle(m_fired);
    }

    // CControlHost
    CDevicePath& GetDevicePath() override { return m_path; }
    void DebugEvent(const char*) override {}
    double GetFirmwareVersion() override { return 3.0; }
    BOOL DetectSkippingDiscs() override { return FALSE; }
    BOOL VerifyDiscAt(int, int, int, int, int) override { return TRUE; }
    void SetFirmwareVersion(double) override {}
    CMusicLibrary& GetLibrary() override { return library; }
    CMp3Control* GetMp3Player() override { return m_player; }
    BOOL IsDiscSearchRunning() override { return FALSE; }
    BOOL IsLibraryLoading() override { return FALSE; }
    void IdentifyDiscs(int) override {}
    void FatalError(const char* text) override { ADD_FAILURE() << text; }

    // Both
    void FireEvent(const char* text) override
    {
        CSingleLock hold(&m_lock, TRUE);
        m_events.push_back(text);
        SetEvent(m_fired);
    }
    time_t Now() override { return now; }

    // CPlayingHost
    CPlayList& GetCurrentPlayList() override { return list; }
    CSonyControl& GetPlayerControl() override { return *control; }
    // The step asks for it while it works out the players' actions.
    int GetPreQueueMode() override
    {
        if (duringStep)
        {
            auto run = duringStep;
            duringStep = nullptr;
            run();
        }
        return 2;
    }
    int GetFadeOverlapTime() override { return 0; }
    void ThreadStarted(const char* name) override { threads.push_back(std::string("+") + name); }
    void ThreadEnded() override { threads.push_back("-"); }
    DWORD WaitForThread(HANDLE thread, DWORD ms) override { return WaitForSingleObject(thread, ms); }

    std::vector<std::string> TakeEvents()
    {
        CSingleLock hold(&m_lock, TRUE);
        std::vector<std::string> events;
        events.swap(m_events);
        ResetEvent(m_fired);
        return events;
    }
    bool WaitForEvent() { return WaitForSingleObject(m_fired, 10000) == WAIT_OBJECT_0; }

    std::vector<std::string> TakeRequests()
    {
        std::vector<std::string> requests;
        requests.swap(mp3.requests);
        return requests;
    }

    CMusicLibrary library;
    CPlayList list;
    CFakeMp3 mp3;
    std::unique_ptr<CSonyControl> control;
    time_t now = 1000000;
    std::vector<std::string> threads;
    // Run once, in the middle of the next step.
    std::function<void()> duringStep;

private:
    void AddAlbum(const char* id, int tracks)
    {
        AlbumRecord album = library.NewAlbum();
        album.SetIdText(id);
        album.SetTrackCount(tracks);
        for (int t = 0; t < tracks; ++t)
        {
            album.SetPlayTime(t, 100);
            album.SetFileLocation(t, (std::string("Z:\\music\\") + char(tolower(id[15])) + std::to_string(t) + ".mp3").c_str());
        }
        album.SetPlayer(kMp3Player);
        album.SetSlot(0);
        album.SetPresent(true);
        library.AppendAlbum(album);
    }

    CLibraryHostStandIn m_libraryHost;
    CMp3Control* m_player;
    CNoDevicePath m_path;
    CCriticalSection m_lock;
    std::vector<std::string> m_events;
    HANDLE m_fired;
};

typedef std::vector<std::string> Texts;

// A list of two tracks played to its end, step by step: what the MP3 player is
// asked and which events fire.
TEST(PlayMusic, AListPlaysToItsEndAndStops)
{
    CDocumentStandIn doc;
    CPlayMusic music(doc);
    doc.list.AddItem(CLibItem(kAlbumD, 0));
    doc.list.AddItem(CLibItem(kAlbumD, 1));

    enum Change { kNothing, kPressPlay, kMp3PlaysTrack0, kMp3PlaysTrack1, kMp3Ends };
    const struct
    {
        Change change;
        Texts requests;
        Texts events;
        int pointer;
    } steps[] = {
        { kNothing, {}, {}, 0 },
        { kPressPlay, { "play D 0" }, { "playlist_play", "using_player[mp3]" }, 0 },
        { kMp3PlaysTrack0, { "play D 0" }, {}, 0 },
        { kNothing, { "play D 0" }, {}, 0 },
        { kMp3PlaysTrack1, { "play D 1" }, { "playlist_pointer[2]" }, 1 },
        { kNothing, { "play D 1" }, {}, 1 },
        { kMp3Ends, { "stop" }, { "playlist_pointer[1]", "playlist_stop" }, 0 },
        { kNothing, {}, {}, 0 },
    };
    int row = 0;
    for (const auto& step : steps)
    {
        SCOPED_TRACE(row++);
        switch (step.change)
        {
        case kNothing:
            break;
        case kPressPlay:
            doc.list.SetPlaying();
            break;
        case kMp3PlaysTrack0:
        case kMp3PlaysTrack1:
            doc.mp3.playing = TRUE;
            doc.mp3.albumId = kAlbumD;
            doc.mp3.track = step.change == kMp3PlaysTrack0 ? 0 : 1;
            break;
        case kMp3Ends:
            doc.mp3.playing = FALSE;
            break;
        }
        doc.now += 1;
        music.Step();
        EXPECT_EQ(step.requests, doc.TakeRequests());
        EXPECT_EQ(step.events, doc.TakeEvents());
        EXPECT_EQ(step.pointer, doc.list.GetPointer());
    }
    EXPECT_TRUE(doc.list.IsStopped());
    EXPECT_EQ(0, doc.mp3.playState);
    EXPECT_EQ(kActionIdle, music.GetLastAction(0));
}

TEST(PlayMusic, PausingAndStoppingByTheUser)
{
    CDocumentStandIn doc;
    CPlayMusic music(doc);
    doc.list.AddItem(CLibItem(kAlbumE, 0));
    doc.list.AddItem(CLibItem(kAlbumD, -1));
    doc.list.SetPointer(1);

    doc.list.SetPlaying();
    music.Step();
    EXPECT_EQ(Texts({ "play D -1" }), doc.TakeRequests());
    doc.list.SetPaused();
    music.Step();
    EXPECT_EQ(Texts({ "pause D -1" }), doc.TakeRequests());
    EXPECT_EQ(Texts({ "playlist_play", "using_player[mp3]", "playlist_pause" }), doc.TakeEvents());
    doc.mp3.playing = TRUE;
    doc.mp3.albumId = kAlbumD;
    doc.list.SetPlaying();
    music.Step();
    // A pause came in between: the player is taken into use again.
    EXPECT_EQ(Texts({ "playlist_play", "using_player[mp3]" }), doc.TakeEvents());
    doc.list.SetStopped();
    music.Step();
    music.Step();
    EXPECT_EQ(Texts({ "play D -1", "stop" }), doc.TakeRequests());
    EXPECT_EQ(Texts({ "playlist_stop" }), doc.TakeEvents());
    EXPECT_EQ(1, doc.list.GetPointer());
}

// Play or Stop pressed while a step is under way (its players' requests take
// time) is a change to the next step: its event fires and the players follow.
TEST(PlayMusic, AStateChangedDuringAStepIsNotLost)
{
    const struct
    {
        const char* name;
        bool playingBefore;
        Texts requests, events;
    } cases[] = {
        { "stop pressed", true, { "stop" }, { "playlist_stop" } },
        { "play pressed", false, { "play D 0" }, { "playlist_play", "using_player[mp3]" } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CDocumentStandIn doc;
        CPlayMusic music(doc);
        doc.list.AddItem(CLibItem(kAlbumD, 0));
        if (c.playingBefore)
        {
            doc.list.SetPlaying();
            music.Step();
            doc.mp3.playing = TRUE;
            doc.mp3.albumId = kAlbumD;
            doc.mp3.track = 0;
        }
        doc.duringStep = [&doc, &c] {
            if (c.playingBefore)
                doc.list.SetStopped();
            else
                doc.list.SetPlaying();
        };
        music.Step();
        doc.TakeRequests();
        doc.TakeEvents();
        music.Step();
        EXPECT_EQ(c.requests, doc.TakeRequests());
        EXPECT_EQ(c.events, doc.TakeEvents());
    }
}

// The MP3 player's own request logic; the test plays its thread, carrying out
// nothing and reporting the decoder's states itself.
class CRecordedMp3 : public CMPEGRequests
{
public:
    HANDLE GetStatusEvent() const override { return nullptr; }
    Texts TakePosted()
    {
        Texts taken;
        taken.swap(m_posted);
        return taken;
    }

protected:
    void PostRequest(UINT message) override
    {
        static const char* const kNames[] = { "open", "play", "stop", "pause" };
        m_posted.push_back(kNames[message - kMp3Open]);
    }
    void SendCommand(int) override {}

private:
    Texts m_posted;
};

// A track that ends while a step is under way, after the step found it still
// playing, is over: the step's play request must not start it again, and the
// next step moves on. Played again on purpose (the same track next in the
// list, or a list of one in a loop), it starts again.
TEST(PlayMusic, ATrackEndingDuringAStepIsNotStartedAgain)
{
    const Texts start = { "stop", "open", "play" };
    const struct
    {
        const char* name;
        std::vector<CLibItem> entries;
        bool loop;
        bool endsDuringStep;
        Texts endingStep;
        int pointerAfterEnd;
        Texts nextStep;
        int pointerAfterNext;
    } cases[] = {
        { "next track follows", { CLibItem(kAlbumD, 0), CLibItem(kAlbumE, 0) }, false, true, {}, 0, start, 1 },
        { "next track, ended between steps", { CLibItem(kAlbumD, 0), CLibItem(kAlbumE, 0) }, false, false, start, 1, {}, 1 },
        { "same track next", { CLibItem(kAlbumD, 0), CLibItem(kAlbumD, 0) }, false, true, {}, 0, { "play" }, 1 },
        { "same track next, ended between steps", { CLibItem(kAlbumD, 0), CLibItem(kAlbumD, 0) }, false, false, { "play" }, 1, {}, 1 },
        { "one track in a loop", { CLibItem(kAlbumD, 0) }, true, true, {}, 0, { "play" }, 0 },
        { "one track in a loop, ended between steps", { CLibItem(kAlbumD, 0) }, true, false, { "play" }, 0, {}, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CRecordedMp3 mp3;
        CDocumentStandIn doc(&mp3);
        CPlayMusic music(doc);
        for (const CLibItem& entry : c.entries)
            doc.list.AddItem(entry);
        doc.list.SetLoop(c.loop);
        doc.list.SetPlaying();
        music.Step();
        ASSERT_EQ(start, mp3.TakePosted());
        mp3.OnPlayerState(kPlayerPlaying);
        music.Step();
        ASSERT_EQ(Texts(), mp3.TakePosted());

        auto end = [&mp3] { mp3.OnPlayerState(kPlayerInputEnd); };
        if (c.endsDuringStep)
            doc.duringStep = end;
        else
            end();
        music.Step();
        EXPECT_EQ(c.endingStep, mp3.TakePosted());
        EXPECT_EQ(c.pointerAfterEnd, doc.list.GetPointer());
        music.Step();
        EXPECT_EQ(c.nextStep, mp3.TakePosted());
        EXPECT_EQ(c.pointerAfterNext, doc.list.GetPointer());
        EXPECT_TRUE(mp3.IsPlaying());
    }
}

TEST(PlayMusic, TheThreadRegistersStepsAndEnds)
{
    CDocumentStandIn doc;
    {
        CPlayMusic music(doc);
        doc.list.AddItem(CLibItem(kAlbumE, 0));
        ASSERT_TRUE(music.Start());
        EXPECT_TRUE(music.IsRunning());
        doc.list.SetPlaying();
        ASSERT_TRUE(doc.WaitForEvent());
        EXPECT_TRUE(music.Stop());
        EXPECT_FALSE(music.IsRunning());
    }
    EXPECT_EQ(Texts({ "+PlayMusic", "-" }), doc.threads);
    Texts events = doc.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ("playlist_play", events[0]);
}

} // namespace
