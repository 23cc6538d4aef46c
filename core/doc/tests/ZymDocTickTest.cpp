#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "core/doc/HandOver.h"
#include "core/players/SonyPlayer.h"

#include <functional>

namespace {

const char kAlbumA[] = "000000000000000A";
const char kAlbumB[] = "000000000000000B";
const char kAlbumC[] = "000000000000000C";
const time_t kStart = 1700000000;
const int kUnknownSlotsMode = 1;

Texts Events(const Texts& trace)
{
    Texts events;
    for (const std::string& line : trace)
    {
        if (line.compare(0, 6, "event ") == 0)
            events.push_back(line.substr(6));
    }
    return events;
}

class TickTest : public DocFixture
{
protected:
    void OpenAt(time_t now)
    {
        Open();
        m_doc->GetClock().Set(now);
    }
    void Advance(int seconds) { m_doc->GetClock().Advance(seconds * 1000LL); }
};

TEST_F(TickTest, TheFirstTickStartsTheSystemAndTheStartupEventsFollowOnce)
{
    Option("Auto Locate Tavlins", 0);
    OpenAt(kStart);
    m_doc->RunTick();
    Texts trace = m_trace.Take();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ("views", trace.front());
    EXPECT_EQ(Texts({ "first_pre_startup", "pre_startup", "first_startup", "startup" }), Events(trace));
    m_doc->RunTick();
    EXPECT_EQ(Texts(), Events(m_trace.Take()));
}

TEST_F(TickTest, TheSavedPlayListIsRestoredOnce)
{
    Option("Auto Locate Tavlins", 0);
    m_app.WriteProfileString("Current Playlist", "Playlist", "ZYM Playlist V1.1\n000000000000000A 1\n");
    m_app.WriteProfileInt("Current Playlist", "Pointer", 0);
    OpenAt(kStart);
    AddMp3Album(kAlbumA, 2);
    m_doc->RunTick();
    ASSERT_EQ(1, m_doc->GetPlayList()->GetCount());
    EXPECT_EQ(1, m_doc->GetPlayList()->GetItem(0).GetTrack());
    m_doc->GetPlayList()->Clear();
    m_doc->RunTick();
    EXPECT_EQ(0, m_doc->GetPlayList()->GetCount());
}

TEST_F(TickTest, RandomPlayFillsOneEntryATickAndTrimsBehind)
{
    Option("Auto Locate Tavlins", 0);
    Option("Playlist Fill Size", 3);
    Option("Playlist Tail Size", 1);
    Option("Alternate Players", 0);
    OpenAt(kStart);
    AddMp3Album(kAlbumA, 4);
    AddMp3Album(kAlbumB, 4);
    m_doc->RunTick();
    const struct
    {
        int pointer;   // set before the tick
        int count, remaining;
    } ticks[] = {
        { -1, 2, 1 }, { -1, 3, 2 }, { -1, 4, 3 }, { -1, 4, 3 },
        // Two behind the pointer: one goes.
        { 2, 4, 2 },
        { -1, 5, 3 },
    };
    m_doc->OnPlaylistRandom();   // runs one tick itself
    CPlayList& list = *m_doc->GetPlayList();
    EXPECT_EQ(1, list.GetCount());
    int row = 0;
    for (const auto& tick : ticks)
    {
        SCOPED_TRACE(row++);
        if (tick.pointer >= 0)
            list.SetPointer(tick.pointer);
        m_doc->RunTick();
        EXPECT_EQ(tick.count, list.GetCount());
        EXPECT_EQ(tick.remaining, list.GetRemainingCount());
    }
}

TEST_F(TickTest, AutoSaveWaitsForItsInterval)
{
    Option("Auto Locate Tavlins", 0);
    Option("Auto Save Interval", 2);
    OpenAt(kStart);
    m_doc->RunTick();
    AddMp3Album(kAlbumA, 1);
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    const struct
    {
        int advance;
        bool change;
        bool saved;
    } ticks[] = {
        // The start-up's tick began the interval.
        { 60, true, false },
        { 60, false, false },
        { 1, false, true },
        { 10, true, false },
        { 121, false, true },
    };
    // The first save makes the library file from the template.
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    int row = 0;
    for (const auto& tick : ticks)
    {
        SCOPED_TRACE(row++);
        Advance(tick.advance);
        if (tick.change)
        {
            library.MarkAllChanged();
            library.SetModified(true);
        }
        m_trace.Take();
        m_doc->RunTick();
        Texts trace = m_trace.Take();
        bool saved = std::find(trace.begin(), trace.end(), "event library_save_end") != trace.end();
        EXPECT_EQ(tick.saved, saved);
    }
    EXPECT_FALSE(library.IsModified());
    EXPECT_TRUE(m_folder.Exists("library.mdb"));
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.Unscripted());
}

