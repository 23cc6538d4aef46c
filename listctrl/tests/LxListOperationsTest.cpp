// The list's smaller operations as an owner uses them: moving the selection a
// row at a time, copying rows to the clipboard, one drag image of the selected
// rows, the ready-made yes/no request handler, image cells, and text cut to a
// width.
#include "listctrl/tests/ListFixture.h"

#include <algorithm>
#include <memory>

namespace {

class LxListOperationsTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Name", 120, 0}, {"Size", 80, 0}});
    }
    void AddNumberedRows(int count)
    {
        for (int i = 0; i < count; i++)
            AddRows({{"row " + std::to_string(i), std::to_string(i * 10)}});
    }
    void Select(const std::vector<int>& rows)
    {
        for (int row = 0; row < m_list.GetItemCount(); row++)
            m_list.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::vector<int> Selected()
    {
        std::vector<int> rows;
        for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
             row = m_list.GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }
    static std::string Clipboard()
    {
        std::string text = "<none>";
        if (!OpenClipboard(NULL))
            return text;
        HANDLE data = GetClipboardData(CF_TEXT);
        if (data)
        {
            text = (const char*)GlobalLock(data);
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }
    static void EmptyTheClipboard()
    {
        if (OpenClipboard(NULL))
        {
            EmptyClipboard();
            CloseClipboard();
        }
    }
};

enum Move { kLast, kNext, kPrevious };

// From a selection, a move gives the selection and focus after it; the
// move-up/move-down questions are asked of the selection before the move.
TEST_F(LxListOperationsTest, SelectionMovesARowAtATime)
{
    const struct
    {
        const char* name;
        int rows;
        std::vector<int> selected;
        Move move;
        std::vector<int> after;
        int focused;   // -1: no row focused
        bool canPrevious, canNext;
    } cases[] = {
        {"last of five", 5, {1}, kLast, {1, 4}, 4, true, true},
        {"last of none", 0, {}, kLast, {}, -1, false, false},
        {"next after the first selected", 5, {1, 3}, kNext, {1, 2, 3}, 2, true, true},
        {"next from the last row", 5, {4}, kNext, {4}, -1, true, false},
        {"next with nothing selected", 5, {}, kNext, {}, -1, false, false},
        {"previous before the first selected", 5, {2, 4}, kPrevious, {1, 2, 4}, 1, true, true},
        {"previous from row 0", 5, {0}, kPrevious, {0}, -1, false, true},
        {"one row", 1, {0}, kNext, {0}, -1, false, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_list.DeleteAllItems();
        m_owner.m_cells.clear();
        AddNumberedRows(c.rows);
        Select(c.selected);
        EXPECT_EQ(c.canPrevious, m_list.CanMovePrevious());
        EXPECT_EQ(c.canNext, m_list.CanMoveNext());
        if (c.move == kLast)
            m_list.SelectLastRow();
        else if (c.move == kNext)
            m_list.SelectNextRow();
        else
            m_list.SelectPreviousRow();
        EXPECT_EQ(c.after, Selected());
        EXPECT_EQ(c.focused, m_list.GetNextItem(-1, LVNI_FOCUSED));
    }
    // The last row is made visible, and the list takes the focus.
    m_list.DeleteAllItems();
    m_owner.m_cells.clear();
    AddNumberedRows(60);
    m_list.SelectLastRow();
    CRect row, client;
    m_list.GetItemRect(59, &row, LVIR_BOUNDS);
    m_list.GetClientRect(&client);
    EXPECT_LE(row.bottom, client.bottom);
    EXPECT_GE(row.top, 0);
    EXPECT_EQ(m_list.m_hWnd, ::GetFocus());
}

// Rows as lines, cells split by tabs: the selected rows, or the first ten.
TEST_F(LxListOperationsTest, CopyToClipboardCopiesRowsAsTabbedLines)
{
    const struct
    {
        const char* name;
        int rows;
        std::vector<int> selected;
        bool selectedOnly;
        bool copied;
        std::string text;
    } cases[] = {
        {"three rows, all", 3, {}, false, true, "row 0\t0\nrow 1\t10\nrow 2\t20"},
        {"selected rows only", 4, {1, 3}, true, true, "row 1\t10\nrow 3\t30"},
        {"nothing selected", 3, {}, true, false, "<none>"},
        {"an empty list", 0, {}, false, false, "<none>"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_list.DeleteAllItems();
        m_owner.m_cells.clear();
        AddNumberedRows(c.rows);
        Select(c.selected);
        EmptyTheClipboard();
        EXPECT_EQ(c.copied, m_list.CopyToClipboard(c.selectedOnly));
        EXPECT_EQ(c.text, Clipboard());
    }
    m_list.DeleteAllItems();
    m_owner.m_cells.clear();
    AddNumberedRows(12);
    EXPECT_TRUE(m_list.CopyToClipboard(false));
    std::string text = Clipboard();
    EXPECT_EQ(9, std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ("row 9\t90", text.substr(text.rfind('\n') + 1));
}

// The visible selected rows in one masked image as high as their span and as
// wide as a row (no wider than the list): rows between them and rows out of
// view are left out.
TEST_F(LxListOperationsTest, CreateDragImageExSpansTheVisibleSelectedRows)
{
    AddNumberedRows(60);
    CRect client;
    m_list.GetClientRect(&client);
    const struct
    {
        const char* name;
        std::vector<int> selected;
        int first, last;        // the rows the image spans
        std::vector<int> shown; // rows whose place in the image is drawn
        std::vector<int> gaps;  // rows whose place is transparent
    } cases[] = {
        {"one row", {3}, 3, 3, {3}, {}},
        {"rows apart", {1, 4}, 1, 4, {1, 4}, {2, 3}},
        {"one row out of view", {2, 59}, 2, 2, {2}, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Select(c.selected);
        CRect first, last;
        m_list.GetItemRect(c.first, &first, LVIR_BOUNDS);
        m_list.GetItemRect(c.last, &last, LVIR_BOUNDS);
        POINT topLeft = {-1, -1};
        std::unique_ptr<CImageList> images(m_list.CreateDragImageEx(&topLeft));
        ASSERT_NE(nullptr, images);
        EXPECT_EQ(1, images->GetImageCount());
        int cx = 0, cy = 0;
        ImageList_GetIconSize(*images, &cx, &cy);
        EXPECT_EQ(200, cx);
        EXPECT_EQ(last.bottom - first.top, cy);
        EXPECT_EQ(0, topLeft.x);
        EXPECT_EQ(first.top, topLeft.y);

        // Drawn over blue: the gaps show the blue through the mask.
        CClientDC screen(&m_list);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, cx, cy);
        CBitmap* old = dc.SelectObject(&bitmap);
        const COLORREF blue = RGB(0, 0, 255);
        dc.FillSolidRect(0, 0, cx, cy, blue);
        images->Draw(&dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
        auto middleOf = [&](int row) {
            CRect rect;
            m_list.GetItemRect(row, &rect, LVIR_BOUNDS);
            return dc.GetPixel(150, rect.CenterPoint().y - topLeft.y);
        };
        for (int row : c.shown)
            EXPECT_NE(blue, middleOf(row)) << "row " << row;
        for (int row : c.gaps)
            EXPECT_EQ(blue, middleOf(row)) << "row " << row;
        dc.SelectObject(old);
    }
    Select({});
    POINT topLeft = {-1, -1};
    EXPECT_EQ(nullptr, m_list.CreateDragImageEx(&topLeft));
}

// A row wider than the list gives an image only as wide as the list.
TEST_F(LxListOperationsTest, CreateDragImageExIsNoWiderThanTheList)
{
    AddColumns({{"Wide", 700, 0}});
    AddNumberedRows(2);
    Select({0, 1});
    CRect client;
    m_list.GetClientRect(&client);
    POINT topLeft = {-1, -1};
    std::unique_ptr<CImageList> images(m_list.CreateDragImageEx(&topLeft));
    ASSERT_NE(nullptr, images);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(*images, &cx, &cy);
    EXPECT_EQ(client.Width(), cx);
    EXPECT_EQ(0, topLeft.x);
}

// The owner's answer picks the font a cell is drawn in: its own font before
// bold, bold before italic, italic before underlined; flags left in the record
// from before count for nothing, and no answer leaves the DC's font alone.
TEST_F(LxListOperationsTest, SelectCellFontSelectsTheAnsweredFont)
{
    CFont ownerFont;
    ownerFont.CreatePointFont(140, "Arial");
    CClientDC screen(&m_list);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    HGDIOBJ initial = ::GetCurrentObject(dc.m_hDC, OBJ_FONT);
    auto nameOf = [&](HGDIOBJ font) -> std::string {
        if (font == initial)
            return "unchanged";
        if (font == ownerFont.m_hObject)
            return "owner";
        if (font == m_list.GetNormalFont()->m_hObject)
            return "normal";
        LOGFONTA look = {};
        ::GetObjectA(font, sizeof(look), &look);
        if (look.lfWeight >= FW_BOLD)
            return "bold";
        return look.lfItalic ? "italic" : look.lfUnderline ? "underlined" : "another";
    };
    const struct
    {
        const char* name;
        bool answered;
        DWORD answer;
        DWORD before; // flags in the record when it is handed over
        const char* font;
    } cases[] = {
        {"no answer", false, kLxAnswerBold, 0, "unchanged"},
        {"nothing set", true, 0, kLxAnswerBold, "normal"},
        {"colours only", true, kLxAnswerTextColor, 0, "normal"},
        {"owner font first", true, kLxAnswerFont | kLxAnswerBold, 0, "owner"},
        {"bold before italic", true, kLxAnswerBold | kLxAnswerItalic, 0, "bold"},
        {"italic before underlined", true, kLxAnswerItalic | kLxAnswerUnderline, 0, "italic"},
        {"underlined", true, kLxAnswerUnderline, 0, "underlined"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        dc.SelectObject(CFont::FromHandle((HFONT)initial));
        m_owner.m_answer = [&](CLxListRequest& request) {
            request.m_answer |= c.answer;
            request.m_font = ownerFont;
            return c.answered;
        };
        CLxListRequest request;
        request.m_answer = c.before;
        EXPECT_EQ(c.answered, m_list.SelectCellFont(request, &dc) != FALSE);
        EXPECT_EQ(c.font, nameOf(::GetCurrentObject(dc.m_hDC, OBJ_FONT)));
    }
    dc.SelectObject(CFont::FromHandle((HFONT)initial));
}

// A resize draws again the cell under the pointer and the same cell of the
// rows above and below it; with the pointer on the first row, or on no row,
// it draws nothing more.
TEST_F(LxListOperationsTest, ResizeRedrawsTheCellsAroundThePointer)
{
    AddNumberedRows(10);
    const struct
    {
        const char* name;
        int row, column; // under the pointer; row -1: below the rows
        std::vector<std::pair<int, int>> redrawn;
    } cases[] = {
        {"a middle row", 3, 1, {{2, 1}, {3, 1}, {4, 1}}},
        {"the last row", 9, 0, {{8, 0}, {9, 0}}},
        {"the first row", 0, 1, {}},
        {"below the rows", -1, 1, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CRect cell;
        ASSERT_TRUE(m_list.GetCellRect(c.row < 0 ? 9 : c.row, c.column, &cell));
        CPoint pointer(cell.left + 5, c.row < 0 ? cell.bottom + 40 : cell.CenterPoint().y);
        m_list.ClientToScreen(&pointer);
        ::SetCursorPos(pointer.x, pointer.y);
        m_list.UpdateWindow();
        CRect client;
        m_list.GetClientRect(&client);
        m_list.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
        CRgn update;
        update.CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(m_list.m_hWnd, update, FALSE);
        for (int row = 0; row < 10; row++)
            for (int column = 0; column < 2; column++)
            {
                m_list.GetCellRect(row, column, &cell);
                bool expected = std::find(c.redrawn.begin(), c.redrawn.end(),
                                          std::make_pair(row, column)) != c.redrawn.end();
                EXPECT_EQ(expected, update.PtInRegion(cell.CenterPoint()) != FALSE)
                    << "row " << row << ", column " << column;
            }
    }
}

// Installed as the owner's handler: the cell question is answered as is,
// every column but the first gets the choices "true" and "false".
TEST_F(LxListOperationsTest, BooleanRequestHandlerAnswersYesNoColumns)
{
    const struct
    {
        const char* name;
        int code;
        int columnId;
        BOOL answered;
        std::vector<std::string> choices;
    } cases[] = {
        {"cell look", kLxRequestCell, 1, TRUE, {}},
        {"choices of column 1", kLxRequestChoices, 1, TRUE, {"true", "false"}},
        {"choices of column 0", kLxRequestChoices, 0, FALSE, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CStringArray choices;
        CLxListRequest request;
        request.m_code = c.code;
        request.m_columnId = c.columnId;
        request.m_pChoices = &choices;
        request.m_answer = 0;
        EXPECT_EQ(c.answered, m_list.BooleanRequestHandler(request));
        EXPECT_EQ(0u, request.m_answer);
        std::vector<std::string> got;
        for (int i = 0; i < choices.GetSize(); i++)
            got.push_back((LPCSTR)choices[i]);
        EXPECT_EQ(c.choices, got);
    }
}

// An image cell holds its image's number as text; a list without image cells
// leaves the text alone.
TEST_F(LxListOperationsTest, SetCellImageWritesTheNumberOnlyForImageCells)
{
    AddRows({{"a", "b"}});
    m_list.SetItemText(0, 1, "text");
    m_list.ModifyLxStyle(kLxStyleImageCells, 0, 0);
    m_list.SetCellImage(0, 1, 7);
    EXPECT_EQ("text", std::string(m_list.GetItemText(0, 1)));
    m_list.ModifyLxStyle(0, kLxStyleImageCells, 0);
    EXPECT_TRUE(m_list.GetLxStyle() & kLxStyleImageCells);
    m_list.SetCellImage(0, 1, 7);
    EXPECT_EQ("7", std::string(m_list.GetItemText(0, 1)));
}

// A text that fits stays; a longer one loses characters from its end until
// it and "..." fit, down to one character.
TEST_F(LxListOperationsTest, FitTextToWidthCutsFromTheEnd)
{
    CClientDC dc(&m_list);
    const CString text = "Moonlight Sonata";
    int full = dc.GetTextExtent(text).cx;
    int dots = dc.GetTextExtent("...", 3).cx;
    const struct
    {
        const char* name;
        int width, extra;
        CString expected;
    } cases[] = {
        {"fits", full, 0, text},
        {"fits only without the extra", full, 1, ""},
        {"room for four letters", dc.GetTextExtent("Moon", 4).cx + dots, 0, "Moon..."},
        {"room for four letters with the extra", dc.GetTextExtent("Moon", 4).cx + dots + 5, 5, "Moon..."},
        {"no room", 1, 0, "M..."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CString fitted = CLxListCtrl::FitTextToWidth(&dc, text, c.width, c.extra);
        if (c.expected.IsEmpty())
        {
            EXPECT_EQ("...", std::string(fitted.Right(3)));
            EXPECT_LE(dc.GetTextExtent(fitted.Left(fitted.GetLength() - 3)).cx + dots + c.extra, c.width);
        }
        else
        {
            EXPECT_EQ(std::string(c.expected), std::string(fitted));
        }
    }
}

// The extended style's bits are cleared and set as asked, the others kept.
TEST_F(LxListOperationsTest, ModifyExtendedStyleKeepsOtherBits)
{
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP);
    m_list.ModifyExtendedStyle(LVS_EX_GRIDLINES, LVS_EX_FULLROWSELECT, 0);
    EXPECT_EQ((DWORD)(LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT), m_list.GetExtendedStyle());
}

} // namespace
