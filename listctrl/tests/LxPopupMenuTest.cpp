// The owner-drawn popup menus: images from the list's tool bar, measuring and
// drawing, and the menus themselves as the user meets them: the header's right
// click and the editors' right button, read and keyed from inside the menu
// loop by a timer.
#include "listctrl/tests/ListFixture.h"

#include "listctrl/LxInPlaceCell.h"
#include "listctrl/LxInPlaceEdit.h"
#include "listctrl/LxListResource.h"
#include "listctrl/LxPopupMenu.h"

#include <afxres.h>

#include <string>
#include <vector>

namespace
{
const COLORREF kArrowBlue = RGB(0, 0, 128);

struct MenuItemSeen
{
    UINT id;
    bool grey;
    bool ownerDrawn;
    bool operator==(const MenuItemSeen& other) const
    {
        return id == other.id && grey == other.grey && ownerDrawn == other.ownerDrawn;
    }
};

std::ostream& operator<<(std::ostream& out, const MenuItemSeen& item)
{
    return out << "{" << item.id << (item.grey ? " grey" : "") << (item.ownerDrawn ? " drawn" : "")
               << "}";
}

// What a timer does once a popup menu is up: reads its items, then keys it.
struct MenuScript
{
    std::vector<UINT> keys;
    std::vector<MenuItemSeen> items;
    bool seen = false;
};
MenuScript* g_script = NULL;

void CALLBACK ReadAndKeyMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = ::FindWindowA("#32768", NULL);
    if (!window || !::IsWindowVisible(window) || !g_script)
        return;
    ::KillTimer(NULL, timer);
    HMENU menu = (HMENU)::SendMessageA(window, MN_GETHMENU, 0, 0);
    for (int i = 0; i < ::GetMenuItemCount(menu); i++)
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
        ::GetMenuItemInfoA(menu, i, TRUE, &info);
        g_script->items.push_back({info.wID, (info.fState & MFS_GRAYED) != 0,
                                   (info.fType & MFT_OWNERDRAW) != 0});
    }
    g_script->seen = true;
    for (UINT key : g_script->keys)
        ::PostMessageA(window, WM_KEYDOWN, key, 0);
}

class PopupMenuTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, kLxColSortable | kLxColEdit}, {"Artist", 100, kLxColSortable}});
        AddRows({{"b", "Beta"}, {"c", "Alpha"}, {"a", "Gamma"}});
        g_script = &m_script;
    }
    void TearDown() override
    {
        ::KillTimer(NULL, m_timer);
        g_script = NULL;
        ListTest::TearDown();
    }
    // The next menu shown is read and then gets these keys.
    void ArmMenu(const std::vector<UINT>& keys)
    {
        ::KillTimer(NULL, m_timer);
        m_script = MenuScript();
        m_script.keys = keys;
        m_timer = ::SetTimer(NULL, 0, 20, ReadAndKeyMenu);
    }
    // A right click on a header item, the cursor there as for a real click.
    void RightClickHeader(int column)
    {
        CRect item;
        m_list.GetHeader()->GetItemRect(column, &item);
        CPoint screen = item.CenterPoint();
        m_list.GetHeader()->ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        CPoint point = item.CenterPoint();
        HWND header = m_list.GetHeader()->m_hWnd;
        ::PostMessageA(header, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
        ::PostMessageA(header, WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        PumpMessages();
    }
    void RightClickEditor(CWnd* editor)
    {
        CRect client;
        editor->GetClientRect(&client);
        editor->PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, client.Height() / 2));
        PumpMessages();
    }

    MenuScript m_script;
    UINT_PTR m_timer = 0;
};

TEST_F(PopupMenuTest, SortDescendingChosenInTheHeaderMenuSortsThatColumn)
{
    ArmMenu({VK_DOWN, VK_DOWN, VK_RETURN});
    RightClickHeader(1);
    ASSERT_TRUE(m_script.seen);
    // Without a column manager nothing is customized; the format is never offered.
    // A separator reads as grey.
    const std::vector<MenuItemSeen> items = {
        {ID_LX_SORT_ASCENDING, false, true},   {ID_LX_SORT_DESCENDING, false, true},
        {0, true, true},                       {ID_LX_CUSTOMIZE_HEADER, true, true},
        {ID_LX_HEADER_FORMAT, true, true},
    };
    EXPECT_EQ(items, m_script.items);
    EXPECT_EQ((std::vector<std::string>{"Gamma", "Beta", "Alpha"}), ColumnTexts(1));
    EXPECT_EQ(1, m_list.GetHeader()->GetSortColumn());
}

