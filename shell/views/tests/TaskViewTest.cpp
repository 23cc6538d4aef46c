// The task view in a frame on a document that owns a task manager: rows and
// cells after the rebuild hint, redraws of changed tasks only, cancelling
// the selected task from its menu, and the column layout saved.
#include "tests/support/views/ViewFixture.h"

#include "shell/dialogs/TaskResources.h"
#include "shell/views/TaskView.h"

#include "library/views/ViewResources.h"

namespace {

CViewsTestApp g_app;

// The tasks' clock, which moves only when a test moves it.
ULONGLONG g_now = 1000;

CTimeStamp TestClock()
{
    return CTimeStamp(g_now);
}

class CTaskDoc : public CDocument, public CTaskViewHost
{
public:
    CTaskDoc() { m_bAutoDelete = FALSE; }
    CTaskMgr& GetTaskMgr() override { return m_tasks; }
    CTaskMgr m_tasks{TestClock};
};

class TaskViewTest : public ::testing::Test
{
protected:
    CTaskView* Open()
    {
        m_frame.reset(new CViewFrame(m_doc, RUNTIME_CLASS(CTaskView)));
        return static_cast<CTaskView*>(m_frame->GetView());
    }
    std::vector<std::string> RowTexts(CTaskView& view, int row)
    {
        std::vector<std::string> texts;
        for (int column = 0; column < view.GetList().GetColumnCount(); ++column)
        {
            CString text;
            view.GetList().GetCellText(row, column, text);
            texts.push_back((LPCSTR)text);
        }
        return texts;
    }
    bool RowNeedsPainting(CTaskView& view, int row)
    {
        CRect rect;
        view.GetList().GetItemRect(row, &rect, LVIR_BOUNDS);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(view.GetList().m_hWnd, region, FALSE);
        bool inside = PtInRegion(region, rect.CenterPoint().x, rect.CenterPoint().y) != FALSE;
        DeleteObject(region);
        return inside;
    }

    CTaskDoc m_doc;
    std::unique_ptr<CViewFrame> m_frame;
};

TEST_F(TaskViewTest, RebuildShowsEveryTaskWithNameStatusAndProgress)
{
    CTaskView* view = Open();
    ASSERT_TRUE(view != nullptr);
    int copy = m_doc.m_tasks.CreateTask("Copy", nullptr, 0);
    m_doc.m_tasks.SetTaskStatus(copy, "half way");
    m_doc.m_tasks.SetTaskRange(copy, 10);
    m_doc.m_tasks.SetTaskPos(copy, 3);
    m_doc.m_tasks.CreateTask("Lookup", nullptr, CTaskSink::kShowProgressDialog);
    EXPECT_EQ(0, view->GetList().GetItemCount());

    m_doc.UpdateAllViews(nullptr, kViewHintTasksRebuild);
    ASSERT_EQ(2, view->GetList().GetItemCount());
    EXPECT_EQ((std::vector<std::string>{"", "Copy", "half way", "3/10"}), RowTexts(*view, 0));
    EXPECT_EQ((std::vector<std::string>{"", "Lookup", "", "---"}), RowTexts(*view, 1));
}

TEST_F(TaskViewTest, OnlyTasksChangedSinceTheLastRefreshAreRedrawn)
{
    CTaskView* view = Open();
    ASSERT_TRUE(view != nullptr);
    m_doc.m_tasks.CreateTask("First", nullptr, 0);
    int second = m_doc.m_tasks.CreateTask("Second", nullptr, 0);
    m_doc.UpdateAllViews(nullptr, kViewHintTasksRebuild);
    m_doc.UpdateAllViews(nullptr, kViewHintTasksChanged);
    PumpMessages();
    ++g_now;
    m_doc.m_tasks.SetTaskStatus(second, "changed");

    m_doc.UpdateAllViews(nullptr, kViewHintTasksChanged);
    EXPECT_FALSE(RowNeedsPainting(*view, 0));
    EXPECT_TRUE(RowNeedsPainting(*view, 1));
    PumpMessages();
    m_doc.UpdateAllViews(nullptr, kViewHintTasksChanged);
    EXPECT_FALSE(RowNeedsPainting(*view, 1)) << "already shown";
}

TEST_F(TaskViewTest, TheTaskMenuCancelsTheSelectedTask)
{
    CTaskView* view = Open();
    ASSERT_TRUE(view != nullptr);
    TaskCancelFlag firstCancel{0}, secondCancel{0};
    m_doc.m_tasks.CreateTask("First", &firstCancel, 0);
    m_doc.m_tasks.CreateTask("Second", &secondCancel, 0);
    m_doc.UpdateAllViews(nullptr, kViewHintTasksRebuild);
    view->GetList().SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(1, view->GetSelectedRow());

    // A right click on the row opens menu 209; Down and Enter choose its item.
    CRect row;
    view->GetList().GetItemRect(1, &row, LVIR_BOUNDS);
    CPoint screen = row.CenterPoint();
    view->GetList().ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    view->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    view->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = view->GetList().m_hWnd;
    click.hdr.idFrom = IDC_LIST;
    click.hdr.code = NM_RCLICK;
    click.iItem = 1;
    view->SendMessage(WM_NOTIFY, IDC_LIST, (LPARAM)&click);
    PumpMessages();
    EXPECT_EQ(0, firstCancel);
    EXPECT_EQ(1, secondCancel);
}

TEST_F(TaskViewTest, TheColumnLayoutIsSavedAsTaskList)
{
    CTaskView* view = Open();
    ASSERT_TRUE(view != nullptr);
    view->GetList().SetColumnWidth(2, 123);
    m_frame.reset();
    CString section = LxListSection("Task List");
    EXPECT_EQ(4, AfxGetApp()->GetProfileInt(section, "NumDef", 0));
    // The definitions in their table order: 0, 2 "Task", 1 "Status", 3.
    EXPECT_EQ(1, AfxGetApp()->GetProfileInt(section, "ColDef_id_2", -1));
    EXPECT_EQ(123, AfxGetApp()->GetProfileInt(section, "ColDef_width_2", 0));
}

} // namespace
