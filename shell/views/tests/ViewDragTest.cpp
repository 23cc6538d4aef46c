// Drags of library items through OLE's own loop, made with the mouse as a
// user makes them: within the track list, from the track list onto the
// album list, from the album list into the search results, from each
// library list into the play list; and files dragged in from outside.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/AlbumListView.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/OleDragDriver.h"
#include "library/views/PlayListView.h"
#include "shell/views/SearchView.h"
#include "tests/support/TempFolder.h"
#include "shell/views/TrackListView.h"

#include <afxole.h>

#include <fstream>

namespace {

class ViewDragTest : public ShellViewFixture
{
protected:
    // A view in a frame of its own; the second one stands right of the first.
    template <class View> View* ShowBeside(CRuntimeClass* viewClass)
    {
        View* view = Show<View>(viewClass);
        if (m_frames.size() > 1)
            m_frames.back()->GetFrame()->SetWindowPos(NULL, 450, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_frames.back()->GetFrame()->SetForegroundWindow();
        PumpMessages();
        return view;
    }
    static CPoint RowPoint(CLxListCtrl& list, int row, int dy = 0)
    {
        CRect rect;
        list.GetItemRect(row, &rect, LVIR_BOUNDS);
        CPoint point(rect.left + 60, rect.CenterPoint().y + dy);
        list.ClientToScreen(&point);
        return point;
    }
    void ShowAlbum(const char* id)
    {
        m_doc->GetSelectionList().Clear();
        m_doc->GetSelectionList().AddItem(CLibItem(id, -1));
        m_doc->UpdateAllViews(NULL, kViewHintSelection);
        PumpMessages();
    }
    // Drags the selected rows from a row to a point, with Ctrl held when
    // copying; the list's frame comes to the front first, as a click on it
    // would bring it there before the drag.
    bool Drag(CLxListCtrl& list, int row, CPoint target, bool copy)
    {
        list.GetParentFrame()->SetForegroundWindow();
        PumpMessages();
        std::vector<COleDragDriver::Step> steps = {COleDragDriver::MoveTo(target)};
        if (copy)
            steps.push_back(COleDragDriver::Key(VK_CONTROL, false));
        steps.insert(steps.end(), {COleDragDriver::Wait(), COleDragDriver::Release(target)});
        if (copy)
            steps.push_back(COleDragDriver::Key(VK_CONTROL, true));
        steps.push_back(COleDragDriver::Wait());
        return m_driver.Drag(RowPoint(list, row), steps);
    }
    int RowOf(CLxListCtrl& list, const char* id)
    {
        Texts ids = Column(list, 15);
        return (int)(std::find(ids.begin(), ids.end(), id) - ids.begin());
    }
    // A point of a list below its rows.
    static CPoint BelowRows(CLxListCtrl& list)
    {
        CRect client;
        list.GetClientRect(&client);
        CPoint point(client.CenterPoint().x, client.bottom - 10);
        list.ClientToScreen(&point);
        return point;
    }
    static Texts Entries(const CPlayList& list)
    {
        Texts entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.push_back(std::string(list.GetItem(i).Format()));
        return entries;
    }
    static std::string Entry(const char* id, int track) { return std::string(CLibItem(id, track).Format()); }

    COleDragDriver m_driver;
};

TEST_F(ViewDragTest, TracksDraggedWithinTheListAreReordered)
{
    AddAlbum(kMp3Id, "Files", 4, true);
    CTrackListView* view = ShowBeside<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    CLxListCtrl& list = view->GetList();
    const struct
    {
        std::initializer_list<int> dragged;
        int from, onto;
        Texts titles;
    } cases[] = {
        {{1, 2}, 1, 0, {"T2", "T3", "T1", "T4"}},
        {{0}, 0, 3, {"T2", "T3", "T1", "T4"}},
    };
    for (const auto& c : cases)
    {
        RetitleTracks(0);
        ShowAlbum(kMp3Id);
        m_doc->UpdateAllViews(NULL, kViewHintAll);
        SelectRows(list, c.dragged);
        PumpMessages();
        EXPECT_TRUE(Drag(list, c.from, RowPoint(list, c.onto, -3), false));
        EXPECT_EQ(c.titles, TrackTitles(kMp3Id)) << c.from << " onto " << c.onto;
    }
}

TEST_F(ViewDragTest, TracksDroppedOnTheAlbumListJoinAnAudioAlbumOnly)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 1, true);
    AddAlbum(kOtherId, "Other", 2, true);
    CTrackListView* tracks = ShowBeside<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    CAlbumListView* albums = ShowBeside<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CLxListCtrl& albumList = albums->GetList();
    ShowAlbum(kOtherId);
    SelectRows(tracks->GetList(), {0, 1});
    PumpMessages();