TEST_F(PopupMenuTest, HeaderMenuGreysWhatTheListCannotDo)
{
    struct Case
    {
        DWORD style;
        bool manager;
        bool locked;
        bool sortGrey;
        bool customizeGrey;
    };
    const Case cases[] = {
        {kLxStyleDefault, true, false, false, false},
        {kLxStyleDefault, true, true, false, true},
        {kLxStyleDefault & ~kLxStyleSort, true, false, true, false},
    };
    for (const Case& c : cases)
    {
        m_list.ModifyLxStyle(~0u, c.style, 0);
        if (c.manager && !m_list.GetColumnManager())
            m_list.CreateColumnManager();
        m_list.m_customizeLocked = c.locked;
        ArmMenu({VK_ESCAPE});
        RightClickHeader(0);
        ASSERT_TRUE(m_script.seen);
        ASSERT_EQ(5u, m_script.items.size());
        EXPECT_EQ(c.sortGrey, m_script.items[0].grey) << c.style;
        EXPECT_EQ(c.sortGrey, m_script.items[1].grey) << c.style;
        EXPECT_EQ(c.customizeGrey, m_script.items[3].grey) << c.locked;
        EXPECT_TRUE(m_script.items[4].grey);
    }
    // Escape chose nothing.
    EXPECT_EQ((std::vector<std::string>{"Beta", "Alpha", "Gamma"}), ColumnTexts(1));
}

TEST_F(PopupMenuTest, EditMenuGreysByTheEditorsState)
{
    m_list.SetFocus();
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    CLxInPlaceEdit* editor = m_list.EditCellText(0, 0, false);
    ASSERT_NE(nullptr, editor);
    HWND window = editor->m_hWnd;
    ::OpenClipboard(NULL);
    ::EmptyClipboard();
    ::CloseClipboard();
    struct Case
    {
        long selStart, selEnd;
        bool undoGrey, cutGrey, pasteGrey;
    };
    // The editor opens with its text selected; Copy then fills the clipboard.
    const Case cases[] = {
        {0, -1, true, false, true},
        {1, 1, true, true, false},
    };
    for (const Case& c : cases)
    {
        ::SendMessageA(window, EM_SETSEL, c.selStart, c.selEnd);
        // Copy is the third command, below Undo, the separator and Cut.
        ArmMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
        RightClickEditor(CWnd::FromHandle(window));
        ASSERT_TRUE(m_script.seen);
        ASSERT_EQ(5u, m_script.items.size());
        EXPECT_EQ(ID_EDIT_UNDO, m_script.items[0].id);
        EXPECT_EQ(c.undoGrey, m_script.items[0].grey);
        EXPECT_EQ(c.cutGrey, m_script.items[2].grey) << c.selStart;
        EXPECT_EQ(c.cutGrey, m_script.items[3].grey) << c.selStart;
        EXPECT_EQ(c.pasteGrey, m_script.items[4].grey) << c.selStart;
        // The menu left the editor open.
        ASSERT_TRUE(::IsWindow(window));
    }
    ASSERT_TRUE(::OpenClipboard(NULL));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, data);
    EXPECT_STREQ("b", (const char*)::GlobalLock(data));
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

TEST_F(PopupMenuTest, TheCellEditorsTextHasTheEditMenuToo)
{
    m_list.InsertColumnEx(2, "Genre", LVCFMT_LEFT, 100, kLxColDropDownList);
    m_owner.m_answer = [](CLxListRequest& request) -> BOOL {
        if (request.m_code == kLxRequestChoices)
            request.m_pChoices->Add("Rock");
        return request.m_code == kLxRequestChoices;
    };
    m_list.SetFocus();
    CWnd* editor = m_list.EditCellWithList(0, 2, true, false);
    ASSERT_NE(nullptr, editor);
    HWND text = ::GetDlgItem(editor->m_hWnd, editor->GetDlgCtrlID() + 1);
    ASSERT_NE((HWND)NULL, text);
    ::SetWindowTextA(text, "Jazz");
    ::SendMessageA(text, EM_SETSEL, 0, 0);
    ArmMenu({VK_ESCAPE});
    RightClickEditor(CWnd::FromHandle(text));
    ASSERT_TRUE(m_script.seen);
    ASSERT_EQ(5u, m_script.items.size());
    EXPECT_EQ(ID_EDIT_CUT, m_script.items[2].id);
    EXPECT_TRUE(m_script.items[2].grey);
    EXPECT_TRUE(m_script.items[3].grey);
    EXPECT_TRUE(::IsWindow(text));
}

