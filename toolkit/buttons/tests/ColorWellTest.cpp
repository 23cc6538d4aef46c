#include "toolkit/buttons/tests/ButtonHost.h"

#include "toolkit/buttons/TkColorWell.h"

namespace
{
const UINT kWellId = 201;

// Shows where the cells lie and which one is selected.
class CWellProbe : public TkColorWell
{
public:
    using TkColorWell::CellRect;
    CPoint Selection() const { return CPoint(m_nSelColumn, m_nSelRow); }
    CButton* OtherButton() const { return m_pOtherButton.get(); }
};

class ColorWellTest : public ButtonHostTest
{
protected:
    void SetUp() override
    {
        MakeHost(WS_OVERLAPPEDWINDOW, CRect(CPoint(40, 40), CSize(400, 400)));
    }
    void MakeWell(BOOL customOption, DWORD style = WS_VISIBLE | WS_TABSTOP)
    {
        ASSERT_TRUE(m_well.Create(style, CRect(10, 10, 0, 0), &m_host, kWellId, customOption));
        PumpUntilIdle(kButtonsQuietMs);
        m_host.m_notes.Clear();
    }

    CWellProbe m_well;
};

TEST_F(ColorWellTest, CellsShowTheStockPaletteColours)
{
    MakeWell(FALSE);
    const std::vector<COLORREF> colors = StockPaletteColors();
    ASSERT_EQ(20u, colors.size());
    for (int index = 0; index < 20; index++)
    {
        const CRect cell = m_well.CellRect(index % 4, index / 4);
        EXPECT_EQ(ColorText(colors[index]), ColorText(ScreenPixel(&m_well, cell.CenterPoint())))
            << "cell " << index;
    }
    // The selected first cell wears black, white and black frames.
    const CRect first = m_well.CellRect(0, 0);
    EXPECT_EQ(ColorText(RGB(0, 0, 0)), ColorText(ScreenPixel(&m_well, CPoint(first.left - 1, first.top + 4))));
    EXPECT_EQ(ColorText(RGB(255, 255, 255)), ColorText(ScreenPixel(&m_well, CPoint(first.left, first.top + 4))));
    // An unselected cell: shadow, then dark shadow rings.
    const CRect second = m_well.CellRect(1, 0);
    EXPECT_EQ(ColorText(GetSysColor(COLOR_3DSHADOW)),
              ColorText(ScreenPixel(&m_well, CPoint(second.left, second.top + 4))));
    EXPECT_EQ(ColorText(GetSysColor(COLOR_3DDKSHADOW)),
              ColorText(ScreenPixel(&m_well, CPoint(second.left + 1, second.top + 4))));
}

TEST_F(ColorWellTest, SizeFollowsTheDialogUnitsAndTheCustomRow)
{
    MakeWell(TRUE);
    const LONG units = GetDialogBaseUnits();
    const int cellWidth = LOWORD(units) * 10 / 4;
    const int cellHeight = HIWORD(units) * 10 / 8;
    CRect client;
    m_well.GetClientRect(&client);
    EXPECT_EQ(4 * (cellWidth + 2) + 2 * 3 - 2, client.Width());
    EXPECT_EQ(5 * (cellHeight + 2) + 2 * 3 - 2 + cellHeight + 2 + 6, client.Height());
    ASSERT_TRUE(m_well.OtherButton());
    CString text;
    m_well.OtherButton()->GetWindowText(text);
    EXPECT_STREQ("&Other...", text);
}

TEST_F(ColorWellTest, ArrowKeysWalkTheGridAndReachTheCustomCellOnlyWhenItHasAColour)
{
    struct Case
    {
        bool customColor;
        CPoint from;
        UINT key;
        CPoint to;
    };
    const CPoint custom(3, 5);
    const Case cases[] = {
        {false, {0, 0}, VK_LEFT, {3, 4}},   {true, {0, 0}, VK_LEFT, custom},
        {false, {0, 1}, VK_LEFT, {3, 0}},   {false, {2, 1}, VK_LEFT, {1, 1}},
        {true, custom, VK_LEFT, {3, 4}},    {false, {3, 4}, VK_RIGHT, {0, 0}},
        {true, {3, 4}, VK_RIGHT, custom},   {true, custom, VK_RIGHT, {0, 0}},
        {false, {3, 1}, VK_RIGHT, {0, 2}},  {false, {1, 0}, VK_UP, {1, 4}},
        {true, {3, 0}, VK_UP, custom},      {true, custom, VK_UP, {3, 4}},
        {true, {2, 0}, VK_UP, {2, 4}},      {false, {1, 4}, VK_DOWN, {1, 0}},
        {true, {3, 4}, VK_DOWN, custom},    {true, {2, 4}, VK_DOWN, {2, 0}},
        {true, custom, VK_DOWN, {3, 0}},
    };
    for (const Case& c : cases)
    {
        if (m_well.m_hWnd)
            m_well.DestroyWindow();
        MakeWell(TRUE);
        if (c.customColor)
            m_well.SetColor(RGB(1, 2, 3));
        m_well.SelectCell(c.from.x, c.from.y, TkColorWell::kByKey);
        m_well.PostMessage(WM_KEYDOWN, c.key, 1);
        PumpUntilIdle(kButtonsQuietMs);
        EXPECT_EQ(c.to, m_well.Selection())
            << c.from.x << "," << c.from.y << " key " << c.key << " custom " << c.customColor;
    }
}

TEST_F(ColorWellTest, SetColorSelectsQuietlyAndAForeignColourNeedsTheCustomOption)
{
    const std::vector<COLORREF> colors = StockPaletteColors();
    MakeWell(FALSE);
    m_well.SetColor(colors[6]);
    EXPECT_EQ(CPoint(2, 1), m_well.Selection());
    EXPECT_EQ(colors[6], m_well.GetColor());
    m_well.SetColor(RGB(1, 2, 3));
    EXPECT_EQ(CPoint(2, 1), m_well.Selection());
    EXPECT_EQ("", m_host.Notes());

    m_well.DestroyWindow();
    MakeWell(TRUE);
    CRect before;
    m_well.OtherButton()->GetWindowRect(&before);
    m_well.SetColor(RGB(1, 2, 3));
    EXPECT_EQ(CPoint(3, 5), m_well.Selection());
    EXPECT_EQ(RGB(1, 2, 3), m_well.GetColor());
    CRect after;
    m_well.OtherButton()->GetWindowRect(&after);
    const int cellWidth = m_well.CellRect(0, 0).Width();
    EXPECT_EQ(before.right - cellWidth - 2, after.right);
    // Only the first custom colour narrows the button.
    m_well.SetColor(RGB(4, 5, 6));
    m_well.OtherButton()->GetWindowRect(&before);
    EXPECT_EQ(after, before);
    EXPECT_EQ(RGB(4, 5, 6), m_well.GetColor());
    const CRect customCell = m_well.CellRect(3, 5);
    EXPECT_EQ(ColorText(RGB(4, 5, 6)), ColorText(ScreenPixel(&m_well, customCell.CenterPoint())));
}

TEST_F(ColorWellTest, ClicksAndKeysTellTheParentEveryChoice)
{
    const std::vector<COLORREF> colors = StockPaletteColors();
    MakeWell(FALSE);
    const CPoint cell = m_well.CellRect(1, 2).CenterPoint();
    PostClick(&m_well, cell, cell);
    EXPECT_EQ("color 201 " + ColorText(colors[9]), m_host.Notes());
    EXPECT_EQ(m_well.m_hWnd, ::GetFocus());
    m_host.m_notes.Clear();
    m_well.PostMessage(WM_KEYDOWN, VK_RIGHT, 1);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ("color 201 " + ColorText(colors[10]), m_host.Notes());
    m_host.m_notes.Clear();
    // A press between the cells chooses nothing.
    PostClick(&m_well, CPoint(1, 1), CPoint(1, 1));
    EXPECT_EQ("", m_host.Notes());
    EXPECT_EQ(DLGC_WANTARROWS, m_well.SendMessage(WM_GETDLGCODE));
    // Cells that are not there are refused quietly.
    const CPoint outside[] = {{4, 0}, {0, 5}, {-1, 2}, {3, 5}};
    for (const CPoint& cellAt : outside)
        m_well.SelectCell(cellAt.x, cellAt.y, TkColorWell::kByChoice);
    EXPECT_EQ(CPoint(2, 2), m_well.Selection());
    EXPECT_EQ("", m_host.Notes());
}

TEST_F(ColorWellTest, DataExchangeLoadsAndSavesTheColour)
{
    const std::vector<COLORREF> colors = StockPaletteColors();
    MakeWell(FALSE);
    CDataExchange load(&m_host, FALSE);
    COLORREF color = colors[13];
    DDX_TkColorWell(&load, m_well, color);
    EXPECT_EQ(colors[13], m_well.GetColor());
    m_well.SelectCell(0, 1, TkColorWell::kByKey);
    CDataExchange save(&m_host, TRUE);
    DDX_TkColorWell(&save, m_well, color);
    EXPECT_EQ(colors[4], color);
}

TEST_F(ColorWellTest, OtherPutsTheDialogsColourInTheCustomCellAndTellsTheParent)
{
    COLORREF custom[16] = {};
    MakeWell(TRUE);
    m_well.SetCustomColors(custom);
    {
        ColorDialogScript script(RGB(10, 20, 30));
        m_well.PostMessage(WM_COMMAND, ID_TKCOLORWELL_OTHER);
        PumpUntilIdle(kButtonsQuietMs);
    }
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ(CPoint(3, 5), m_well.Selection());
    EXPECT_EQ(RGB(10, 20, 30), m_well.GetColor());
    EXPECT_EQ("color 201 " + ColorText(RGB(10, 20, 30)), m_host.Notes());

    m_host.m_notes.Clear();
    {
        ColorDialogScript script(0, false);
        m_well.PostMessage(WM_COMMAND, ID_TKCOLORWELL_OTHER);
        PumpUntilIdle(kButtonsQuietMs);
    }
    EXPECT_EQ(RGB(10, 20, 30), m_well.GetColor());
    EXPECT_EQ("", m_host.Notes());
}

TEST_F(ColorWellTest, ShiftFocusFromOutsideGoesToOtherFirst)
{
    CButton before;
    ASSERT_TRUE(before.Create("Before", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                              CRect(300, 10, 380, 40), &m_host, 1));
    MakeWell(TRUE);
    struct Case
    {
        bool shift;
        bool toOther;
    };
    const Case cases[] = {{false, false}, {true, true}};
    for (const Case& c : cases)
    {
        before.SetFocus();
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        m_well.SetFocus();
        const HWND expected = c.toOther ? m_well.OtherButton()->m_hWnd : m_well.m_hWnd;
        EXPECT_EQ(expected, ::GetFocus()) << c.shift;
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
}
}
