// The album list, track list, detail and player views on a real document.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/AlbumListView.h"
#include "shell/views/DetailView.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/Waits.h"
#include "shell/views/PlayerView.h"
#include "shell/views/SearchView.h"
#include "tests/support/RealInput.h"
#include "core/players/SonyPlayer.h"
#include "shell/views/TrackListView.h"
#include "shell/views/ViewsResources.h"

#include <algorithm>
#include <functional>

namespace {

class LibraryViewsTest : public ShellViewFixture
{
protected:
    // A committed in-place edit as the list hands it to its view.
    static BOOL Commit(CLxListCtrl& list, DWORD_PTR itemData, int columnId, const char* text)
    {
        CLxListRequest request;
        request.m_code = kLxRequestCommit;
        request.m_itemData = itemData;
        request.m_columnId = columnId;
        request.m_text = text;
        return (list.GetParent()->*list.m_pfnRequestHandler)(request);
    }
    void Select(const char* id, int track)
    {
        m_doc->GetSelectionList().AddItem(CLibItem(id, track));
    }
    Texts Hints()
    {
        Texts hints;
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 5, "hint ") == 0)
                hints.push_back(line);
        }
        return hints;
    }
};

TEST_F(LibraryViewsTest, AlbumCellsFollowTheColumnAndTheAlbumsKind)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    int gone = AddAlbum("00000000000000D1", "Deleted", 1, false, 2);
    int removed = AddAlbum("00000000000000D2", "Removed", 1, false, 3);
    {
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        CLibraryLock lock(library);
        library.GetAlbumPtr(lock, gone)->SetState(kAlbumDeleted);
        library.GetAlbumPtr(lock, removed)->SetState(kAlbumRemoved);
        library.GetAlbumPtr(lock, 1)->SetMemo(kAlbumIndex, "note");
    }
    CAlbumListView* view = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    ASSERT_TRUE(view);
    CLxListCtrl& list = view->GetList();
    ASSERT_EQ(2, list.GetItemCount());
    EXPECT_EQ(0u, list.GetItemData(0));
    EXPECT_EQ(1u, list.GetItemData(1));

    struct Case
    {
        int column;
        const char* cd;
        const char* mp3;
    };
    // The changer is not known to the player control: its album cannot play now.
    const Case cases[] = {
        {0, "", ""},         {1, "1", "2"},       {2, "Band", "Band"},
        {3, "Disc", "Files"}, {4, "1", "mp3"},     {5, "P1 D001", "mp3"},
        {6, "", ""},         {9, " 3:21", " 5:03"}, {10, "   0", "   0"},
        {15, kCdId, kMp3Id}, {19, "", "note"},    {20, "", ""},
        {-1, "", ""},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.cd, Cell(list, 0, c.column)) << c.column;
        EXPECT_EQ(c.mp3, Cell(list, 1, c.column)) << c.column;
    }
    EXPECT_EQ("", Cell(list, 4, 2)) << "an index past the albums";
    CString caption;
    view->GetParentFrame()->GetWindowText(caption);
    EXPECT_EQ("Library (2 items)", std::string(caption));
}

TEST_F(LibraryViewsTest, AnEmptyLibraryIsCaptionedLibraryAndHideDiscsCountsOnlyPlayableRows)
{
    CAlbumListView* view = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CString caption;
    view->GetParentFrame()->GetWindowText(caption);
    EXPECT_EQ("Library", std::string(caption));

    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    m_doc->GetOptions().m_page2.m_hideDiscs = 1;
    m_doc->UpdateAllViews(NULL, kViewHintAll);
    EXPECT_EQ(Texts{kMp3Id}, Column(view->GetList(), 15));
    view->GetParentFrame()->GetWindowText(caption);
    EXPECT_EQ("Library (1 items)", std::string(caption));
}

TEST_F(LibraryViewsTest, SelectingRowsCopiesThemOnceAndRebuildingDoesNotEcho)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    AddAlbum(kOtherId, "Other", 1, false, 2);
    CAlbumListView* view = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    PumpMessages();
    Hints();

    SelectRows(view->GetList(), {0, 2});
    PumpMessages();
    EXPECT_EQ((Texts{std::string(kCdId) + " -1", std::string(kOtherId) + " -1"}), Selection());
    EXPECT_EQ(Texts{"hint 4"}, Hints());

    m_doc->UpdateAllViews(NULL, kViewHintAll);
    PumpMessages();
    EXPECT_EQ(Texts{"hint 0"}, Hints());
    EXPECT_EQ(2u, view->GetList().GetSelectedCount()) << "the selection shown again";

    m_doc->UpdateAllViews(NULL, kViewHintSelectFirst);
    PumpMessages();
    EXPECT_EQ(Texts{std::string(kCdId) + " -1"}, Selection());
    EXPECT_EQ((Texts{"hint 21", "hint 4"}), Hints());
}