// A changer that reports a slot empty: its album is marked absent and
// changed, also when the report comes in the same second as a re-sync.
TEST_F(TickTest, ReSyncWithAChangerThatFoundSlotsEmpty)
{
    Option("Auto Locate Tavlins", 0);
    Option("Auto Save DB X", 0);
    OpenAt(kStart);
    CMessageBoxScript boxes;   // the changer's devices have no unit here
    m_doc->RunTick();
    ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
    CSonyPlayer* changer = m_doc->GetSonyControl()->GetPlayer(0);
    changer->ChangeState([](ChangerState& s) { s.capacity = 200; });
    AddChangerAlbum(kAlbumA, 0, 5);
    AddChangerAlbum(kAlbumB, 0, 6);
    AddChangerAlbum(kAlbumC, 0, 7);
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    library.SetModified(false);
    auto present = [&](const char* id) {
        AlbumRecord album;
        library.GetAlbumAt(library.FindAlbumIndex(id), album);
        return album.IsPresent();
    };

    changer->ChangeState([](ChangerState& s) {
        s.slots[5 - 1] = CSonyPlayer::kSlotKnown;
        s.slots[7 - 1] = CSonyPlayer::kSlotKnown | CSonyPlayer::kSlotHasDisc;
        s.changeStamp = kStart;
    });
    m_doc->RunTick();
    EXPECT_FALSE(present(kAlbumA));
    EXPECT_TRUE(present(kAlbumB));
    EXPECT_TRUE(present(kAlbumC));
    EXPECT_TRUE(library.IsModified());

    // Later in the same second.
    changer->ChangeState([](ChangerState& s) { s.slots[6 - 1] = CSonyPlayer::kSlotKnown; });
    m_doc->RunTick();
    EXPECT_FALSE(present(kAlbumB));
    EXPECT_TRUE(present(kAlbumC));
    Close();
}

// The scheduler's play: when it starts (and what it clears) and how it ends.
TEST_F(TickTest, TimedPlayStartsInItsWindowAndEnds)
{
    const struct
    {
        const char* what;
        int mode;
        int startIn, endIn;   // minutes from now; endIn 0: no end time
        bool hold, entries;
        bool starts;
    } cases[] = {
        { "at once", TimedPlay::kAtOnce, 0, 0, false, true, true },
        { "held back", TimedPlay::kAtOnce, 0, 0, true, true, false },
        { "nothing to play", TimedPlay::kAtOnce, 0, 0, false, false, false },
        { "before its start", TimedPlay::kAtStartTime, 5, 0, false, true, false },
        { "after its start", TimedPlay::kAtStartTime, -5, 0, false, true, true },
        { "inside its window", TimedPlay::kAtStartTime, -5, 5, false, true, true },
        { "after its window", TimedPlay::kAtStartTime, -10, -5, false, true, false },
    };
    Option("Auto Locate Tavlins", 0);
    Option("Playlist Save and Restore", 0);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        OpenAt(kStart);
        AddMp3Album(kAlbumA, 2);
        m_doc->RunTick();
        CPlayList& list = *m_doc->GetPlayList();
        if (c.entries)
            list.AddItem(CLibItem(kAlbumA, 0));
        list.SetLoop(true);
        COleDateTime now(m_doc->GetClock().LocalTime());
        TimedPlay& timed = m_doc->GetTimedPlay();
        timed.enabled = TRUE;
        timed.startMode = c.mode;
        timed.startTime = now + COleDateTimeSpan(0, 0, c.startIn, 0);
        timed.useEndTime = c.endIn != 0;
        timed.endTime = now + COleDateTimeSpan(0, 0, c.endIn, 0);
        timed.hold = c.hold;
        m_doc->RunTick();
        EXPECT_EQ(c.starts, bool(timed.started));
        EXPECT_EQ(c.starts, list.IsPlaying());
        // Without an end time the play runs once through the list.
        EXPECT_EQ(!(c.starts && c.endIn == 0), list.GetLoop());
        Close();
    }
}