TEST_F(PopupMenuTest, ToolBarImagesGoToTheirCommandsAndSeparatorsTakeNone)
{
    CLxPopupMenu menu;
    ASSERT_TRUE(menu.LoadToolBarImages(IDR_LX_MENU_IMAGES));
    const struct
    {
        UINT id;
        int image;
    } cases[] = {
        {ID_LX_SORT_ASCENDING, 0}, {ID_LX_SORT_DESCENDING, 1}, {ID_LX_CUSTOMIZE_HEADER, 2},
        {ID_LX_HEADER_FORMAT, 3},  {ID_EDIT_UNDO, 4},          {ID_EDIT_PASTE, 7},
        {12345, -1},               {0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.image, menu.FindImage(c.id)) << c.id;
    EXPECT_FALSE(menu.LoadToolBarImages(999));
}

TEST_F(PopupMenuTest, ItemsAreMeasuredAndDrawnFromTheirRecords)
{
    CLxPopupMenu menu;
    ASSERT_TRUE(menu.LoadToolBarImages(IDR_LX_MENU_IMAGES));
    menu.CreatePopupMenu();
    std::string longText(200, 'x');
    menu.AppendMenu(MF_STRING, ID_LX_SORT_ASCENDING, "Sort ascending");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 12345, longText.c_str());
    menu.MakeOwnerDrawn(&menu);
    auto record = [&](int position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_FTYPE;
        menu.GetMenuItemInfo(position, &info, TRUE);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        return (const CLxPopupMenu::Record*)info.dwItemData;
    };
    EXPECT_EQ(0, record(0)->image);
    EXPECT_EQ(CLxPopupMenu::kSeparator, record(1)->image);
    EXPECT_EQ(-1, record(2)->image);
    EXPECT_EQ(127u, strlen(record(2)->text));

    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = (ULONG_PTR)record(1);
    menu.MeasureItem(&measure);
    EXPECT_EQ(10u, measure.itemWidth);
    EXPECT_EQ(6u, measure.itemHeight);
    measure.itemData = (ULONG_PTR)record(0);
    menu.MeasureItem(&measure);
    EXPECT_EQ(15u + 5u, measure.itemHeight);  // the image's height and its margin

    // Drawn into a bitmap: the image column shows the arrow only for a
    // command the tool bar has.
    const int width = 160, height = (int)measure.itemHeight;
    CClientDC screen(NULL);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, width, height);
    CBitmap* old = dc.SelectObject(&bitmap);
    // A checked command without an image shows a tick in the text's colour.
    const COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
    const struct
    {
        int position;
        UINT state;
        bool arrow, tick;
    } cases[] = {
        {0, 0, true, false},
        {2, 0, false, false},
        {2, ODS_CHECKED, false, true},
    };
    for (const auto& c : cases)
    {
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_MENU;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = c.state;
        draw.hDC = dc.m_hDC;
        draw.rcItem = CRect(0, 0, width, height);
        draw.itemData = (ULONG_PTR)record(c.position);
        menu.DrawItem(&draw);
        int blue = 0, ticked = 0;
        for (int y = 0; y < height; y++)
        {
            for (int x = 0; x < height + 1; x++)
            {
                blue += dc.GetPixel(x, y) == kArrowBlue;
                ticked += dc.GetPixel(x, y) == text;
            }
        }
        EXPECT_EQ(c.arrow, blue > 0) << c.position;
        if (!c.arrow)  // the image has black lines of its own
        {
            EXPECT_EQ(c.tick, ticked > 0) << c.position << " state " << c.state;
        }
    }
    dc.SelectObject(old);
}
}  // namespace