    EXPECT_TRUE(Drag(tracks->GetList(), 0, RowPoint(albumList, RowOf(albumList, kCdId)), true));
    EXPECT_EQ((Texts{"T1", "T2"}), TrackTitles(kCdId));
    ShowAlbum(kOtherId);
    SelectRows(tracks->GetList(), {0, 1});
    PumpMessages();
    // Pressed where the last drag began, the press would be a double click.
    EXPECT_TRUE(Drag(tracks->GetList(), 1, RowPoint(albumList, RowOf(albumList, kMp3Id)), true));
    EXPECT_EQ((Texts{"T1", "T1", "T2"}), TrackTitles(kMp3Id));
    EXPECT_EQ((Texts{"T1", "T2"}), TrackTitles(kOtherId)) << "the source keeps its tracks";
}

TEST_F(ViewDragTest, AlbumsDroppedOnTheSearchResultsBecomeWholeAlbumEntries)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 1, true);
    CAlbumListView* albums = ShowBeside<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CSearchView* search = ShowBeside<CSearchView>(RUNTIME_CLASS(CSearchView));
    m_doc->GetSearchList().AddItem(CLibItem(kMp3Id, 0));
    m_doc->UpdateAllViews(NULL, kViewHintSearchList);
    SelectRows(albums->GetList(), {0, 1});
    PumpMessages();

    Texts rows = Column(albums->GetList(), 15);
    Texts expected = {Entry(kMp3Id, 0)};
    for (const std::string& id : rows)
        expected.push_back(Entry(id.c_str(), -1));
    // Albums leave as copies only: the drop is taken as a copy with Ctrl or without.
    for (bool copy : {false, true})
    {
        m_doc->GetSearchList().Clear();
        m_doc->GetSearchList().AddItem(CLibItem(kMp3Id, 0));
        m_doc->UpdateAllViews(NULL, kViewHintSearchList);
        SelectRows(albums->GetList(), {0, 1});
        PumpMessages();
        EXPECT_TRUE(Drag(albums->GetList(), copy ? 0 : 1, BelowRows(search->GetList()), copy));
        EXPECT_EQ(expected, Entries(m_doc->GetSearchList())) << (copy ? "with Ctrl" : "without Ctrl");
        EXPECT_EQ(3, search->GetList().GetItemCount());
    }
}