// Rows selected all at once, by the program or as a range with Shift, reach
// the document's selection as rows selected one by one do.
TEST_F(LibraryViewsTest, RowsSelectedAtOnceReachTheDocument)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    AddAlbum(kOtherId, "Other", 1, false, 2);
    CAlbumListView* view = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CLxListCtrl& list = view->GetList();
    Texts all = {std::string(kCdId) + " -1", std::string(kMp3Id) + " -1", std::string(kOtherId) + " -1"};
    std::sort(all.begin(), all.end());
    struct Case
    {
        const char* what;
        std::function<void()> select;
    };
    const Case cases[] = {
        {"every row", [&] { list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }},
        {"Shift and End from the first row", [&] {
             list.SetFocus();
             SelectRows(list, {0});
             PumpMessages();
             INPUT keys[4] = {};
             const WORD codes[4] = {VK_SHIFT, VK_END, VK_END, VK_SHIFT};
             for (int i = 0; i < 4; ++i)
             {
                 keys[i].type = INPUT_KEYBOARD;
                 keys[i].ki.wVk = codes[i];
                 keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
             }
             SendInput(4, keys, sizeof(INPUT));
         }},
    };
    for (const Case& c : cases)
    {
        list.SetItemState(-1, 0, LVIS_SELECTED);
        m_doc->GetSelectionList().Clear();
        PumpMessages();
        c.select();
        PumpMessages();
        Texts selection = Selection();
        std::sort(selection.begin(), selection.end());
        EXPECT_EQ(all, selection) << c.what;
    }
}

TEST_F(LibraryViewsTest, TheTrackListShowsTheSelectedAlbumAndItsTracks)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    CTrackListView* view = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    CLxListCtrl& list = view->GetList();

    struct Case
    {
        std::vector<std::pair<const char*, int>> selection;
        int rows;
        const char* banner;
        int selected;
    };
    const Case cases[] = {
        {{}, 0, "Tracks", 0},
        {{{kMp3Id, -1}}, 3, "Tracks for Files", 0},
        {{{kMp3Id, 0}, {kMp3Id, 2}}, 3, "Tracks for Files", 2},
        {{{kMp3Id, -1}, {kCdId, -1}}, 0, "Tracks", 0},
        {{{kCdId, 1}}, 2, "Tracks for Disc", 1},
    };
    for (const Case& c : cases)
    {
        m_doc->GetSelectionList().Clear();
        for (const auto& entry : c.selection)
            Select(entry.first, entry.second);
        m_doc->UpdateAllViews(NULL, kViewHintSelection);
        EXPECT_EQ(c.rows, list.GetItemCount()) << c.banner;
        EXPECT_EQ(c.banner, std::string(view->GetBanner().GetText()));
        EXPECT_EQ(c.selected, static_cast<int>(list.GetSelectedCount())) << c.banner;
    }
    EXPECT_EQ((Texts{" 1", " 2"}), Column(list, 4));
    EXPECT_EQ((Texts{"6", "6"}).size(), Column(list, 1).size());
}

