#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"

#include "toolkit/tabs/Tk3DTabControl.h"

#include <functional>
#include <string>
#include <vector>

namespace
{
CCallRecorder g_notes;
const UINT kStripId = 0x3E8;

class CTabsTestApp : public CWinApp
{
public:
    CTabsTestApp() : CWinApp("TabControlTest") {}
};

// The tab window's stand-in: records what the strip tells it.
class CTabHost : public CWnd
{
public:
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam)
    {
        const TkTabSelection* selection = (const TkTabSelection*)lParam;
        std::string note = "activate " + std::to_string(wParam);
        if (selection)
            note += " from " + std::to_string(selection->nOldIndex) + " id " +
                    std::to_string(selection->nCtrlId) +
                    (selection->pNewPane ? " pane" : " no pane");
        g_notes.Record(note);
        return 0;
    }
    LRESULT OnDblClk(WPARAM wParam, LPARAM)
    {
        g_notes.Record("double click " + std::to_string(wParam));
        return 0;
    }
    LRESULT OnClear(WPARAM, LPARAM)
    {
        g_notes.Record("clear");
        return 0;
    }
    LRESULT OnFocusPane(WPARAM wParam, LPARAM)
    {
        g_notes.Record("focus pane " + std::to_string(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTabHost, CWnd)
    ON_MESSAGE(WM_TKTAB_ACTIVATE, OnActivate)
    ON_MESSAGE(WM_TKTAB_DBLCLK, OnDblClk)
    ON_MESSAGE(WM_TKTAB_CLEARSELECTION, OnClear)
    ON_MESSAGE(WM_TKTAB_FOCUSPANE, OnFocusPane)
END_MESSAGE_MAP()

class TabControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_notes.Clear();
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "Tabs",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_TABSTOP, 30, 30, 620,
                                    200, NULL, NULL));
        ASSERT_TRUE(m_pane.Create(NULL, "pane", WS_CHILD, CRect(0, 0, 10, 10), &m_host, 5));
        PumpMessages();
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        PumpMessages();
    }
    void MakeStrip(DWORD style, std::vector<const char*> labels, CRect rect = CRect(0, 0, 600, 40))
    {
        ASSERT_TRUE(m_strip.Create(WS_VISIBLE | style, rect, &m_host, kStripId));
        for (const char* label : labels)
            ASSERT_NE(nullptr, m_strip.AddTab(label, &m_pane));
        g_notes.Clear();
    }
    CRect TabRect(int index)
    {
        CRect rect;
        EXPECT_TRUE(m_strip.GetTabRect(index, rect));
        return rect;
    }
    CString Label(int index)
    {
        CString label;
        BOOL selected;
        CWnd* pane;
        DWORD extra1;
        DWORD extra2;
        m_strip.GetTabInfo(index, label, selected, pane, extra1, extra2);
        return label;
    }
    int Active()
    {
        int index = -1;
        return m_strip.GetActiveTab(index) ? index : -1;
    }
    void Click(int index, UINT message = WM_LBUTTONDOWN)
    {
        CPoint center = TabRect(index).CenterPoint();
        m_strip.SendMessage(message, MK_LBUTTON, MAKELPARAM(center.x, center.y));
    }

    CTabsTestApp m_app;
    CTabHost m_host;
    CWnd m_pane;
    Tk3DTabControl m_strip;
};
}  // namespace

TEST_F(TabControlTest, ActivationSelectionAndDeletionNotifyTheParent)
{
    MakeStrip(TKTS_TOP, {"Library", "Players", "Search"});
    struct Step
    {
        const char* name;
        std::function<void()> action;
        std::vector<std::string> notes;
        int active;
    } steps[] = {
        {"first activation", [&] { m_strip.ActivateTab(0); }, {"activate 0 from -1 id 1000 pane"}, 0},
        {"same tab again", [&] { m_strip.ActivateTab(0); }, {}, 0},
        {"another tab", [&] { m_strip.ActivateTab(2); }, {"activate 2 from 0 id 1000 pane"}, 2},
        {"select", [&] { m_strip.SelectTab(1); }, {"activate 2"}, 2},
        {"focus the pane", [&] { m_strip.FocusActivePane(); }, {"focus pane 2"}, 2},
        {"clear", [&] { m_strip.ClearSelection(); }, {"clear"}, -1},
        {"activate after clear", [&] { m_strip.ActivateTab(2); }, {"activate 2 from -1 id 1000 pane"}, 2},
        {"delete the active last", [&] { m_strip.DeleteTab(2); }, {"activate 1 from -1 id 1000 pane"}, 1},
        {"delete before the active", [&] { m_strip.DeleteTab(0); }, {}, 0},
        {"delete the only tab", [&] { m_strip.DeleteTab(0); }, {}, -1},
        {"out of range", [&] { m_strip.ActivateTab(0); m_strip.DeleteTab(3); m_strip.SelectTab(-1); }, {}, -1},
    };
    for (const Step& step : steps)
    {
        g_notes.Clear();
        step.action();
        EXPECT_EQ(step.notes, g_notes.Calls()) << step.name;
        EXPECT_EQ(step.active, Active()) << step.name;
    }
    EXPECT_EQ(0, m_strip.GetTabCount());
}

