#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "core/doc/DocCommands.h"
#include "core/doc/OpenLink.h"

#include <string.h>

#include <algorithm>
#include <functional>

namespace {

const char kAlbumA[] = "000000000000000A";
const char kAlbumB[] = "000000000000000B";
const time_t kStart = 1700000000;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    return text;
}

Texts Lower(Texts texts)
{
    for (std::string& text : texts)
        text = Lower(text);
    return texts;
}

// Commands reach the document as a remote client's texts do: queued by the
// automation queue and run by the tick.
class DocCommandsTest : public DocFixture
{
protected:
    void SetUp() override
    {
        Option("Auto Locate Tavlins", 0);
        Open();
        m_doc->GetClock().Set(kStart);
        AddMp3Album(kAlbumA, 3);
        AddMp3Album(kAlbumB, 2);
        m_doc->RunTick();
        m_trace.Take();
    }

    // A remote client's command, run by the next tick.
    void Remote(const std::string& command)
    {
        m_doc->GetAutomation().OnReceive(("zym:" + command).c_str());
        m_doc->RunTick();
    }
    // The events the command fired, in order.
    Texts Run(const std::string& command)
    {
        Remote(command);
        Texts events;
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 6, "event ") == 0)
                events.push_back(line.substr(6));
        }
        return events;
    }

    // Each entry as the last letter of its album id and its track, the
    // pointer's entry marked with "*".
    std::string ListText(CPlayList& list)
    {
        std::string text;
        for (int i = 0; i < list.GetCount(); ++i)
        {
            CLibItem item = list.GetItem(i);
            text += (text.empty() ? "" : " ") + std::string(i == list.GetPointer() ? "*" : "") +
                    std::string(item.GetId().Right(1)) + std::to_string(item.GetTrack());
        }
        return text;
    }

    // A list of A0 A1 B-1 with the pointer on the second entry.
    void FillList()
    {
        CPlayList& list = m_doc->GetCurrentPlayList();
        list.Clear();
        list.AddItem(CLibItem(kAlbumA, 0));
        list.AddItem(CLibItem(kAlbumA, 1));
        list.AddItem(CLibItem(kAlbumB, -1));
        list.SetPointer(1);
    }
};

struct CommandCase
{
    const char* text;
    Texts events;
    // The play list after, as ListText writes it (before: "A0 *A1 B-1").
    const char* list;
};

TEST_F(DocCommandsTest, CommandsAnswerAndChangeThePlayList)
{
    const std::string kBig(1 << 20, 'x');
    const CommandCase cases[] = {
        { "playlist_getpointer", { "playlist_pointer[2]" }, "A0 *A1 B-1" },
        { "PlayList_Next", {}, "A0 A1 *B-1" },
        { " playlist_next", { "error[unknown command -  playlist_next]" }, "A0 *A1 B-1" },
        { "playlist_prev", {}, "*A0 A1 B-1" },
        { "playlist_pointer[bottom]", {}, "A0 A1 *B-1" },
        { "playlist_pointer[4]", { "error[playlist_pointer - parameter must be random, top, bottom, next, prev, or a number]" },
          "A0 *A1 B-1" },
        { "playlist_pointer[x]", { "error[playlist_pointer - parameter must be random, top, bottom, next, prev, or a number]" },
          "A0 *A1 B-1" },
        { "playlist_clear", {}, "" },
        { "playlist_size", { "playlist_size[3,6:40]" }, "A0 *A1 B-1" },
        { "playlist_getitem[5", { "error[unknown command - playlist_getitem[5]" }, "A0 *A1 B-1" },
        { "]playlist_next[", { "error[unknown command - ]playlist_next[]" }, "A0 *A1 B-1" },
        { "playlist_next[[x]]", {}, "A0 A1 *B-1" },
        { "playlist_next]x[", { "error[unknown command - playlist_next]x[]" }, "A0 *A1 B-1" },
        { "", { "error[unknown command - ]" }, "A0 *A1 B-1" },
        { "nosuchword", { "error[unknown command - nosuchword]" }, "A0 *A1 B-1" },
        { "playlist_delete[cur]", {}, "A0 *B-1" },
        { "playlist_delete[9]",
          { "error[playlist_delete - parameter must be random, top, bottom, next, prev, cur, or a number]" }, "A0 *A1 B-1" },
        { "playlist_condense[1]", {}, "*A-1 B-1" },
        // Insert: position, disc id, track.
        { "playlist_insert[top, 000000000000000b ,0]", {}, "B-1 A0 *A1 B-1" },
        { "playlist_insert[7,000000000000000A,1]", {}, "A0 *A1 B-1 A0" },
        { "playlist_insert[bottom,000000000000000A,3]", {}, "A0 *A1 B-1 A2" },
        { "playlist_insert[next,000000000000000A,02x]", {}, "A0 *A1 A1 B-1" },
        { "playlist_insert[-5,000000000000000A,1]", {}, "A0 A0 *A1 B-1" },
        { "playlist_insert[top,000000000000000A]",
          { "error[playlist_insert - invalid number of parameters]" }, "A0 *A1 B-1" },
        { "playlist_insert[top,000000000000000A,1,]",
          { "error[playlist_insert - invalid number of parameters]" }, "A0 *A1 B-1" },
        { "playlist_insert[x,000000000000000A,y]", { "error[playlist_insert - invalid track syntax]" }, "A0 *A1 B-1" },
        { "playlist_insert[x,000000000000000A,1]",
          { "error[playlist_insert - parameter must be random, top, bottom, next, or a number]" }, "A0 *A1 B-1" },
        { "playlist_insert[top,0000000000000009,1]",
          { "error[playlist_insert - this DiscID not found in library]" }, "A0 *A1 B-1" },
        { "playlist_insert[top,000000000000000A,4]",
          { "error[playlist_insert - track number out of range for this disc]" }, "A0 *A1 B-1" },
        { "playlist_insert[top,000000000000000A,-1]",
          { "error[playlist_insert - track number out of range for this disc]" }, "A0 *A1 B-1" },
        { "playlist_insert[top,000000000000000A,-99999999999]",
          { "error[playlist_insert - track number out of range for this disc]" }, "A0 *A1 B-1" },
        { "playlist_insert[top,000000000000000A,99999999999]",
          { "error[playlist_insert - track number out of range for this disc]" }, "A0 *A1 B-1" },
        { "getstate", { "state[stopped]" }, "A0 *A1 B-1" },
        { "echo[  Hello, World  ]x", { "echo[hello, world]" }, "A0 *A1 B-1" },
        { "vol+", { "vol_up" }, "A0 *A1 B-1" },
        { "vol-", { "vol_down" }, "A0 *A1 B-1" },
        { "mute", { "error[mute - parameter must be on, off, or toggle]" }, "A0 *A1 B-1" },
        { "mute[on]", { "mute_on" }, "A0 *A1 B-1" },
        { "mute[on]", { "mute_on" }, "A0 *A1 B-1" },
        { "mute[toggle]", { "mute_off" }, "A0 *A1 B-1" },
        { "mute[off]", { "mute_off" }, "A0 *A1 B-1" },
        { "debug[maybe]", { "error[debug - parameter must be on or off]" }, "A0 *A1 B-1" },
        { "playlist_loop[maybe]", { "error[playlist_loop - parameter must be on, off, or toggle]" }, "A0 *A1 B-1" },
        { "playlist_mode[x]", { "error[playlist_mode - parameter must be random or manual]" }, "A0 *A1 B-1" },
        { "search_mode[album]", { "error[search_mode - parameter must be disc or track]" }, "A0 *A1 B-1" },
        { "library_autosave[yes]", { "error[library_autosave - parameter must be on or off]" }, "A0 *A1 B-1" },
        { "notify_playing_timecode[1]",
          { "error[notify_playing_timecode - parameter must be on or off]" }, "A0 *A1 B-1" },
    };
    for (const CommandCase& c : cases)
    {
        SCOPED_TRACE(c.text);
        FillList();
        EXPECT_EQ(c.events, Run(c.text));
        EXPECT_EQ(c.list, ListText(m_doc->GetCurrentPlayList()));
    }
    FillList();
    Texts events = Run(kBig);
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(0u, events[0].find("error[unknown command - xxx"));
}