// A sort asks a column's texts for all rows at once: each view answers them
// as it answers each row, a row that stands for nothing included, and sorts
// by them.
TEST_F(LibraryViewsTest, ColumnTextsAtOnceAreEachRowsTexts)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    Select(kMp3Id, -1);
    m_doc->GetSearchList().AddItem(CLibItem(kCdId, 1));
    m_doc->GetSearchList().AddItem(CLibItem(kMp3Id, -1));
    m_doc->GetSearchList().AddItem(CLibItem(kMp3Id, 0));
    struct Case
    {
        const char* name;
        CLibraryListView* view;
        int titleId;
        Texts titlesDown;
    };
    const Case cases[] = {
        {"albums", Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView)), 3, {"Files", "Disc"}},
        {"tracks", Show<CTrackListView>(RUNTIME_CLASS(CTrackListView)), 3, {"T3", "T2", "T1"}},
        {"search", Show<CSearchView>(RUNTIME_CLASS(CSearchView)), 4, {"T2", "T1", "Files"}},
    };
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    m_doc->UpdateAllViews(NULL, kViewHintSearchList);
    const DWORD_PTR kNothing = 1000;
    for (const Case& c : cases)
    {
        ASSERT_TRUE(c.view) << c.name;
        CLxListCtrl& list = c.view->GetList();
        std::vector<DWORD_PTR> rows = {kNothing};
        for (int row = 0; row < list.GetItemCount(); ++row)
            rows.push_back(list.GetItemData(row));
        int answered = 0;
        for (int id = 0; id < 40; ++id)
        {
            std::vector<CString> texts;
            if (!(list.GetParent()->*list.m_pfnColumnTextsHandler)(id, rows, texts))
                continue;
            ++answered;
            ASSERT_EQ(rows.size(), texts.size()) << c.name << " column " << id;
            for (size_t row = 0; row < rows.size(); ++row)
                EXPECT_EQ(Cell(list, rows[row], id), std::string(texts[row])) << c.name << " column " << id;
        }
        EXPECT_GT(answered, 10) << c.name;
        int column = 0;
        while (column < list.GetColumnCount() && list.GetColumnId(column) != c.titleId)
            ++column;
        ASSERT_EQ(1, list.SortBy(column, 0)) << c.name;
        EXPECT_EQ(c.titlesDown, Column(list, c.titleId)) << c.name;
    }
}

TEST_F(LibraryViewsTest, TrackRowsSelectedBecomeTrackEntriesOfTheShownAlbum)
{
    AddAlbum(kMp3Id, "Files", 3, true);
    CTrackListView* view = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    Select(kMp3Id, -1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    PumpMessages();
    Hints();
    SelectRows(view->GetList(), {0, 2});
    PumpMessages();
    EXPECT_EQ((Texts{std::string(kMp3Id) + " 0", std::string(kMp3Id) + " 2"}), Selection());
    EXPECT_EQ(Texts{"hint 4"}, Hints());
}

// The dragged tracks leave their places and their copies come in at the
// drop, Ctrl or not; dropped entries of other drags are copies.
TEST_F(LibraryViewsTest, DraggingTracksWithinTheListReordersThem)
{
    AddAlbum(kMp3Id, "Files", 4, true);
    AddAlbum(kOtherId, "Other", 2, true);
    CTrackListView* view = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    struct Case
    {
        std::initializer_list<int> dragged;
        int position;
        Texts titles;
    };
    const Case cases[] = {
        {{1, 2}, 0, {"T2", "T3", "T1", "T4"}},
        {{0}, 3, {"T2", "T3", "T1", "T4"}},
        {{3}, CTrackListView::kAtEnd, {"T1", "T2", "T3", "T4"}},
        {{0, 3}, 2, {"T2", "T1", "T4", "T3"}},
    };
    for (const Case& c : cases)
    {
        RetitleTracks(0);
        m_doc->GetSelectionList().Clear();
        Select(kMp3Id, -1);
        m_doc->UpdateAllViews(NULL, kViewHintAll);
        SelectRows(view->GetList(), c.dragged);
        CString text = view->BeginDragOut();
        EXPECT_TRUE(view->DropTracks(text, c.position));
        EXPECT_EQ(c.titles, TrackTitles(kMp3Id)) << text;
    }

    EXPECT_TRUE(view->DropTracks(CString(kOtherId) + " 1\n" + kOtherId + " 7\nnonsense", 0));
    EXPECT_EQ((Texts{"T2", "T2", "T1", "T4", "T3"}), TrackTitles(kMp3Id));
    EXPECT_EQ((Texts{"T1", "T2"}), TrackTitles(kOtherId)) << "a copy leaves its source";
}

TEST_F(LibraryViewsTest, TracksDropOnlyIntoAudioFileAlbums)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 2, true);
    CTrackListView* tracks = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    Select(kCdId, -1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_FALSE(tracks->DropTracks(CString(kMp3Id) + " 0", 0));
    EXPECT_EQ((Texts{"T1", "T2"}), TrackTitles(kCdId));

    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CString lines = CString(kCdId) + " 1\n" + kCdId + " -1\n" + kMp3Id + " 0";
    EXPECT_FALSE(albums->DropTracks(0, lines));
    EXPECT_TRUE(albums->DropTracks(1, lines));
    EXPECT_EQ((Texts{"T1", "T2", "T2", "T1"}), TrackTitles(kMp3Id));
    EXPECT_FALSE(albums->DropTracks(-1, lines));
}