TEST_F(ViewDragTest, AlbumsTracksAndSearchResultsDraggedOntoThePlayListJoinItsEnd)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    CAlbumListView* albums = ShowBeside<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CPlayListView* playList = ShowBeside<CPlayListView>(RUNTIME_CLASS(CPlayListView));
    CTrackListView* tracks = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    m_frames.back()->GetFrame()->SetWindowPos(NULL, 0, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CSearchView* search = Show<CSearchView>(RUNTIME_CLASS(CSearchView));
    m_frames.back()->GetFrame()->SetWindowPos(NULL, 450, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CPlayList& entries = *playList->GetPlayList();
    const struct
    {
        const char* source;
        std::function<CLxListCtrl&()> prepare;
        bool copy;
        Texts added;
    } cases[] = {
        {"albums",
         [&]() -> CLxListCtrl& {
             SelectRows(albums->GetList(), {RowOf(albums->GetList(), kCdId)});
             return albums->GetList();
         },
         false, {Entry(kCdId, -1)}},
        {"albums with Ctrl",
         [&]() -> CLxListCtrl& {
             SelectRows(albums->GetList(), {RowOf(albums->GetList(), kMp3Id)});
             return albums->GetList();
         },
         true, {Entry(kMp3Id, -1)}},
        {"tracks",
         [&]() -> CLxListCtrl& {
             ShowAlbum(kMp3Id);
             SelectRows(tracks->GetList(), {1, 2});
             return tracks->GetList();
         },
         false, {Entry(kMp3Id, 1), Entry(kMp3Id, 2)}},
        {"search results",
         [&]() -> CLxListCtrl& {
             m_doc->GetSearchList().Clear();
             m_doc->GetSearchList().AddItem(CLibItem(kCdId, 1));
             m_doc->UpdateAllViews(NULL, kViewHintSearchList);
             SelectRows(search->GetList(), {0});
             return search->GetList();
         },
         false, {Entry(kCdId, 1)}},
    };
    for (const auto& c : cases)
    {
        entries.Clear();
        entries.AddItem(CLibItem(kCdId, 0));
        m_doc->UpdateAllViews(NULL, kViewHintPlaylist);
        CLxListCtrl& list = c.prepare();
        PumpMessages();
        int row = list.GetNextItem(-1, LVNI_SELECTED);
        EXPECT_TRUE(Drag(list, row, BelowRows(playList->GetList()), c.copy)) << c.source;
        Texts expected = {Entry(kCdId, 0)};
        expected.insert(expected.end(), c.added.begin(), c.added.end());
        EXPECT_EQ(expected, Entries(entries)) << c.source;
        EXPECT_EQ(static_cast<int>(expected.size()), playList->GetList().GetItemCount()) << c.source;
    }
    EXPECT_EQ(1, m_doc->GetSearchList().GetCount()) << "the search result stays where it was";
}

// Holds an outside drag for a few turns of OLE's loop, then drops.
class CDropAfterTurns : public COleDropSource
{
public:
    SCODE QueryContinueDrag(BOOL, DWORD) override { return ++m_turns < 4 ? S_OK : DRAGDROP_S_DROP; }

private:
    int m_turns = 0;
};

TEST_F(ViewDragTest, PlayListFilesDraggedInFromOutsideAreLoadedWhereTheyDrop)
{
    AddAlbum(kCdId, "Disc", 2, false);
    AddAlbum(kMp3Id, "Files", 3, true);
    CPlayListView* playList = ShowBeside<CPlayListView>(RUNTIME_CLASS(CPlayListView));
    CTempFolder folder("view_drag");
    ASSERT_TRUE(folder.IsValid());
    std::ofstream(folder.UnixPath("two.pla")) << "ZYM Playlist V1.1\r\n"
                                              << Entry(kMp3Id, 2) << "\r\n"
                                              << Entry(kCdId, -1) << "\r\n";
    std::ofstream(folder.UnixPath("song.mp3")) << "not a play list";
    CPlayList& entries = *playList->GetPlayList();
    entries.Clear();
    entries.AddItem(CLibItem(kCdId, 0));
    entries.AddItem(CLibItem(kCdId, 1));
    m_doc->UpdateAllViews(NULL, kViewHintPlaylist);
    PumpMessages();
    const struct
    {
        const char* file;
        std::function<CPoint()> where;
        Texts expected;
        bool told;
    } cases[] = {
        {"two.pla", [&] { return RowPoint(playList->GetList(), 1); },
         {Entry(kCdId, 0), Entry(kMp3Id, 2), Entry(kCdId, -1), Entry(kCdId, 1)}, false},
        {"two.pla", [&] { return BelowRows(playList->GetList()); },
         {Entry(kCdId, 0), Entry(kCdId, 1), Entry(kMp3Id, 2), Entry(kCdId, -1)}, false},
        // An audio file is no play list: the user is told, and nothing is added.
        {"song.mp3", [&] { return BelowRows(playList->GetList()); }, {Entry(kCdId, 0), Entry(kCdId, 1)}, true},
    };
    for (const auto& c : cases)
    {
        entries.Clear();
        entries.AddItem(CLibItem(kCdId, 0));
        entries.AddItem(CLibItem(kCdId, 1));
        m_doc->UpdateAllViews(NULL, kViewHintPlaylist);
        PumpMessages();
        CPoint point = c.where();
        ::SetCursorPos(point.x, point.y);
        COleDataSource source;
        source.CacheGlobalData(CF_HDROP, MakeDrop({folder.WindowsPath(c.file)}));
        CDropAfterTurns dropSource;
        CMessageBoxScript boxes;
        EXPECT_EQ(DROPEFFECT_COPY,
                  source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, NULL, &dropSource))
            << c.file;
        EXPECT_EQ(c.expected, Entries(entries)) << c.file;
        ASSERT_EQ(c.told ? 1u : 0u, boxes.Shown().size()) << c.file;
        if (c.told)
            EXPECT_EQ(folder.WindowsPath(c.file) + " is not a valid playlist file.", boxes.Shown()[0].text);
    }
}

} // namespace