TEST_F(TickTest, TimedPlayEndsWhenTheListStopsOrItsEndTimePasses)
{
    Option("Auto Locate Tavlins", 0);
    Option("Playlist Save and Restore", 0);
    // The MP3 player plays the album for as long as the test needs.
    m_frame.mp3.playing = TRUE;
    m_frame.mp3.albumId = kAlbumA;
    for (int endIn : { 0, 5 })
    {
        SCOPED_TRACE(endIn);
        OpenAt(kStart);
        AddMp3Album(kAlbumA, 2);
        m_doc->RunTick();
        CPlayList& list = *m_doc->GetPlayList();
        list.AddItem(CLibItem(kAlbumA, -1));
        TimedPlay& timed = m_doc->GetTimedPlay();
        timed.enabled = TRUE;
        timed.useEndTime = endIn != 0;
        timed.endTime = COleDateTime(m_doc->GetClock().LocalTime()) + COleDateTimeSpan(0, 0, endIn, 0);
        m_doc->RunTick();
        ASSERT_TRUE(list.IsPlaying());
        m_trace.Take();
        Advance(4 * 60);
        m_doc->RunTick();
        Texts trace = m_trace.Take();
        EXPECT_EQ(0, std::count(trace.begin(), trace.end(), "timed action"));
        EXPECT_TRUE(list.IsPlaying());
        if (endIn == 0)
            m_doc->OnPlaylistStop();
        else
            Advance(2 * 60);
        m_doc->RunTick();
        EXPECT_TRUE(list.IsStopped());
        trace = m_trace.Take();
        EXPECT_EQ(1, std::count(trace.begin(), trace.end(), "timed action"));
        EXPECT_FALSE(timed.enabled);
        Close();
    }
}