TEST_F(LibraryViewsTest, DraggedAlbumsAreLinesOfTheirIdAndMinusOne)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 2, true);
    CAlbumListView* view = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    SelectRows(view->GetList(), {0, 1});
    EXPECT_EQ(std::string(kCdId) + " -1\n" + kMp3Id + " -1", std::string(view->BeginDragOut()));
    view->EndDragOut();
}

TEST_F(LibraryViewsTest, InPlaceEditsReachTheLibraryAndABadDateIsTold)
{
    AddAlbum(kMp3Id, "Files", 2, true);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CLxListCtrl& list = albums->GetList();
    m_doc->GetMusicLibrary().SetModified(false);
    EXPECT_TRUE(Commit(list, 0, 2, "New Band"));
    EXPECT_TRUE(Commit(list, 0, 3, "New Title"));
    EXPECT_TRUE(Commit(list, 0, 13, "1999"));
    EXPECT_TRUE(Commit(list, 0, 19, "memo"));
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
    EXPECT_EQ((Texts{"New Band", "New Title", "memo"}),
              (Texts{Cell(list, 0, 2), Cell(list, 0, 3), Cell(list, 0, 19)}));
    std::string released = Cell(list, 0, 13);
    {
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        EXPECT_TRUE(Commit(list, 0, 13, "not a date"));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Incorrect date / time format", boxes.Shown()[0].text);
    }
    EXPECT_EQ(released, Cell(list, 0, 13));
    EXPECT_TRUE(Commit(list, 0, 15, "ignored"));
    EXPECT_EQ(kMp3Id, Cell(list, 0, 15));

    CTrackListView* tracks = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    Select(kMp3Id, -1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_TRUE(Commit(tracks->GetList(), 1, 3, "Renamed"));
    EXPECT_TRUE(Commit(tracks->GetList(), 5, 3, "past the end"));
    EXPECT_EQ((Texts{"T1", "Renamed"}), TrackTitles(kMp3Id));
}

TEST_F(LibraryViewsTest, DetailsShowTheItemOfTheSelection)
{
    AddAlbum(kMp3Id, "Files", 3, true);
    AddAlbum(kCdId, "Disc", 2, false);
    CDetailView* view = Show<CDetailView>(RUNTIME_CLASS(CDetailView));
    CLxListCtrl& list = view->GetList();
    EXPECT_EQ(0, list.GetItemCount());

    Select(kMp3Id, 1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    ASSERT_EQ(19, list.GetItemCount());
    EXPECT_EQ("Track Details for T2", std::string(view->GetBanner().GetText()));
    EXPECT_EQ((Texts{"Disc Artist", "Disc Title", "Track Artist", "Track Title", "Track", "Location",
                     "Playable?", "Never Play?", "Memo", "ZYMID", "Image File", "Lyrics?", "Notes?",
                     "Last Played", "Length", "Times Played", "Time Played", "Date Added", "Date Released"}),
              Column(list, 1));
    Texts values = Column(list, 2);
    EXPECT_EQ((Texts{"Band", "Files", "Band", "T2", " 2", "Z:\\music\\" + std::string(kMp3Id) + "1.mp3", "yes",
                     "no"}),
              Texts(values.begin(), values.begin() + 8));
    EXPECT_EQ(kMp3Id, values[9]);

    // Two tracks of one album: the album.
    Select(kMp3Id, 2);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_EQ("Album Details for Files", std::string(view->GetBanner().GetText()));
    EXPECT_EQ("", Cell(list, 2, 2));
    EXPECT_TRUE(Commit(list, 2, 2, "Nobody"));
    EXPECT_EQ((Texts{"T1", "T2", "T3"}), TrackTitles(kMp3Id));
    EXPECT_TRUE(Commit(list, 1, 2, "Renamed"));
    EXPECT_EQ("Renamed", Cell(list, 1, 2));

    Select(kCdId, -1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ("Details", std::string(view->GetBanner().GetText()));
    m_doc->GetSelectionList().Clear();
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(LibraryViewsTest, TheSameItemSelectedAgainKeepsTheRows)
{
    AddAlbum(kMp3Id, "Files", 3, true);
    CDetailView* view = Show<CDetailView>(RUNTIME_CLASS(CDetailView));
    Select(kMp3Id, 0);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    CLxListCtrl& list = view->GetList();
    list.SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
    m_doc->UpdateAllViews(NULL, kViewHintShowSelection);
    EXPECT_EQ(1u, list.GetSelectedCount()) << "the rows were not made again";
}

TEST_F(LibraryViewsTest, TheMp3PlayerHasTheLastRowWithItsState)
{
    AddAlbum(kMp3Id, "Files", 3, true);
    CPlayerView* view = Show<CPlayerView>(RUNTIME_CLASS(CPlayerView));
    CLxListCtrl& list = view->GetList();
    ASSERT_EQ(1, list.GetItemCount());
    EXPECT_EQ("MP3", Cell(list, 0, 2));
    EXPECT_EQ("MPEG Audio Decoder", Cell(list, 0, 4));
    struct Case
    {
        BOOL busy;
        BOOL playing;
        BOOL paused;
        const char* picture;
    };
    // A busy player animates from frame 12 on, one frame per repaint.
    const Case cases[] = {{FALSE, FALSE, FALSE, "9"}, {FALSE, TRUE, FALSE, "8"}, {FALSE, FALSE, TRUE, "10"},
                          {FALSE, TRUE, TRUE, "10"},  {TRUE, TRUE, TRUE, "12"},   {TRUE, FALSE, FALSE, "13"}};
    for (const Case& c : cases)
    {
        m_frame.mp3.busy = c.busy;
        m_frame.mp3.playing = c.playing;
        m_frame.mp3.paused = c.paused;
        EXPECT_EQ(c.picture, Cell(list, 0, 1));
    }
    m_frame.mp3.busy = FALSE;
    m_frame.mp3.albumId = kMp3Id;
    m_frame.mp3.track = 2;
    EXPECT_EQ("Z:\\music\\" + std::string(kMp3Id) + "2.mp3", Cell(list, 0, 3));
    m_frame.mp3.minutes = 0;
    m_frame.mp3.seconds = 7;
    EXPECT_EQ("0:07/1:42", Cell(list, 0, 5));
    m_frame.mp3.minutes = -1;
    EXPECT_EQ("", Cell(list, 0, 5)) << "no position yet";

    m_doc->GetOptions().m_page5.m_enableMp3 = 0;
    m_doc->UpdateAllViews(NULL, kViewHintPlayersRescanned);
    EXPECT_EQ(0, list.GetItemCount());
}

} // namespace

namespace {

// The Delete key and a double click hand their rows to the document's
// commands through its selection.
TEST_F(LibraryViewsTest, DeleteAndDoubleClickReachTheDocument)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    AddAlbum(kOtherId, "Other", 1, false, 2);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CLxListCtrl& list = albums->GetList();
    SelectRows(list, {0, 2});
    {
        CMessageBoxScript boxes;
        boxes.Then(IDYES).Then(IDNO);
        MSG msg = {list.m_hWnd, WM_KEYDOWN, VK_DELETE, 0};
        EXPECT_TRUE(static_cast<CWnd*>(albums)->PreTranslateMessage(&msg));
        ASSERT_EQ(2u, boxes.Shown().size());
        EXPECT_EQ("Delete Other?", boxes.Shown()[0].text);
        EXPECT_EQ("Delete Disc?", boxes.Shown()[1].text);
    }
    EXPECT_EQ((Texts{kCdId, kMp3Id}), Column(list, 15));

    CTrackListView* tracks = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    m_doc->GetSelectionList().Clear();
    Select(kMp3Id, -1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    SelectRows(tracks->GetList(), {2, 0});
    {
        CMessageBoxScript boxes;
        boxes.Then(IDYES).Then(IDYES);
        MSG msg = {tracks->GetList().m_hWnd, WM_KEYDOWN, VK_DELETE, 0};
        static_cast<CWnd*>(tracks)->PreTranslateMessage(&msg);
    }
    EXPECT_EQ(Texts{"T2"}, TrackTitles(kMp3Id));

    // A double click on the second album's row adds it to the play list.
    PumpMessages();
    CRect row;
    list.GetItemRect(1, &row, LVIR_BOUNDS);
    CPoint point = row.CenterPoint();
    list.ClientToScreen(&point);
    albums->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(point.x, point.y));
    PumpMessages();
    EXPECT_EQ(Texts{std::string(kMp3Id) + " -1"}, Selection());
    CPlayList& playList = *m_doc->GetPlayList();
    ASSERT_EQ(1, playList.GetCount());
    EXPECT_EQ(std::string(kMp3Id) + " -1", std::string(playList.GetItem(0).Format()));
}


// A right click on a row opens the library menu over the selected albums;
// its commands reach the document, which acts on them. A click on the header
// or beside the rows opens nothing.
TEST_F(LibraryViewsTest, TheLibraryMenuActsOnTheSelectedAlbums)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 1, true);
    AddAlbum(kOtherId, "Other", 1, true);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CLxListCtrl& list = albums->GetList();
    SelectRows(list, {1, 2});
    PumpMessages();
    m_doc->GetPlayList()->Clear();
    auto rightClick = [albums](CPoint point) {
        return [albums, point] { albums->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y)); };
    };
    CRect row;
    list.GetItemRect(1, &row, LVIR_BOUNDS);
    std::vector<UINT> items = PickFromMenu(rightClick(row.CenterPoint()), 0);
    EXPECT_EQ((std::vector<UINT>{ID_LIBRARY_ADD_TO_END, ID_LIBRARY_ADD_AS_NEXT, ID_LIBRARY_ADD_NEXT_AND_PLAY,
                                 ID_LIBRARY_ADD_EXPLODE, 0, ID_LIBRARY_DELETE, 0, ID_LIBRARY_CDDB_INFO}),
              items);
    Texts ids = Column(list, 15);
    Texts added;
    for (int i = 0; i < m_doc->GetPlayList()->GetCount(); ++i)
        added.push_back(std::string(m_doc->GetPlayList()->GetItem(i).Format()));
    EXPECT_EQ((Texts{std::string(CLibItem(ids[1].c_str(), -1).Format()),
                     std::string(CLibItem(ids[2].c_str(), -1).Format())}),
              added);

    CRect client;
    list.GetClientRect(&client);
    EXPECT_TRUE(PickFromMenu(rightClick(CPoint(row.left + 5, 8)), -1).empty()) << "header";
    EXPECT_TRUE(PickFromMenu(rightClick(CPoint(row.left + 5, client.bottom - 4)), -1).empty()) << "below the rows";
}