TEST_F(DocCommandsTest, FlagsAndOptionsFollowTheirCommands)
{
    struct
    {
        const char* text;
        Texts events;
        std::function<int()> value;
        int expected;
    } cases[] = {
        { "playlist_loop[ TOGGLE ]", {}, [this] { return m_doc->GetCurrentPlayList().GetLoop(); }, 1 },
        { "playlist_loop[toggle]", {}, [this] { return m_doc->GetCurrentPlayList().GetLoop(); }, 0 },
        { "playlist_play", {}, [this] { return m_doc->GetCurrentPlayList().IsPlaying(); }, 1 },
        { "getstate", { "state[playing]" }, [] { return 0; }, 0 },
        { "playlist_pause", {}, [this] { return m_doc->GetCurrentPlayList().IsPaused(); }, 1 },
        { "playlist_pause", {}, [this] { return m_doc->GetCurrentPlayList().IsPlaying(); }, 1 },
        { "playlist_stop", {}, [this] { return m_doc->GetCurrentPlayList().IsStopped(); }, 1 },
        { "debug[on]", {}, [this] { return m_doc->IsDebugOn(); }, 1 },
        { "debug[off]", {}, [this] { return m_doc->IsDebugOn(); }, 0 },
        { "library_autosave[off]", {}, [this] { return m_doc->GetOptions().m_page2.m_autoSaveDb; }, 0 },
        { "library_autosave[on]", {}, [this] { return m_doc->GetOptions().m_page2.m_autoSaveDb; }, 1 },
        { "library_autosave_interval[1440]", {}, [this] { return m_doc->GetOptions().m_page2.m_autoSaveInterval; }, 1440 },
        { "library_autosave_interval[0]", { "error[library_autosave_interval - must be between 1 and 1440 minutes]" },
          [this] { return m_doc->GetOptions().m_page2.m_autoSaveInterval; }, 1440 },
        { "library_autosave_interval[1441]", { "error[library_autosave_interval - must be between 1 and 1440 minutes]" },
          [this] { return m_doc->GetOptions().m_page2.m_autoSaveInterval; }, 1440 },
        { "library_autosave_interval[4294967297]",
          { "error[library_autosave_interval - must be between 1 and 1440 minutes]" },
          [this] { return m_doc->GetOptions().m_page2.m_autoSaveInterval; }, 1440 },
        { "library_autosave_interval[+0007 minutes]", {},
          [this] { return m_doc->GetOptions().m_page2.m_autoSaveInterval; }, 7 },
        { "library_autosave_interval[soon]", { "error[library_autosave_interval - parameter must be a number]" },
          [this] { return m_doc->GetOptions().m_page2.m_autoSaveInterval; }, 7 },
        { "search_clear", {}, [this] { return m_doc->GetSearchList().GetCount(); }, 0 },
        { "searchlist_size", { "searchlist_size[0,0:00]" }, [] { return 0; }, 0 },
        { "sleep", { "shutdown" }, [this] { return m_doc->IsSleeping(); }, 1 },
        { "getstate", { "state[sleeping]" }, [] { return 0; }, 0 },
        { "sleepawakentoggle", { "pre_startup", "startup" }, [this] { return m_doc->IsSleeping(); }, 0 },
    };
    // The playing thread announces a change of the play list's state at its
    // own next step, which a loaded machine can put after any later command:
    // only the commands' own events are compared.
    const Texts kPlayingThreadEvents = { "playlist_play", "playlist_pause", "playlist_stop" };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        Texts events = Run(c.text);
        events.erase(std::remove_if(events.begin(), events.end(),
                                    [&](const std::string& e) {
                                        return std::find(kPlayingThreadEvents.begin(), kPlayingThreadEvents.end(),
                                                         e) != kPlayingThreadEvents.end();
                                    }),
                     events.end());
        EXPECT_EQ(c.events, events);
        EXPECT_EQ(c.expected, c.value());
    }
}

