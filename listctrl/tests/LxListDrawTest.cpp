#include "listctrl/tests/ListFixture.h"

#include <afxwin.h>

#include <algorithm>
#include <utility>

namespace
{
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrid = RGB(0xC0, 0xC0, 0xC0);

// A picture of the list's client area, drawn by the list or copied from the screen.
class CPicture
{
public:
    CPicture(int width, int height) : m_width(width), m_height(height)
    {
        HDC screen = ::GetDC(NULL);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(NULL, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, width, height};
        ::FillRect(m_dc, &all, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
    ~CPicture()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    bool Has(const RECT& area, COLORREF color) const
    {
        for (int y = area.top; y < area.bottom; y++)
            for (int x = area.left; x < area.right; x++)
                if (At(x, y) == color)
                    return true;
        return false;
    }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class ListDrawTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, 0}, {"Kind", 80, kLxColImage}, {"Artist", 120, 0}});
        AddRows({{"one", "3", "WWWW"}, {"two", "", "WWWW"}, {"three", "", ""}});
        m_list.ModifyLxStyle(kLxStyleVertGrid | kLxStyleHorzGrid | kLxStyleFocusCell |
                                 kLxStyleImageCells, 0, 0);
    }
    // Draws one row as the list view asks for it, into a picture of the client area.
    void DrawRow(int row, CPicture& picture)
    {
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTVIEW;
        draw.CtlID = kListId;
        draw.itemID = row;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = m_list.m_hWnd;
        draw.hDC = picture.Dc();
        m_list.GetItemRect(row, &draw.rcItem, LVIR_BOUNDS);
        m_list.DrawItem(&draw);
    }
    CRect Cell(int row, int column)
    {
        CRect cell;
        m_list.GetCellRect(row, column, &cell);
        return cell;
    }
    // The middle of a cell's empty right part, clear of text and grid.
    CPoint Blank(int row, int column)
    {
        CRect cell = Cell(row, column);
        return CPoint(cell.right - 4, (cell.top + cell.bottom) / 2);
    }
    CPicture Picture()
    {
        CRect client;
        m_list.GetClientRect(&client);
        return CPicture(client.Width(), client.Height());
    }
    // What the screen shows of the list once it has painted.
    void CopyWindow(CPicture& picture)
    {
        m_list.Invalidate();
        m_list.UpdateWindow();
        CRect client;
        m_list.GetClientRect(&client);
        HDC window = ::GetDC(m_list.m_hWnd);
        ::BitBlt(picture.Dc(), 0, 0, client.Width(), client.Height(), window, 0, 0, SRCCOPY);
        ::ReleaseDC(m_list.m_hWnd, window);
    }
};

TEST_F(ListDrawTest, RequestsOfOnePaintFollowTheStyle)
{
    struct Case
    {
        DWORD style;
        DWORD fontMask;
        std::vector<std::pair<int, int>> cells;  // row, column id
    };
    const Case cases[] = {
        {0, 0, {}},
        {kLxStyleAskCells, 0, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}},
        {kLxStyleAskCells | kLxStyleAskRowOnly, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {kLxStyleAskCells | kLxStyleAskFontMask, LxColumnBit(2), {{0, 2}, {1, 2}, {2, 2}}},
        {kLxStyleAskCells | kLxStyleAskFontMask, LxColumnBit(0), {{0, 0}, {1, 0}, {2, 0}}},
        {kLxStyleAskCells | kLxStyleAskFontMask, 0, {}},
        {kLxStyleAskCells | kLxStyleAskRowOnly | kLxStyleAskFontMask, LxColumnBit(2),
         {{0, 0}, {1, 0}, {2, 0}}},
        {kLxStyleAskFontMask, LxColumnBit(2), {}},
    };
    CPicture picture = Picture();
    for (const Case& c : cases)
    {
        m_list.ModifyLxStyle(kLxStyleAskCells | kLxStyleAskRowOnly | kLxStyleAskFontMask, c.style, 0);
        m_list.m_ownerFontMask = c.fontMask;
        m_owner.m_requests.clear();
        for (int row = 0; row < 3; row++)
            DrawRow(row, picture);
        std::vector<std::pair<int, int>> cells;
        for (const LxRequestSeen& seen : m_owner.m_requests)
        {
            EXPECT_EQ(kLxRequestCell, seen.code);
            EXPECT_EQ((DWORD_PTR)seen.row, seen.itemData);
            cells.push_back({seen.row, seen.columnId});
        }
        EXPECT_EQ(c.cells, cells) << "style " << std::hex << c.style << " mask " << c.fontMask;
    }
}

