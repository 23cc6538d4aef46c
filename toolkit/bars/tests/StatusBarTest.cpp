#include "tests/support/TestFramework.h"
#include "toolkit/bars/tests/StatusBarTest.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/colors/TkSysColors.h"

#include <string>
#include <vector>

namespace
{
// What the frame's update handler does to the disc pane.
struct DiscUpdate
{
    BOOL enable;
    int check;
    LPCSTR text;
};
DiscUpdate g_disc = {TRUE, 0, NULL};

class CStatusTestApp : public CWinApp
{
public:
    CStatusTestApp() : CWinApp("StatusBarTest") {}
};

class CPlayerFrame : public CFrameWnd
{
public:
    void OnUpdateDisc(CCmdUI* cmdUI)
    {
        cmdUI->Enable(g_disc.enable);
        cmdUI->SetCheck(g_disc.check);
        if (g_disc.text)
            cmdUI->SetText(g_disc.text);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPlayerFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_DISC, OnUpdateDisc)
END_MESSAGE_MAP()

// A pane of the real control: its text and its drawing type.
struct ShownPane
{
    std::string text;
    UINT type;
};

const UINT kIndicators[] = {0, ID_INDICATOR_DISC, ID_INDICATOR_MISSING, ID_INDICATOR_MODE};

class StatusBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_disc = {TRUE, 0, NULL};
        m_frame = new CPlayerFrame;
        ASSERT_TRUE(m_frame->Create(NULL, "Player", WS_OVERLAPPEDWINDOW, CRect(10, 10, 710, 310)));
        m_app.m_pMainWnd = m_frame;
        ASSERT_TRUE(m_bar.Create(m_frame));
        ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    ShownPane Shown(int index)
    {
        char text[256] = "";
        LRESULT answer = m_bar.SendMessage(SB_GETTEXT, index, (LPARAM)text);
        return ShownPane{std::string(text, LOWORD(answer)), HIWORD(answer)};
    }
    std::vector<int> Parts()
    {
        std::vector<int> edges(16);
        int count = (int)m_bar.SendMessage(SB_GETPARTS, edges.size(), (LPARAM)edges.data());
        edges.resize(count);
        return edges;
    }
    // Texts as wide as the control's font draws them.
    int TextWidth(LPCSTR text)
    {
        CClientDC screen(NULL);
        HGDIOBJ old = ::SelectObject(screen.m_hDC, (HFONT)m_bar.SendMessage(WM_GETFONT));
        int width = screen.GetTextExtent(text, (int)strlen(text)).cx;
        ::SelectObject(screen.m_hDC, old);
        return width;
    }

    CStatusTestApp m_app;
    CPlayerFrame* m_frame = NULL;
    TkStatusBar m_bar;
};
}  // namespace

TEST_F(StatusBarTest, IndicatorsTakeTheirTextsAndWidthsAndTheMessagePaneStretches)
{
    EXPECT_EQ(4, m_bar.GetPaneCount());
    EXPECT_STREQ("Disc 123", m_bar.GetPaneText(1));
    EXPECT_STREQ("", m_bar.GetPaneText(2));
    EXPECT_STREQ("SHUFFLE", Shown(3).text.c_str());
    EXPECT_EQ(SBPS_NOBORDERS | SBPS_STRETCH, m_bar.GetPaneStyle(0));
    EXPECT_EQ((UINT)SBT_NOBORDERS, Shown(0).type);
    EXPECT_EQ(SBPS_NORMAL, m_bar.GetPaneStyle(1));
    EXPECT_EQ(2, m_bar.CommandToIndex(ID_INDICATOR_MISSING));
    EXPECT_EQ(-1, m_bar.CommandToIndex(ID_INDICATOR_SPARE));

    UINT id;
    UINT style;
    int width;
    m_bar.GetPaneInfo(0, id, style, width);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) / 4, width);

    int borders[3] = {};
    m_bar.SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    const int gap = borders[2];
    CRect window;
    m_bar.GetWindowRect(&window);
    // The frame can be sized: the grip keeps its corner.
    ASSERT_TRUE(m_bar.GetStyle() & SBARS_SIZEGRIP);
    int inside = window.Width() - 2 * tkSysColors.m_cxBorder - borders[0] -
                 ::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> edges = Parts();
    ASSERT_EQ(4u, edges.size());
    EXPECT_EQ(borders[0] + inside, edges[3]);
    EXPECT_EQ(gap + 6 + TextWidth("SHUFFLE"), edges[3] - edges[2]);
    // A pane without a string is empty: only its edges are left.
    EXPECT_EQ(gap + 6, edges[2] - edges[1]);
    EXPECT_EQ(gap + 6 + TextWidth("Disc 123"), edges[1] - edges[0]);
}

