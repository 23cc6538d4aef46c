#include "tests/support/TestFramework.h"
#include "platform/mfc/tests/MenuTest.h"

#include <afxwin.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
const UINT kFirstCommand = 2000;
const UINT kStateBits = MF_SEPARATOR | MF_GRAYED | MF_CHECKED;

class MenuTest : public ::testing::Test
{
protected:
    void TearDown() override { CMenu::DeleteTempMap(); }
};

struct ItemCase
{
    int position;
    UINT id;
    const char* text;
    UINT state;
};

TEST_F(MenuTest, LoadsFromResourcesAndReadsItems)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_EQ(2, menu.GetMenuItemCount());
    EXPECT_EQ(0xFFFFFFFFu, menu.GetMenuItemID(0));
    CString title;
    EXPECT_EQ(5, menu.GetMenuString(1, title, MF_BYPOSITION));
    EXPECT_STREQ("&View", title);

    CMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(file, menu.GetSubMenu(0));
    const ItemCase fileItems[] = {
        { 0, ID_FILE_OPEN_TEST, "&Open...\tCtrl+O", MF_ENABLED },
        // A separator cannot be chosen.
        { 1, 0, "", MF_SEPARATOR | MF_GRAYED },
        { 2, ID_FILE_SAVE_TEST, "&Save", MF_GRAYED },
    };
    ASSERT_EQ((int)ARRAYSIZE(fileItems), file->GetMenuItemCount());
    for (const ItemCase& item : fileItems)
    {
        SCOPED_TRACE(item.position);
        EXPECT_EQ(item.id, file->GetMenuItemID(item.position));
        CString text;
        file->GetMenuString(item.position, text, MF_BYPOSITION);
        EXPECT_STREQ(item.text, text);
        EXPECT_EQ(item.state, file->GetMenuState(item.position, MF_BYPOSITION) & kStateBits);
    }
    EXPECT_EQ((UINT)MF_CHECKED, menu.GetMenuState(ID_VIEW_BIG, MF_BYCOMMAND));
    // Items of submenus are found by command from the top menu.
    char buffer[8] = "";
    EXPECT_EQ(4, menu.GetMenuString(ID_VIEW_BIG, buffer, sizeof(buffer), MF_BYCOMMAND));
    EXPECT_STREQ("&Big", buffer);
}

TEST_F(MenuTest, BuildsAndChangesItems)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, kFirstCommand, "First");
    popup.AppendMenu(MF_STRING, kFirstCommand + 2, "Third");
    popup.InsertMenu(1, MF_BYPOSITION | MF_STRING, kFirstCommand + 1, "Second");
    popup.AppendMenu(MF_SEPARATOR);
    ASSERT_EQ(4, popup.GetMenuItemCount());
    EXPECT_EQ(kFirstCommand + 1, popup.GetMenuItemID(1));

    // Both give the state the item had before.
    EXPECT_EQ((UINT)MF_UNCHECKED, popup.CheckMenuItem(kFirstCommand, MF_CHECKED));
    EXPECT_EQ((UINT)MF_CHECKED, popup.CheckMenuItem(kFirstCommand, MF_UNCHECKED));
    EXPECT_EQ((UINT)MF_ENABLED, popup.EnableMenuItem(kFirstCommand + 1, MF_GRAYED));
    EXPECT_EQ((UINT)MF_GRAYED, popup.EnableMenuItem(kFirstCommand + 1, MF_ENABLED));
    EXPECT_EQ(0xFFFFFFFFu, popup.EnableMenuItem(kFirstCommand + 99, MF_GRAYED));

    popup.ModifyMenu(kFirstCommand + 2, MF_BYCOMMAND | MF_STRING, kFirstCommand + 3, "Fourth");
    CString text;
    popup.GetMenuString(kFirstCommand + 3, text, MF_BYCOMMAND);
    EXPECT_STREQ("Fourth", text);
    EXPECT_TRUE(popup.DeleteMenu(3, MF_BYPOSITION));
    EXPECT_TRUE(popup.RemoveMenu(kFirstCommand, MF_BYCOMMAND));
    EXPECT_EQ(2, popup.GetMenuItemCount());
    EXPECT_EQ(0, popup.GetMenuString(kFirstCommand, text, MF_BYCOMMAND));
    EXPECT_TRUE(text.IsEmpty());

    // A long text is read whole.
    std::string longText(300, 'x');
    popup.AppendMenu(MF_STRING, kFirstCommand + 4, longText.c_str());
    EXPECT_EQ(300, popup.GetMenuString(kFirstCommand + 4, text, MF_BYCOMMAND));
    EXPECT_EQ(longText, (LPCSTR)text);
}

