// The drag start and the local and OLE drag tasks, driven by real input: a
// recording feature stands in for the docking work and reports the calls
// with points relative to the host window. OLE's DoDragDrop runs its own
// loop, so the input after the press is given from a thread timer that
// loop dispatches.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/InputScript.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkDockingListener.h"
#include "toolkit/docking/TkOleDragDropTask.h"

#include <memory>

namespace
{
CCallRecorder g_events;
const CPoint kHostOrigin(100, 100);

// What the feature does at the first move of a drag.
enum FirstMove
{
    kNothing,
    kPostQuit,
    kDropCapture,
};

struct FeatureScript
{
    BOOL draggable = TRUE;
    BOOL startAccepted = TRUE;
    FirstMove firstMove = kNothing;
    // The move at which the feedback fails, 0: none.
    int failingMove = 0;
} g_script;

// Input given from inside DoDragDrop's loop: a step per tick once the drop
// source has been polled since the step before, so that every position is
// seen. The ticks run while a drag does.
std::vector<InputScript> g_steps;
size_t g_nextStep = 0;
BOOL g_polled = FALSE;
UINT_PTR g_timer = 0;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_nextStep == g_steps.size() || !g_polled)
        return;
    g_polled = FALSE;
    g_steps[g_nextStep++].SendOnly();
}

std::string At(CPoint point)
{
    point -= kHostOrigin;
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

// OLE polls the source again and again: a move is recorded where the
// cursor has changed.
class RecordingFeature : public ITkDragDropFeature
{
public:
    BOOL CanStartDrag(UINT, CPoint point) override
    {
        g_events.Record("can " + At(point));
        return g_script.draggable;
    }
    BOOL OnStartDrag(UINT, CPoint point) override
    {
        g_events.Record("start " + At(point));
        m_moves = 0;
        m_last = CPoint(-1, -1);
        if (g_script.startAccepted && !g_steps.empty())
            g_timer = ::SetTimer(NULL, 0, 10, RunStep);
        return g_script.startAccepted;
    }
    BOOL OnDragMove(UINT, CPoint point) override
    {
        g_polled = TRUE;
        if (point == m_last)
            return TRUE;
        m_last = point;
        g_events.Record("move " + At(point));
        if (++m_moves == 1 && g_script.firstMove == kPostQuit)
            ::PostQuitMessage(7);
        if (m_moves == 1 && g_script.firstMove == kDropCapture)
            ::ReleaseCapture();
        return m_moves != g_script.failingMove;
    }
    BOOL OnEndDrag(UINT, CPoint point, BOOL dropped) override
    {
        g_events.Record("end " + At(point) + " " + std::to_string(dropped));
        MSG msg;
        if (::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            g_events.Record("quit " + std::to_string(msg.wParam));
        // Ticks after the drag would keep the thread from becoming idle.
        if (g_timer)
            ::KillTimer(NULL, g_timer);
        g_timer = 0;
        return TRUE;
    }
    BOOL OnDoubleClick(UINT, CPoint point) override
    {
        g_events.Record("double " + At(point));
        return TRUE;
    }

private:
    int m_moves = 0;
    CPoint m_last;
};

template <class Base>
class RecordingListener : public Base
{
public:
    ITkDragDropFeature* CreateDragDropFeature() override { return new RecordingFeature; }
};

typedef RecordingListener<TkDockingListener> ZeroThresholdListener;
typedef RecordingListener<TkDockingListener_T<TkLocalDragDropTask_T<TkLayoutWndListener>>>
    DefaultThresholdListener;

class OleListener
    : public RecordingListener<TkDockingListener_T<TkOleDragDropTask_T<TkLayoutWndListener>>>
{
public:
    void OnInitialized(CWnd*) override { m_threshold = 0.0; }
};

// The host records the mouse buttons and keys that reach it.
class Host : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)
            g_events.Record(message == WM_LBUTTONDOWN ? "host down" : "host up");
        if (message >= WM_KEYFIRST && message <= WM_KEYLAST)
            g_events.Record("host key");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A 300 x 200 host at (100, 100) whose tree is one plain node.
class DragTaskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        g_script = FeatureScript();
        g_steps.clear();
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_WINDOW + 1)),
                                    "host", WS_POPUP | WS_VISIBLE, kHostOrigin.x, kHostOrigin.y,
                                    300, 200, NULL, NULL));
        ::SetForegroundWindow(m_host.m_hWnd);
        m_host.SetFocus();
        PumpUntilIdle();
    }
    void TearDown() override
    {
        m_listener.reset();
        m_host.DestroyWindow();
        PumpUntilIdle();
    }
    template <class Listener>
    void Listen()
    {
        m_listener = std::make_unique<Listener>();
        ASSERT_TRUE(m_listener->Initialize(&m_root, &m_host, NULL, 0, TRUE, FALSE));
        g_events.Clear();
    }
    static CPoint Screen(int x, int y) { return kHostOrigin + CPoint(x, y); }

    Host m_host;
    ProbeNode m_root{"root"};
    std::unique_ptr<TkDockingListener_T<TkLocalDragDropTask_T<TkLayoutWndListener>>> m_listener;
};

