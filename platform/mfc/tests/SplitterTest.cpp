#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <afxext.h>

#include <vector>

namespace
{
class CPaneDoc : public CDocument
{
    DECLARE_DYNCREATE(CPaneDoc)
};
IMPLEMENT_DYNCREATE(CPaneDoc, CDocument)

class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { m_initialUpdates++; }
    int m_initialUpdates = 0;
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

const int kGap = 6;

// A frame whose client is a splitter: 2 by 2 static panes, or a dynamic one.
class CSplitFrame : public CFrameWnd
{
public:
    explicit CSplitFrame(BOOL dynamic) : m_dynamic(dynamic) {}
    CSplitterWnd m_splitter;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTA, CCreateContext* context) override
    {
        if (m_dynamic)
            return m_splitter.Create(this, 2, 2, CSize(20, 20), context);
        if (!m_splitter.CreateStatic(this, 2, 2))
            return FALSE;
        for (int row = 0; row < 2; row++)
        {
            for (int col = 0; col < 2; col++)
            {
                if (!m_splitter.CreateView(row, col, RUNTIME_CLASS(CPaneView), CSize(100, 80),
                                           context))
                    return FALSE;
            }
        }
        return TRUE;
    }

private:
    BOOL m_dynamic;
};

CRect PaneRect(CSplitterWnd& splitter, int row, int col)
{
    CRect rect;
    CWnd* pane = splitter.GetPane(row, col);
    if (!pane)
        return rect;
    pane->GetWindowRect(rect);
    splitter.ScreenToClient(rect);
    return rect;
}

class SplitterTest : public ::testing::Test
{
protected:
    void Open(BOOL dynamic)
    {
        m_doc = new CPaneDoc;
        CCreateContext context;
        context.m_pCurrentDoc = m_doc;
        context.m_pNewViewClass = RUNTIME_CLASS(CPaneView);
        m_frame = new CSplitFrame(dynamic);
        ASSERT_TRUE(m_frame->Create(NULL, "Split", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300),
                                    NULL, NULL, 0, &context));
        m_frame->InitialUpdateFrame(m_doc, TRUE);
        SetClientSize(400, 300);
    }

    void SetClientSize(int cx, int cy)
    {
        CRect window, client;
        m_frame->GetWindowRect(window);
        m_frame->GetClientRect(client);
        m_frame->SetWindowPos(NULL, 0, 0, cx + window.Width() - client.Width(),
                              cy + window.Height() - client.Height(), SWP_NOZORDER);
        PumpMessages();
    }

    void Drag(CPoint from, CPoint to)
    {
        CSplitterWnd& splitter = m_frame->m_splitter;
        splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, to.y));
        splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    int ViewCount()
    {
        int count = 0;
        POSITION position = m_doc->GetFirstViewPosition();
        while (position)
        {
            m_doc->GetNextView(position);
            count++;
        }
        return count;
    }

    void TearDown() override
    {
        if (m_frame)
            m_frame->DestroyWindow();
        PumpMessages();
    }

    CPaneDoc* m_doc = NULL;
    CSplitFrame* m_frame = NULL;
};

struct LayoutCase
{
    const char* name;
    int ideal;
    int minimum;
    int first;
    int second;
};

TEST_F(SplitterTest, ColumnsTakeTheirIdealSizeAndTheLastTheRest)
{
    Open(FALSE);
    CSplitterWnd& splitter = m_frame->m_splitter;
    ASSERT_EQ(2, splitter.GetRowCount());
    ASSERT_EQ(2, splitter.GetColumnCount());
    CRect client;
    splitter.GetClientRect(client);
    EXPECT_EQ(CRect(0, 0, 400, 300), client);

    const LayoutCase cases[] = {
        { "ideal", 100, 20, 100, 400 - 100 - kGap },
        { "at the minimum", 20, 20, 20, 400 - 20 - kGap },
        // A column below its minimum is not shown: the next one takes its room.
        { "below the minimum", 19, 20, 0, 400 - kGap },
        { "wider than the window", 500, 20, 400, 0 },
    };
    for (const LayoutCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        splitter.SetColumnInfo(0, c.ideal, c.minimum);
        splitter.RecalcLayout();
        int current = 0, minimum = 0;
        splitter.GetColumnInfo(0, current, minimum);
        EXPECT_EQ(c.first, current);
        EXPECT_EQ(c.minimum, minimum);
        for (int row = 0; row < 2; row++)
        {
            EXPECT_EQ(c.first, PaneRect(splitter, row, 0).Width());
            EXPECT_EQ(c.second, PaneRect(splitter, row, 1).Width());
        }
        if (c.second > 0)
            EXPECT_EQ(c.first + kGap, PaneRect(splitter, 0, 1).left);
    }

    splitter.SetRowInfo(0, 120, 10);
    splitter.RecalcLayout();
    EXPECT_EQ(120, PaneRect(splitter, 0, 1).Height());
    EXPECT_EQ(120 + kGap, PaneRect(splitter, 1, 1).top);
    EXPECT_EQ(300 - 120 - kGap, PaneRect(splitter, 1, 1).Height());

    // The frame's pane is the splitter: it follows the frame, and the first
    // column keeps its size while the last takes the change.
    splitter.SetColumnInfo(0, 100, 20);
    SetClientSize(500, 200);
    EXPECT_EQ(100, PaneRect(splitter, 0, 0).Width());
    EXPECT_EQ(500 - 100 - kGap, PaneRect(splitter, 0, 1).Width());
    EXPECT_EQ(200 - 120 - kGap, PaneRect(splitter, 1, 0).Height());
}