TEST_F(MenuTest, RemoveKeepsTheSubmenuAndDeleteDestroysIt)
{
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    HMENU kept = CreatePopupMenu();
    HMENU destroyed = CreatePopupMenu();
    bar.AppendMenu(MF_POPUP, (UINT_PTR)kept, "Kept");
    bar.AppendMenu(MF_POPUP, (UINT_PTR)destroyed, "Destroyed");
    EXPECT_TRUE(bar.RemoveMenu(0, MF_BYPOSITION));
    EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(kept));
    EXPECT_FALSE(IsMenu(destroyed));
    DestroyMenu(kept);
}

TEST_F(MenuTest, ObjectsOwnTheirMenuUnlessDetached)
{
    HMENU owned;
    HMENU detached;
    {
        CMenu first;
        CMenu second;
        first.CreatePopupMenu();
        second.CreatePopupMenu();
        owned = first;
        EXPECT_EQ(&first, CMenu::FromHandle(owned));
        detached = second.Detach();
        EXPECT_EQ(NULL, second.GetSafeHmenu());
        CMenu* borrowed = CMenu::FromHandle(detached);
        EXPECT_NE(&second, borrowed);
        EXPECT_EQ(detached, borrowed->m_hMenu);
        EXPECT_FALSE(second.Attach(NULL));
    }
    EXPECT_FALSE(IsMenu(owned));
    EXPECT_TRUE(IsMenu(detached));
    // Temporary objects only borrow their menu.
    CMenu::DeleteTempMap();
    EXPECT_TRUE(IsMenu(detached));
    CMenu adopted;
    EXPECT_TRUE(adopted.Attach(detached));
    EXPECT_EQ(&adopted, CMenu::FromHandle(detached));
}

TEST_F(MenuTest, TrackPopupMenuReturnsTheChosenCommand)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                 NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, owner);
    SetForegroundWindow(owner);
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, kFirstCommand, "First");
    popup.AppendMenu(MF_STRING, kFirstCommand + 1, "Second");
    // The menu's own loop reads these keys: down to the second item, then choose it.
    PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
    UINT chosen = popup.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10,
                                       CWnd::FromHandle(owner));
    EXPECT_EQ(kFirstCommand + 1, chosen);
    DestroyWindow(owner);
    CWnd::DeleteTempMap();
}
}

namespace
{
// Records what the owner window hands it for its owner-drawn items.
class CRecordingMenu : public CMenu
{
public:
    std::vector<std::string> m_calls;
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override
    {
        m_calls.push_back("measure " + std::to_string(measure->itemID) + " data " +
                          std::to_string(measure->itemData));
        measure->itemWidth = 80;
        measure->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT draw) override
    {
        if (draw->itemAction == ODA_DRAWENTIRE)
            m_calls.push_back("draw " + std::to_string(draw->itemID) + " data " +
                              std::to_string(draw->itemData));
    }
};

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheTrackedMenu)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL,
                               NULL));
    SetForegroundWindow(owner.m_hWnd);
    CRecordingMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_OWNERDRAW, kFirstCommand, (LPCSTR)7);
    // A submenu's items reach the top menu's object too.
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_OWNERDRAW, kFirstCommand + 1, (LPCSTR)8);
    popup.AppendMenu(MF_POPUP, (UINT_PTR)sub, "Sub");
    PostMessageA(owner.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner.m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageA(owner.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    UINT chosen = popup.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner);
    EXPECT_EQ(kFirstCommand + 1, chosen);
    auto has = [&](const std::string& call) {
        return std::find(popup.m_calls.begin(), popup.m_calls.end(), call) != popup.m_calls.end();
    };
    EXPECT_TRUE(has("measure 2000 data 7"));
    EXPECT_TRUE(has("draw 2000 data 7"));
    EXPECT_TRUE(has("measure 2001 data 8"));
    EXPECT_TRUE(has("draw 2001 data 8"));
    // Outside the tracking nothing answers for a menu without an object.
    EXPECT_EQ(nullptr, CMenu::FromOwnerDrawMenu(sub));
    EXPECT_EQ(&popup, CMenu::FromOwnerDrawMenu(popup.m_hMenu));
    owner.DestroyWindow();
}
}  // namespace
