#include "listctrl/tests/ListFixture.h"

#include "listctrl/LxInPlaceCell.h"

#include <string>
#include <vector>

namespace
{
const int kEditorId = 104;
const int kDropListId = 106;

class InPlaceCellTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"", 40, 0},
                    {"Genre", 100, kLxColDropDownList},
                    {"Year", 80, kLxColDropList},
                    {"Note", 60, 0}});
        AddRows({{"", "Pop", "1980", ""}, {"", "Jazz", "1974", ""}});
        m_choices = {{}, {"Rock", "Pop", "Jazz", "Blues"}, {"1974", "1980", "7 Days", "77", "Abc"}};
        m_owner.m_answer = [this](CLxListRequest& request) -> BOOL {
            if (request.m_code != kLxRequestChoices || !m_answerChoices)
                return FALSE;
            m_choiceValues.push_back(request.m_value);
            for (const std::string& choice : m_choices[request.m_columnId])
                request.m_pChoices->Add(choice.c_str());
            return TRUE;
        };
        m_list.SetFocus();
    }
    HWND Editor() { return ::GetDlgItem(m_list.m_hWnd, kEditorId); }
    HWND DropList() { return ::GetDlgItem(m_list.m_hWnd, kDropListId); }
    // The value the editor shows, in its static text or rich edit.
    std::string Shown()
    {
        char text[256] = "";
        ::GetWindowTextA(::GetDlgItem(Editor(), kEditorId + 1), text, sizeof(text));
        return text;
    }
    void Open(int row, int column)
    {
        m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        DoubleClickCell(row, column);
    }
    void Key(UINT key) { KeyToFocus(key); }
    void Type(const char* text) { TypeToFocus(text); }
    void ClickButton()
    {
        CRect client;
        ::GetClientRect(Editor(), &client);
        int x = client.right - ::GetSystemMetrics(SM_CXHSCROLL) / 2;
        ::SendMessageA(Editor(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, client.Height() / 2));
        PumpMessages();
    }
    std::vector<std::string> Commits()
    {
        std::vector<std::string> texts;
        for (const LxRequestSeen& seen : m_owner.m_requests)
            if (seen.code == kLxRequestCommit)
                texts.push_back(seen.text);
        return texts;
    }
    int ItemHeight()
    {
        CClientDC dc(&m_list);
        CFont* old = dc.SelectObject(m_list.GetNormalFont());
        int height = dc.GetTextExtent("X", 1).cy + 3;
        dc.SelectObject(old);
        return height;
    }

    std::vector<std::vector<std::string>> m_choices;
    std::vector<LPARAM> m_choiceValues;
    bool m_answerChoices = true;
};

TEST_F(InPlaceCellTest, OpensOverTheCellOnlyWithTheOwnersChoices)
{
    const struct
    {
        int column;
        bool answers;
        bool opens;
        const char* shown;
    } cases[] = {
        {1, true, true, "Jazz"},
        {2, true, true, "1974"},
        {1, false, false, ""},
    };
    for (const auto& c : cases)
    {
        m_answerChoices = c.answers;
        m_choiceValues.clear();
        Open(1, c.column);
        ASSERT_EQ(c.opens, Editor() != NULL) << c.column;
        if (!c.opens)
            continue;
        EXPECT_EQ(std::vector<LPARAM>{128}, m_choiceValues);
        CRect rect, cell, bounds;
        ::GetWindowRect(Editor(), &rect);
        m_list.ScreenToClient(&rect);
        m_list.GetCellRect(1, c.column, &cell);
        m_list.GetItemRect(1, &bounds, LVIR_BOUNDS);
        EXPECT_EQ(CRect(cell.left + 6, bounds.top + 1, cell.right, bounds.bottom - 2), rect);
        EXPECT_EQ(c.shown, Shown());
        Key(VK_ESCAPE);
        EXPECT_EQ((HWND)NULL, Editor());
    }
    EXPECT_TRUE(Commits().empty());
}

TEST_F(InPlaceCellTest, TypingCompletesFromTheChoicesButNotAfterBackspace)
{
    Open(0, 1);
    ASSERT_NE((HWND)NULL, Editor());
    HWND edit = ::GetDlgItem(Editor(), kEditorId + 1);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    Type("ro");
    EXPECT_EQ("Rock", Shown());
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(2u, start);
    EXPECT_EQ(4u, end);
    Key(VK_BACK);  // takes the completed part away and completes nothing
    EXPECT_EQ("Ro", Shown());
    Key(VK_RETURN);
    EXPECT_EQ(std::vector<std::string>{"Ro"}, Commits());
    EXPECT_EQ((HWND)NULL, Editor());
}