TEST_F(TabControlTest, TheDeletedActiveTabPassesActivationToTheTabNowAtItsPlace)
{
    MakeStrip(TKTS_TOP, {"A", "B", "C"});
    m_strip.ActivateTab(1);
    g_notes.Clear();
    m_strip.DeleteTab(1);
    EXPECT_EQ(std::vector<std::string>{"activate 1 from -1 id 1000 pane"}, g_notes.Calls());
    EXPECT_EQ("C", std::string(Label(1)));
    int index = -1;
    EXPECT_TRUE(m_strip.FindTab(&m_pane, index));
    EXPECT_EQ(1, index);
}

TEST_F(TabControlTest, TabsLieAlongTheirEdgeAndTheActiveOneIsLarger)
{
    struct Case
    {
        DWORD style;
        CSize activeGrowth;  // beyond the tab's own size
        CPoint activeShift;  // of the top left corner
    } cases[] = {
        {TKTS_TOP, CSize(6, 3), CPoint(-3, 0)},
        {TKTS_BOTTOM, CSize(6, 3), CPoint(-3, -3)},
        {TKTS_RIGHT, CSize(3, 6), CPoint(-3, -3)},
        {TKTS_LEFT, CSize(3, 6), CPoint(0, -3)},
        {TKTS_TOP | TKTS_NOACTIVEGROW, CSize(0, 0), CPoint(0, 0)},
    };
    for (const Case& c : cases)
    {
        BOOL vertical = (c.style & (TKTS_LEFT | TKTS_RIGHT)) != 0;
        MakeStrip(c.style, {"Library", "Players"}, vertical ? CRect(0, 0, 40, 400) : CRect(0, 0, 600, 40));
        CRect first = TabRect(0);
        CRect second = TabRect(1);
        // Tabs follow each other from 7 pixels in; each is 22 across.
        EXPECT_EQ(vertical ? 22 : 22, vertical ? first.Width() : first.Height()) << c.style;
        EXPECT_EQ(7, vertical ? first.top : first.left) << c.style;
        EXPECT_EQ(vertical ? first.bottom : first.right, vertical ? second.top : second.left) << c.style;

        m_strip.ActivateTab(1);
        CRect active = TabRect(1);
        EXPECT_EQ(second.Size() + c.activeGrowth, active.Size()) << c.style;
        EXPECT_EQ(second.TopLeft() + c.activeShift, active.TopLeft()) << c.style;

        // An icon takes 19 more pixels along the edge.
        CSize before = TabRect(0).Size();
        m_strip.SetTabIcon(0, ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION));
        CSize after = TabRect(0).Size();
        EXPECT_EQ(19, vertical ? after.cy - before.cy : after.cx - before.cx) << c.style;
        m_strip.DestroyWindow();
    }
}

TEST_F(TabControlTest, LabelsThatDoNotFitAreShortenedWidestFirst)
{
    MakeStrip(TKTS_BOTTOM, {"Collection of discs", "Pop", "Jazz"});
    int full = 0;
    for (int index = 0; index < 3; index++)
        full += TabRect(index).Width();
    int iconRoom = 3 * 19;

    struct Step
    {
        int lessRoom;  // than the last length needs
        std::vector<std::string> labels;
    } steps[] = {
        {1, {"Collection of d...", "Pop", "Jazz"}},
        {1, {"Collection of ...", "Pop", "Jazz"}},
        {1, {"Collection of...", "Pop", "Jazz"}},
    };
    int length = full;
    for (const Step& step : steps)
    {
        // The strip is as long as its client area: the layout fits the labels to it.
        m_strip.SetWindowPos(NULL, 0, 0, length + 12 - step.lessRoom, 40,
                             SWP_NOMOVE | SWP_NOZORDER);
        std::vector<std::string> labels;
        length = 0;
        for (int index = 0; index < 3; index++)
        {
            labels.push_back(std::string(Label(index)));
            length += TabRect(index).Width();
        }
        EXPECT_EQ(step.labels, labels);
    }
    // Room enough again: the full labels come back.
    m_strip.FitLabels(full, iconRoom, full + 12);
    EXPECT_EQ("Collection of discs", std::string(Label(0)));
    // No room for labels at all: they are hidden.
    m_strip.FitLabels(full, iconRoom, iconRoom);
    EXPECT_FALSE(m_strip.AreLabelsShown());
    // A strip far too short ends with empty labels rather than looping.
    m_strip.FitLabels(full, iconRoom, iconRoom + 1);
    EXPECT_TRUE(m_strip.AreLabelsShown() || Label(0).IsEmpty());
}