// A double click adds the clicked album to the current play list by the
// option: at the end (0), after the current entry (1), or there and playing (2).
TEST_F(LibraryViewsTest, ADoubleClickAddsTheAlbumByThePlayOption)
{
    AddAlbum(kMp3Id, "Files", 2, true);
    AddAlbum(kOtherId, "Other", 1, true);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CLxListCtrl& list = albums->GetList();
    const std::string a0(CLibItem(kMp3Id, 0).Format()), a1(CLibItem(kMp3Id, 1).Format()),
        added(CLibItem(kOtherId, -1).Format());
    Texts ids = Column(list, 15);
    int otherRow = (int)(std::find(ids.begin(), ids.end(), kOtherId) - ids.begin());
    ASSERT_LT(otherRow, (int)ids.size());
    const struct
    {
        int option;
        Texts entries;
        int pointer;
        bool plays;
    } cases[] = {
        {0, {a0, a1, added}, 0, false},
        {1, {a0, added, a1}, 0, false},
        {2, {a0, added, a1}, 1, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.option);
        m_doc->GetOptions().m_page2.m_doubleClickPlayOption = c.option;
        CPlayList& playList = *m_doc->GetPlayList();
        playList.Clear();
        playList.AddItem(CLibItem(kMp3Id, 0));
        playList.AddItem(CLibItem(kMp3Id, 1));
        playList.SetPointer(0);
        ASSERT_FALSE(playList.IsPlaying());

        CRect row;
        list.GetItemRect(otherRow, &row, LVIR_BOUNDS);
        CPoint point = row.CenterPoint();
        list.ClientToScreen(&point);
        albums->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(point.x, point.y));
        PumpMessages();

        Texts entries;
        for (int i = 0; i < playList.GetCount(); ++i)
            entries.push_back(std::string(playList.GetItem(i).Format()));
        EXPECT_EQ(c.entries, entries);
        EXPECT_EQ(c.pointer, playList.GetPointer());
        EXPECT_EQ(c.plays, playList.IsPlaying() != FALSE);
    }
}

} // namespace