TEST_F(DocCommandsTest, SearchListEntriesAreCopiedToTheEndOfThePlayList)
{
    FillList();
    m_doc->GetSearchList().AddItem(CLibItem(kAlbumB, 1));
    EXPECT_EQ(Texts(), Run("searchlist_copytoplaylist"));
    EXPECT_EQ("A0 *A1 B-1 B1", ListText(m_doc->GetCurrentPlayList()));
    EXPECT_EQ(Texts({ "searchlist_size[1,1:40]" }), Run("searchlist_size"));
}

// The settings are stored as they are read; the search runs (here over no
// changer) only when all were read.
TEST_F(DocCommandsTest, DiscSearchStoresItsSettingsAndRefusesWhileBusy)
{
    const Texts kSearchedEmpty = { "library_discsearch_start",
                                   "library_discsearch_title[Checking \"Empty\" Slots - Pass 1]",
                                   "library_discsearch_end" };
    const Texts kSearchedAll = { "library_discsearch_start", "library_discsearch_title[Checking All Slots]",
                                 "library_discsearch_end" };
    const struct
    {
        const char* text;
        Texts events;
        int player, range, first, last, mode;
    } cases[] = {
        { "library_discsearch[all,all,,empty,now]", kSearchedEmpty, 0, 0, 0, 0, 0 },
        { "library_discsearch[2, 10 , 20,allslots,queue]", kSearchedAll, 2, 1, 10, 20, 2 },
        { "library_discsearch[1,0,5,empty,now]",
          { "error[library_discsearch - starting slot parameter must be between 1 and 300]" }, 1, 1, 10, 20, 2 },
        { "library_discsearch[3,5,301,empty,now]",
          { "error[library_discsearch - stopping slot parameter must be between 1 and 300]" }, 3, 1, 5, 20, 2 },
        { "library_discsearch[4,x,1,empty,now]",
          { "error[library_discsearch - starting slot parameter must be all, or a number]" }, 4, 1, 5, 20, 2 },
        { "library_discsearch[4,1,all,empty,now]",
          { "error[library_discsearch - stopping slot parameter must be all, or a number]" }, 4, 1, 1, 20, 2 },
        { "library_discsearch[x,all,,empty,now]",
          { "error[library_discsearch - player parameter must be all, or a number]" }, 4, 1, 1, 20, 2 },
        { "library_discsearch[1,all,,full,now]",
          { "error[library_discsearch - search type must be empty,emptyfull,allslots]" }, 1, 0, 1, 20, 2 },
        { "library_discsearch[1,all,,emptyfull,later]",
          { "error[library_discsearch - queue option must be now or queue]" }, 1, 0, 1, 20, 1 },
        { "library_discsearch[1,all,,empty]", { "error[library_discsearch - invalid number of parameters]" }, 1, 0, 1,
          20, 1 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.events, Run(c.text));
        const DiscSearchSettings& settings = m_doc->GetSearchSettings();
        EXPECT_EQ(c.player, settings.playerFilter);
        EXPECT_EQ(c.range, settings.useRange);
        EXPECT_EQ(c.first, settings.firstSlot);
        EXPECT_EQ(c.last, settings.lastSlot);
        EXPECT_EQ(c.mode, settings.mode);
        EXPECT_FALSE(m_doc->IsDiscSearchRunning());
    }
    // "queue" last: the search's look-ups wait, and so does the option.
    EXPECT_EQ(0, m_doc->GetOptions().m_page1.m_useInternet);
    EXPECT_FALSE(m_doc->GetCddbClient().m_bUseInternet);
    Run("library_discsearch[all,all,,empty,now]");
    EXPECT_EQ(1, m_doc->GetOptions().m_page1.m_useInternet);
    EXPECT_TRUE(m_doc->GetCddbClient().m_bUseInternet);
}

// A search pumps messages, so the tick may run a second command inside it;
// here it runs as the search names its task. Task listeners stay for the
// task manager's life: the one listener outlives every document.
class CNestedCommand : public CTaskObserver
{
public:
    void OnTaskEvent(int, int what, INT_PTR value) override
    {
        if (what != kTaskName || !doc || !nested || strcmp(reinterpret_cast<const char*>(value), "FindDisc") != 0)
            return;
        const char* command = nested;
        nested = nullptr;
        runningInside = doc->IsDiscSearchRunning();
        doc->ExecuteCommand(command);
    }

