#include "listctrl/tests/ListFixture.h"
#include "tests/support/RealInput.h"

#include <string>

namespace
{
const int kEditorId = 104;

class ListTipTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, 0}, {"Artist", 80, 0}, {"Kind", 60, kLxColImage}});
        AddRows({{"one", "Short", "3"},
                 {"two", "A name far too long for this column", "1"},
                 {"three", "Another name far too long here", "An image number far too long"}});
        // The real cursor away from the list: Wine turns window changes under
        // it into mouse moves of its own.
        ::SetCursorPos(700, 600);
        m_list.SetFocus();
    }
    HWND Tip()
    {
        for (HWND window = ::FindWindowExA(NULL, NULL, "ZLxListTip", NULL); window;
             window = ::FindWindowExA(NULL, window, "ZLxListTip", NULL))
            // A popup's owner is the list's top-level window.
            if (::GetWindow(window, GW_OWNER) == m_owner.m_hWnd)
                return window;
        return NULL;
    }
    bool Shown() { return ::IsWindowVisible(Tip()) != FALSE; }
    CPoint InCell(int row, int column)
    {
        CRect cell;
        m_list.GetCellRect(row, column, &cell);
        return CPoint(cell.left + 10, cell.CenterPoint().y);
    }
    void MoveOver(int row, int column)
    {
        CPoint point = InCell(row, column);
        m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        PumpMessages();
    }
    // A click on the tip where it covers the cell, the cursor there too.
    void ClickTip(int row, int column)
    {
        CPoint screen = InCell(row, column);
        m_list.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        CPoint client = screen;
        ::ScreenToClient(Tip(), &client);
        ::PostMessageA(Tip(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        ::PostMessageA(Tip(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        PumpMessages();
    }
};

TEST_F(ListTipTest, OnlyACutCellShowsItsTextOverTheCell)
{
    ASSERT_NE((HWND)NULL, Tip());
    const struct
    {
        int row, column;
        bool shows;
    } cases[] = {
        {0, 1, false},  // fits
        {0, 0, false},
        {1, 1, true},
        {2, 1, true},
        {2, 2, false},  // image column
    };
    for (const auto& c : cases)
    {
        MoveOver(c.row, c.column);
        EXPECT_EQ(c.shows, Shown()) << c.row << "," << c.column;
        if (!c.shows)
            continue;
        EXPECT_EQ(Tip(), ::GetCapture());
        CRect cell, tip;
        m_list.GetCellRect(c.row, c.column, &cell);
        m_list.ClientToScreen(&cell);
        ::GetWindowRect(Tip(), &tip);
        CClientDC dc(&m_list);
        CFont* old = dc.SelectObject(m_list.GetNormalFont());
        int width = dc.GetTextExtent(m_owner.m_cells[c.row][c.column].c_str()).cx;
        dc.SelectObject(old);
        EXPECT_EQ(CRect(cell.left + 5, cell.top, cell.left + 5 + width + 3, cell.bottom), tip);
        // Leaving the cell hides it; coming back shows it again.
        ::PostMessageA(Tip(), WM_MOUSEMOVE, 0, MAKELPARAM(tip.Width() + 40, 2));
        PumpMessages();
        EXPECT_FALSE(Shown());
        EXPECT_NE(Tip(), ::GetCapture());
        MoveOver(c.row, c.column);
        EXPECT_TRUE(Shown());
        ::PostMessageA(Tip(), WM_MOUSEMOVE, 0, MAKELPARAM(tip.Width() + 40, 2));
        PumpMessages();
    }
}

TEST_F(ListTipTest, ClickGoesToTheRowBeneathAndThatCellStaysQuiet)
{
    MoveOver(1, 1);
    ASSERT_TRUE(Shown());
    ClickTip(1, 1);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(1, m_list.GetNextItem(-1, LVNI_SELECTED));
    MoveOver(1, 1);
    EXPECT_FALSE(Shown());  // closed by a click: not again for this cell
    MoveOver(2, 1);
    ASSERT_TRUE(Shown());
    // A key closes this tip and still reaches the list.
    m_list.PostMessage(WM_KEYDOWN, VK_UP, 1);
    PumpMessages();
    EXPECT_FALSE(Shown());
    EXPECT_EQ(0, m_list.GetNextItem(-1, LVNI_FOCUSED));
    MoveOver(1, 1);
    EXPECT_TRUE(Shown());  // another tip was closed since
}

TEST_F(ListTipTest, CategoryViewShowsTipsOnlyOverItemCellsPastTheBoxColumn)
{
    m_owner.m_cells[1][0] = "A title far too long for the first column";
    MoveOver(1, 0);
    EXPECT_TRUE(Shown());
    ::PostMessageA(Tip(), WM_MOUSEMOVE, 0, MAKELPARAM(1000, 2));
    PumpMessages();
    FileByColumn(1);
    m_list.EnableCategoryView(true);
    CLxCategoryManager& manager = *m_list.GetCategoryManager();
    for (int i = 0; i < 3; i++)
        manager.GetCategory(i)->expanded = 1;
    manager.Rebuild(m_list);
    int checked = 0;
    for (int row = 0; row < m_list.GetItemCount(); row++)
    {
        DWORD_PTR data = m_list.GetItemData(row);
        bool category = manager.IndexOfCategory((const void*)data) >= 0;
        bool cut = !category && data != 0;  // items 1 and 2 have long artists
        for (int column : {0, 1})
        {
            MoveOver(row, column);
            EXPECT_EQ(cut && column == 1, Shown()) << "row " << row << " column " << column;
            if (Shown())
            {
                ::PostMessageA(Tip(), WM_MOUSEMOVE, 0, MAKELPARAM(1000, 2));
                PumpMessages();
            }
            checked++;
        }
    }
    EXPECT_EQ(12, checked);  // three category rows and three items
}

TEST_F(ListTipTest, ScrollingHidesTheTip)
{
    // A hidden tip stays away from its cell: each message gets a cell of its own.
    const struct
    {
        UINT message;
        int row;
    } cases[] = {{WM_VSCROLL, 1}, {WM_HSCROLL, 2}};
    for (const auto& c : cases)
    {
        UINT message = c.message;
        MoveOver(c.row, 1);
        ASSERT_TRUE(Shown());
        m_list.SendMessage(message, SB_LINEDOWN, 0);
        PumpMessages();
        EXPECT_FALSE(Shown()) << message;
        EXPECT_NE(Tip(), ::GetCapture());
    }
}

// The first click of a double click lands on the tip, the second on the list:
// the system sees two single clicks, the list still the double click that
// opens the editor of the cut cell.
TEST_F(ListTipTest, ADoubleClickThroughTheTipOpensTheEditor)
{
    m_list.DeleteColumn(1);
    m_list.InsertColumnEx(1, "Artist", LVCFMT_LEFT, 80, kLxColEdit);
    m_owner.SetForegroundWindow();
    auto send = [](DWORD flags, CPoint screen) {
        SendMouseAt(flags, screen);
        for (int round = 0; round < 10; ++round)
        {
            PumpMessages();
            if (MsgWaitForMultipleObjects(0, NULL, FALSE, 30, QS_ALLINPUT) == WAIT_TIMEOUT)
                break;
        }
    };
    const struct
    {
        int row;
        bool throughTip;
    } cases[] = {{0, false}, {1, true}};
    for (const auto& c : cases)
    {
        m_list.SetFocus();
        CPoint screen = InCell(c.row, 1);
        m_list.ClientToScreen(&screen);
        send(0, screen + CSize(1, 0));
        send(0, screen);
        EXPECT_EQ(c.throughTip, Shown()) << c.row;
        for (int click = 0; click < 2; ++click)
        {
            send(MOUSEEVENTF_LEFTDOWN, screen);
            send(MOUSEEVENTF_LEFTUP, screen);
        }
        HWND editor = ::GetDlgItem(m_list.m_hWnd, kEditorId);
        ASSERT_TRUE(editor) << c.row;
        ::SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessages();
    }
    ::SetCursorPos(700, 600);
}

TEST_F(ListTipTest, NoTipWithoutTheStyleOrWithAButtonHeld)
{
    m_list.SendMessage(WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(InCell(1, 1).x, InCell(1, 1).y));
    EXPECT_FALSE(Shown());
    m_list.ModifyLxStyle(kLxStyleCellTips, 0, 0);
    MoveOver(1, 1);
    EXPECT_FALSE(Shown());
}
// Whether the tip showed while a menu was up; the menu is closed once its loop idles.
HWND g_tipWatched = NULL;
int g_tipShownInMenu = -1;

LRESULT CALLBACK NoteTipInMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU)
    {
        g_tipShownInMenu = ::IsWindowVisible(g_tipWatched) ? 1 : 0;
        ::EndMenu();
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// A menu takes the mouse from the tip, which could then never see the pointer
// leave its cell: it goes when the menu opens and stays away after it.
TEST_F(ListTipTest, AMenuOpeningHidesTheTip)
{
    MoveOver(1, 1);
    ASSERT_TRUE(Shown());
    g_tipWatched = Tip();
    g_tipShownInMenu = -1;
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, NoteTipInMenu, NULL, ::GetCurrentThreadId());
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "Item");
    CPoint screen = InCell(1, 1);
    m_list.ClientToScreen(&screen);
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, m_list.m_hWnd, NULL);
    ::DestroyMenu(menu);
    ::UnhookWindowsHookEx(hook);
    PumpMessages();
    EXPECT_EQ(0, g_tipShownInMenu);
    EXPECT_FALSE(Shown());
    EXPECT_NE(Tip(), ::GetCapture());
    MoveOver(1, 1);
    EXPECT_FALSE(Shown()) << "the cell whose tip the menu closed stays quiet";
    MoveOver(2, 1);
    EXPECT_TRUE(Shown()) << "another cut cell";
}
}  // namespace