TEST_F(TabControlTest, MouseAndArrowKeysSkipDisabledTabs)
{
    MakeStrip(TKTS_TOP, {"One", "Two", "Three", "Four"});
    m_strip.ActivateTab(0);
    m_strip.EnableTab(1, FALSE);
    m_strip.EnableTab(3, FALSE);
    g_notes.Clear();
    Click(1);
    EXPECT_EQ(0, Active());
    EXPECT_EQ(::GetFocus(), m_strip.m_hWnd);

    struct Key
    {
        UINT key;
        int active;
    } keys[] = {{VK_RIGHT, 2}, {VK_RIGHT, 2}, {VK_DOWN, 2}, {VK_LEFT, 0}, {VK_UP, 0}, {VK_RIGHT, 2}};
    for (const Key& k : keys)
    {
        m_strip.SendMessage(WM_KEYDOWN, k.key, 0);
        EXPECT_EQ(k.active, Active()) << k.key;
        EXPECT_EQ(::GetFocus(), m_strip.m_hWnd) << k.key;
    }
    g_notes.Clear();
    Click(2);
    Click(0);
    Click(0, WM_LBUTTONDBLCLK);
    std::vector<std::string> expected = {"focus pane 2", "activate 0 from 2 id 1000 pane",
                                         "double click 0"};
    EXPECT_EQ(expected, g_notes.Calls());
}

TEST_F(TabControlTest, TheActiveTabIsDraggedToWhereItWouldLieUnderTheCursor)
{
    MakeStrip(TKTS_TOP | TKTS_DRAGTABS, {"One", "Collection", "Three"});
    m_strip.ActivateTab(0);
    Click(0);
    EXPECT_EQ(m_strip.m_hWnd, ::GetCapture());
    g_notes.Clear();
    // Just inside the wide next tab the moved tab would not lie under the
    // cursor; two tabs on it is too far for one step.
    CRect second = TabRect(1);
    CRect third = TabRect(2);
    for (CPoint point : {CPoint(second.left + 1, second.top + 5), CPoint(third.right - 2, third.top + 5)})
    {
        m_strip.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        EXPECT_EQ("One", std::string(Label(0))) << point.x;
    }
    // Near the far end of the next tab it would.
    m_strip.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(second.right - 2, second.top + 5));
    EXPECT_EQ("Collection", std::string(Label(0)));
    EXPECT_EQ("One", std::string(Label(1)));
    EXPECT_EQ("Three", std::string(Label(2)));
    EXPECT_EQ(1, Active());
    EXPECT_EQ(std::vector<std::string>{"activate 1 from 0 id 1000 pane"}, g_notes.Calls());
    m_strip.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(NULL, ::GetCapture());
}

TEST_F(TabControlTest, TheStripsEdgeIsDrawnOnTheSideOfThePanes)
{
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF black = RGB(0, 0, 0);
    struct Case
    {
        DWORD style;
        std::vector<COLORREF> lines;  // the four outermost lines on the panes' side, outward in
    } cases[] = {
        {TKTS_TOP, {hilite, face, shadow, black}},
        {TKTS_TOP | TKTS_THINEDGE, {face, face, shadow, black}},
        {TKTS_BOTTOM, {black, shadow, face, hilite}},
        {TKTS_BOTTOM | TKTS_THINEDGE, {face, face, face, hilite}},
    };
    for (const Case& c : cases)
    {
        MakeStrip(c.style, {"One"}, CRect(0, 0, 300, 40));
        m_strip.UpdateWindow();
        CClientDC dc(&m_strip);
        std::vector<COLORREF> lines;
        for (int line = 0; line < 4; line++)
            lines.push_back(dc.GetPixel(2, (c.style & TKTS_TOP) ? line : 39 - line));
        EXPECT_EQ(c.lines, lines) << c.style;
        m_strip.DestroyWindow();
    }
}

TEST_F(TabControlTest, BadIndexesAndOddLabelsChangeNothing)
{
    MakeStrip(TKTS_TOP, {"", "Players"});
    CRect before = TabRect(1);
    for (int index : {-1, 2, 100})
    {
        m_strip.RenameTab(index, "x");
        m_strip.EnableTab(index, FALSE);
        m_strip.SetTabIcon(index, (HICON)NULL);
        m_strip.DeleteTab(index);
        CRect rect;
        EXPECT_FALSE(m_strip.GetTabRect(index, rect));
        EXPECT_FALSE(m_strip.IsTabEnabled(index));
        EXPECT_EQ(nullptr, m_strip.GetTab(index));
    }
    EXPECT_EQ(2, m_strip.GetTabCount());
    EXPECT_EQ(before, TabRect(1));
    EXPECT_TRUE(g_notes.Calls().empty());
    std::string longLabel(500, 'L');
    m_strip.RenameTab(0, longLabel.c_str());
    EXPECT_EQ(2, m_strip.GetTabCount());
    m_strip.SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    m_strip.RedrawWindow();
    EXPECT_EQ(2, m_strip.GetTabCount());
    EXPECT_FALSE(m_strip.IsTab(NULL));
}