TEST_F(DragTaskTest, ADockingListenersDragStartsOnThePressAndDropsAtTheRelease)
{
    Listen<ZeroThresholdListener>();
    InputScript()
        .MoveTo(Screen(50, 50))
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Step(Screen(60, 55))
        .Step(Screen(80, 70))
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("can 50,50 start 50,50 move 50,50 move 60,55 move 80,70 end 80,70 1",
              g_events.Joined());
    EXPECT_EQ(NULL, ::GetCapture());

    g_events.Clear();
    InputScript().Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
    EXPECT_EQ("can 80,70 start 80,70 move 80,70 end 80,70 1", g_events.Joined());
}

// Escape and the right button cancel; no key of the drag reaches a window
// (the release of Escape comes after the drag).
TEST_F(DragTaskTest, EscapeAndTheRightButtonCancel)
{
    Listen<ZeroThresholdListener>();
    for (DWORD cancel : {(DWORD)0, (DWORD)MOUSEEVENTF_RIGHTDOWN})
    {
        g_events.Clear();
        InputScript script;
        script.MoveTo(Screen(50, 50)).Button(MOUSEEVENTF_LEFTDOWN).Step(Screen(70, 60));
        if (cancel)
            script.Button(cancel).Button(MOUSEEVENTF_RIGHTUP);
        else
            script.Key(VK_ESCAPE);
        script.Button(MOUSEEVENTF_LEFTUP).Send();
        EXPECT_EQ(std::string("can 50,50 start 50,50 move 50,50 move 70,60 end 70,60 0 ") +
                      (cancel ? "host up" : "host key host up"),
                  g_events.Joined())
            << (cancel ? "right button" : "escape");
    }
}

TEST_F(DragTaskTest, PressesThatStartNoDragAreTheWindows)
{
    const struct
    {
        BOOL draggable;
        BOOL startAccepted;
        const char* events;
    } cases[] = {
        {FALSE, TRUE, "can 50,50 host down host up"},
        {TRUE, FALSE, "can 50,50 start 50,50 host down host up"},
    };
    Listen<ZeroThresholdListener>();
    for (const auto& c : cases)
    {
        g_events.Clear();
        g_script.draggable = c.draggable;
        g_script.startAccepted = c.startAccepted;
        InputScript()
            .MoveTo(Screen(50, 50))
            .Button(MOUSEEVENTF_LEFTDOWN)
            .Button(MOUSEEVENTF_LEFTUP)
            .Send();
        EXPECT_EQ(c.events, g_events.Joined());
    }
}

// The template's own threshold of one pixel: a release without a move is a
// click, a move of exactly one pixel starts the drag.
TEST_F(DragTaskTest, TheDefaultThresholdWaitsForAOnePixelMove)
{
    Listen<DefaultThresholdListener>();
    InputScript()
        .MoveTo(Screen(50, 50))
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("can 50,50 host down host up", g_events.Joined());

    g_events.Clear();
    InputScript()
        .Button(MOUSEEVENTF_LEFTDOWN)
        .Step(Screen(51, 50))
        .Step(Screen(60, 50))
        .Button(MOUSEEVENTF_LEFTUP)
        .Send();
    EXPECT_EQ("can 50,50 host down start 50,50 move 51,50 move 60,50 end 60,50 1",
              g_events.Joined());
}

TEST_F(DragTaskTest, DragsEndCancelledWhenTheyCannotRun)
{
    const struct
    {
        FirstMove firstMove;
        BOOL holdCapture;
        const char* events;
    } cases[] = {
        // The window holds the capture already: no loop.
        {kNothing, TRUE, "can 50,50 start 50,50 end 50,50 0"},
        // WM_QUIT ends the drag and stays for the thread's own loop.
        {kPostQuit, FALSE, "can 50,50 start 50,50 move 50,50 end 50,50 0 quit 7"},
        // The capture taken away: the loop does not wait for a release.
        {kDropCapture, FALSE, "can 50,50 start 50,50 move 50,50 end 50,50 0"},
    };
    Listen<ZeroThresholdListener>();
    for (const auto& c : cases)
    {
        g_events.Clear();
        g_script.firstMove = c.firstMove;
        if (c.holdCapture)
            m_host.SetCapture();
        InputScript().MoveTo(Screen(50, 50)).Button(MOUSEEVENTF_LEFTDOWN).Send();
        std::string events = g_events.Joined();
        EXPECT_EQ(c.events, events.substr(0, std::string(c.events).size()));
        ::ReleaseCapture();
        InputScript().Button(MOUSEEVENTF_LEFTUP).Send();
    }
}