TEST_F(SplitterTest, PanesAreViewsOfTheDocumentAndTheFirstIsActive)
{
    Open(FALSE);
    CSplitterWnd& splitter = m_frame->m_splitter;
    EXPECT_EQ(4, ViewCount());
    CWnd* first = splitter.GetPane(0, 0);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, (UINT)first->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_PANE_FIRST + 17, (UINT)splitter.GetPane(1, 1)->GetDlgCtrlID());
    EXPECT_EQ(first, m_frame->GetActiveView());
    EXPECT_EQ(m_frame, static_cast<CView*>(first)->GetParentFrame());
    EXPECT_EQ(1, static_cast<CPaneView*>(splitter.GetPane(1, 1))->m_initialUpdates);
    int row = -1, col = -1;
    EXPECT_TRUE(splitter.IsChildPane(splitter.GetPane(1, 0), &row, &col));
    EXPECT_EQ(1, row);
    EXPECT_EQ(0, col);
    EXPECT_FALSE(splitter.IsChildPane(m_frame, &row, &col));
}

struct DragCase
{
    const char* name;
    CPoint from;
    CPoint to;
    int firstWidth;
    int firstHeight;
};

TEST_F(SplitterTest, DraggingABarResizesThePanesBeforeIt)
{
    Open(FALSE);
    CSplitterWnd& splitter = m_frame->m_splitter;
    const DragCase cases[] = {
        { "column bar", CPoint(100 + kGap / 2, 20), CPoint(150 + kGap / 2, 40), 150, 80 },
        { "row bar", CPoint(20, 80 + 1), CPoint(60, 40 + 1), 100, 40 },
        { "crossing", CPoint(100 + 1, 80 + 1), CPoint(200 + 1, 180 + 1), 200, 180 },
        // Bars stay inside the window.
        { "past the edge", CPoint(100 + 1, 30), CPoint(900, 30), 400 - kGap, 80 },
        { "inside a pane", CPoint(50, 50), CPoint(250, 250), 100, 80 },
    };
    for (const DragCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 2; i++)
        {
            splitter.SetColumnInfo(i, 100, 10);
            splitter.SetRowInfo(i, 80, 10);
        }
        splitter.RecalcLayout();
        Drag(c.from, c.to);
        EXPECT_EQ(nullptr, CWnd::GetCapture());
        EXPECT_EQ(c.firstWidth, PaneRect(splitter, 0, 0).Width());
        EXPECT_EQ(c.firstHeight, PaneRect(splitter, 0, 0).Height());
        EXPECT_EQ(c.firstWidth + kGap, PaneRect(splitter, 1, 1).left);
    }

    // A drag the system cancels changes nothing.
    splitter.SetColumnInfo(0, 100, 10);
    splitter.RecalcLayout();
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100 + 1, 20));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 20));
    splitter.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(100, PaneRect(splitter, 0, 0).Width());
}

TEST_F(SplitterTest, DynamicSplitterSplitsIntoViewsOfTheSameDocument)
{
    Open(TRUE);
    CSplitterWnd& splitter = m_frame->m_splitter;
    EXPECT_EQ(1, splitter.GetColumnCount());
    EXPECT_EQ(1, ViewCount());
    EXPECT_EQ(400, PaneRect(splitter, 0, 0).Width());

    ASSERT_TRUE(splitter.SplitColumn(150));
    EXPECT_EQ(2, splitter.GetColumnCount());
    EXPECT_EQ(2, ViewCount());
    CPaneView* second = static_cast<CPaneView*>(splitter.GetPane(0, 1));
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(m_doc, second->GetDocument());
    EXPECT_EQ(1, second->m_initialUpdates);
    EXPECT_EQ(150, PaneRect(splitter, 0, 0).Width());
    EXPECT_EQ(400 - 150 - kGap, PaneRect(splitter, 0, 1).Width());
    ASSERT_TRUE(splitter.SplitRow(100));
    EXPECT_EQ(4, ViewCount());
    // No more than the maximum.
    EXPECT_FALSE(splitter.SplitColumn(50));
    EXPECT_EQ(4, ViewCount());

    // A column dragged below its minimum goes, with its views.
    Drag(CPoint(150 + 1, 20), CPoint(10, 20));
    EXPECT_EQ(1, splitter.GetColumnCount());
    EXPECT_EQ(2, ViewCount());
    EXPECT_EQ(400, PaneRect(splitter, 0, 0).Width());
    EXPECT_EQ(nullptr, splitter.GetPane(0, 1));
    // The views that stayed have the ids of their places.
    EXPECT_NE(nullptr, splitter.GetPane(1, 0));
    splitter.DeleteRow(0);
    EXPECT_EQ(1, splitter.GetRowCount());
    EXPECT_EQ(1, ViewCount());
    EXPECT_EQ(300, PaneRect(splitter, 0, 0).Height());
}
}