TEST_F(ListDrawTest, WindowPaintAsksForVisibleRows)
{
    m_list.ModifyLxStyle(0, kLxStyleAskCells | kLxStyleAskRowOnly, 0);
    m_owner.m_requests.clear();
    m_list.Invalidate();
    m_list.UpdateWindow();
    std::vector<int> rows;
    for (const LxRequestSeen& seen : m_owner.m_requests)
        rows.push_back(seen.row);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), rows);
}

class CHandlingOwner : public CListOwner
{
public:
    std::vector<int> m_handled;
    BOOL Handle(CLxListRequest& request)
    {
        m_handled.push_back(request.m_controlId);
        return TRUE;
    }
};

TEST_F(ListDrawTest, RequestsGoToHandlerTargetOrParent)
{
    CListOwner target;
    ASSERT_TRUE(target.CreateEx(0, NULL, "target", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    CLxListRequest request;
    EXPECT_FALSE(m_list.RequestData(request));  // the parent answers nothing
    EXPECT_EQ(1u, m_owner.m_requests.size());
    EXPECT_EQ((int)kListId, request.m_controlId);

    m_list.m_pNotifyWnd = &target;
    m_list.m_controlIdOverride = 77;
    m_list.RequestData(request);
    EXPECT_EQ(1u, m_owner.m_requests.size());
    EXPECT_EQ(1u, target.m_requests.size());
    EXPECT_EQ(77, request.m_controlId);
    target.DestroyWindow();

    CHandlingOwner handler;
    ASSERT_TRUE(handler.CreateEx(0, NULL, "handler", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
    CLxListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, RECT{0, 0, 200, 100},
                            &handler, kListId));
    list.m_pfnRequestHandler = static_cast<LxRequestHandler>(&CHandlingOwner::Handle);
    EXPECT_TRUE(list.RequestData(request));
    EXPECT_EQ(std::vector<int>{(int)kListId}, handler.m_handled);
    EXPECT_TRUE(handler.m_requests.empty());
    list.DestroyWindow();
    handler.DestroyWindow();
}

TEST_F(ListDrawTest, SelectionAndOwnerColoursPerCell)
{
    m_list.ModifyLxStyle(0, kLxStyleAskCells, 0);
    m_owner.m_answer = [](CLxListRequest& request) -> BOOL {
        if (request.m_row == 1 && request.m_columnId == 1)
        {
            request.m_answer = kLxAnswerBkColor;
            request.m_bkColor = kRed;
        }
        if (request.m_row == 1 && request.m_columnId == 0)
        {
            request.m_answer = kLxAnswerTextColor;
            request.m_textColor = kBlue;
        }
        return TRUE;
    };
    m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    CPicture picture = Picture();
    DrawRow(0, picture);
    DrawRow(1, picture);
    CPoint selected = Blank(0, 2), plain = Blank(1, 0);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), picture.At(selected.x, selected.y));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), picture.At(plain.x, plain.y));
    CPoint red = Blank(1, 1);
    EXPECT_EQ(kRed, picture.At(red.x, red.y));
    // Each cell takes its own answer: blue text in its cell, not in the next ones.
    EXPECT_TRUE(picture.Has(Cell(1, 0), kBlue));
    EXPECT_FALSE(picture.Has(Cell(1, 2), kBlue));
    EXPECT_FALSE(picture.Has(Cell(0, 0), kBlue));
}

