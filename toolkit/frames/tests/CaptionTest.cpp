// The painted caption: the icon cell black and a gradient from black to the
// active caption colour while active, one inactive fill otherwise; the title
// split at its first '-'. Read from the caption's pixels.
#include "tests/support/TestFramework.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/TkCaptionPainter.h"
#include "toolkit/frames/TkFrameWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"

#include <stdlib.h>

namespace
{
class CCaptionApp : public CWinApp
{
public:
    CCaptionApp() : CWinApp("CaptionTest") {}
};

COLORREF PixelAt(CWnd* window, int x, int y)
{
    CWindowDC dc(window);
    return dc.GetPixel(x, y);
}

BOOL Near(COLORREF a, COLORREF b, int slack)
{
    return abs(GetRValue(a) - GetRValue(b)) <= slack && abs(GetGValue(a) - GetGValue(b)) <= slack &&
           abs(GetBValue(a) - GetBValue(b)) <= slack;
}
}  // namespace

TEST(CaptionTest, TitleSplitsAtItsFirstHyphen)
{
    struct Case
    {
        const char* title;
        const char* first;
        const char* second;
    } cases[] = {
        {"Zym - Album - Notes", "Zym ", "- Album - Notes"},
        {"Zym", "Zym", ""},
        {"-Zym", "", "-Zym"},
        {"", "", ""},
    };
    for (const Case& c : cases)
    {
        CString first, second;
        TkCaptionPainter::SplitTitle(c.title, first, second);
        EXPECT_STREQ(c.first, first) << c.title;
        EXPECT_STREQ(c.second, second) << c.title;
    }
}

// Both main frames paint the same caption (the SDI frame posts its redraw).
template <class Frame>
void CheckPaintedCaption()
{
    CCaptionApp app;
    Frame* frame = MakeMainFrame<Frame>(app, 500, 300);
    ASSERT_NE(nullptr, frame);
    CFrameWnd* other = new CFrameWnd;
    other->Create(NULL, "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(520, 0, 700, 200));
    frame->SetWindowText("Zym - Jukebox");
    frame->ShowWindow(SW_SHOW);
    frame->SetActiveWindow();
    EXPECT_FALSE(frame->SetPaintedCaption(TRUE, TRUE));
    PumpMessages();
    ASSERT_TRUE(frame->m_bCaptionActive);

    const CRect caption = TkCaptionPainter::CaptionRect(frame);
    const int cell = ::GetSystemMetrics(SM_CXSIZE);
    const COLORREF activeEnd = ::GetSysColor(COLOR_ACTIVECAPTION);
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(frame, caption.left, caption.top));
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(frame, caption.left + cell, caption.top));
    EXPECT_TRUE(Near(activeEnd, PixelAt(frame, caption.right - 1, caption.top), 8));
    // Half way along, about half of the colour.
    COLORREF middle = PixelAt(frame, caption.left + cell + (caption.Width() - cell) / 2, caption.top);
    EXPECT_TRUE(Near(RGB(GetRValue(activeEnd) / 2, GetGValue(activeEnd) / 2, GetBValue(activeEnd) / 2),
                     middle, 12));

    other->SetActiveWindow();
    PumpMessages();
    EXPECT_FALSE(frame->m_bCaptionActive);
    const COLORREF inactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    EXPECT_EQ(inactive, PixelAt(frame, caption.left, caption.top));
    EXPECT_EQ(inactive, PixelAt(frame, caption.left + cell, caption.top));
    EXPECT_EQ(inactive, PixelAt(frame, caption.right - 1, caption.top));

    // Switched off, the system's caption comes back.
    EXPECT_TRUE(frame->SetPaintedCaption(FALSE, TRUE));
    other->DestroyWindow();
    frame->DestroyWindow();
    app.m_pMainWnd = NULL;
    PumpMessages();
}

TEST(CaptionTest, ActiveCaptionRunsFromBlackToTheCaptionColourAndInactiveIsOneFill)
{
    {
        SCOPED_TRACE("MDI frame");
        CheckPaintedCaption<TkMDIFrameWnd>();
    }
    SCOPED_TRACE("SDI frame");
    CheckPaintedCaption<TkFrameWnd>();
}

// Wine probe: the painted caption rests on the default processing of
// WM_NCACTIVATE and WM_SETTEXT with WS_VISIBLE cleared drawing no caption and
// hiding nothing, and on WM_NCPAINT taking a region or 1 (the whole window).
TEST(CaptionTest, WineDrawsNoCaptionForAWindowMarkedInvisibleAndHidesNothing)
{
    CCaptionApp app;
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200)));
    PumpMessages();
    const CRect caption = TkCaptionPainter::CaptionRect(frame);
    const CPoint probe(caption.left + caption.Width() / 2, caption.top + caption.Height() / 2);
    const COLORREF marker = RGB(255, 0, 255);
    auto Mark = [&]() {
        CWindowDC dc(frame);
        dc.FillSolidRect(caption, marker);
    };
    struct Step
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } steps[] = {
        {"activate", WM_NCACTIVATE, TRUE, 0},
        {"deactivate", WM_NCACTIVATE, FALSE, 0},
        {"text", WM_SETTEXT, 0, (LPARAM) "New title"},
    };
    for (const Step& step : steps)
    {
        Mark();
        LONG style = ::GetWindowLongA(frame->m_hWnd, GWL_STYLE);
        ::SetWindowLongA(frame->m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
        ::DefWindowProcA(frame->m_hWnd, step.message, step.wParam, step.lParam);
        ::SetWindowLongA(frame->m_hWnd, GWL_STYLE, style);
        EXPECT_EQ(marker, PixelAt(frame, probe.x, probe.y)) << step.name;
        EXPECT_TRUE(frame->IsWindowVisible()) << step.name;
    }
    // WM_NCPAINT with 1 repaints the whole frame; with a region only that part.
    Mark();
    ::DefWindowProcA(frame->m_hWnd, WM_NCPAINT, 1, 0);
    EXPECT_NE(marker, PixelAt(frame, probe.x, probe.y));
    Mark();
    CRect window;
    frame->GetWindowRect(&window);
    HRGN elsewhere = ::CreateRectRgn(window.left, window.bottom - 2, window.right, window.bottom);
    ::DefWindowProcA(frame->m_hWnd, WM_NCPAINT, (WPARAM)elsewhere, 0);
    ::DeleteObject(elsewhere);
    EXPECT_EQ(marker, PixelAt(frame, probe.x, probe.y));
    frame->DestroyWindow();
    PumpMessages();
}