namespace {

// A changer's status words as pictures, tested in their order; a busy
// changer animates whatever else it reports.
TEST_F(LibraryViewsTest, AChangersRowShowsItsStatus)
{
    m_doc->GetDevicePath().SetMessageBoxes(FALSE);
    ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
    CSonyPlayer& changer = *m_doc->GetSonyControl()->GetPlayer(0);
    m_frame.player = nullptr;
    CPlayerView* view = Show<CPlayerView>(RUNTIME_CLASS(CPlayerView));
    CLxListCtrl& list = view->GetList();
    ASSERT_EQ(1, list.GetItemCount());
    EXPECT_EQ("CD 1", Cell(list, 0, 2));
    struct Case
    {
        int powered, busy, paused, playing, shown;
        const char* picture;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 1, "31"}, {1, 0, 1, 1, 1, "10"}, {1, 0, 0, 1, 1, "8"},
        {1, 0, 0, 0, 1, "30"}, {1, 0, 0, 0, 0, "9"},
    };
    for (const Case& c : cases)
    {
        changer.ChangeState([&c](ChangerState& s) {
            s.powered = c.powered;
            s.busy = c.busy;
            s.paused = c.paused;
            s.playing = c.playing;
            s.changing = c.shown;
        });
        EXPECT_EQ(c.picture, Cell(list, 0, 1));
    }
    changer.ChangeState([](ChangerState& s) { s.busy = 1; });
    Texts frames;
    for (int i = 0; i < 19; ++i)
        frames.push_back(Cell(list, 0, 1));
    EXPECT_EQ("12", frames[0]);
    EXPECT_EQ("29", frames[17]);
    EXPECT_EQ("12", frames[18]);

