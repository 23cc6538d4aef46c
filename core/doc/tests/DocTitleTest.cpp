// The main window's title and the playing notifications over a table of
// player states: two changers and the MP3 player, the one whose play started
// last followed; "time[...]" and "playing[...]" only under their flags; the
// selection follows the playing entry unless the user acted in the last 20
// seconds; the window's text is set only when it changes.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "core/doc/DocCommandTargets.h"
#include "core/doc/HandOver.h"

#include "core/players/SonyPlayer.h"

namespace {

const char kDiscA[] = "00000000000000D1";
const char kDiscB[] = "00000000000000D2";
const char kFiles[] = "00000000000000F1";

// A window that counts the texts it is given.
class CCountingWnd : public CWnd
{
public:
    int setTexts = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETTEXT)
            ++setTexts;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct PlayerState
{
    int playing;
    time_t start;
    int disc; // the MP3 player: the track's file number
    int track;
    int minutes, seconds;
};

class DocTitleTest : public DocFixture
{
protected:
    void SetUp() override
    {
        Open();
        AddAlbum(kDiscA, 0, 5, "Disc A");
        AddAlbum(kDiscB, 1, 7, "Disc B");
        AddAlbum(kFiles, kMp3Player, 0, "Files");
        CSonyControl& control = *m_doc->GetSonyControl();
        ASSERT_TRUE(control.AddPlayer(0, 0, 0, FALSE));
        ASSERT_TRUE(control.AddPlayer(1, 0, 0, FALSE));
        ASSERT_TRUE(m_window.CreateEx(0, AfxRegisterWndClass(0), "ZYM", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
        m_app.m_pMainWnd = &m_window;
        m_doc->GetClock().Set(100000);
        m_doc->GetOptions().m_page2.m_trackPlayers = 0;
        m_trace.Take();
    }
    // The changers are switched off at the close, while the boxes are answered.
    void TearDown() override
    {
        Close();
        m_app.m_pMainWnd = nullptr;
        m_window.DestroyWindow();
    }

    void AddAlbum(const char* id, int player, int slot, const char* title)
    {
        AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
        album.SetIdText(id);
        album.SetTrackCount(2);
        album.SetTitle(kAlbumIndex, title);
        album.SetArtist(kAlbumIndex, "Artist");
        for (int t = 0; t < 2; ++t)
        {
            album.SetTitle(t, ("Song " + std::to_string(t + 1)).c_str());
            album.SetPlayTime(t, 185);
            album.SetFileLocation(t, ("Z:\\music\\f" + std::to_string(t + 1) + ".mp3").c_str());
        }
        album.SetPlayer(player);
        album.SetSlot(slot);
        album.SetPresent(true);
        m_doc->GetMusicLibrary().AppendAlbum(album);
    }

    void SetChanger(int index, const PlayerState& state)
    {
        CSonyPlayer& changer = *m_doc->GetSonyControl()->GetPlayer(index);
        changer.ChangeState([&state](ChangerState& s) {
            s.playing = state.playing;
            s.playStart = state.start;
            s.currentDisc = state.disc;
            s.currentTrack = state.track;
            s.elapsedMinutes = state.minutes;
            s.elapsedSeconds = state.seconds;
        });
    }
    void SetMp3(const PlayerState& state)
    {
        CFakeMp3& mp3 = m_frame.mp3;
        mp3.playing = state.playing;
        mp3.playStart = state.start;
        mp3.location = ("Z:\\MUSIC\\F" + std::to_string(state.disc) + ".mp3").c_str();
        mp3.track = state.track - 1;
        mp3.minutes = state.minutes;
        mp3.seconds = state.seconds;
    }
    std::string Title()
    {
        CString text;
        m_window.GetWindowText(text);
        return std::string(text);
    }
    Texts Events()
    {
        Texts events;
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 6, "event ") == 0)
                events.push_back(line.substr(6));
        }
        return events;
    }
    CDocTitle& TitleOf() { return m_doc->GetCommandTargets().title; }

    CCountingWnd m_window;
    // No unit answers for the changers' devices: each word they send says so.
    CMessageBoxScript m_deviceBoxes;
};

TEST_F(DocTitleTest, TheTitleFollowsThePlayerThatStartedLast)
{
    const PlayerState off = { 0, 0, -1, -1, -1, -1 };
    const struct
    {
        PlayerState first, second, mp3;
        const char* title;
        int player;
    } cases[] = {
        { off, off, off, "ZYM", -1 },
        { { 1, 10, 5, 2, 1, 7 }, off, off, "ZYM - Disc A / Artist / Song 2 [1:07/ 3:05]", 0 },
        { { 1, 10, 5, 2, 1, 7 }, { 1, 20, 7, 1, 0, 5 }, off, "ZYM - Disc B / Artist / Song 1 [0:05/ 3:05]", 1 },
        { { 1, 30, 5, 1, 2, 0 }, { 1, 20, 7, 1, 0, 5 }, off, "ZYM - Disc A / Artist / Song 1 [2:00/ 3:05]", 0 },
        { { 1, 30, 5, 1, 2, 0 }, off, { 1, 40, 2, 2, 0, 9 }, "ZYM - Files / Artist / Song 2 [0:09/ 3:05]", kMp3Player },
        { { 1, 30, 5, 1, 2, 0 }, off, { 1, 25, 2, 2, 0, 9 }, "ZYM - Disc A / Artist / Song 1 [2:00/ 3:05]", 0 },
        // Paused with its flag clear: not playing.
        { { 0, 30, 5, 1, 2, 0 }, off, { 0, 40, 2, 2, 0, 9 }, "ZYM", -1 },
        // A stamp of 0 never counts.
        { { 1, 0, 5, 1, 2, 0 }, off, off, "ZYM", -1 },
        { { 1, 10, 5, 0, 0, 1 }, off, off, "ZYM - Disc A", 0 },
        { { 1, 10, 5, 3, 0, 1 }, off, off, "ZYM - Disc A", 0 },
        { { 1, 10, 9, 1, 0, 1 }, off, off, "ZYM - (Unknown)", 0 },
        { off, off, { 1, 40, 3, 1, 0, 1 }, "ZYM - (Unknown)", kMp3Player },
    };
    int previous = -1;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.title);
        SetChanger(0, c.first);
        SetChanger(1, c.second);
        SetMp3(c.mp3);
        int before = TitleOf().GetPlayer();
        TitleOf().UpdateTitle();
        EXPECT_EQ(c.title, Title());
        EXPECT_EQ(c.player, TitleOf().GetPlayer());
        if (before != c.player)
            previous = before;
        EXPECT_EQ(previous, TitleOf().GetPreviousPlayer());
        if (c.player == -1)
            EXPECT_EQ(-1, TitleOf().GetPlayingEntry().GetTrack());
    }
}