TEST_F(InPlaceCellTest, DropListKeys)
{
    const struct
    {
        const char* name;
        std::vector<UINT> keys;  // characters below 0x100 are typed
        const char* shown;
        std::vector<std::string> commits;
        bool open;
        int focusedColumn;
    } cases[] = {
        {"a digit finds its choice", {'7'}, "7 Days", {}, true, 2},
        {"a letter without a choice", {'z'}, "1980", {}, true, 2},
        {"Down then Enter commits", {VK_DOWN | 0x100, VK_RETURN | 0x100}, "", {"7 Days"}, false, 2},
        {"Up then Esc tells nothing", {VK_UP | 0x100, VK_ESCAPE | 0x100}, "", {}, false, 2},
        {"Tab unchanged only moves", {VK_TAB | 0x100}, "", {}, true, 1},
        {"Left leaves the cell", {VK_LEFT | 0x100}, "", {}, false, 1},
    };
    for (const auto& c : cases)
    {
        m_owner.m_requests.clear();
        Open(0, 2);
        ASSERT_NE((HWND)NULL, Editor()) << c.name;
        for (UINT key : c.keys)
        {
            if (key < 0x100)
            {
                char text[2] = {(char)key, 0};
                Type(text);
            }
            else
                Key(key & 0xFF);
        }
        EXPECT_EQ(c.commits, Commits()) << c.name;
        EXPECT_EQ(c.focusedColumn, m_list.GetFocusedColumn()) << c.name;
        EXPECT_EQ(c.open, Editor() != NULL) << c.name;
        if (Editor() && c.focusedColumn == 2)
            EXPECT_EQ(c.shown, Shown()) << c.name;
        if (Editor())
            Key(VK_ESCAPE);
    }
}

TEST_F(InPlaceCellTest, DropListHeightFollowsTheChoices)
{
    // No choices: the button drops nothing.
    const struct
    {
        int count;
    } cases[] = {{0}, {3}, {12}, {5000}};
    for (const auto& c : cases)
    {
        m_choices[1].clear();
        for (int i = 0; i < c.count; i++)
            m_choices[1].push_back("Choice " + std::to_string(i));
        Open(0, 1);
        ASSERT_NE((HWND)NULL, Editor());
        ClickButton();
        if (c.count == 0)
        {
            EXPECT_EQ((HWND)NULL, DropList());
            Key(VK_ESCAPE);
            continue;
        }
        ASSERT_NE((HWND)NULL, DropList()) << c.count;
        CRect rect;
        ::GetWindowRect(DropList(), &rect);
        EXPECT_EQ(std::min(ItemHeight() * c.count, 100), rect.Height()) << c.count;
        EXPECT_EQ(DropList(), ::GetFocus());
        ClickButton();  // a second click closes it
        EXPECT_EQ((HWND)NULL, DropList()) << c.count;
        Key(VK_ESCAPE);
    }
}

TEST_F(InPlaceCellTest, DropListPicksCancelsAndClosesOnFocusElsewhere)
{
    const struct
    {
        const char* name;
        int how;  // 0 click item 2, 1 Esc, 2 the focus goes elsewhere, 3 Enter after Down
        const char* shown;
    } cases[] = {
        {"click picks", 0, "7 Days"},  // sorted: 1974, 1980, 7 Days, 77, Abc
        {"Esc keeps the value", 1, "1974"},
        {"focus elsewhere picks nothing", 2, "1974"},
        {"Enter picks the selection", 3, "1980"},
    };
    for (const auto& c : cases)
    {
        Open(1, 2);
        ASSERT_NE((HWND)NULL, Editor()) << c.name;
        ClickButton();
        HWND drop = DropList();
        ASSERT_NE((HWND)NULL, drop) << c.name;
        if (c.how == 0)
        {
            RECT item;
            ::SendMessageA(drop, LB_GETITEMRECT, 2, (LPARAM)&item);
            LPARAM at = MAKELPARAM(item.left + 3, (item.top + item.bottom) / 2);
            ::PostMessageA(drop, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::PostMessageA(drop, WM_LBUTTONUP, 0, at);
            PumpMessages();
        }
        else if (c.how == 2)
        {
            m_list.SetFocus();
            PumpMessages();
        }
        else
        {
            if (c.how == 3)
                Key(VK_DOWN);
            Key(c.how == 1 ? VK_ESCAPE : VK_RETURN);
        }
        EXPECT_EQ((HWND)NULL, DropList()) << c.name;
        ASSERT_NE((HWND)NULL, Editor()) << c.name;
        EXPECT_EQ(Editor(), ::GetFocus()) << c.name;
        EXPECT_EQ(c.shown, Shown()) << c.name;
        Key(VK_ESCAPE);
    }
    EXPECT_TRUE(Commits().empty());
}
}  // namespace