TEST_F(DragTaskTest, ADoubleClickGoesToTheFeatureWhenDraggable)
{
    Listen<DefaultThresholdListener>();
    CPoint client(40, 30);
    m_host.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ("can 40,30 double 40,30", g_events.Joined());
}

// The host starts the drags; a 200 x 200 window at (500, 100) takes them.
class OleDragTaskTest : public DragTaskTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        DragTaskTest::SetUp();
        ASSERT_TRUE(m_dropWindow.CreateEx(0, AfxRegisterWndClass(0), "drop",
                                          WS_POPUP | WS_VISIBLE, 500, 100, 200, 200, NULL, NULL));
        ASSERT_TRUE(m_dropTarget.Register(&m_dropWindow));
        ASSERT_TRUE(m_oleListener.Initialize(&m_root, &m_host, NULL, 0, TRUE, FALSE));
        ::SetForegroundWindow(m_host.m_hWnd);
        PumpUntilIdle();
        g_events.Clear();
    }
    void TearDown() override
    {
        m_dropTarget.Revoke();
        m_oleListener.Detach();
        m_dropWindow.DestroyWindow();
        DragTaskTest::TearDown();
        OleUninitialize();
    }
    // Presses at (50, 50) of the host and gives the steps from the drag's loop.
    void Drag(std::vector<InputScript> steps)
    {
        g_steps = std::move(steps);
        g_nextStep = 0;
        g_polled = FALSE;
        InputScript().MoveTo(Screen(50, 50)).Button(MOUSEEVENTF_LEFTDOWN).Send();
        // Whatever the drag left unused (a refused start takes none).
        for (; g_nextStep < g_steps.size(); ++g_nextStep)
            g_steps[g_nextStep].Send();
        PumpUntilIdle();
    }

    CWnd m_dropWindow;
    TkOleDropTarget m_dropTarget;
    OleListener m_oleListener;
};

TEST_F(OleDragTaskTest, DragsEndAsDropsOnlyOverTheDropTarget)
{
    const struct
    {
        const char* name;
        CPoint release;
        WORD key;  // pressed before the release
        int failingMove;
        const char* events;
    } cases[] = {
        {"over the target", Screen(450, 60), 0, 0,
         "can 50,50 start 50,50 move 50,50 move 150,60 move 450,60 end 450,60 1"},
        {"over the host", Screen(250, 60), 0, 0,
         "can 50,50 start 50,50 move 50,50 move 150,60 move 250,60 end 250,60 0"},
        // The release of Escape comes after the drag.
        {"escape", Screen(450, 60), VK_ESCAPE, 0,
         "can 50,50 start 50,50 move 50,50 move 150,60 move 450,60 end 450,60 0 host key"},
        {"failed feedback", Screen(450, 60), 0, 3,
         "can 50,50 start 50,50 move 50,50 move 150,60 move 450,60 end 450,60 0"},
    };
    for (const auto& c : cases)
    {
        g_events.Clear();
        g_script.failingMove = c.failingMove;
        std::vector<InputScript> steps;
        steps.push_back(InputScript().MoveTo(Screen(150, 60)));
        steps.push_back(InputScript().MoveTo(c.release));
        if (c.key)
            steps.push_back(InputScript().Key(c.key));
        steps.push_back(InputScript().Button(MOUSEEVENTF_LEFTUP));
        Drag(steps);
        EXPECT_EQ(c.events, g_events.Joined()) << c.name;
        EXPECT_EQ(NULL, ::GetCapture()) << c.name;
    }
}

TEST_F(OleDragTaskTest, ARefusedStartRunsNoDrag)
{
    g_script.startAccepted = FALSE;
    Drag({InputScript().MoveTo(Screen(450, 60)), InputScript().Button(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ("can 50,50 start 50,50 host down", g_events.Joined());
}

TEST_F(OleDragTaskTest, ADoubleClickGoesToTheFeature)
{
    m_host.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 30));
    EXPECT_EQ("can 40,30 double 40,30", g_events.Joined());
}
}  // namespace
