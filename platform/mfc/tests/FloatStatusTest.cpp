// A frame keeps its caption active while one of its mini frames has the
// activation, and the mini frame's caption follows the frame's; both go
// inactive when another window takes the activation. Read from the
// captions' pixels.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <afxext.h>

namespace
{
class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("FloatStatusTest") {}
};

// A pixel of the caption's fill, away from the icon, the text and the buttons.
COLORREF CaptionPixel(CWnd* window)
{
    CRect windowRect, client;
    window->GetWindowRect(&windowRect);
    window->GetClientRect(&client);
    window->ClientToScreen(&client);
    HDC dc = ::GetWindowDC(window->m_hWnd);
    COLORREF pixel = ::GetPixel(dc, windowRect.Width() * 2 / 5, client.top - windowRect.top - 3);
    ::ReleaseDC(window->m_hWnd, dc);
    return pixel;
}

CFrameWnd* MakeFrame(int x)
{
    CFrameWnd* frame = new CFrameWnd;
    frame->Create(NULL, "", WS_OVERLAPPEDWINDOW, CRect(x, 0, x + 300, 200));
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return frame;
}

TEST(FloatStatus, FrameCaptionStaysActiveWhileItsMiniFrameHasTheActivation)
{
    CTestApp app;
    CFrameWnd* frame = MakeFrame(0);
    CFrameWnd* other = MakeFrame(400);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CMiniDockFrameWnd* mini = frame->CreateFloatingFrame(CBRS_ALIGN_TOP);
    ASSERT_TRUE(mini != NULL);
    mini->SetWindowPos(NULL, 50, 250, 200, 80, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpMessages();

    other->SetActiveWindow();
    PumpMessages();
    const COLORREF inactiveFrame = CaptionPixel(frame);
    const COLORREF inactiveMini = CaptionPixel(mini);
    frame->SetActiveWindow();
    PumpMessages();
    const COLORREF activeFrame = CaptionPixel(frame);
    const COLORREF activeMini = CaptionPixel(mini);
    ASSERT_NE(activeFrame, inactiveFrame);
    ASSERT_NE(activeMini, inactiveMini);

    struct Step
    {
        const char* name;
        CWnd* activated;
        BOOL frameActive;
    };
    const Step steps[] = {
        {"mini frame", mini, TRUE},
        {"frame", frame, TRUE},
        {"mini frame again", mini, TRUE},
        {"another frame", other, FALSE},
        {"mini frame from another frame", mini, TRUE},
        {"another frame again", other, FALSE},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.name);
        step.activated->SetActiveWindow();
        PumpMessages();
        EXPECT_EQ(step.frameActive, (frame->m_nFlags & WF_STAYACTIVE) != 0);
        EXPECT_EQ(step.frameActive ? activeFrame : inactiveFrame, CaptionPixel(frame));
        EXPECT_EQ(step.frameActive ? activeMini : inactiveMini, CaptionPixel(mini));
    }
    mini->DestroyWindow();
    other->DestroyWindow();
    frame->DestroyWindow();
    PumpMessages();
}
}
