// A frame that comes to the top, whichever way it got there, has the windows
// it owns above it again, in their own order, while the activation and the
// focus stay where they went; the windows of another frame are left alone.
// Driven with real clicks where a person would click.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <afxwin.h>

namespace
{
class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("OwnedZOrderTest") {}
};

// An owned popup that counts its position changes.
class COwnedWnd : public CWnd
{
public:
    COwnedWnd(CWnd* owner, const CRect& rect, const char* title) : m_nPosChanged(0)
    {
        CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)::GetStockObject(WHITE_BRUSH)), title,
                 WS_POPUP | WS_CAPTION | WS_VISIBLE, rect.left, rect.top, rect.Width(), rect.Height(),
                 owner->m_hWnd, NULL);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_WINDOWPOSCHANGED)
            ++m_nPosChanged;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    CPoint Middle() const
    {
        CRect rect;
        GetWindowRect(&rect);
        return rect.CenterPoint();
    }
    int m_nPosChanged;
};

// The frame's own restacking waits a little for the display server.
const DWORD kRestackQuietMs = 200;

void Click(CPoint point)
{
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    inputs[0].mi.dx = (point.x * 65536 + cx - 1) / cx;
    inputs[0].mi.dy = (point.y * 65536 + cy - 1) / cy;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(3u, ::SendInput(3, inputs, sizeof(INPUT)));
}

// Whether upper lies above lower among the top-level windows.
bool Above(CWnd* upper, CWnd* lower)
{
    for (HWND at = ::GetWindow(lower->m_hWnd, GW_HWNDPREV); at != NULL; at = ::GetWindow(at, GW_HWNDPREV))
        if (at == upper->m_hWnd)
            return true;
    return false;
}

CFrameWnd* MakeFrame(const char* title, const CRect& rect)
{
    CFrameWnd* frame = new CFrameWnd;
    frame->Create(NULL, title, WS_OVERLAPPEDWINDOW, rect);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return frame;
}

class OwnedZOrderTest : public ::testing::Test
{
protected:
    // The other frame covers both owned windows of the frame where they
    // overlap it; the other frame's own window lies apart.
    OwnedZOrderTest()
        : m_frame(MakeFrame("frame", CRect(100, 100, 500, 400))),
          m_first(m_frame, CRect(150, 200, 250, 280), "first"),
          m_second(m_frame, CRect(300, 200, 400, 280), "second"),
          m_other(MakeFrame("other", CRect(140, 180, 520, 420))),
          m_otherOwned(m_other, CRect(600, 300, 700, 380), "other's")
    {
        PumpUntilIdle(kRestackQuietMs);
    }
    ~OwnedZOrderTest() override
    {
        m_otherOwned.DestroyWindow();
        m_second.DestroyWindow();
        m_first.DestroyWindow();
        m_other->DestroyWindow();
        m_frame->DestroyWindow();
        PumpUntilIdle(kRestackQuietMs);
    }

    CTestApp m_app;
    CFrameWnd* m_frame;
    COwnedWnd m_first;
    COwnedWnd m_second;
    CFrameWnd* m_other;
    COwnedWnd m_otherOwned;
};

TEST_F(OwnedZOrderTest, FrameBroughtToTopKeepsItsOwnedWindowsAboveIt)
{
    struct Step
    {
        const char* name;
        // The window active before the frame comes to the top.
        CWnd* activeBefore;
        void (*bringToTop)(CFrameWnd* frame);
    };
    const Step steps[] = {
        {"click in the client area", m_other, [](CFrameWnd*) { Click(CPoint(300, 150)); }},
        {"click on the caption", m_other, [](CFrameWnd*) { Click(CPoint(300, 110)); }},
        {"click from an owned window", &m_first, [](CFrameWnd*) { Click(CPoint(300, 150)); }},
        {"SetForegroundWindow", m_other, [](CFrameWnd* frame) { frame->SetForegroundWindow(); }},
        {"SetActiveWindow", m_other, [](CFrameWnd* frame) { frame->SetActiveWindow(); }},
        {"BringWindowToTop", m_other, [](CFrameWnd* frame) { frame->BringWindowToTop(); }},
        {"SetWindowPos HWND_TOP", m_other,
         [](CFrameWnd* frame) { frame->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.name);
        step.activeBefore->SetActiveWindow();
        step.activeBefore->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PumpUntilIdle(kRestackQuietMs);
        const bool firstOnTop = Above(&m_first, &m_second);
        const bool otherOwnedAbove = Above(&m_otherOwned, m_other);
        m_first.m_nPosChanged = m_second.m_nPosChanged = m_otherOwned.m_nPosChanged = 0;

        step.bringToTop(m_frame);
        PumpUntilIdle(kRestackQuietMs);

        EXPECT_TRUE(Above(&m_first, m_frame));
        EXPECT_TRUE(Above(&m_second, m_frame));
        EXPECT_TRUE(Above(m_frame, m_other));
        EXPECT_EQ(firstOnTop, Above(&m_first, &m_second));
        EXPECT_EQ(m_first.m_hWnd, ::WindowFromPoint(m_first.Middle()));
        EXPECT_EQ(m_second.m_hWnd, ::WindowFromPoint(m_second.Middle()));
        EXPECT_EQ(m_frame->m_hWnd, ::GetActiveWindow());
        EXPECT_EQ(m_frame->m_hWnd, ::GetFocus());
        // The system's move of the owned windows, if any, and the frame's:
        // no window answers another's move with its own.
        EXPECT_LE(m_first.m_nPosChanged, 2);
        EXPECT_LE(m_second.m_nPosChanged, 2);
        EXPECT_EQ(0, m_otherOwned.m_nPosChanged);
        EXPECT_EQ(otherOwnedAbove, Above(&m_otherOwned, m_other));
    }
}

TEST_F(OwnedZOrderTest, HiddenOwnedWindowsStayWhereTheyAre)
{
    m_second.ShowWindow(SW_HIDE);
    m_other->SetActiveWindow();
    PumpUntilIdle(kRestackQuietMs);
    m_second.m_nPosChanged = 0;

    Click(CPoint(300, 150));
    PumpUntilIdle(kRestackQuietMs);

    EXPECT_TRUE(Above(&m_first, m_frame));
    EXPECT_EQ(0, m_second.m_nPosChanged);
    EXPECT_FALSE(m_second.IsWindowVisible());
}
}
