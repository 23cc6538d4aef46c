#include "toolkit/bars/tests/BarsFixture.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkFrameBar.h"
#include "toolkit/bars/TkReBar.h"
#include "toolkit/colors/TkSysColors.h"

#include <stdlib.h>

#include <functional>
#include <vector>

namespace {

// Records the order in which the rebar asks its band bars for their layout.
class CRecordingBar : public TkControlBar
{
public:
    explicit CRecordingBar(std::vector<UINT>& asked) : m_asked(asked) {}
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override
    {
        m_asked.push_back(GetDlgCtrlID());
        return TkControlBar::CalcFixedLayout(stretch, horizontal);
    }
    std::vector<UINT>& m_asked;
};

class BarPartsTest : public BarsFixture
{
protected:
    // Hit-tests the bar at point; the tool's text, empty when none.
    INT_PTR HitTest(TkControlBar* bar, CPoint point, std::string& text)
    {
        TOOLINFOA info = {};
        info.cbSize = sizeof(info);
        INT_PTR hit = bar->OnToolHitTest(point, &info);
        text.clear();
        if (info.lpszText != NULL && info.lpszText != LPSTR_TEXTCALLBACKA) {
            text = info.lpszText;
            free(info.lpszText);
        }
        return hit;
    }
};

// The rebar takes its height at the top of the frame; the toolkit rebar asks
// the toolkit bars in its bands for their layout, last band first, and skips
// other windows.
TEST_F(BarPartsTest, ReBarAsksItsBandBarsLastFirst)
{
    std::vector<UINT> asked;
    TkReBar* rebar = new TkReBar;
    ASSERT_TRUE(rebar->Create(m_frame));
    CRecordingBar first(asked);
    CRecordingBar second(asked);
    ASSERT_TRUE(first.Create(rebar, "First", WS_VISIBLE | CBRS_TOP, 0, 0xE840));
    ASSERT_TRUE(second.Create(rebar, "Second", WS_VISIBLE | CBRS_TOP, 0, 0xE841));
    CWnd label;
    ASSERT_TRUE(label.Create("STATIC", "label", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), rebar, 0xE842));
    first.SetWindowPos(NULL, 0, 0, 120, 26, SWP_NOMOVE | SWP_NOZORDER);
    second.SetWindowPos(NULL, 0, 0, 90, 30, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(rebar->AddBar(&first, "First"));
    ASSERT_TRUE(rebar->AddBar(&label));
    ASSERT_TRUE(rebar->AddBar(&second));
    EXPECT_EQ(3, rebar->GetBandCount());

    asked.clear();
    CSize size = rebar->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ((std::vector<UINT>{0xE841, 0xE840}), asked);
    EXPECT_EQ(32767, size.cx);
    EXPECT_EQ(rebar->GetBarHeight(), size.cy);
    EXPECT_GE(rebar->GetBarHeight(), 30);

    Layout();
    CRect client;
    m_frame->GetClientRect(&client);
    CRect placed = RectIn(rebar, m_frame);
    EXPECT_EQ(rebar->GetBarHeight(), placed.Height());
    EXPECT_EQ(client.Width(), placed.Width());
    rebar->DestroyWindow();
    first.DestroyWindow();
    second.DestroyWindow();
}

// Docked bars with tool tips name the gripper's buttons; floating bars and
// bars without tool tips name none.
TEST_F(BarPartsTest, GripperButtonsHaveTips)
{
    for (TkControlBar* bar : m_bars) {
        bar->ModifyExBarStyle(0, TKCBRS_CLOSEBUTTON | TKCBRS_EXPANDBUTTON, FALSE);
        bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS);
    }
    OneRowAt(AFX_IDW_DOCKBAR_TOP);
    for (TkControlBar* bar : m_bars)
        bar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    TkControlBar* bar = m_bars[0];
    ASSERT_FALSE(bar->GetCloseRect().IsRectEmpty());
    ASSERT_FALSE(bar->GetExpandRect().IsRectEmpty());
    CPoint close = bar->GetCloseRect().CenterPoint();
    CPoint expand = bar->GetExpandRect().CenterPoint();
    CRect client;
    bar->GetClientRect(&client);
    struct Case
    {
        const char* name;
        std::function<void()> before;
        CPoint point;
        INT_PTR hit;
        const char* text;
    } cases[] = {
        {"close button", [] {}, close, 1024, "Hide docked window"},
        {"expand button", [] {}, expand, 2048, "Expand docked window"},
        {"expand button of the expanded bar",
         [&] {
             Side(AFX_IDW_DOCKBAR_TOP)->ExpandBar(bar, TkDockBar::kExpand);
             Layout();
             bar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
         },
         expand, 2048, "Contract docked window"},
        {"inside the bar", [] {}, client.CenterPoint(), -1, ""},
        {"without tool tips", [&] { bar->SetBarStyle(bar->GetBarStyle() & ~CBRS_TOOLTIPS); }, close, -1, ""},
        {"floating",
         [&] {
             bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS);
             m_frame->FloatControlBar(bar, CPoint(300, 300), CBRS_ALIGN_TOP);
             Layout();
         },
         close, -1, ""},
    };
    for (const Case& c : cases) {
        c.before();
        std::string text;
        EXPECT_EQ(c.hit, HitTest(bar, c.point, text)) << c.name;
        EXPECT_EQ(c.text, text) << c.name;
    }
}

