#include "listctrl/tests/ListFixture.h"

#include "listctrl/LxInPlaceEdit.h"

#include <richedit.h>

#include <string>
#include <vector>

namespace
{
const int kEditorId = 104;

class InPlaceEditTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"", 40, 0},
                    {"Artist", 100, kLxColEdit},
                    {"Genre", 80, 0},
                    {"Year", 60, kLxColEdit}});
        AddRows({{"", "Abba", "Pop", "1974"}, {"", "Bach", "Baroque", "1720"},
                 {"", "Cure", "Rock", "1980"}});
        m_list.SetFocus();
    }
    HWND Editor() { return ::GetDlgItem(m_list.m_hWnd, kEditorId); }
    std::string EditorText()
    {
        char text[256] = "";
        ::GetWindowTextA(Editor(), text, sizeof(text));
        return text;
    }
    void Focus(int row)
    {
        m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    void DoubleClick(int row, int column) { DoubleClickCell(row, column); }
    // Opened by Enter on the focused cell: all of the text is selected.
    void OpenByEnter(int row, int column)
    {
        Focus(row);
        DoubleClick(row, column);
        Key(VK_ESCAPE);
        m_list.SetFocus();
        Key(VK_RETURN);
    }
    void Key(UINT key) { KeyToFocus(key); }
    void Type(const char* text) { TypeToFocus(text); }
    bool Forwarded()
    {
        for (const std::string& event : m_owner.m_events)
            if (event.compare(0, 16, "WM_LBUTTONDBLCLK") == 0)
                return true;
        return false;
    }
    std::vector<std::string> Commits()
    {
        std::vector<std::string> texts;
        for (const LxRequestSeen& seen : m_owner.m_requests)
            if (seen.code == kLxRequestCommit)
                texts.push_back(std::to_string(seen.row) + "/" + std::to_string(seen.columnId) +
                                " " + seen.text);
        return texts;
    }
    void ExpectEditorAt(int row, int column)
    {
        HWND editor = Editor();
        ASSERT_NE((HWND)NULL, editor) << "no editor";
        CRect rect;
        ::GetWindowRect(editor, &rect);
        m_list.ScreenToClient(&rect);
        CRect cell, bounds;
        m_list.GetCellRect(row, column, &cell);
        m_list.GetItemRect(row, &bounds, LVIR_BOUNDS);
        EXPECT_EQ(CRect(cell.left + 6, bounds.top, cell.right - 6, bounds.bottom), rect);
    }
};