    CZymDoc* doc = nullptr;
    const char* nested = nullptr;
    bool runningInside = false;
};

TEST_F(DocCommandsTest, ADiscSearchDuringASearchIsRefused)
{
    static CNestedCommand inside;
    inside.doc = m_doc;
    m_doc->GetTaskMgr().AddListener(&inside);
    inside.nested = "library_lookup_queued";
    EXPECT_EQ(Texts({ "error[library_lookup_queued - a disc search or look-up is running]", "library_discsearch_start",
                      "library_discsearch_title[Checking \"Empty\" Slots - Pass 1]", "library_discsearch_end" }),
              Run("library_discsearch[all,all,,empty,now]"));
    EXPECT_TRUE(inside.runningInside);
    inside.nested = "library_discsearch[5,7,8,allslots,queue]";
    EXPECT_EQ(Texts({ "error[library_discsearch - a disc search or look-up is running]", "library_discsearch_start",
                      "library_discsearch_title[Checking \"Empty\" Slots - Pass 1]", "library_discsearch_end" }),
              Run("library_discsearch[all,all,,empty,now]"));
    inside.doc = nullptr;
    const DiscSearchSettings& settings = m_doc->GetSearchSettings();
    EXPECT_EQ(0, settings.playerFilter);
    EXPECT_FALSE(settings.useRange);
    EXPECT_EQ(0, settings.mode);
    EXPECT_FALSE(m_doc->IsDiscSearchRunning());
}

// Album C: "Night Songs" by "Band", tracks "Moon" (by "Solo") and "Sun".
class DocItemCommandsTest : public DocCommandsTest
{
protected:
    void SetUp() override
    {
        DocCommandsTest::SetUp();
        AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
        album.SetIdText(kAlbumC);
        album.SetTrackCount(2);
        album.SetTitle(kAlbumIndex, "Night Songs");
        album.SetArtist(kAlbumIndex, "Band");
        album.SetTitle(0, "Moon");
        album.SetArtist(0, "Solo");
        album.SetTitle(1, "Sun");
        album.SetPlayTime(0, 3725);
        album.SetPlayTime(1, 65);
        album.SetPlayer(kMp3Player);
        album.SetSlot(0);
        album.SetPresent(true);
        m_doc->GetMusicLibrary().AppendAlbum(album);
        CPlayList& list = m_doc->GetCurrentPlayList();
        list.AddItem(CLibItem(kAlbumC, 0));
        list.AddItem(CLibItem(kAlbumC, -1));
        list.AddItem(CLibItem(kAlbumC, 1));
        list.AddItem(CLibItem("0000000000000009", 1));
    }

    static constexpr const char* kAlbumC = "000000000000000C";
};

TEST_F(DocItemCommandsTest, ItemsAndSizesAreRepliedInQuotedFields)
{
    const struct
    {
        const char* text;
        Texts events;
    } cases[] = {
        { "playlist_getitem[top]",
          { "playlist_item[\"1\",\"Night Songs\",\"Solo\",\"Moon\",\"62:05\",\"\",\"000000000000000C\",\"1\",\"\"]" } },
        { "playlist_getitem[2]",
          { "playlist_item[\"2\",\"Night Songs\",\"Band\",\"Night Songs\",\"63:10\",\"\",\"000000000000000C\",\"0\",\"mp3\"]" } },
        { "playlist_getitem[3]",
          { "playlist_item[\"3\",\"Night Songs\",\"Band\",\"Sun\",\" 1:05\",\"\",\"000000000000000C\",\"2\",\"\"]" } },
        { "playlist_getitem[4]", {} },
        { "playlist_getitem[5]", { "error[playlist_getitem - bad parameter]" } },
        { "playlist_getitem[-1]", { "error[playlist_getitem - bad parameter]" } },
        { "playlist_size", { "playlist_size[4,126:20]" } },
        { "playlist_getfilename", { "playlist_filename[]" } },
        { "search[title = moon]", {} },
        { "searchlist_getitem[1]",
          { "searchlist_item[\"1\",\"Night Songs\",\"Solo\",\"Moon\",\"62:05\",\"\",\"000000000000000C\",\"1\"]" } },
        { "searchlist_getitem[x]", { "error[searchlist_getitem - parameter must be a number]" } },
        { "searchlist_size", { "searchlist_size[1,62:05]" } },
        { "search_mode[disc]", {} },
        { "search[title = moon]", {} },
        { "searchlist_size", { "searchlist_size[1,63:10]" } },
        { "list_players", { "player_info[mp3,\"MPEG Audio Decoder\",\"mp3\",0,software]", "player_info[end,,]" } },
        { "mapfile_load[none.map]", { "error[mapfile_load - Error loading map file]" } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.events, Run(c.text));
    }
}