TEST_F(DocTitleTest, NotificationsOnlyUnderTheirFlags)
{
    SetChanger(0, { 1, 10, 5, 1, 0, 1 });
    TitleOf().UpdateTitle();
    SetChanger(0, { 1, 10, 5, 1, 0, 2 });
    TitleOf().UpdateTitle();
    EXPECT_EQ(Texts(), Events());

    m_doc->ExecuteCommand("notify_playing_timecode[on]");
    m_doc->ExecuteCommand("notify_playing_item[on]");
    m_trace.Take();
    SetChanger(0, { 1, 10, 5, 1, 0, 3 });
    TitleOf().UpdateTitle();
    TitleOf().UpdateTitle(); // no news: nothing
    SetChanger(0, { 1, 10, 5, 2, 0, 0 });
    TitleOf().UpdateTitle();
    SetChanger(0, { 1, 10, 5, 2, 1, 0 });
    TitleOf().UpdateTitle();
    EXPECT_EQ(Texts({ "time[0:03]", "playing[\"Disc A\",\"Artist\",\"Song 2\",\" 3:05\",\"\",\"00000000000000D1\",\"2\"]",
                      "time[1:00]" }),
              Events());
}

// The window's text is set only when it changes: a tick with no news sets nothing.
TEST_F(DocTitleTest, TheWindowTextIsSetOnlyWhenItChanges)
{
    SetChanger(0, { 1, 10, 5, 1, 0, 1 });
    TitleOf().UpdateTitle();
    int sets = m_window.setTexts;
    TitleOf().UpdateTitle();
    TitleOf().UpdateTitle();
    EXPECT_EQ(sets, m_window.setTexts);
    SetChanger(0, { 1, 10, 5, 1, 0, 2 });
    TitleOf().UpdateTitle();
    EXPECT_EQ(sets + 1, m_window.setTexts);
}

// With "Track Players" the selection follows a new playing entry, unless
// the user acted in the views in the last 20 seconds.
TEST_F(DocTitleTest, TheSelectionFollowsUnlessTheUserActedRecently)
{
    m_doc->GetOptions().m_page2.m_trackPlayers = 1;
    CPlayList& selection = m_doc->GetSelectionList();
    const struct
    {
        time_t actedAgo;
        int track;
        bool follows;
    } cases[] = { { 5, 1, false }, { 19, 2, false }, { 20, 1, true }, { 300, 2, true } };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.actedAgo);
        selection.Clear();
        selection.AddItem(CLibItem(kDiscB, 0));
        UserActionStamps::Set(UserActionStamps::kListViews, m_doc->GetClock().Now() - c.actedAgo);
        UserActionStamps::Set(UserActionStamps::kOtherViews, 0);
        SetChanger(0, { 1, 10, 5, c.track, 0, 1 });
        TitleOf().UpdateTitle();
        ASSERT_EQ(1, selection.GetCount());
        CLibItem selected = selection.GetItem(0);
        EXPECT_EQ(c.follows ? kDiscA : kDiscB, std::string(selected.GetId()));
        EXPECT_EQ(c.follows ? c.track - 1 : 0, selected.GetTrack());
        Texts trace = m_trace.Take();
        EXPECT_EQ(c.follows, std::find(trace.begin(), trace.end(), "hint 4") != trace.end());
    }
}

// With "Track Playtime" the library counts a play at 5 seconds and then a
// second of time played for each second.
TEST_F(DocTitleTest, PlayingTimeIsNotedWhenAsked)
{
    m_doc->GetOptions().m_page2.m_trackPlaytime = 1;
    for (int second = 1; second <= 8; ++second)
    {
        SetChanger(0, { 1, 10, 5, 1, 0, second });
        TitleOf().UpdateTitle();
    }
    AlbumRecord album;
    ASSERT_TRUE(m_doc->GetMusicLibrary().GetAlbumAt(0, album));
    EXPECT_EQ(1, album.GetRecord(0)->m_timesPlayed);
    EXPECT_EQ(8, album.GetRecord(0)->m_timePlayed);
    EXPECT_EQ(0, album.GetRecord(1)->m_timesPlayed);
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());

    m_doc->GetOptions().m_page2.m_trackPlaytime = 0;
    SetChanger(0, { 1, 10, 5, 1, 0, 9 });
    TitleOf().UpdateTitle();
    ASSERT_TRUE(m_doc->GetMusicLibrary().GetAlbumAt(0, album));
    EXPECT_EQ(8, album.GetRecord(0)->m_timePlayed);
}

} // namespace