TEST_F(StatusBarTest, StretchingPanesShareTheRoomLeftAndAWidthChangeLaysThemOut)
{
    m_bar.SetPaneInfo(2, ID_INDICATOR_MISSING, SBPS_STRETCH, 10);
    std::vector<int> edges = Parts();
    ASSERT_EQ(4u, edges.size());
    int borders[3] = {};
    m_bar.SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    int messageExtra = edges[0] - borders[0] - (::GetSystemMetrics(SM_CXSCREEN) / 4 + 6);
    int secondExtra = edges[2] - edges[1] - borders[2] - (10 + 6);
    // Two stretching panes: the first takes half, the last the rest.
    EXPECT_GE(messageExtra, 0);
    EXPECT_LE(secondExtra - messageExtra, 1);
    EXPECT_GE(secondExtra - messageExtra, 0);
}

TEST_F(StatusBarTest, CommandUpdatesSetTheControlsPanes)
{
    struct Case
    {
        const char* name;
        DiscUpdate update;
        BOOL disableWithoutHandler;
        ShownPane disc;
        ShownPane mode;
    } cases[] = {
        {"text", {TRUE, 0, "Disc 7"}, FALSE, {"Disc 7", 0}, {"SHUFFLE", 0}},
        {"disabled shows no text", {FALSE, 0, NULL}, FALSE, {"", 0}, {"SHUFFLE", 0}},
        {"enabled again shows it", {TRUE, 0, NULL}, FALSE, {"Disc 7", 0}, {"SHUFFLE", 0}},
        {"checked pops out", {TRUE, 1, NULL}, FALSE, {"Disc 7", SBT_POPOUT}, {"SHUFFLE", 0}},
        {"unchecked", {TRUE, 0, "Disc 8"}, FALSE, {"Disc 8", 0}, {"SHUFFLE", 0}},
        {"no handler disables", {TRUE, 0, NULL}, TRUE, {"Disc 8", 0}, {"", 0}},
    };
    for (const Case& c : cases)
    {
        g_disc = c.update;
        m_bar.OnUpdateCmdUI(m_frame, c.disableWithoutHandler);
        EXPECT_EQ(c.disc.text, Shown(1).text) << c.name;
        EXPECT_EQ(c.disc.type, Shown(1).type) << c.name;
        EXPECT_EQ(c.mode.text, Shown(3).text) << c.name;
        EXPECT_EQ(c.mode.type, Shown(3).type) << c.name;
    }
    // The frame's idle update reaches the bar the same way.
    g_disc = {TRUE, 0, "Disc 9"};
    m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_EQ("Disc 9", Shown(1).text);
}

TEST_F(StatusBarTest, TheWindowTextIsTheMessagePanesWithoutATerminatorInTheCount)
{
    EXPECT_TRUE(::SetWindowTextA(m_bar.m_hWnd, "0123456789"));
    EXPECT_EQ("0123456789", Shown(0).text);
    EXPECT_EQ(10, ::GetWindowTextLengthA(m_bar.m_hWnd));
    struct Case
    {
        WPARAM size;
        LRESULT count;
        const char* text;
    } cases[] = {{0, 0, ""}, {1, 0, ""}, {5, 4, "0123"}, {11, 10, "0123456789"},
                 {64, 10, "0123456789"}};
    for (const Case& c : cases)
    {
        char buffer[80];
        memset(buffer, 'z', sizeof(buffer));
        EXPECT_EQ(c.count, m_bar.SendMessage(WM_GETTEXT, c.size, (LPARAM)buffer)) << c.size;
        if (c.size > 0)
            EXPECT_STREQ(c.text, buffer) << c.size;
        EXPECT_EQ('z', buffer[c.size > 0 ? c.count + 1 : 0]) << c.size;
    }
    char text[32] = "";
    EXPECT_EQ(10, ::GetWindowTextA(m_bar.m_hWnd, text, sizeof(text)));
    EXPECT_STREQ("0123456789", text);

    // Without a message pane there is no text to set or read.
    const UINT noMessage[] = {ID_INDICATOR_DISC};
    ASSERT_TRUE(m_bar.SetIndicators(noMessage, 1));
    EXPECT_FALSE(::SetWindowTextA(m_bar.m_hWnd, "lost"));
    EXPECT_EQ(0, ::GetWindowTextLengthA(m_bar.m_hWnd));
    EXPECT_EQ(0, ::GetWindowTextA(m_bar.m_hWnd, text, sizeof(text)));
    EXPECT_STREQ("Disc 123", m_bar.GetPaneText(0));
}

