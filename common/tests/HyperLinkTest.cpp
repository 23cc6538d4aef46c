// The link control's look as its operations set it: the text colour it asks
// for (link, visited, hover), the underline of its font, and its size fitted
// to its text or left alone.
#include "tests/support/TestFramework.h"

#include "common/HyperLink.h"

#include <string>

namespace {

const char kText[] = "http://example.test/";
const int kWideStatic = 300;

// Gives the test the colour the control answers WM_CTLCOLORSTATIC with.
class CProbedLink : public CHyperLink
{
public:
    COLORREF TextColour()
    {
        CClientDC dc(this);
        CtlColor(&dc, CTLCOLOR_STATIC);
        return dc.GetTextColor();
    }
};

// A top-level window holding a static control 300 pixels wide, made into a link.
class HyperLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_parent);
    }
    void TearDown() override
    {
        if (m_link.m_hWnd)
            m_link.DestroyWindow();
        DestroyWindow(m_parent);
    }

    // Before the control is made, as a dialog's owner sets it up.
    void Make(DWORD align = SS_LEFT) { Make(m_link, align); }
    void Make(CHyperLink& link, DWORD align)
    {
        HWND control = CreateWindowExA(0, "STATIC", kText, WS_CHILD | WS_VISIBLE | align, 10, 10, kWideStatic, 20,
                                       m_parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(control);
        SendMessageA(control, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
        ASSERT_TRUE(link.SubclassWindow(control));
    }

    CRect Placement(CHyperLink& link)
    {
        CRect rect;
        link.GetWindowRect(&rect);
        ::MapWindowPoints(nullptr, m_parent, (POINT*)&rect, 2);
        return rect;
    }

    int TextWidth(CHyperLink& link)
    {
        CClientDC dc(&link);
        CFont* old = dc.SelectObject(link.GetFont());
        int width = dc.GetTextExtent(kText).cx;
        dc.SelectObject(old);
        return width;
    }

    bool Underlined()
    {
        LOGFONTA font = {};
        GetObjectA((HFONT)m_link.SendMessage(WM_GETFONT), sizeof(font), &font);
        return font.lfUnderline != 0;
    }

    HWND m_parent = nullptr;
    CProbedLink m_link;
};

TEST_F(HyperLinkTest, ColoursFollowVisitedAndHover)
{
    const COLORREF link = RGB(1, 2, 3), visited = RGB(4, 5, 6), hover = RGB(7, 8, 9);
    Make();
    EXPECT_EQ(RGB(0, 0, 238), m_link.TextColour());
    m_link.SetColours(link, visited, hover);
    const struct {
        const char* name;
        BOOL visited;
        bool over;
        COLORREF expected;
    } cases[] = {
        {"new", FALSE, false, link},
        {"visited", TRUE, false, visited},
        {"under the mouse", FALSE, true, hover},
        {"visited, under the mouse", TRUE, true, hover},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_link.SetVisited(c.visited);
        EXPECT_EQ(c.visited, m_link.GetVisited());
        if (c.over)
            m_link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(c.expected, m_link.TextColour());
        // Leaving the control lets the mouse go and the hover colour with it.
        if (c.over) {
            m_link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
            EXPECT_EQ(nullptr, ::GetCapture());
        }
    }
    // No hover colour given: the system's highlight.
    m_link.SetColours(link, visited);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), m_link.GetHoverColour());
}

TEST_F(HyperLinkTest, UnderlineIsTheFontsAndCanBeTurnedOff)
{
    Make();
    EXPECT_TRUE(Underlined());
    m_link.SetUnderline(FALSE);
    EXPECT_FALSE(m_link.GetUnderline());
    EXPECT_FALSE(Underlined());
    m_link.SetUnderline(TRUE);
    EXPECT_TRUE(Underlined());
}

// Fitted to its text, the control keeps the edge its alignment fixes; with
// fitting off it keeps its size until fitting is turned on again.
TEST_F(HyperLinkTest, AutoSizeFitsTheTextFromTheAlignedEdge)
{
    const struct {
        const char* name;
        DWORD align;
        BOOL fit;
    } cases[] = {
        {"left, fitted", SS_LEFT, TRUE},
        {"right, fitted", SS_RIGHT, TRUE},
        {"centred, fitted", SS_CENTER, TRUE},
        {"left, not fitted", SS_LEFT, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHyperLink link;
        link.SetAutoSize(c.fit);
        EXPECT_EQ(c.fit, link.GetAutoSize());
        Make(link, c.align);
        CRect rect = Placement(link);
        int width = c.fit ? TextWidth(link) : kWideStatic;
        EXPECT_EQ(width, rect.Width());
        int left = c.align == SS_RIGHT ? 10 + kWideStatic - width
                   : c.align == SS_CENTER ? 10 + (kWideStatic - width) / 2
                                          : 10;
        EXPECT_EQ(left, rect.left);
        if (!c.fit) {
            link.SetAutoSize(TRUE);
            EXPECT_EQ(TextWidth(link), Placement(link).Width());
        }
        link.DestroyWindow();
    }
}

// Over the control the pointer takes the link cursor the owner gave it.
TEST_F(HyperLinkTest, TheLinkCursorShowsOverTheControl)
{
    HCURSOR cross = LoadCursorA(nullptr, (LPCSTR)IDC_CROSS);
    m_link.SetLinkCursor(cross);
    Make();
    EXPECT_EQ(cross, m_link.GetLinkCursor());
    SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    EXPECT_TRUE(m_link.SendMessage(WM_SETCURSOR, (WPARAM)m_link.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(cross, GetCursor());
}

} // namespace