// The document is the one owner of the search mode: the search view's
// button and the command language change the same flag, every change tells
// the views (hint 11), and the next search follows it. A cleared list
// reaches the views with the next tick (hint 8).
TEST_F(DocItemCommandsTest, TheSearchModeHasOneOwnerThatTellsTheViews)
{
    const struct
    {
        const char* step;
        std::function<void()> run;
        BOOL discs;
        int modeHints;
        const char* found;
    } steps[] = {
        { "toggle", [this] { m_doc->ToggleSearchMode(); }, TRUE, 1, "*C-1" },
        { "remote track", [this] { Remote("search_mode[track]"); }, FALSE, 1, "*C0" },
        { "remote disc", [this] { Remote("search_mode[disc]"); }, TRUE, 1, "*C-1" },
        { "refused word", [this] { Remote("search_mode[album]"); }, TRUE, 0, "*C-1" },
        { "toggle back", [this] { m_doc->ToggleSearchMode(); }, FALSE, 1, "*C0" },
        { "set the same", [this] { m_doc->SetSearchMode(FALSE); }, FALSE, 1, "*C0" },
    };
    for (const auto& s : steps)
    {
        SCOPED_TRACE(s.step);
        m_trace.Take();
        s.run();
        EXPECT_EQ(s.discs, m_doc->IsDiscSearchMode());
        Texts trace = m_trace.Take();
        EXPECT_EQ(s.modeHints, std::count(trace.begin(), trace.end(), "hint 11"));
        ASSERT_TRUE(m_doc->Search("title = moon"));
        EXPECT_EQ(s.found, ListText(m_doc->GetSearchList()));
    }
    m_doc->RunTick();
    m_trace.Take();
    m_doc->ClearSearchList();
    EXPECT_EQ(0, m_doc->GetSearchList().GetCount());
    m_doc->RunTick();
    Texts trace = m_trace.Take();
    EXPECT_EQ(1, std::count(trace.begin(), trace.end(), "hint 8"));
}