TEST_F(BarPartsTest, ChildWindowsAreToolsOfTheirBar)
{
    m_bars[0]->SetBarStyle(m_bars[0]->GetBarStyle() | CBRS_TOOLTIPS);
    CRect client;
    m_bars[0]->GetClientRect(&client);
    CWnd child;
    CRect place(client.right - 40, client.top + 8, client.right - 10, client.top + 28);
    ASSERT_TRUE(child.Create("STATIC", "x", WS_CHILD | WS_VISIBLE, place, m_bars[0], 77));
    std::string text;
    EXPECT_EQ(77, HitTest(m_bars[0], place.CenterPoint(), text));
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    m_bars[0]->OnToolHitTest(place.CenterPoint(), &info);
    EXPECT_EQ((UINT_PTR)child.m_hWnd, info.uId);
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, info.lpszText);
}

// A click on a floating frame bar activates the window at the top of its
// parents and owners, the main frame.
TEST_F(BarPartsTest, FloatingFrameBarActivatesTheMainFrame)
{
    TkFrameBar* bar = new TkFrameBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_frame, "View", WS_VISIBLE | CBRS_TOP, 0, 0xE850));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->FloatControlBar(bar, CPoint(320, 320), CBRS_ALIGN_TOP);
    Layout();
    CFrameWnd* mini = bar->GetParentFrame();
    ASSERT_NE(m_frame, mini);
    mini->SetActiveWindow();
    ASSERT_EQ(mini->m_hWnd, ::GetActiveWindow());
    LRESULT answer = bar->SendMessage(WM_MOUSEACTIVATE, (WPARAM)mini->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(MA_ACTIVATE, answer);
    EXPECT_EQ(m_frame->m_hWnd, ::GetActiveWindow());
}

// The borders outside the client area are the bar's own, drawn through the
// window's DC.
TEST_F(BarPartsTest, EraseNonClientPaintsTheBordersOutsideTheClientArea)
{
    TkControlBar* bar = new TkControlBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->CreateEx(NULL, "Bordered", 0xE851, WS_CHILD | WS_VISIBLE | WS_BORDER | CBRS_TOP | CBRS_BORDER_ANY,
                              0, CRect(10, 200, 210, 260), m_frame));
    bar->UpdateWindow();
    bar->EraseNonClient();
    CWindowDC dc(bar);
    COLORREF face = tkSysColors.m_clrBtnFace;
    EXPECT_EQ(face, dc.GetPixel(0, 0));
    EXPECT_EQ(face, dc.GetPixel(100, 0));
    EXPECT_EQ(face, dc.GetPixel(0, 30));
}