// The automatic search skims unknown slots after a quiet while, and only then.
TEST_F(TickTest, AutomaticDiscSearchOnlyWhenQuiet)
{
    const struct
    {
        const char* what;
        int quietSeconds;
        bool unknownSlots, asleep, userActed, playing;
        bool searches;
    } cases[] = {
        { "quiet long enough", 601, true, false, false, false, true },
        { "not quiet long enough", 600, true, false, false, false, false },
        { "every slot known", 601, false, false, false, false, false },
        { "asleep", 601, true, true, false, false, false },
        { "the user acted", 601, true, false, true, false, false },
        { "playing", 601, true, false, false, true, false },
    };
    Option("Auto Locate Tavlins", 0);
    Option("Auto Search Discs X", 1);
    Option("Auto Search Interval", 10);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        OpenAt(kStart);
        CMessageBoxScript boxes;   // the changer's devices have no unit here
        m_frame.mp3.playing = TRUE;   // activity now, on the test's clock
        m_doc->RunTick();
        m_frame.mp3.playing = c.playing;
        ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
        CSonyPlayer* changer = m_doc->GetSonyControl()->GetPlayer(0);
        changer->ChangeState([&c](ChangerState& s) {
            s.capacity = 5;
            for (int slot = 0; slot < 5; ++slot)
                s.slots[slot] = c.unknownSlots && slot == 3 ? 0 : CSonyPlayer::kSlotKnown;
        });
        if (c.asleep)
            m_doc->GoToSleep();
        Advance(c.quietSeconds);
        UserActionStamps::Set(UserActionStamps::kOtherViews, c.userActed ? m_doc->GetClock().Now() - 19 : 0);
        m_trace.Take();
        m_doc->RunTick();
        Texts trace = m_trace.Take();
        bool searched = std::find(trace.begin(), trace.end(), "task FindDisc") != trace.end();
        EXPECT_EQ(c.searches, searched);
        EXPECT_FALSE(m_doc->IsDiscSearchRunning());
        if (searched)
            EXPECT_EQ(kUnknownSlotsMode, m_doc->GetSearchSettings().mode);
        // The search counts as activity: the next one waits its interval again.
        m_doc->RunTick();
        Texts again = m_trace.Take();
        EXPECT_TRUE(std::find(again.begin(), again.end(), "task FindDisc") == again.end());
        m_frame.mp3.playing = FALSE;
        Close();
    }
    UserActionStamps::Set(UserActionStamps::kOtherViews, 0);
}

// A file handed over at start-up replaces the restored list and plays when
// it opens.
TEST_F(TickTest, AHandedOverPlayListReplacesTheRestoredOne)
{
    Option("Auto Locate Tavlins", 0);
    WriteFile("party.zpl", "ZYM Playlist V1.1\r\n000000000000000A 0\r\n000000000000000A 1\r\n");
    for (BOOL opens : { TRUE, FALSE })
    {
        SCOPED_TRACE(opens);
        m_app.WriteProfileString("Current Playlist", "Playlist", "ZYM Playlist V1.1\n000000000000000A 1\n");
        OpenAt(kStart);
        AddMp3Album(kAlbumA, 2);
        m_doc->RunTick();
        ASSERT_EQ(1, m_doc->GetPlayList()->GetCount());
        m_trace.Take();
        SetHandedOverPlaylist(m_folder.WindowsPath(opens ? "party.zpl" : "none.zpl").c_str());
        {
            CMessageBoxScript boxes;   // the list tells that a file is missing
            m_doc->RunTick();
            EXPECT_EQ(opens ? 0u : 1u, boxes.Shown().size());
        }
        EXPECT_EQ(opens ? 2 : 0, m_doc->GetPlayList()->GetCount());
        EXPECT_EQ(bool(opens), m_doc->GetPlayList()->IsPlaying());
        EXPECT_TRUE(TakeHandedOverPlaylist().IsEmpty());
        m_doc->OnPlaylistStop();
        Close();
    }
}

TEST_F(TickTest, ViewsFollowTheSearchListTasksAndPlayers)
{
    Option("Auto Locate Tavlins", 0);
    HANDLE mp3State = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_frame.mp3.statusEvent = mp3State;
    OpenAt(kStart);
    // A library of the older kind: the first tick after the start-up offers
    // its upgrade, once.
    m_doc->GetOptions().m_page2.m_libraryType = 0;
    m_doc->GetOptions().m_page2.m_dbPath = "Z:\\old\\cds.mdb";
    CMessageBoxScript boxes;
    boxes.Then(IDNO);
    m_doc->RunTick();
    m_doc->RunTick();
    m_trace.Take();
    EXPECT_EQ(1u, boxes.Shown().size());

    auto hintsOfTick = [&] {
        m_doc->RunTick();
        Texts hints;
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 5, "hint ") == 0)
                hints.push_back(line.substr(5));
        }
        return hints;
    };
    EXPECT_EQ(Texts(), hintsOfTick());
    m_doc->GetSearchList().SetModified(true);
    EXPECT_EQ(Texts({ "8" }), hintsOfTick());
    int task = m_doc->GetTaskMgr().CreateTask("busy", nullptr, 0);
    Texts taskHints = hintsOfTick();
    EXPECT_EQ(Texts({ "15", "14" }), taskHints);
    m_doc->GetTaskMgr().EndTask(task);
    SetEvent(mp3State);
    // The players' news comes before the tasks.
    EXPECT_EQ(Texts({ "3", "15", "14" }), hintsOfTick());
    EXPECT_EQ(1u, boxes.Shown().size());
    Close();
    CloseHandle(mp3State);
}

