// Drags through OLE's own loop between play-list views: the mouse goes down
// on a row and moves (the list begins the drag), then timer callbacks that
// the drag's loop dispatches move the cursor, hold Ctrl and release the
// button or press Escape, as a user would.
#include "tests/support/views/ViewFixture.h"

#include "tests/support/OleDragDriver.h"
#include "library/views/PlayListView.h"

#include <afxole.h>

#include <functional>

namespace {

CViewsTestApp g_app;

const char kA[] = "000000000000000A"; // changer 0, three tracks
const char kB[] = "000000000000000B"; // changer 0, two tracks

class PlayListDragTest : public ::testing::Test
{
protected:
    PlayListDragTest()
    {
        AfxOleInit();
        m_doc.AddAlbum(kA, 0, 1, true, 3);
        m_doc.AddAlbum(kB, 0, 2, true, 2);
        m_frame.reset(new CViewFrame(m_doc, RUNTIME_CLASS(CPlayListView)));
        m_view = static_cast<CPlayListView*>(m_frame->GetView());
        m_frame->GetFrame()->SetForegroundWindow();
    }

    CPlayList& List() { return *m_doc.m_lists.front(); }
    void Fill(CPlayList& list, const std::vector<std::pair<const char*, int>>& entries)
    {
        list.Clear();
        for (const auto& entry : entries)
            list.AddItem(CLibItem(entry.first, entry.second));
    }
    void Show(CPlayListView& view) { view.OnUpdate(nullptr, kViewHintPlaylist, nullptr); }
    void Select(CPlayListView& view, const std::vector<int>& rows)
    {
        view.GetList().SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            view.GetList().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        PumpMessages();
    }
    CPoint RowPoint(CPlayListView& view, int row, int dy = 0)
    {
        CRect rect;
        view.GetList().GetItemRect(row, &rect, LVIR_BOUNDS);
        CPoint point(rect.left + 60, rect.CenterPoint().y + dy);
        view.GetList().ClientToScreen(&point);
        return point;
    }
    // Presses on a row of the view, moves off it and runs the steps inside
    // the drag that this starts.
    void Drag(CPlayListView& view, int row, const std::vector<COleDragDriver::Step>& steps)
    {
        EXPECT_TRUE(m_driver.Drag(RowPoint(view, row), steps));
        EXPECT_TRUE(m_driver.Started()) << "the list began no drag";
    }
    static COleDragDriver::Step MoveTo(CPoint screen) { return COleDragDriver::MoveTo(screen); }
    static COleDragDriver::Step Release(CPoint screen) { return COleDragDriver::Release(screen); }
    static COleDragDriver::Step Key(WORD key, bool up) { return COleDragDriver::Key(key, up); }
    static COleDragDriver::Step Wait() { return COleDragDriver::Wait(); }

    COleDragDriver m_driver;
    CTestViewsDoc m_doc;
    std::unique_ptr<CViewFrame> m_frame;
    CPlayListView* m_view = nullptr;
};

TEST_F(PlayListDragTest, AMoveInsideTheListKeepsThePlayingEntry)
{
    Fill(List(), {{kA, 0}, {kA, 1}, {kA, 2}, {kB, 0}, {kB, 1}});
    List().SetPointer(1);
    Show(*m_view);
    Select(*m_view, {0, 1});
    CPoint target = RowPoint(*m_view, 4, -3);
    Drag(*m_view, 1, {MoveTo(target), Wait(), Release(target), Wait()});
    EXPECT_EQ((std::vector<std::string>{"A:2", "B:0", "A:0", "A:1", "B:1"}), CTestViewsDoc::Entries(List()));
    EXPECT_EQ(3, List().GetPointer());
}

TEST_F(PlayListDragTest, ACtrlDragCopiesAndLeavesNoMark)
{
    Fill(List(), {{kA, 0}, {kA, 1}, {kB, 0}});
    Show(*m_view);
    Select(*m_view, {0});
    CPoint target = RowPoint(*m_view, 2, -3);
    Drag(*m_view, 0, {MoveTo(target), Key(VK_CONTROL, false), Wait(), Release(target), Key(VK_CONTROL, true)});
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1", "A:0", "B:0"}), CTestViewsDoc::Entries(List()));
    // No mark of that drag is left to remove anything later.
    EXPECT_TRUE(m_view->DropText("000000000000000B 1", 0, true));
    EXPECT_EQ(5, List().GetCount());
}

TEST_F(PlayListDragTest, EscapeCancelsAndLeavesNoMark)
{
    Fill(List(), {{kA, 0}, {kA, 1}, {kB, 0}});
    Show(*m_view);
    Select(*m_view, {0});
    CPoint target = RowPoint(*m_view, 2, -3);
    Drag(*m_view, 0, {MoveTo(target), Key(VK_ESCAPE, false), Key(VK_ESCAPE, true), Wait()});
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1", "B:0"}), CTestViewsDoc::Entries(List()));
    EXPECT_TRUE(m_view->DropText("000000000000000B 1", 0, true));
    EXPECT_EQ(4, List().GetCount());
}

TEST_F(PlayListDragTest, NearTheTopEdgeTheListScrollsUp)
{
    List().Clear();
    for (int i = 0; i < 60; ++i)
        List().AddItem(CLibItem(kA, i % 3));
    Show(*m_view);
    CLxListCtrl& list = m_view->GetList();
    list.EnsureVisible(59, FALSE);
    int top = list.GetTopIndex();
    ASSERT_GT(top, 0);
    Select(*m_view, {top + 1});
    CPoint edge(40, 8);
    m_view->ClientToScreen(&edge);
    int topWhileDragging = -1;
    Drag(*m_view, top + 1, {MoveTo(edge), Wait(), Wait(), Wait(), [&] { topWhileDragging = list.GetTopIndex(); },
                            Key(VK_ESCAPE, false), Key(VK_ESCAPE, true), Wait()});
    EXPECT_LT(topWhileDragging, top);
    EXPECT_EQ(60, List().GetCount());
}

TEST_F(PlayListDragTest, AMoveIntoAnotherViewCopiesThere)
{
    Fill(List(), {{kA, 0}, {kA, 1}, {kB, 0}});
    List().SetPointer(0);
    Show(*m_view);
    m_doc.m_lists.emplace_back(new CPlayList(m_doc.m_library));
    Fill(*m_doc.m_lists.back(), {{kB, 1}});
    CViewFrame second(m_doc, RUNTIME_CLASS(CPlayListView));
    second.GetFrame()->SetWindowPos(NULL, 450, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CPlayListView* other = static_cast<CPlayListView*>(second.GetView());
    Show(*other);
    PumpMessages();

    Select(*m_view, {0, 1});
    CPoint target = RowPoint(*other, 0, -3);
    Drag(*m_view, 0, {MoveTo(target), Wait(), Release(target), Wait()});
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1", "B:1"}), CTestViewsDoc::Entries(*other->GetPlayList()));
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1", "B:0"}), CTestViewsDoc::Entries(List()));
    EXPECT_EQ(0, List().GetPointer());
}

} // namespace
