// Splitter drags by real input: SendInput puts the mouse and key events in
// the queue, so that the capture, the mouse points and the key state are
// those a user would give.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/InputScript.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLayoutNodeSplitter.h"

#include <vector>

namespace
{
const UINT kStealCapture = WM_APP + 1;

CCallRecorder g_events;

std::string Events()
{
    return g_events.Joined();
}

// Records each report of moved bars; a posted message may take the capture
// away after the first one.
class RecordingSplitter : public TkLayoutNodeSplitter
{
public:
    void OnBarsMoved(int dx, int dy) override
    {
        g_events.Record("moved " + std::to_string(dx) + "," + std::to_string(dy));
        if (m_thief && !m_stolen)
        {
            m_stolen = TRUE;
            ::PostMessageA(m_thief, kStealCapture, 0, 0);
        }
    }
    HWND m_thief = NULL;
    BOOL m_stolen = FALSE;
};

// The host records the keys that reach it and takes the capture when told.
class Host : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStealCapture)
            SetCapture();
        if (message == WM_LBUTTONUP && GetCapture() == this)
            ReleaseCapture();
        if (m_recordKeys && message >= WM_KEYFIRST && message <= WM_KEYLAST)
            g_events.Record("key " + std::to_string(message));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL m_recordKeys = FALSE;
};

// A 300 x 200 host at (100, 100) on the screen, filled by a 2 x 2 splitter
// whose panes are plain nodes; the bars start at x 100 and y 80.
class SplitterDragTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_WINDOW + 1)),
                                    "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100,
                                    300, 200, NULL, NULL));
        ::SetForegroundWindow(m_host.m_hWnd);
        m_host.SetFocus();
        for (ProbeNode& pane : m_panes)
            m_splitter.AddChildNode(&pane);
    }
    void Build(int flags)
    {
        ASSERT_TRUE(m_splitter.Create(&m_host, CRect(0, 0, 300, 200), WS_CHILD | WS_VISIBLE,
                                      100, flags));
        m_splitter.SetMargins(10, 10, 10, 10);
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                ASSERT_TRUE(m_splitter.SetPaneNode(row, column, &m_panes[row + 2 * column]));
        m_splitter.SetSplitPosition(100, 80);
        m_host.UpdateWindow();
        PumpUntilIdle();
        g_events.Clear();
    }
    void TearDown() override
    {
        m_splitter.DestroyWindow();
        m_host.DestroyWindow();
    }
    static CPoint Screen(int x, int y) { return CPoint(100 + x, 100 + y); }
    std::string Bars()
    {
        return RectText(m_splitter.GetRowBarRect()) + " " +
               RectText(m_splitter.GetColumnBarRect());
    }
    std::string Pane(int row, int column)
    {
        return RectText(m_panes[row + 2 * column].GetCurrentRect());
    }

    Host m_host;
    RecordingSplitter m_splitter;
    ProbeNode m_panes[4];
};
}

TEST_F(SplitterDragTest, ALiveDragMovesTheRowBarAndThePanesAtEveryStep)
{
    Build(TkSplitterBase::kLiveTracking);
    InputScript()
        .MoveTo(Screen(50, 83))
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Step(Screen(50, 93))
        .Step(Screen(50, 123))
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("10,120,290,126 100,10,106,190", Bars());
    EXPECT_EQ("10,10,100,120", Pane(0, 0));
    EXPECT_EQ("106,126,290,190", Pane(1, 1));
    EXPECT_EQ("moved 0,10 moved 0,30", Events());
}

TEST_F(SplitterDragTest, AnOutlineDragMovesTheBarsOnceAtTheEnd)
{
    Build(0);
    InputScript()
        .MoveTo(Screen(103, 83))
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Step(Screen(133, 93))
        .Step(Screen(163, 43))
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("10,40,290,46 160,10,166,190", Bars());
    EXPECT_EQ("10,10,160,40", Pane(0, 0));
    EXPECT_EQ("166,46,290,190", Pane(1, 1));
    EXPECT_EQ("moved 60,-40", Events());
}

