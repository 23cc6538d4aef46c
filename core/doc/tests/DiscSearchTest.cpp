// The disc search, identification and look-ups of the document against
// simulated changers behind an interface unit on a pty, with the local
// disc-database gateway as the client's proxy: which slots each search mode
// loads (seen as the changers' words on the bus), passes, ranges, cancel,
// new and moved discs, one disc in two changers, queued and selected look-ups,
// and a changer that stops answering.
#include "core/doc/tests/ChangerDocFixture.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/Waits.h"

#include "core/doc/DiscLookups.h"
#include "core/doc/DiscSearch.h"

#include <algorithm>

namespace {

class DiscSearchTest : public ChangerDocFixture
{
protected:
    void Search(int mode, int playerFilter = 0)
    {
        DiscSearchSettings& settings = m_doc->GetSearchSettings();
        settings = DiscSearchSettings();
        settings.mode = mode;
        settings.playerFilter = playerFilter;
        CDiscSearch(*m_doc).SearchDiscs();
    }
};

// Six slots, one of each kind: an album believed there and a slot state the
// changer reported (unknown, empty, a disc), then no album and the same three.
TEST_F(DiscSearchTest, EachModeLoadsTheSlotsItShould)
{
    CChangerModel& changer = AddChanger(0, 6);
    changer.SetDisc(1, Disc({ 100, 110 }));
    changer.SetDisc(3, Disc({ 120, 130 }));
    changer.SetDisc(6, Disc({ 140, 150 }));
    Start();
    AddAlbum({ 100, 110 }, 0, 1);
    AddAlbum({ 160, 170 }, 0, 2);   // believed there; the changer has no disc
    AddAlbum({ 120, 130 }, 0, 3);
    const struct
    {
        int mode;
        std::vector<size_t> loads;   // of slots 1 to 6
    } rows[] = {
        // The second pass of mode 1 glances again at slot 2, which the
        // library fills and the changer calls empty; nothing new is learnt.
        { CDiscSearch::kUnknownSlots, { 1, 2, 0, 1, 0, 1 } },
        { CDiscSearch::kEmptySlots, { 0, 0, 0, 1, 0, 1 } },
        { CDiscSearch::kAllSlots, { 1, 1, 1, 1, 1, 1 } },
    };
    std::string newId;
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.mode);
        if (!newId.empty())
        {
            AlbumRecord album = AlbumAt(0, 6);
            m_doc->GetMusicLibrary().DeleteAlbum(album);
        }
        SetFlags(0, { kUnknown, kEmpty, kDisc, kUnknown, kEmpty, kDisc });
        m_unit.ClearReceived();
        Search(row.mode);
        std::vector<size_t> loads;
        for (int s = 1; s <= 6; ++s)
            loads.push_back(Loads(0, s));
        EXPECT_EQ(row.loads, loads);
        AlbumRecord found = AlbumAt(0, 6);
        newId = std::string(found.GetIdText());
        EXPECT_EQ(1, CountAlbums(newId)) << "the new disc is stored once";
        EXPECT_EQ(row.loads[0] ? kDisc : kUnknown, Flags(0, 1) & kDisc);
        EXPECT_EQ(kEmpty, Flags(0, 4) & kDisc);
    }
    Close();
}

TEST_F(DiscSearchTest, ASearchTellsItsStepsInOrderAndARangeWrapsRoundTheEnd)
{
    AddChanger(11, 100);
    Start();
    std::vector<DWORD> empty(100, kEmpty);
    SetFlags(0, empty);
    DiscSearchSettings& settings = m_doc->GetSearchSettings();
    settings = DiscSearchSettings();
    settings.useRange = TRUE;
    settings.firstSlot = 98;
    settings.lastSlot = 2;
    CDiscSearch(*m_doc).SearchDiscs();
    EXPECT_EQ(Texts({ "library_discsearch_start", "library_discsearch_title[Checking \"Empty\" Slots - Pass 1]",
                      "library_discsearch_status[1,1,1,100]", "library_discsearch_status[1,2,2,100]",
                      "library_discsearch_status[1,98,3,100]", "library_discsearch_status[1,99,4,100]",
                      "library_discsearch_status[1,100,5,100]", "library_discsearch_end" }),
              Events("library_discsearch"));
    EXPECT_EQ(1, m_doc->GetPollPlayerStatus());
    EXPECT_FALSE(m_doc->IsDiscSearchRunning());
    Close();
}

TEST_F(DiscSearchTest, ACancelledSearchStopsAfterTheSlotAndStillEnds)
{
    CChangerModel& changer = AddChanger(0, 5);
    changer.SetDisc(4, Disc({ 100 }));
    Start();
    CCancelAtStatus cancel(m_doc->GetTaskMgr(), "Searching Player 1 Disc 2");
    m_doc->GetTaskMgr().AddListener(&cancel);
    m_unit.ClearReceived();
    Search(CDiscSearch::kAllSlots);
    EXPECT_EQ(Texts({ "library_discsearch_start", "library_discsearch_title[Checking All Slots]",
                      "library_discsearch_status[1,1,1,5]", "library_discsearch_status[1,2,2,5]",
                      "library_discsearch_end" }),
              Events("library_discsearch"));
    EXPECT_EQ(0u, Loads(0, 3));
    EXPECT_EQ(0u, Loads(0, 4));
    EXPECT_EQ(1, m_doc->GetPollPlayerStatus());
    Close();
}