// A remote search shows no box: the reader's error is the answer, and the
// search list stays as it was.
TEST_F(DocItemCommandsTest, AnExpressionThatDoesNotParseAnswersItsErrorAndLeavesTheSearchList)
{
    EXPECT_EQ(Texts(), Run("search[title = sun]"));
    const std::string nested = "search[" + std::string(1000, '(') + "title = moon" + std::string(1000, ')') + "]";
    const struct
    {
        std::string text;
        Texts events;
    } cases[] = {
        { nested, { "error[search - Expression nested too deeply]" } },
        { "search[title = (]", { "error[search - Missing operand]" } },
        { "search[&]", { "error[search - Boolean AND missing operand]" } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(c.events, Run(c.text));
        EXPECT_EQ("*C1", ListText(m_doc->GetSearchList()));
    }
}

TEST_F(DocItemCommandsTest, DeleteMatchingRemovesByDiscAndTrack)
{
    const struct
    {
        const char* text;
        Texts events;
        const char* list;
    } cases[] = {
        { "playlist_delete_matching[000000000000000c,2]", {}, "*C0 C-1 91" },
        { "playlist_delete_matching[000000000000000c,0]", {}, "*C0 C1 91" },
        { "playlist_delete_matching[ 000000000000000c ,all]", {}, "*91" },
        { "playlist_delete_matching[000000000000000c]",
          { "error[playlist_delete_matching - invalid number of parameters]" }, "*C0 C-1 C1 91" },
        { "playlist_delete_matching[000000000000000c,some]",
          { "error[playlist_delete_matching - track parameter must be all or a number]" }, "*C0 C-1 C1 91" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        CPlayList& list = m_doc->GetCurrentPlayList();
        list.Clear();
        list.AddItem(CLibItem(kAlbumC, 0));
        list.AddItem(CLibItem(kAlbumC, -1));
        list.AddItem(CLibItem(kAlbumC, 1));
        list.AddItem(CLibItem("0000000000000009", 1));
        list.SetPointer(0);
        EXPECT_EQ(c.events, Run(c.text));
        std::string text = ListText(list);
        EXPECT_EQ(c.list, text);
    }
}

std::string ReadText(const std::string& path)
{
    std::string text;
    if (FILE* file = fopen(path.c_str(), "rb"))
    {
        char buffer[256];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, got);
        fclose(file);
    }
    return text;
}

// Names are the play-list folder's (here "lists" in the program's folder).
// Loads take relative names as they are; saves stay inside the folder and
// replace only files that are play lists.
TEST_F(DocCommandsTest, PlayListFilesAreReadAndWrittenWhereTheirNamesSay)
{
    Close();
    CreateDirectoryA(m_folder.WindowsPath("lists").c_str(), nullptr);
    CreateDirectoryA(m_folder.WindowsPath("lists\\sub").c_str(), nullptr);
    Option("Playlist Directory", "lists");
    SetUp();
    WriteFile("lists/two.zpl", "ZYM Playlist V1.1\n000000000000000B 1\n000000000000000A 0\n");
    WriteFile("lists/notes.txt", "not a play list\n");
    WriteFile("lists/mention.txt", "Notes on the ZYM Playlist V1.1\n");
    const std::string lists = std::string(m_doc->GetProgramFolder()) + "lists\\";
    // The argument is lower-cased; Wine finds the files all the same.
    const std::string full = Lower(m_folder.WindowsPath("lists\\full.zpl"));
    const std::string outside = "the name must stay inside its folder: ";
    const struct
    {
        std::string text;
        Texts events;
        const char* list;
        const char* search;
    } cases[] = {
        { "playlist_load[two.zpl]", {}, "A0 *A1 B-1 B1 A0", "" },
        { "playlist_load[..\\lists\\two.zpl]", {}, "A0 *A1 B-1 B1 A0", "" },
        { "playlist_load[none.zpl]", { "error[Unable to open playlist " + lists + "none.zpl]" }, "A0 *A1 B-1", "" },
        { "searchlist_load[TWO.ZPL]", {}, "A0 *A1 B-1", "*B1 A0" },
        { "playlist_save[saved.zpl]", {}, "A0 *A1 B-1", "" },
        { "playlist_save[sub/full.zpl]", {}, "A0 *A1 B-1", "" },
        { "playlist_save[notes.txt]", { "error[" + lists + "notes.txt is not a valid playlist file.]" }, "A0 *A1 B-1", "" },
        { "playlist_save[mention.txt]", { "error[" + lists + "mention.txt is not a valid playlist file.]" }, "A0 *A1 B-1",
          "" },
        { "searchlist_save[notes.txt]", { "error[" + lists + "notes.txt is not a valid playlist file.]" }, "A0 *A1 B-1",
          "" },
        { "playlist_save[" + full + "]", { "error[playlist_save - " + outside + full + "]" }, "A0 *A1 B-1", "" },
        { "playlist_save[..\\escaped.bat]", { "error[playlist_save - " + outside + "..\\escaped.bat]" }, "A0 *A1 B-1", "" },
        { "playlist_save[sub\\..\\..\\escaped.zpl]", { "error[playlist_save - " + outside + "sub\\..\\..\\escaped.zpl]" },
          "A0 *A1 B-1", "" },
        { "playlist_save[c:escaped.zpl]", { "error[playlist_save - " + outside + "c:escaped.zpl]" }, "A0 *A1 B-1", "" },
        { "playlist_save[com1.pla]", { "error[playlist_save - " + outside + "com1.pla]" }, "A0 *A1 B-1", "" },
        { "searchlist_save[\\escaped.zpl]", { "error[searchlist_save - " + outside + "\\escaped.zpl]" }, "A0 *A1 B-1",
          "" },
        { "playlist_save", { "error[Error saving playlist ]" }, "A0 *A1 B-1", "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        FillList();
        m_doc->GetSearchList().Clear();
        EXPECT_EQ(c.events, Run(c.text));
        EXPECT_EQ(c.list, ListText(m_doc->GetCurrentPlayList()));
        EXPECT_EQ(c.search, ListText(m_doc->GetSearchList()));
    }
    EXPECT_EQ("ZYM Playlist V1.1", ReadText(m_folder.UnixPath("lists/saved.zpl")).substr(0, 17));
    EXPECT_EQ(ReadText(m_folder.UnixPath("lists/saved.zpl")), ReadText(m_folder.UnixPath("lists/sub/full.zpl")));
    EXPECT_EQ("not a play list\n", ReadText(m_folder.UnixPath("lists/notes.txt")));
    EXPECT_EQ("Notes on the ZYM Playlist V1.1\n", ReadText(m_folder.UnixPath("lists/mention.txt")));
    EXPECT_FALSE(m_folder.Exists("lists/full.zpl"));
    EXPECT_FALSE(m_folder.Exists("escaped.bat"));
    EXPECT_FALSE(m_folder.Exists("escaped.zpl"));
    // Saved under a name, the list saves again under it with an empty name.
    EXPECT_EQ(Texts(), Run("playlist_save[saved.zpl]"));
    m_doc->GetCurrentPlayList().RemoveAt(0);
    EXPECT_EQ(Texts(), Run("playlist_save[]"));
    EXPECT_NE(ReadText(m_folder.UnixPath("lists/saved.zpl")), ReadText(m_folder.UnixPath("lists/sub/full.zpl")));
}

TEST_F(DocCommandsTest, KeywordsAndNeverPlayChangeOnlyTracksOfTheAlbum)
{
    FillList();
    const struct
    {
        const char* text;
        Texts events;
        int track;   // where the keyword "jazz" is expected, or -2 for nowhere
    } cases[] = {
        { "library_addkeyword[000000000000000a,2,Jazz]", {}, 1 },
        { "library_removekeyword[000000000000000a,2,jazz]", {}, -2 },
        { "library_addkeyword[cur,cur,jazz]", {}, 1 },
        { "library_removekeyword[cur,cur,jazz]", {}, -2 },
        { "library_addkeyword[000000000000000a,0,jazz]", {}, -1 },
        { "library_removekeyword[000000000000000a,0,jazz]", {}, -2 },
        { "library_addkeyword[000000000000000a,4,jazz]", {}, -2 },
        { "library_addkeyword[000000000000000a,-1,jazz]", {}, -2 },
        { "library_addkeyword[0000000000000009,1,jazz]", {}, -2 },
        { "library_addkeyword[000000000000000a,x,jazz]", { "error[library_addkeyword - invalid track syntax]" }, -2 },
        { "library_removekeyword[000000000000000a,1]",
          { "error[library_removekeyword - invalid number of parameters]" }, -2 },
        // Last: the flag of the pointer's entry (A1) stays set.
        { "library_neverplaycurrenttrack", {}, -2 },
    };
    bool neverPlay = false;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.events, Run(c.text));
        neverPlay = neverPlay || c.text == std::string("library_neverplaycurrenttrack");
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        AlbumRecord album;
        ASSERT_TRUE(library.GetAlbumAt(library.FindAlbumIndex(kAlbumA), album));
        int jazz = library.GetMasterKeywords().FindKeyword("jazz");
        for (int track = kAlbumIndex; track < album.GetTrackCount(); ++track)
        {
            CKeywordList keywords = album.GetKeywordList(track);
            bool has = jazz >= 0 && keywords.Find(jazz) >= 0;
            EXPECT_EQ(track == c.track, has) << track;
        }
        EXPECT_EQ(neverPlay, album.GetNeverPlay(1));
    }
}