TEST_F(InPlaceEditTest, DoubleClickOnTheFocusedRowOpensItsColumnsEditor)
{
    const struct
    {
        const char* name;
        bool focused;
        int column;
        bool editing;
        bool opens;
    } cases[] = {
        {"edit column", true, 1, true, true},
        {"other edit column", true, 3, true, true},
        {"plain column", true, 2, true, false},
        {"row not focused yet", false, 1, true, false},
        {"editing disabled", true, 1, false, false},
    };
    for (const auto& c : cases)
    {
        m_owner.m_events.clear();
        m_list.EnableInPlaceEdit(c.editing);
        if (c.focused)
            Focus(1);
        else
            m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        DoubleClick(1, c.column);
        EXPECT_EQ(c.opens, Editor() != NULL) << c.name;
        // A double click that opens nothing goes on to the owner.
        EXPECT_EQ(!c.opens, Forwarded()) << c.name;
        if (c.opens)
        {
            ExpectEditorAt(1, c.column);
            EXPECT_EQ(m_owner.m_cells[1][c.column], EditorText()) << c.name;
            // The caret lands where the user double-clicked: before the first letter.
            DWORD start = 1, end = 0;
            ::SendMessageA(Editor(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
            EXPECT_EQ(0u, start) << c.name;
            EXPECT_EQ(0u, end) << c.name;
            Key(VK_ESCAPE);
        }
        EXPECT_EQ((HWND)NULL, Editor()) << c.name;
    }
}

TEST_F(InPlaceEditTest, KeysCommitCancelAndMove)
{
    struct Step
    {
        const char* typed;  // typed first, when not null
        UINT key;
    };
    const struct
    {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> commits;
        int editorColumn;  // -1: closed
        int focusedRow, focusedColumn;
    } cases[] = {
        {"Enter commits", {{"Beck", VK_RETURN}}, {"1/1 Beck"}, -1, 1, 1},
        {"Esc never tells the owner", {{"Beck", VK_ESCAPE}}, {}, -1, 1, 1},
        {"Enter without a change", {{NULL, VK_RETURN}}, {}, -1, 1, 1},
        {"Tab unchanged only moves", {{NULL, VK_TAB}}, {}, 3, 1, 3},
        {"Tab commits and moves", {{"Beck", VK_TAB}}, {"1/1 Beck"}, 3, 1, 3},
        {"Tab wraps to the next row", {{NULL, VK_TAB}, {NULL, VK_TAB}}, {}, 1, 2, 1},
        // After the first letter Left moves the caret; at the start it leaves.
        {"Left at the start leaves", {{"B", VK_LEFT}, {NULL, VK_LEFT}}, {"1/1 B"}, -1, 1, 0},
        {"Left after the start stays", {{"B", VK_LEFT}}, {}, 1, 1, 1},
        {"Right with all selected stays", {{NULL, VK_RIGHT}}, {}, 1, 1, 1},
        {"Right at the end leaves", {{NULL, VK_RIGHT}, {NULL, VK_RIGHT}}, {}, -1, 1, 2},
        {"Up commits and moves up", {{"Beck", VK_UP}}, {"1/1 Beck"}, -1, 0, 1},
        {"Down commits and moves down", {{"Beck", VK_DOWN}}, {"1/1 Beck"}, -1, 2, 1},
    };
    for (const auto& c : cases)
    {
        OpenByEnter(1, 1);
        m_owner.m_requests.clear();
        ASSERT_NE((HWND)NULL, Editor()) << c.name;
        for (const Step& step : c.steps)
        {
            if (step.typed)
                Type(step.typed);
            Key(step.key);
        }
        EXPECT_EQ(c.commits, Commits()) << c.name;
        EXPECT_EQ(c.focusedRow, m_list.GetNextItem(-1, LVNI_FOCUSED)) << c.name;
        EXPECT_EQ(c.focusedColumn, m_list.GetFocusedColumn()) << c.name;
        if (c.editorColumn < 0)
        {
            EXPECT_EQ((HWND)NULL, Editor()) << c.name;
            continue;
        }
        ExpectEditorAt(c.focusedRow, c.editorColumn);
        Key(VK_ESCAPE);
        EXPECT_EQ((HWND)NULL, Editor()) << c.name;
    }
}

TEST_F(InPlaceEditTest, EnterOpensTheFocusedCellsEditorUnlessEditingIsOff)
{
    Focus(0);
    DoubleClick(0, 1);  // focuses column 1 and opens its editor
    Key(VK_ESCAPE);
    m_list.SetFocus();
    const struct
    {
        bool editing;
        bool opens;
        std::vector<std::string> events;
    } cases[] = {
        {true, true, {}},
        {false, false, {"NM_DBLCLK from 300"}},
    };
    for (const auto& c : cases)
    {
        m_owner.m_events.clear();
        m_list.EnableInPlaceEdit(c.editing);
        Key(VK_RETURN);
        EXPECT_EQ(c.opens, Editor() != NULL) << "editing " << c.editing;
        EXPECT_EQ(c.events, m_owner.m_events) << "editing " << c.editing;
        if (Editor())
            Key(VK_ESCAPE);
        m_list.SetFocus();
    }
}

TEST_F(InPlaceEditTest, MovesIntoATextColumnOpenNothingWhileEditingIsOff)
{
    Focus(0);
    m_list.EnableInPlaceEdit(false);
    LxCellPos from = {0, 1};
    m_list.SendMessage(WM_LX_NAVIGATE, kLxNavNextCell, (LPARAM)&from);
    EXPECT_EQ(3, m_list.GetFocusedColumn());
    EXPECT_EQ((HWND)NULL, Editor());
}

TEST_F(InPlaceEditTest, GrowsWhileTypingAndKeepsAnyLength)
{
    Focus(2);
    DoubleClick(2, 1);
    ASSERT_NE((HWND)NULL, Editor());
    Type("A long name that runs past the cell");
    CRect rect, client;
    ::GetWindowRect(Editor(), &rect);
    m_list.ScreenToClient(&rect);
    m_list.GetClientRect(&client);
    EXPECT_GE(rect.right, client.right);
    std::string huge(20000, 'x');
    ::SetWindowTextA(Editor(), huge.c_str());
    Key(VK_RETURN);
    ASSERT_EQ(1u, Commits().size());
    EXPECT_EQ("2/1 " + huge, Commits()[0]);
    EXPECT_EQ("Cure", std::string(m_list.GetItemText(2, 1)));  // unanswered: the owner's own
}

TEST_F(InPlaceEditTest, OwnerColoursTheEditorAndHearsItsDoubleClick)
{
    m_list.ModifyLxStyle(0, kLxStyleAskCells, 0);
    m_owner.m_answer = [](CLxListRequest& request) -> BOOL {
        if (request.m_code != kLxRequestCell)
            return FALSE;
        request.m_answer = kLxAnswerTextColor | kLxAnswerBold;
        request.m_textColor = RGB(255, 0, 0);
        return TRUE;
    };
    Focus(0);
    DoubleClick(0, 1);
    ASSERT_NE((HWND)NULL, Editor());
    CHARFORMATA format = {};
    format.cbSize = sizeof(format);
    ::SendMessageA(Editor(), EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    EXPECT_EQ(RGB(255, 0, 0), format.crTextColor);
    EXPECT_EQ((DWORD)CFE_BOLD, format.dwEffects & CFE_BOLD);  // the list's bold font
    m_owner.m_events.clear();
    ::SendMessageA(Editor(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ((std::vector<std::string>{"NM_DBLCLK from 300"}), m_owner.m_events);
    Key(VK_ESCAPE);
}
}  // namespace