// A 200 by 200 memory bitmap of the screen's format, filled with one colour.
class CCanvas
{
public:
    CCanvas()
    {
        CClientDC screen(NULL);
        m_dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, kSize, kSize);
        m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kSize, kSize, kBackground);
    }
    // The first pixel of rect where the two canvases differ, (-1, -1) for none.
    CPoint FirstDifference(CCanvas& other, const CRect& rect)
    {
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                if (m_dc.GetPixel(x, y) != other.m_dc.GetPixel(x, y))
                    return CPoint(x, y);
        return CPoint(-1, -1);
    }
    static constexpr int kSize = 200;
    static constexpr COLORREF kBackground = RGB(1, 2, 3);
    CDC m_dc;
    CBitmap m_bitmap;
};

// The gripper's buttons are the system's own glyphs in their places, and
// its two ridges raised lines; a floating bar draws no gripper at all.
TEST_F(BarPartsTest, GripperDrawsTheSystemGlyphsAndTwoRidges)
{
    for (TkControlBar* bar : m_bars)
        bar->ModifyExBarStyle(0, TKCBRS_CLOSEBUTTON | TKCBRS_EXPANDBUTTON, FALSE);
    struct Case
    {
        const char* name;
        UINT side;
        UINT expandGlyph;
    } cases[] = {
        {"lying bar", AFX_IDW_DOCKBAR_TOP, DFCS_SCROLLLEFT},
        {"standing bar", AFX_IDW_DOCKBAR_LEFT, DFCS_SCROLLUP},
    };
    for (const Case& c : cases) {
        OneRowAt(c.side);
        TkControlBar* bar = m_bars[0];
        CRect client(0, 0, 150, 150);
        CCanvas drawn;
        bar->DrawGripper(&drawn.m_dc, client);
        CRect close = bar->GetCloseRect();
        CRect expand = bar->GetExpandRect();
        ASSERT_FALSE(close.IsRectEmpty()) << c.name;
        ASSERT_FALSE(expand.IsRectEmpty()) << c.name;
        CCanvas alone;
        ::DrawFrameControl(alone.m_dc.m_hDC, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
        CRect expandGlyph(expand.left - 1, expand.top - 1, expand.right, expand.bottom);
        ::DrawFrameControl(alone.m_dc.m_hDC, &expandGlyph, DFC_SCROLL, c.expandGlyph);
        EXPECT_EQ(CPoint(-1, -1), drawn.FirstDifference(alone, close)) << c.name;
        EXPECT_EQ(CPoint(-1, -1), drawn.FirstDifference(alone, expand)) << c.name;

        // Ridges 3 pixels wide at 4 and 8 pixels into the gripper, lit on
        // their leading side, shadowed on the trailing one.
        BOOL lying = c.side == AFX_IDW_DOCKBAR_TOP;
        auto at = [&](int along, int across) {
            return lying ? drawn.m_dc.GetPixel(1 + along, across) : drawn.m_dc.GetPixel(across, 1 + along);
        };
        int middle = 60;
        for (int ridge : {4, 8}) {
            EXPECT_EQ(tkSysColors.m_clrBtnHilite, at(ridge, middle)) << c.name << " " << ridge;
            EXPECT_EQ(CCanvas::kBackground, at(ridge + 1, middle)) << c.name << " " << ridge;
            EXPECT_EQ(tkSysColors.m_clrBtnShadow, at(ridge + 2, middle)) << c.name << " " << ridge;
        }

        bar->DrawCloseButtonPressed(&drawn.m_dc);
        CCanvas pressed;
        ::DrawFrameControl(pressed.m_dc.m_hDC, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
        EXPECT_EQ(CPoint(-1, -1), drawn.FirstDifference(pressed, close)) << c.name;
    }

    m_frame->FloatControlBar(m_bars[0], CPoint(300, 300), CBRS_ALIGN_TOP);
    Layout();
    CCanvas floating;
    CCanvas untouched;
    m_bars[0]->DrawGripper(&floating.m_dc, CRect(0, 0, 150, 150));
    EXPECT_EQ(CPoint(-1, -1), floating.FirstDifference(untouched, CRect(0, 0, 150, 150)));
}

}  // namespace