// With nothing queued the look-up only tells its start and end.
TEST_F(DocCommandsTest, QueuedLookUpsTellTheirStartAndEnd)
{
    EXPECT_EQ(Texts({ "library_queuedlookup_start", "library_queuedlookup_end" }), Run("library_lookup_queued"));
    EXPECT_FALSE(m_doc->IsDiscSearchRunning());
}

// What the shell was asked to open, one line "file|parameters|folder" each.
Texts g_opened;
BOOL g_openResult = TRUE;

BOOL RecordOpen(const char* file, const char* parameters, const char* folder)
{
    g_opened.push_back(std::string(file) + "|" + parameters + "|" + folder);
    return g_openResult;
}

// A flood of remote commands: a tick runs the first hundred, the next tick
// the next ones; what the full queue had no room for is told in one event.
TEST_F(DocCommandsTest, AFloodOfCommandsRunsABoundedShareEachTick)
{
    CZYMAutomation& queue = m_doc->GetAutomation();
    const int bound = CZYMAutomation::kMaxQueuedCommands;
    for (int i = 1; i <= bound + 3; ++i)
    {
        std::string command = i == 1 || i == 100 || i == 101 ? "echo[" + std::to_string(i) + "]" : "playlist_clear";
        queue.OnReceive(("zym:" + command).c_str());
    }
    // The events of one tick.
    auto tick = [this]() {
        m_doc->RunTick();
        Texts events;
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 6, "event ") == 0)
                events.push_back(line.substr(6));
        }
        return events;
    };
    EXPECT_EQ(Texts({ "error[command queue full - 3 commands dropped]", "echo[1]", "echo[100]" }), tick());
    EXPECT_EQ(Texts({ "echo[101]" }), tick());
    int ticks = 0;
    while (!queue.IsEmpty() && ticks++ < bound)
        m_doc->RunTick();
    EXPECT_EQ(Texts({ "echo[after]" }), Run("echo[after]"));
}

// Documents and web links open; programs, scripts, shortcuts, network
// paths, other links and any parameters are refused with the reason.
TEST_F(DocCommandsTest, ShellOpensDocumentsAndLinksOnly)
{
    SetLinkOpener(RecordOpen);
    const std::string refused = "error[shell - refused ";
    const struct
    {
        std::string text;
        BOOL opens;
        Texts events;
        Texts opened;
    } cases[] = {
        { "shell[C:\\Docs\\Notes.txt]", TRUE, {}, { "c:\\docs\\notes.txt||" } },
        { "shell[report.pdf,,c:\\work]", TRUE, {}, { "report.pdf||c:\\work" } },
        { "shell[song.mp3]", FALSE, { "error[shell - unable to open song.mp3]" }, { "song.mp3||" } },
        { "shell[http://example.org/a?b=1]", TRUE, {}, { "http://example.org/a?b=1||" } },
        { "shell[HTTPS://example.org/]", TRUE, {}, { "https://example.org/||" } },
        { "shell[c:\\tools\\run.bat]", TRUE, { refused + "c:\\tools\\run.bat: programs and scripts are not opened]" }, {} },
        { "shell[cmd.exe,/c echo x > f.txt]", TRUE, { refused + "cmd.exe: parameters are not allowed]" }, {} },
        { "shell[notes.txt, x]", TRUE, { refused + "notes.txt: parameters are not allowed]" }, {} },
        { "shell[cmd]", TRUE, { refused + "cmd: a file without a type is not opened]" }, {} },
        { "shell[run.bat. .]", TRUE, { refused + "run.bat. .: programs and scripts are not opened]" }, {} },
        { "shell[setup.MSI]", TRUE, { refused + "setup.msi: programs and scripts are not opened]" }, {} },
        { "shell[a.lnk]", TRUE, { refused + "a.lnk: programs and scripts are not opened]" }, {} },
        { "shell[x.ps1]", TRUE, { refused + "x.ps1: programs and scripts are not opened]" }, {} },
        { "shell[x.vbs]", TRUE, { refused + "x.vbs: programs and scripts are not opened]" }, {} },
        { "shell[x.js]", TRUE, { refused + "x.js: programs and scripts are not opened]" }, {} },
        { "shell[x.hta]", TRUE, { refused + "x.hta: programs and scripts are not opened]" }, {} },
        { "shell[x.jar]", TRUE, { refused + "x.jar: programs and scripts are not opened]" }, {} },
        { "shell[x.scr]", TRUE, { refused + "x.scr: programs and scripts are not opened]" }, {} },
        { "shell[\\\\server\\share\\a.txt]", TRUE, { refused + "\\\\server\\share\\a.txt: network paths are not opened]" }, {} },
        { "shell[//server/share/a.txt]", TRUE, { refused + "//server/share/a.txt: network paths are not opened]" }, {} },
        { "shell[a.txt,,\\\\server\\share]", TRUE, { refused + "a.txt: network folders are not allowed]" }, {} },
        { "shell[file:///c:/a.txt]", TRUE, { refused + "file:///c:/a.txt: only http and https links are opened]" }, {} },
        { "shell[javascript:alert(1)]", TRUE, { refused + "javascript:alert(1): only http and https links are opened]" }, {} },
        { "shell[notes.txt:run.exe]", TRUE, { refused + "notes.txt:run.exe: only http and https links are opened]" }, {} },
        { "shell[http://x/\" --flag]", TRUE, { refused + "http://x/\" --flag: not a valid link]" }, {} },
        { "shell[\"run.bat\"]", TRUE, { refused + "\"run.bat\": not a valid file name]" }, {} },
        { "shell[a.txt,x,y,z]", TRUE, { "error[shell - too many parameters]" }, {} },
        { "shell", TRUE, { refused + ": no file given]" }, {} },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        g_opened.clear();
        g_openResult = c.opens;
        EXPECT_EQ(c.events, Run(c.text));
        EXPECT_EQ(c.opened, g_opened);
    }
    SetLinkOpener(nullptr);
}

