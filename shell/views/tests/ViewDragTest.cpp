// Drags of library items through OLE's own loop, made with the mouse as a
// user makes them: within the track list, from the track list onto the
// album list, and from the album list into the search results.
#include "ShellViewFixture.h"

#include "AlbumListView.h"
#include "OleDragDriver.h"
#include "SearchView.h"
#include "TrackListView.h"

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
        PumpViewMessages();
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
        PumpViewMessages();
    }
    // Drags the selected rows from a row to a point, with Ctrl held when
    // copying; the list's frame comes to the front first, as a click on it
    // would bring it there before the drag.
    bool Drag(CLxListCtrl& list, int row, CPoint target, bool copy)
    {
        list.GetParentFrame()->SetForegroundWindow();
        PumpViewMessages();
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

    COleDragDriver m_driver{PumpViewMessages};
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
        PumpViewMessages();
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
    PumpViewMessages();

    EXPECT_TRUE(Drag(tracks->GetList(), 0, RowPoint(albumList, RowOf(albumList, kCdId)), true));
    EXPECT_EQ((Texts{"T1", "T2"}), TrackTitles(kCdId));
    ShowAlbum(kOtherId);
    SelectRows(tracks->GetList(), {0, 1});
    PumpViewMessages();
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
    PumpViewMessages();

    CRect below;
    search->GetList().GetClientRect(&below);
    CPoint end(below.CenterPoint().x, below.bottom - 10);
    search->GetList().ClientToScreen(&end);
    EXPECT_TRUE(Drag(albums->GetList(), 0, end, true));
    Texts rows = Column(albums->GetList(), 15);
    Texts expected = {std::string(CLibItem(kMp3Id, 0).Format())};
    for (const std::string& id : rows)
        expected.push_back(std::string(CLibItem(id.c_str(), -1).Format()));
    Texts entries;
    for (int i = 0; i < m_doc->GetSearchList().GetCount(); ++i)
        entries.push_back(std::string(m_doc->GetSearchList().GetItem(i).Format()));
    EXPECT_EQ(expected, entries);
    EXPECT_EQ(3, search->GetList().GetItemCount());
}

} // namespace