TEST_F(ListDrawTest, RowAnswerColoursTheWholeRow)
{
    m_list.ModifyLxStyle(0, kLxStyleAskCells | kLxStyleAskRowOnly, 0);
    m_owner.m_answer = [](CLxListRequest& request) -> BOOL {
        request.m_answer = request.m_row == 1 ? kLxAnswerTextColor : 0;
        request.m_textColor = kGreen;
        return TRUE;
    };
    CPicture picture = Picture();
    DrawRow(0, picture);
    DrawRow(1, picture);
    EXPECT_TRUE(picture.Has(Cell(1, 0), kGreen));
    EXPECT_TRUE(picture.Has(Cell(1, 2), kGreen));
    EXPECT_FALSE(picture.Has(Cell(0, 2), kGreen));
}

TEST_F(ListDrawTest, FocusedCellStandsOutOfItsSelectedRow)
{
    m_list.ModifyLxStyle(0, kLxStyleFocusCell, 0);
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    int right = VK_RIGHT;
    NMLVKEYDOWN key = {};
    key.hdr.hwndFrom = m_list.m_hWnd;
    key.hdr.idFrom = kListId;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = (WORD)right;
    m_owner.SendMessage(WM_NOTIFY, kListId, (LPARAM)&key);
    m_owner.SendMessage(WM_NOTIFY, kListId, (LPARAM)&key);
    ASSERT_EQ(2, m_list.GetFocusedColumn());
    CPicture picture = Picture();
    DrawRow(0, picture);
    CPoint focused = Blank(0, 2), other = Blank(0, 1);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), picture.At(focused.x, focused.y));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), picture.At(other.x, other.y));
    EXPECT_TRUE(picture.Has(Cell(0, 2), ::GetSysColor(COLOR_BTNTEXT)));
}

TEST_F(ListDrawTest, GridLinesAtCellAndRowEdges)
{
    m_list.ModifyLxStyle(0, kLxStyleVertGrid | kLxStyleHorzGrid, 0);
    CPicture picture = Picture();
    DrawRow(1, picture);
    CRect cell = Cell(1, 1);
    EXPECT_EQ(kGrid, picture.At(cell.right - 1, cell.top + 3));
    EXPECT_EQ(kGrid, picture.At(cell.left + 3, cell.bottom));  // the row's last line
    EXPECT_NE(kGrid, picture.At(cell.right - 3, cell.top + 3));

    // An owner that takes the drawn row draws its own bottom line.
    m_list.ModifyLxStyle(0, kLxStyleOfferRows, 0);
    CPicture offered = Picture();
    std::vector<RECT> rows;
    m_owner.m_answer = [&rows](CLxListRequest& request) -> BOOL {
        if (request.m_code != kLxRequestDrawnRow)
            return FALSE;
        rows.push_back(request.m_rowRect);
        return request.m_pDC != NULL;
    };
    DrawRow(1, offered);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(cell.top, rows[0].top);
    EXPECT_NE(kGrid, offered.At(cell.left + 3, cell.bottom));
}

TEST_F(ListDrawTest, ImageCellShowsTheImageItsTextNumbers)
{
    CImageList images;
    images.Create(16, 16, ILC_COLOR24, 4, 0);
    const COLORREF colours[] = {kRed, kRed, kRed, kGreen};
    for (COLORREF colour : colours)
    {
        CPicture square(16, 16);
        HBRUSH brush = ::CreateSolidBrush(colour);
        RECT all = {0, 0, 16, 16};
        ::FillRect(square.Dc(), &all, brush);
        ::DeleteObject(brush);
        HBITMAP bitmap = (HBITMAP)::GetCurrentObject(square.Dc(), OBJ_BITMAP);
        HBITMAP copy = (HBITMAP)::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0);
        ImageList_Add(images, copy, NULL);
        ::DeleteObject(copy);
    }
    m_list.ModifyLxStyle(0, kLxStyleImageCells, 0);
    CPicture without = Picture();
    DrawRow(0, without);
    EXPECT_FALSE(without.Has(Cell(0, 1), kGreen));
    m_list.SetCellImageList(&images);
    CPicture with = Picture();
    DrawRow(0, with);
    CRect cell = Cell(0, 1);
    EXPECT_EQ(kGreen, with.At(cell.CenterPoint().x, cell.CenterPoint().y));
    EXPECT_FALSE(with.Has(Cell(0, 1), kRed));
}