// Remote names of libraries and maps are taken in the folder of the one in
// use; a name that would leave it changes nothing.
TEST_F(DocCommandsTest, LibraryAndMapNamesStayInTheirFolders)
{
    WriteFile("other.map", "# no entries\n");
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    const CString libraryBefore = library.GetLibraryPath();
    const std::string outside = "the name must stay inside its folder: ";
    const struct
    {
        std::string text;
        Texts events;
    } cases[] = {
        { "mapfile_load[z:\\tmp\\evil.map]", { "error[mapfile_load - " + outside + "z:\\tmp\\evil.map]" } },
        { "mapfile_load[..\\evil.map]", { "error[mapfile_load - " + outside + "..\\evil.map]" } },
        { "mapfile_load[\\\\host\\share\\m.map]", { "error[mapfile_load - " + outside + "\\\\host\\share\\m.map]" } },
        { "mapfile_load[sub/../../evil.map]", { "error[mapfile_load - " + outside + "sub/../../evil.map]" } },
        { "library_load[c:\\other.mdb]", { "error[library_load - " + outside + "c:\\other.mdb]" } },
        { "library_load[..\\lib.mdb]", { "error[library_load - " + outside + "..\\lib.mdb]" } },
        { "library_load[nul]", { "error[library_load - " + outside + "nul]" } },
        { "library_save_all[/tmp/lib.mdb]", { "error[library_save_all - " + outside + "/tmp/lib.mdb]" } },
        { "library_save_all[c:lib.mdb]", { "error[library_save_all - " + outside + "c:lib.mdb]" } },
        { "library_save_all[new.mdb]", { "error[library_save_all - " + Lower(m_folder.WindowsPath("new.mdb")) + " doesn't exist]" } },
    };
    CMessageBoxScript boxes;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.events, Lower(Run(c.text)));
        EXPECT_EQ(libraryBefore, library.GetLibraryPath());
    }
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_FALSE(m_folder.Exists("new.mdb"));
    EXPECT_EQ(Texts(), Run("mapfile_load[other.map]"));
    EXPECT_EQ(Lower(m_folder.WindowsPath("other.map")), Lower(std::string(m_doc->GetOptions().m_page7.m_mapFile)));
}

// A file that a remote user names is rewritten only when it is a library;
// one that does not exist is refused without asking the user.
TEST_F(DocCommandsTest, SaveAllWritesOnlyLibraryFiles)
{
    WriteFile("notes.txt", "not a library\n");
    const std::string foreign = Lower(m_folder.WindowsPath("notes.txt"));
    const std::string saved = Lower(m_folder.WindowsPath("saved.mdb"));
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    const CString before = library.GetLibraryPath();
    const CString optionBefore = m_doc->GetOptions().m_page9.m_newDbPath;
    {
        CMessageBoxScript boxes;
        EXPECT_EQ(Texts({ "error[library_save_all - " + foreign + " is not a library file]" }),
                  Lower(Run("library_save_all[notes.txt]")));
        EXPECT_EQ(Texts({ "error[library_save_all - " + saved + " doesn't exist]" }),
                  Lower(Run("library_save_all[saved.mdb]")));
        EXPECT_TRUE(boxes.Shown().empty());
    }
    EXPECT_EQ(before, library.GetLibraryPath());
    EXPECT_EQ(optionBefore, m_doc->GetOptions().m_page9.m_newDbPath);
    {
        // The user at the screen makes the new file from the template.
        CMessageBoxScript boxes;
        boxes.Then(IDYES);
        library.SetLibraryPath(m_folder.WindowsPath("saved.mdb").c_str());
        m_doc->SaveLibrary();
        EXPECT_EQ(1u, boxes.Shown().size());
        library.SetLibraryPath(before);
        m_trace.Take();
    }
    // A library is saved over again, and becomes the one in use.
    EXPECT_EQ(Texts({ "library_save_start", "library_save_end" }), Run("library_save_all[saved.mdb]"));
    EXPECT_EQ(saved, Lower(std::string(library.GetLibraryPath())));
    EXPECT_EQ(saved, Lower(std::string(m_doc->GetOptions().m_page9.m_newDbPath)));
    EXPECT_EQ(0, library.CountChanged());
    // A library path naming a foreign file: the save shows the database's
    // error and ends; the file stays.
    library.SetLibraryPath(foreign.c_str());
    library.MarkAllChanged();
    {
        CMessageBoxScript boxes;
        Run("library_save");
        EXPECT_EQ(1u, boxes.Shown().size());
    }
    EXPECT_EQ("not a library\n", ReadText(m_folder.UnixPath("notes.txt")));
}

} // namespace