TEST_F(StatusBarTest, TheFramesPromptsGoToTheMessagePane)
{
    m_frame->SendMessage(WM_SETMESSAGESTRING, 20535);
    EXPECT_EQ("Press the Ctrl key to prevent docking.", Shown(0).text);
    m_frame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ("Ready", Shown(0).text);
    m_frame->SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM) "Loading discs");
    EXPECT_EQ("Loading discs", Shown(0).text);
}

TEST_F(StatusBarTest, TheBarIsAsHighAsItsFontAtLeastItsMinimumAndSitsAtTheBottom)
{
    int borders[3] = {};
    m_bar.SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    TEXTMETRICA metrics = {};
    {
        CClientDC screen(NULL);
        HGDIOBJ old = ::SelectObject(screen.m_hDC, (HFONT)m_bar.SendMessage(WM_GETFONT));
        ::GetTextMetricsA(screen.m_hDC, &metrics);
        ::SelectObject(screen.m_hDC, old);
    }
    // Borders 0, 2, 0, 0: the inside of an empty rectangle is 2 lower.
    int height = 2 * (tkSysColors.m_cyBorder + borders[1]) + 2 - metrics.tmInternalLeading +
                 metrics.tmHeight - 1;
    EXPECT_EQ(CSize(32767, height), m_bar.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(0, 0), m_bar.CalcFixedLayout(TRUE, FALSE));

    CRect client;
    m_frame->GetClientRect(&client);
    CRect bar;
    m_bar.GetWindowRect(&bar);
    m_frame->ScreenToClient(&bar);
    EXPECT_EQ(CRect(0, client.bottom - height, client.right, client.bottom), bar);

    m_bar.SendMessage(SB_SETMINHEIGHT, 60);
    EXPECT_EQ(CSize(32767, 60), m_bar.CalcFixedLayout(TRUE, TRUE));
}

TEST_F(StatusBarTest, BadPaneIndexesAndOddTextsChangeNothingElse)
{
    std::vector<int> before = Parts();
    for (int index : {-1, 4, 1000})
    {
        EXPECT_FALSE(m_bar.SetPaneText(index, "x")) << index;
        EXPECT_STREQ("", m_bar.GetPaneText(index)) << index;
        EXPECT_EQ(0u, m_bar.GetPaneStyle(index)) << index;
        EXPECT_EQ(0u, m_bar.GetItemID(index)) << index;
        m_bar.SetPaneStyle(index, SBPS_STRETCH);
        m_bar.SetPaneInfo(index, 7, SBPS_STRETCH, 500);
    }
    EXPECT_EQ(before, Parts());
    EXPECT_EQ("Disc 123", Shown(1).text);

    EXPECT_TRUE(m_bar.SetPaneText(1, NULL));
    EXPECT_EQ("", Shown(1).text);
    std::string longText(400, 'w');
    EXPECT_TRUE(m_bar.SetPaneText(1, longText.c_str()));
    EXPECT_EQ(longText, std::string(m_bar.GetPaneText(1)));
    EXPECT_FALSE(m_bar.SetIndicators(kIndicators, -1));

    // A frame shrunk to nothing leaves the panes where they fit.
    m_frame->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    m_frame->RecalcLayout();
    PumpMessages();
    EXPECT_EQ(4u, Parts().size());
    EXPECT_EQ(longText, std::string(m_bar.GetPaneText(1)));
}

// As the real control draws the disc pane after command updates: text only
// while enabled, checked or not. (Wine's control draws no pane edges, so a
// pop-out pane looks like any other.)
TEST_F(StatusBarTest, APaneShowsItsTextInPixelsOnlyWhileEnabled)
{
    struct Case
    {
        const char* name;
        DiscUpdate update;
        BOOL ink;
    } cases[] = {
        {"text", {TRUE, 0, "Disc 7"}, TRUE},
        {"disabled", {FALSE, 0, NULL}, FALSE},
        {"checked", {TRUE, 1, NULL}, TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_disc = c.update;
        m_bar.OnUpdateCmdUI(m_frame, FALSE);
        m_bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CRect pane;
        ASSERT_TRUE(m_bar.SendMessage(SB_GETRECT, 1, (LPARAM)&pane));
        // Inside the pane's edges: the control draws lines between panes.
        pane.DeflateRect(2, 2);
        CClientDC dc(&m_bar);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        int ink = 0;
        for (int y = pane.top; y < pane.bottom; y++)
            for (int x = pane.left; x < pane.right; x++)
                ink += dc.GetPixel(x, y) != face;
        EXPECT_EQ(c.ink, ink > 0) << ink;
    }
}