TEST_F(ListDrawTest, CategoryRowShowsItsBoxTextAndLine)
{
    const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
    const COLORREF kDark = RGB(0x80, 0x80, 0x80);
    m_list.ModifyLxStyle(0, kLxStyleAskCells, 0);
    m_list.SetTextColor(kRed);
    FileByColumn(2);  // rows 0 and 1 under "WWWW", row 2 under ""
    m_list.EnableCategoryView(true);
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    CPoint box(row.left + 3, row.top + (row.Height() - 12) / 2);
    // Offsets within the 12 x 12 box.
    const struct
    {
        int x, y;
        COLORREF closed, open;
    } pixels[] = {
        {0, 0, kWhite, kWhite},   {5, 0, kWhite, kWhite},   {0, 5, kWhite, kWhite},
        {11, 5, kBlack, kBlack},  {5, 11, kBlack, kBlack},  {11, 0, kBlack, kBlack},
        {1, 2, kGrid, kGrid},     {2, 1, kGrid, kGrid},     {10, 2, kDark, kDark},
        {2, 10, kDark, kDark},    {2, 2, kGrid, kGrid},     {9, 9, kGrid, kGrid},
        {3, 5, kBlack, kBlack},   {8, 6, kBlack, kBlack},   {5, 3, kBlack, kGrid},
        {6, 8, kBlack, kGrid},
    };
    for (bool open : {false, true})
    {
        m_list.GetCategoryManager()->GetCategory(0)->expanded = open;
        m_owner.m_requests.clear();
        CPicture picture = Picture();
        DrawRow(0, picture);
        EXPECT_TRUE(m_owner.m_requests.empty());  // a category row has no cells
        for (const auto& p : pixels)
            EXPECT_EQ(open ? p.open : p.closed, picture.At(box.x + p.x, box.y + p.y))
                << "open " << open << " at " << p.x << "," << p.y;
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), picture.At(row.left + 1, row.top + 1));
        EXPECT_EQ(kDark, picture.At(box.x + 14, row.bottom - 1));
        EXPECT_EQ(kDark, picture.At(row.right - 2, row.bottom - 1));
        EXPECT_TRUE(picture.Has(CRect(row.left + 20, row.top, row.left + 150, row.bottom - 1),
                                ::GetSysColor(COLOR_BTNTEXT)));
        EXPECT_FALSE(picture.Has(CRect(box.x + 12, row.top, row.left + 20, row.bottom - 1),
                                 ::GetSysColor(COLOR_BTNTEXT)));
        EXPECT_FALSE(picture.Has(row, kRed));
    }
    // Item rows of the category view draw in the button text colour, not the list's.
    m_list.GetCategoryManager()->Rebuild(m_list);
    CPicture item = Picture();
    DrawRow(1, item);
    EXPECT_TRUE(item.Has(Cell(1, 0), ::GetSysColor(COLOR_BTNTEXT)));
    EXPECT_FALSE(item.Has(Cell(1, 0), kRed));
    m_list.EnableCategoryView(false);
    CPicture plain = Picture();
    DrawRow(0, plain);
    EXPECT_TRUE(plain.Has(Cell(0, 0), kRed));
}