// A window whose messages run what the test gives, to act inside the pumps.
class CPumpProbe
{
public:
    CPumpProbe()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZymDocPumpProbe";
        RegisterClassA(&windowClass);
        m_window = CreateWindowA("ZymDocPumpProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CPumpProbe() { DestroyWindow(m_window); }
    void Post(std::function<void()> action)
    {
        m_actions.push_back(action);
        PostMessageA(m_window, WM_USER, 0, 0);
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CPumpProbe* self = reinterpret_cast<CPumpProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_USER || !self || self->m_actions.empty())
            return DefWindowProcA(window, message, wParam, lParam);
        std::function<void()> action = self->m_actions.front();
        self->m_actions.erase(self->m_actions.begin());
        action();
        return 0;
    }

    HWND m_window;
    std::vector<std::function<void()>> m_actions;
};

TEST_F(TickTest, ATickOrCloseInsideTheStartUpWaitsForIt)
{
    Option("Auto Locate Tavlins", 0);
    OpenAt(kStart);
    CPumpProbe probe;
    BOOL closeAllowed = TRUE;
    probe.Post([&] {
        m_trace.Add("nested tick");
        m_doc->RunTick();
        closeAllowed = m_doc->SaveModified();
        m_trace.Add("close asked");
    });
    PostQuitMessage(7);
    m_doc->RunTick();
    EXPECT_FALSE(closeAllowed);
    Texts trace = m_trace.Take();
    // The nested tick ran no second start-up; the close came after the start-up.
    EXPECT_EQ(1, std::count(trace.begin(), trace.end(), "views"));
    auto asked = std::find(trace.begin(), trace.end(), "close asked");
    auto tip = std::find(trace.begin(), trace.end(), "tip");
    auto close = std::find(trace.begin(), trace.end(), "close");
    ASSERT_TRUE(asked != trace.end() && tip != trace.end() && close != trace.end());
    EXPECT_LT(asked, tip);
    EXPECT_LT(tip, close);
    // The quit the start-up's pump took is waiting again.
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, message.wParam);
}

// The tick runs the queue through the command language; search_mode
// refreshes the views, and a view that ticks inside it leaves the next
// command to the tick that drains the queue.
TEST_F(TickTest, QueuedCommandsRunOneAfterTheOtherAlsoWhenOneTicks)
{
    Option("Auto Locate Tavlins", 0);
    OpenAt(kStart);
    m_doc->RunTick();
    CZYMAutomation& queue = m_doc->GetAutomation();
    m_view.onHint = [&](LPARAM hint) {
        if (hint != kViewHintSearchMode)
            return;
        m_doc->RunTick();
        m_trace.Add("nested tick ended");
    };
    queue.OnReceive("zym:echo[one]");
    queue.OnReceive("zym:search_mode[disc]");
    queue.OnReceive("zym:echo[two]");
    m_trace.Take();
    m_doc->RunTick();
    m_view.onHint = nullptr;
    Texts steps;
    for (const std::string& line : m_trace.Take())
    {
        if (line.compare(0, 6, "event ") == 0 || line == "hint 11" || line == "nested tick ended")
            steps.push_back(line);
    }
    EXPECT_EQ(Texts({ "event echo[one]", "hint 11", "nested tick ended", "event echo[two]" }), steps);
    EXPECT_TRUE(queue.IsEmpty());
}

} // namespace