    struct Time
    {
        int track, elapsedMinutes, elapsedSeconds, totalMinutes, totalSeconds;
        const char* text;
    };
    const Time times[] = {
        {3, 1, 5, 4, 0, "1:05/4:00"}, {3, 1, 5, -1, 0, "1:05"}, {3, -1, 5, 4, 0, ""}, {-1, 1, 5, 4, 0, ""},
    };
    changer.ChangeState([](ChangerState& s) { s.currentDisc = 12; });
    for (const Time& t : times)
    {
        changer.ChangeState([&t](ChangerState& s) {
            s.currentTrack = t.track;
            s.elapsedMinutes = t.elapsedMinutes;
            s.elapsedSeconds = t.elapsedSeconds;
            s.lengthMinutes = t.totalMinutes;
            s.lengthSeconds = t.totalSeconds;
        });
        EXPECT_EQ(t.text, Cell(list, 0, 5)) << t.track << " " << t.totalMinutes;
    }
    changer.ChangeState([](ChangerState& s) { s.currentTrack = 3; });
    EXPECT_EQ("D12 T3", Cell(list, 0, 3));
}

} // namespace

namespace {

TEST_F(LibraryViewsTest, ASelectedPlayerRowBecomesTheCurrentPlayer)
{
    m_doc->GetDevicePath().SetMessageBoxes(FALSE);
    ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
    ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(1, 0, 0, FALSE));
    CPlayerView* view = Show<CPlayerView>(RUNTIME_CLASS(CPlayerView));
    CLxListCtrl& list = view->GetList();
    ASSERT_EQ(3, list.GetItemCount());
    m_doc->GetSelectionList().AddItem(CLibItem(kMp3Id, -1));
    for (int row : {1, 2, 0})
    {
        SelectRows(list, {row});
        PumpMessages();
        EXPECT_EQ(row < 2 ? row : kMp3Player, m_doc->GetCurrentPlayer()) << row;
    }
    EXPECT_EQ((Texts{std::string(CLibItem(kMp3Id, -1).Format())}), Selection()) << "a player is no library entry";
}