// The crossing tracks both bars; past the margins they stop at the limits
// and the reported move is the clamped one. (The point stays inside the
// host: under Xvfb without a window manager Wine gives mouse input over the
// bare desktop to the desktop, not to the window with the capture.)
TEST_F(SplitterDragTest, BarsStopAtTheMargins)
{
    for (int flags : {0, (int)TkSplitterBase::kLiveTracking})
    {
        SCOPED_TRACE(flags);
        Build(flags);
        InputScript()
            .MoveTo(Screen(103, 83))
            .Button(MOUSEEVENTF_LEFTDOWN)
            .Step(Screen(296, 196))
            .Button(MOUSEEVENTF_LEFTUP)
            .Send();
        EXPECT_EQ("10,184,290,190 284,10,290,190", Bars());
        EXPECT_EQ("moved 184,104", Events());
        TearDown();
        SetUp();
    }
}

TEST_F(SplitterDragTest, EscapeAndTheRightButtonPutTheBarsBack)
{
    const struct
    {
        int flags;
        DWORD cancel;
        const char* events;
    } cases[] = {
        {0, 0, ""},
        {0, MOUSEEVENTF_RIGHTDOWN, ""},
        {TkSplitterBase::kLiveTracking, 0, "moved 40,30 moved -40,-30"},
        {TkSplitterBase::kLiveTracking, MOUSEEVENTF_RIGHTDOWN, "moved 40,30 moved -40,-30"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.flags) + (c.cancel ? " right button" : " escape"));
        Build(c.flags);
        InputScript script;
        script.MoveTo(Screen(103, 83)).Button(MOUSEEVENTF_LEFTDOWN).Step(Screen(143, 113));
        if (c.cancel)
            script.Button(c.cancel).Button(MOUSEEVENTF_RIGHTUP);
        else
            script.Key(VK_ESCAPE);
        script.MoveTo(Screen(200, 150)).Button(MOUSEEVENTF_LEFTUP).Send();
        EXPECT_EQ("10,80,290,86 100,10,106,190", Bars());
        EXPECT_EQ("10,10,100,80", Pane(0, 0));
        EXPECT_EQ(c.events, Events());
        TearDown();
        SetUp();
    }
}

TEST_F(SplitterDragTest, KeysDuringADragReachNoWindow)
{
    Build(TkSplitterBase::kLiveTracking);
    m_host.m_recordKeys = TRUE;
    InputScript()
        .MoveTo(Screen(103, 83))
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Key('A')
        .Key(VK_RETURN)
        .Step(Screen(113, 83))
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("moved 10,0", Events());
}

// The capture taken away after the first step ends the drag there: the
// bars stay where that step put them.
TEST_F(SplitterDragTest, AStolenCaptureEndsTheDrag)
{
    Build(TkSplitterBase::kLiveTracking);
    m_splitter.m_thief = m_host.m_hWnd;
    InputScript()
        .MoveTo(Screen(103, 83))
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Step(Screen(123, 83))
        .Step(Screen(153, 83))
        .Step(Screen(183, 83))
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("10,80,290,86 120,10,126,190", Bars());
    EXPECT_EQ("moved 20,0", Events());
    EXPECT_EQ(NULL, GetCapture());
}

TEST_F(SplitterDragTest, ADragWhileAnotherWindowHoldsTheCaptureMovesNothing)
{
    Build(TkSplitterBase::kLiveTracking);
    m_host.SetCapture();
    m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(103, 83));
    ReleaseCapture();
    EXPECT_EQ("10,80,290,86 100,10,106,190", Bars());
    EXPECT_EQ("", Events());
}

namespace
{
// Ends a drag loop that nothing else would end, so that a failing test
// does not hang.
void CALLBACK PressEscape(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(NULL, timer);
    InputScript().Key(VK_ESCAPE).SendOnly();
}
}

// Released over the bare desktop, where the release never reaches the
// capture, the drag ends there (in both modes): the bar stops at its limit.
TEST_F(SplitterDragTest, AReleaseOverTheBareDesktopEndsTheDragThere)
{
    const int kGiveUpMs = 3000;
    for (int flags : {0, (int)TkSplitterBase::kLiveTracking})
    {
        SCOPED_TRACE(flags);
        Build(flags);
        UINT_PTR giveUp = ::SetTimer(NULL, 0, kGiveUpMs, PressEscape);
        InputScript()
            .MoveTo(Screen(103, 40))
            .Button(MOUSEEVENTF_LEFTDOWN)
            .Step(Screen(200, 40))
            .Step(Screen(600, 40))
            .Button(MOUSEEVENTF_LEFTUP)
            .Send();
        ::KillTimer(NULL, giveUp);
        EXPECT_EQ("10,80,290,86 284,10,290,190", Bars());
        EXPECT_EQ(NULL, GetCapture());
        TearDown();
        SetUp();
    }
}