TEST_F(DiscSearchTest, ANewDiscIsIdentifiedLookedUpAndStored)
{
    CChangerModel& changer = AddChanger(0, 5);
    changer.SetDisc(3, Disc(kHarbourLights));
    m_cddb.Answer(kCddbServer, "cddb+query*", "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
    m_cddb.AnswerRead(kCddbServer, "rock", "a50b4d03", CCddbTestServer::kEntry);
    Start();
    SetFlags(0, { kEmpty, kEmpty, kUnknown, kEmpty, kEmpty });
    Search(CDiscSearch::kEmptySlots);
    AlbumRecord album = AlbumAt(0, 3);
    EXPECT_EQ(CString("Harbour Lights"), album.GetTitle(kAlbumIndex));
    EXPECT_EQ(CString("The Quiet Set"), album.GetArtist(kAlbumIndex));
    EXPECT_EQ(3, album.GetTrackCount());
    EXPECT_EQ(300, album.GetPlayTime(1));
    EXPECT_TRUE(album.IsPresent());
    Texts events = Events("library_location_updated");
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ("library_location_updated[" + std::string(album.GetIdText()) + ",P1 D003]", events[0]);
    Close();
}

// A disc that plays where the library expects another is identified by the
// playing thread: the library's album there is marked absent and the disc
// gets an album of its own.
TEST_F(DiscSearchTest, APlayingDiscTheLibraryDoesNotKnowThereIsIdentified)
{
    AddChanger(0, 5).SetDisc(3, Disc({ 150, 250 }));
    Start();
    std::string expected = AddAlbum({ 100, 200 }, 0, 3, "Expected");
    m_doc->GetSonyControl()->GetPlayer(0)->PlayOrCue(3, 0, TRUE);
    std::string found;
    WaitUntil(
        [&] {
            found = std::string(AlbumAt(0, 3).GetIdText());
            return !found.empty() && found != expected;
        },
        10000);
    ASSERT_NE(expected, found);
    EXPECT_EQ(1, CountAlbums(found));
    EXPECT_EQ(2, AlbumAt(0, 3).GetTrackCount());
    AlbumRecord old;
    ASSERT_TRUE(m_doc->GetMusicLibrary().GetAlbumAt(m_doc->GetMusicLibrary().FindAlbumIndex(expected.c_str()), old));
    EXPECT_FALSE(old.IsPresent());
    m_doc->OnPlaylistStop();
    Close();
}

// A changer with memo functions tells whether the disc carries CD text; the
// texts name the album when the disc database does not know it.
TEST_F(DiscSearchTest, ANewDiscOfAChangerWithTextsTakesItsCdText)
{
    ChangerDisc disc = Disc({ 100, 200 });
    disc.cdText = "Disc Text";
    AddChanger(11, 5).SetDisc(2, disc);
    Start();
    SetFlags(0, { kEmpty, kUnknown, kEmpty, kEmpty, kEmpty });
    m_unit.ClearReceived();
    Search(CDiscSearch::kEmptySlots);
    AlbumRecord album = AlbumAt(0, 2);
    EXPECT_EQ(CString("Disc Text"), album.GetTitle(kAlbumIndex));
    EXPECT_EQ(CString("Disc Text"), album.GetRecord(kAlbumIndex)->m_cdText);
    EXPECT_EQ(1u, CountWords(0, 0x0E, {}));   // query_stored
    Close();
}

TEST_F(DiscSearchTest, AKnownDiscFoundElsewhereMovesItsAlbum)
{
    CChangerModel& changer = AddChanger(0, 5);
    changer.SetDisc(2, Disc({ 100, 200 }));
    Start();
    std::string id = AddAlbum({ 100, 200 }, 0, 5, "Moved");
    SetFlags(0, { kEmpty, kUnknown, kEmpty, kEmpty, kEmpty });
    CMessageBoxScript boxes;
    Search(CDiscSearch::kEmptySlots);
    EXPECT_EQ(1, CountAlbums(id));
    AlbumRecord album = AlbumAt(0, 2);
    EXPECT_EQ(CString(id.c_str()), album.GetIdText());
    EXPECT_EQ(CString("Moved"), album.GetTitle(kAlbumIndex));
    EXPECT_TRUE(boxes.Shown().empty());
    Close();
}

// The first copy is left out of the rest of the search, so that a second
// pass does not move the album back and forth.
TEST_F(DiscSearchTest, OneDiscInTwoChangersIsReportedOnceAndKeptAsOneAlbum)
{
    AddChanger(0, 3).SetDisc(1, Disc(kHarbourLights));
    AddChanger(0, 3).SetDisc(2, Disc(kHarbourLights));
    Start();
    SetFlags(0, { kUnknown, kEmpty, kEmpty });
    SetFlags(1, { kEmpty, kUnknown, kEmpty });
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    m_unit.ClearReceived();
    Search(CDiscSearch::kUnknownSlots);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("This discs titled  in \nPlayer 1 Slot 1\nPlayer 2 Slot 2\nappear to be duplicates, which is not "
              "allowed in ZYM.\nPlease remove the first of these two discs when the search is complete.",
              boxes.Shown()[0].text);
    AlbumRecord album = AlbumAt(1, 2);
    EXPECT_EQ(1, CountAlbums(std::string(album.GetIdText())));
    EXPECT_EQ(1u, Loads(0, 1));
    EXPECT_EQ(1u, Loads(1, 2));
    Close();
}

TEST_F(DiscSearchTest, QueuedAndSelectedLookUpsFillTheirAlbums)
{
    m_cddb.Answer(kCddbServer, "cddb+query*", "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
    m_cddb.AnswerRead(kCddbServer, "rock", "a50b4d03", CCddbTestServer::kEntry);
    Open();
    std::string queued = AddAlbum(kHarbourLights, 0, 1, "*** Queued P1 D001***");
    std::string plain = AddAlbum({ 100, 200 }, 0, 2, "Plain");
    CDiscLookups(*m_doc).LookUpQueuedDiscs();
    Texts trace = m_trace.Take();
    auto has = [&](const std::string& line) { return std::find(trace.begin(), trace.end(), line) != trace.end(); };
    EXPECT_TRUE(has("event library_queuedlookup_start"));
    EXPECT_TRUE(has("task Looking Up Selected Discs"));
    EXPECT_TRUE(has("status Identifying Player 1 Disc 1"));
    EXPECT_TRUE(has("status Searching..."));
    EXPECT_TRUE(has("event library_queuedlookup_end"));
    EXPECT_EQ(CString("Harbour Lights"), AlbumAt(0, 1).GetTitle(kAlbumIndex));
    EXPECT_EQ(CString("Plain"), AlbumAt(0, 2).GetTitle(kAlbumIndex));
    EXPECT_EQ(1u, m_cddb.Commands().size() / 2);

    // Nothing found for a queued album: it is marked and no longer queued.
    m_cddb.Answer(kCddbServer, "cddb+query*", "202 No match found\r\n");
    CPlayList selected(m_doc->GetMusicLibrary());
    AlbumRecord album = AlbumAt(0, 2);
    album.SetTitle(kAlbumIndex, "*** Queued P1 D002***");
    m_doc->GetMusicLibrary().StoreAlbum(album);
    selected.AddItem(CLibItem(plain.c_str(), -1));
    CDiscLookups(*m_doc).LookUpSelectedDiscs(selected);
    EXPECT_EQ(CString("Not Found in CDDB"), AlbumAt(0, 2).GetArtist(kAlbumIndex));
    EXPECT_FALSE(m_doc->IsDiscSearchRunning());
    Close();
}

// Without "Use Internet" a new album is queued for a later look-up.
TEST_F(DiscSearchTest, WithoutTheInternetAnUntitledAlbumIsQueued)
{
    Open();
    CCDDBClient& client = m_doc->GetCddbClient();
    client.m_bUseInternet = FALSE;
    AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
    album.SetTrackCount(1);
    album.SetPlayer(1);
    album.SetSlot(7);
    EXPECT_FALSE(LookupAlbumInfo(client, album));
    EXPECT_EQ(CString("*** Queued P2 D007***"), album.GetTitle(kAlbumIndex));
    EXPECT_TRUE(LookupAlbumInfo(client, album));
    EXPECT_GT(album.GetAdded(kAlbumIndex).GetYear(), 1899);
    EXPECT_TRUE(m_cddb.Commands().empty());
    Close();
}

// A changer that stops answering: each of its slots costs one watched try,
// and the search ends after its first pass.
TEST_F(DiscSearchTest, ASilentChangerEndsThePasses)
{
    AddChanger(0, 2).SetDisc(1, Disc({ 100 }));
    Start();
    SetFlags(0, { kUnknown, kUnknown });
    // Known to play all discs in order, so that no load waits for a mode
    // report that never comes.
    m_doc->GetSonyControl()->GetPlayer(0)->ChangeState([](ChangerState& s) { s.allDiscs = 1; });
    m_bus.Inspect(0, [](CChangerModel& changer) { return changer.Faults().silent = true; });
    m_unit.ClearReceived();
    Search(CDiscSearch::kEmptySlots);
    EXPECT_EQ(1u, Loads(0, 1));
    EXPECT_EQ(1u, Loads(0, 2));
    EXPECT_EQ(kUnknown, Flags(0, 1) & kDisc);
    EXPECT_EQ(Texts({ "library_discsearch_start", "library_discsearch_title[Checking \"Empty\" Slots - Pass 1]",
                      "library_discsearch_status[1,1,1,2]", "library_discsearch_status[1,2,2,2]",
                      "library_discsearch_end" }),
              Events("library_discsearch"));
    Close();
}

} // namespace