// The player menu opens on a row and goes to the main window, whose commands
// reach the document: Play acts on the player of the row selected.
TEST_F(LibraryViewsTest, ThePlayerMenuActsOnTheSelectedPlayer)
{
    CPlayerView* view = Show<CPlayerView>(RUNTIME_CLASS(CPlayerView));
    CLxListCtrl& list = view->GetList();
    ASSERT_EQ(1, list.GetItemCount());
    SelectRows(list, {0});
    PumpMessages();
    ASSERT_EQ(kMp3Player, m_doc->GetCurrentPlayer());
    CWinThread* app = AfxGetApp();
    CWnd* mainWindow = app->m_pMainWnd;
    app->m_pMainWnd = m_frames.back()->GetFrame();
    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    std::vector<UINT> items =
        PickFromMenu([&] { view->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(row.CenterPoint().x, row.CenterPoint().y)); },
                     0);
    app->m_pMainWnd = mainWindow;
    EXPECT_EQ((std::vector<UINT>{ID_PLAYER_PLAY, ID_PLAYER_STOP, ID_PLAYER_PAUSE, 0, ID_PLAYER_TRACK_FWD,
                                 ID_PLAYER_TRACK_BACK, ID_PLAYER_FAST_FWD, ID_PLAYER_FAST_REW}),
              items);
    EXPECT_EQ((std::vector<std::string>{"post play"}), m_frame.mp3.requests);
}

// Hints a view does not act on leave it unpainted.
TEST_F(LibraryViewsTest, IgnoredHintsPaintNothing)
{
    AddAlbum(kMp3Id, "Files", 3, true);
    struct Case
    {
        CRuntimeClass* view;
        std::vector<int> ignored;
    };
    const Case cases[] = {
        {RUNTIME_CLASS(CAlbumListView), {1, 2, 3, 5, 6, 7, 8, 11, 14, 15, 22}},
        {RUNTIME_CLASS(CTrackListView), {1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 14, 15, 21, 22}},
        {RUNTIME_CLASS(CDetailView), {0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 14, 15, 21, 22}},
        {RUNTIME_CLASS(CPlayerView), {1, 2, 4, 5, 7, 8, 10, 11, 12, 13, 14, 15, 18, 19, 21, 22}},
    };
    for (const Case& c : cases)
    {
        CView* view = Show<CView>(c.view);
        CWnd* list = view->GetDlgItem(1008);
        for (int hint : c.ignored)
        {
            view->UpdateWindow();
            list->UpdateWindow();
            m_doc->UpdateAllViews(NULL, hint);
            EXPECT_FALSE(::GetUpdateRect(view->m_hWnd, NULL, FALSE) || ::GetUpdateRect(list->m_hWnd, NULL, FALSE))
                << c.view->m_lpszClassName << " hint " << hint;
        }
        m_frames.clear();
    }
}

} // namespace

namespace {

void SendMouse(DWORD flags, CPoint screen)
{
    SendMouseAt(flags, screen);
    PumpUntilIdle(30, 20);
}

void SendKey(WORD key)
{
    PressKey(key);
    PumpUntilIdle(30, 20);
}

// A person double-clicks the Disc Title value, types a title and ends it
// with Return.
TEST_F(LibraryViewsTest, ADoubleClickedValueIsEditedByTheKeyboard)
{
    AddAlbum(kMp3Id, "Files", 3, true);
    CDetailView* view = Show<CDetailView>(RUNTIME_CLASS(CDetailView));
    Select(kMp3Id, -1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    CLxListCtrl& list = view->GetList();
    ASSERT_EQ("Files", Cell(list, 1, 2));
    view->GetParentFrame()->SetForegroundWindow();
    PumpUntilIdle(30, 20);

    CRect cell;
    list.GetSubItemRect(1, 2, LVIR_BOUNDS, cell);
    CPoint point(cell.left + 20, cell.CenterPoint().y);
    list.ClientToScreen(&point);
    SendMouse(0, point);
    for (int click = 0; click < 2; ++click)
    {
        SendMouse(MOUSEEVENTF_LEFTDOWN, point);
        SendMouse(MOUSEEVENTF_LEFTUP, point);
    }
    CWnd* editor = list.GetWindow(GW_CHILD);
    while (editor && editor->m_hWnd == list.GetHeaderCtrl()->m_hWnd)
        editor = editor->GetWindow(GW_HWNDNEXT);
    ASSERT_TRUE(editor) << "no editor opened";
    EXPECT_EQ(editor->m_hWnd, ::GetFocus());

    // The click leaves the caret in the text: End, then five back spaces.
    SendKey(VK_END);
    for (int back = 0; back < 5; ++back)
        SendKey(VK_BACK);
    for (WORD key : std::initializer_list<WORD>{'N', 'E', 'W', VK_RETURN})
        SendKey(key);
    EXPECT_EQ("new", Cell(list, 1, 2));
}

} // namespace