TEST_F(ListDrawTest, LongTextEndsInEllipsisAsDrawTextDoes)
{
    const char* text = "A title far too wide for its narrow column of the list";
    m_owner.m_cells[2][2] = text;
    CPicture picture = Picture();
    DrawRow(2, picture);

    CRect cell = Cell(2, 2);
    CPicture expected = Picture();
    CDC* dc = CDC::FromHandle(expected.Dc());
    CRect span(cell.left, cell.top, cell.right, cell.bottom + 1);
    dc->FillSolidRect(&span, ::GetSysColor(COLOR_WINDOW));
    LOGFONTA logFont = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    CFont font;
    font.CreateFontIndirect(&logFont);
    dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    CRect inner(span.left + 6, span.top, span.right - 6, span.bottom);
    dc->DrawText(text, -1, &inner,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS);
    dc->SelectStockObject(SYSTEM_FONT);
    int differing = 0;
    for (int y = span.top; y < span.bottom; y++)
        for (int x = span.left; x < span.right; x++)
            differing += picture.At(x, y) != expected.At(x, y);
    EXPECT_EQ(0, differing);
    EXPECT_FALSE(picture.Has(CRect(cell.right, cell.top, cell.right + 40, cell.bottom),
                             ::GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(ListDrawTest, EmptyListShowsItsTextCentred)
{
    m_list.DeleteAllItems();
    m_list.SetEmptyText("Nothing to show");
    CPicture picture = Picture();
    CopyWindow(picture);
    CRect client;
    m_list.GetClientRect(&client);
    // The text's extent is every pixel off the background in the rows the grey
    // text crosses: smoothed glyph edges are not the text colour itself.
    COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    int left = client.right, right = 0;
    for (int y = 0; y < client.bottom; y++)
    {
        if (!picture.Has(CRect(0, y, client.right, y + 1), grey))
            continue;
        for (int x = 0; x < client.right; x++)
            if (picture.At(x, y) != background)
            {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    }
    ASSERT_LT(left, right);
    // The ink is not the text's box: the first and last glyphs' side bearings
    // differ by a few pixels, more in some fonts than in others.
    EXPECT_NEAR(client.Width() / 2, (left + right) / 2, 6);
}

TEST_F(ListDrawTest, BackgroundTilesStayWithRowZeroWhenScrolled)
{
    for (int i = 0; i < 40; i++)
        AddRows({{"", "", ""}});
    m_list.ModifyLxStyle(kLxStyleHorzGrid | kLxStyleVertGrid | kLxStyleImageCells, 0, 0);
    ASSERT_TRUE(m_list.SetBackgroundImage(310u));
    CRect row;
    m_list.GetItemRect(0, &row, LVIR_BOUNDS);
    m_list.Scroll(CSize(0, row.Height() * 5));
    CPicture picture = Picture();
    CopyWindow(picture);
    CRect origin, first;
    m_list.GetItemRect(0, &origin, LVIR_BOUNDS);
    int top = m_list.GetTopIndex();
    ASSERT_GT(top, 0);
    m_list.GetItemRect(top + 4, &first, LVIR_BOUNDS);
    CRect last;
    m_list.GetItemRect(top + 8, &last, LVIR_BOUNDS);
    int x = Blank(top + 4, 2).x;
    int wrong = 0;
    for (int y = first.top; y < last.bottom; y++)
    {
        COLORREF expected = ((y - origin.top) % 8) < 4 ? kRed : kBlue;
        wrong += picture.At(x, y) != expected;
    }
    EXPECT_EQ(0, wrong);
    EXPECT_TRUE(m_list.SetBackgroundImage((UINT)-1));
}

// On a true-colour screen the picture's palette changes nothing: the palette
// messages realise no entries and leave the list drawn as it is.
TEST_F(ListDrawTest, PaletteMessagesChangeNothingOnATrueColourScreen)
{
    AddRows({{"a", "b", "c"}});
    ASSERT_TRUE(m_list.SetBackgroundImage(310u));
    m_list.UpdateWindow();
    EXPECT_EQ(0, m_list.SendMessage(WM_QUERYNEWPALETTE));
    m_list.SendMessage(WM_PALETTECHANGED, (WPARAM)m_owner.m_hWnd);
    CRect invalid;
    EXPECT_FALSE(::GetUpdateRect(m_list.m_hWnd, &invalid, FALSE));
    EXPECT_TRUE(m_list.SetBackgroundImage((UINT)-1));
    EXPECT_EQ(0, m_list.SendMessage(WM_QUERYNEWPALETTE));
}
}
