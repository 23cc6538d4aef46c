// The list's context menu as a person asks for it, by real input: a right
// click on a row, on the header, and the menu key or Shift+F10. The owner
// opens its menu on the right button release the list hands on, at a point
// in the list's client coordinates.
#include "listctrl/tests/ListFixture.h"

#include "tests/support/InputScript.h"

#include <string>
#include <vector>

namespace
{
// Counts the popup menus that open and closes each once its loop idles.
int g_menusShown = 0;

LRESULT CALLBACK CloseShownMenus(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_INITMENUPOPUP)
        ++g_menusShown;
    if (code == HC_ACTION && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU)
        ::EndMenu();
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

class ContextMenuTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, kLxColSortable}, {"Artist", 100, kLxColSortable}});
        AddRows({{"b", "Beta"}, {"c", "Alpha"}, {"a", "Gamma"}, {"d", "Delta"}});
        m_owner.SetForegroundWindow();
        m_list.SetFocus();
        PumpUntilIdle();
        g_menusShown = 0;
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, CloseShownMenus, NULL, ::GetCurrentThreadId());
    }
    void TearDown() override
    {
        ::UnhookWindowsHookEx(m_hook);
        ListTest::TearDown();
    }
    void RightClick(CPoint screen)
    {
        InputScript().MoveTo(screen).Button(MOUSEEVENTF_RIGHTDOWN).Button(MOUSEEVENTF_RIGHTUP).Send();
        PumpMessages();
    }
    CPoint RowPoint(int row)
    {
        CRect rect;
        m_list.GetItemRect(row, &rect, LVIR_BOUNDS);
        return CPoint(rect.left + 30, rect.CenterPoint().y);
    }
    static std::string Release(CPoint point)
    {
        return "WM_RBUTTONUP " + std::to_string(point.x) + "," + std::to_string(point.y);
    }

    HHOOK m_hook = NULL;
};

TEST_F(ContextMenuTest, ARightClickOnARowReachesTheOwnerOnceAtTheClickPoint)
{
    for (int row : {1, 3})
    {
        m_owner.m_events.clear();
        CPoint point = RowPoint(row);
        CPoint screen = point;
        m_list.ClientToScreen(&screen);
        RightClick(screen);
        EXPECT_EQ(std::vector<std::string>{Release(point)}, m_owner.m_events) << "row " << row;
        EXPECT_EQ(row, m_list.GetNextItem(-1, LVNI_SELECTED));
    }
    EXPECT_EQ(0, g_menusShown);
}

TEST_F(ContextMenuTest, ARightClickOnTheHeaderShowsOnlyTheHeaderMenu)
{
    CRect item;
    m_list.GetHeader()->GetItemRect(1, &item);
    CPoint screen = item.CenterPoint();
    m_list.GetHeader()->ClientToScreen(&screen);
    RightClick(screen);
    EXPECT_EQ(1, g_menusShown);
    EXPECT_TRUE(m_owner.m_events.empty()) << m_owner.m_events.front();
}

TEST_F(ContextMenuTest, TheMenuKeyAndShiftF10AskAtTheSelectedRow)
{
    const struct
    {
        const char* name;
        std::vector<WORD> down;
    } keys[] = {
        {"menu key", {VK_APPS}},
        {"Shift+F10", {VK_SHIFT, VK_F10}},
    };
    for (const auto& key : keys)
    {
        for (int row : {2, 0})
        {
            m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_owner.m_events.clear();
            InputScript script;
            for (WORD vk : key.down)
                script.KeyDown(vk);
            for (auto vk = key.down.rbegin(); vk != key.down.rend(); ++vk)
                script.KeyUp(*vk);
            script.Send();
            PumpMessages();
            ASSERT_EQ(1u, m_owner.m_events.size()) << key.name << ", row " << row;
            int x = 0, y = 0;
            ASSERT_EQ(2, sscanf(m_owner.m_events[0].c_str(), "WM_RBUTTONUP %d,%d", &x, &y));
            CRect rect;
            m_list.GetItemRect(row, &rect, LVIR_BOUNDS);
            EXPECT_TRUE(rect.PtInRect(CPoint(x, y))) << key.name << ", row " << row << ": " << m_owner.m_events[0];
        }
    }
    m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_owner.m_events.clear();
    InputScript().Key(VK_APPS).Send();
    PumpMessages();
    EXPECT_TRUE(m_owner.m_events.empty()) << "no row to show a menu at";
    EXPECT_EQ(0, g_menusShown);
}
} // namespace
