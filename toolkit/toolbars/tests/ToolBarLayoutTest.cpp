// Tool-bar layout without a window: rows wrapped and balanced, sizes per
// orientation, places, hit tests.
#include "tests/support/TestFramework.h"

#include "toolkit/toolbars/TkStdBtn.h"
#include "toolkit/toolbars/TkToolBarLayout.h"

#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

inline void PrintTo(const CSize& s, std::ostream* os)
{
    *os << s.cx << "x" << s.cy;
}

inline void PrintTo(const CPoint& p, std::ostream* os)
{
    *os << "(" << p.x << "," << p.y << ")";
}

namespace {

const int kWidth = 23;
const int kHeight = 22;
const int kSeparator = 8;

// A bar's buttons from a picture: 'B' a 23-pixel button, '|' a separator,
// 'h' a hidden button, 'n' a 10-pixel button, 'C' a caption-button group.
class Buttons
{
public:
    explicit Buttons(const char* picture)
    {
        for (const char* c = picture; *c != 0; c++) {
            TkStdBtn* button = Add(*c == '|' ? kSeparator : *c == 'n' ? 10 : kWidth);
            if (*c == '|')
                button->m_dwStyle = TBBS_SEPARATOR;
            if (*c == 'h')
                button->m_dwStyle = TBBS_HIDDEN;
            if (*c == 'C')
                button->m_nKind = kTkBtnCaption;
        }
    }

    TkStdBtn* Add(int cx, int cy = kHeight)
    {
        m_owned.emplace_back(new TkStdBtn);
        TkStdBtn* button = m_owned.back().get();
        button->m_cx = cx;
        button->m_cy = cy;
        m_array.Add(button);
        return button;
    }
    TkStdBtn* operator[](int index) const { return m_owned[index].get(); }
    int Count() const { return (int)m_owned.size(); }

    // Items per row as the wrapped bits say.
    std::vector<int> Rows() const
    {
        std::vector<int> rows(1, 0);
        for (int i = 0; i < Count(); i++) {
            if (m_owned[i]->IsHidden())
                continue;
            rows.back()++;
            if (m_owned[i]->HasStyle(TBBS_WRAPPED) && i + 1 < Count())
                rows.push_back(0);
        }
        return rows;
    }

    CPtrArray m_array;

private:
    std::vector<std::unique_ptr<TkStdBtn>> m_owned;
};

std::vector<int> ItemsPerRow(const TkRowInfo* rows, int count)
{
    std::vector<int> items;
    for (int row = 0; row < count; row++)
        items.push_back(rows[row].nLast + 1 - (row == 0 ? 0 : rows[row - 1].nLast + 1));
    return items;
}

TkLayoutSite Site(DWORD exStyle = 0)
{
    TkLayoutSite site = {CBRS_SIZE_DYNAMIC, exStyle, CRect(0, 0, 0, 0), FALSE, 1.0f};
    return site;
}

}  // namespace

TEST(ToolBarLayout, RowsWrapAtTheWidthAndBalance)
{
    const struct
    {
        const char* name;
        const char* picture;
        int width;
        std::vector<int> wrapped;
        std::vector<BOOL> atSeparator;
        CSize wrappedSize;
        std::vector<int> balanced;
    } kCases[] = {
        {"ten buttons", "BBBBBBBBBB", 100, {4, 4, 2}, {FALSE, FALSE, FALSE}, CSize(92, 66), {3, 4, 3}},
        {"a row grows to the width plus 2", "BBBBBBBBBB", 90, {4, 4, 2}, {FALSE, FALSE, FALSE}, CSize(92, 66), {3, 4, 3}},
        {"separator at index 3", "BBB|BBBBBB", 100, {4, 4, 2}, {TRUE, FALSE, FALSE}, CSize(92, 71), {4, 3, 3}},
        {"rows end at each separator", "BB|BB|BB", 60, {3, 3, 2}, {TRUE, TRUE, FALSE}, CSize(46, 76), {3, 3, 2}},
        {"a tail moves on from a separator", "BBB|B|B", 110, {6, 1}, {TRUE, FALSE}, CSize(100, 49), {4, 3}},
        {"one row", "BB|B", 500, {4}, {FALSE}, CSize(77, 22), {4}},
        {"a button wider than the width stays", "BBB", 10, {1, 1, 1}, {FALSE, FALSE, FALSE}, CSize(23, 66), {1, 1, 1}},
    };
    TkToolBarLayout layout;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Buttons buttons(c.picture);
        std::vector<TkRowInfo> rows(buttons.Count());
        int count = layout.WrapButtons(buttons.m_array, c.width, rows.data());
        EXPECT_EQ(c.wrapped, ItemsPerRow(rows.data(), count));
        std::vector<BOOL> atSeparator;
        for (int row = 0; row < count; row++)
            atSeparator.push_back(rows[row].bSeparator);
        EXPECT_EQ(c.atSeparator, atSeparator);
        EXPECT_EQ(c.wrappedSize, layout.GetRowsSize(rows.data(), count));
        layout.BalanceRows(buttons.m_array, count, rows.data());
        EXPECT_EQ(c.balanced, ItemsPerRow(rows.data(), count));
    }
}

// Vertical layouts fit a height: narrower while the rows still fit, wider
// until they do.
TEST(ToolBarLayout, VerticalLayoutsNarrowAndWidenToTheHeight)
{
    const struct
    {
        const char* name;
        const char* picture;
        int height;
        CSize size;
        std::vector<int> rows;
    } kCases[] = {
        {"rows fit at once", "BBBBBBBBBB", 110, CSize(46, 110), {2, 2, 2, 2, 2}},
        {"narrowed until the height is met", "nnnnnn", 66, CSize(20, 66), {2, 2, 2}},
        {"narrowing that overflows steps back", "BBBBBB", 70, CSize(46, 66), {2, 2, 2}},
        {"widened until no taller", "BBBBBBBBBB", 100, CSize(69, 88), {3, 2, 3, 2}},
        {"no height is one row", "BBBB", 10, CSize(92, 22), {4}},
    };
    TkToolBarLayout layout;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Buttons buttons(c.picture);
        EXPECT_EQ(c.size, layout.CalcSize(buttons.m_array, c.height, TRUE));
        EXPECT_EQ(c.rows, buttons.Rows());
    }
}

TEST(ToolBarLayout, CommittedLayoutPlacesButtonsAndRemembersItsSize)
{
    Buttons buttons("BBB|BBBBBB");
    TkToolBarLayout layout;
    TkLayoutSite site = Site();
    site.rectBorders = CRect(4, 2, 3, 1);
    // Floating: 100 less the borders' 7 across, then 2 less each way.
    CSize size = layout.CalcLayout(buttons.m_array, 107, LM_HORZ | LM_COMMIT, site);
    EXPECT_EQ(CSize(69 + 7 - 2, 71 + 3 - 2), size);
    EXPECT_EQ(CSize(69 + 7, 71 + 3), layout.m_sizeFloat);
    EXPECT_FALSE(layout.m_bFloatPending);
    EXPECT_EQ(69, layout.m_nFloatWidth);
    const CPoint kPlaces[] = {{4, 2},  {27, 2},  {50, 2},  {73, 2},  {4, 29},
                              {27, 29}, {50, 29}, {4, 51}, {27, 51}, {50, 51}};
    for (int i = 0; i < buttons.Count(); i++)
        EXPECT_EQ(kPlaces[i], CPoint(buttons[i]->m_x, buttons[i]->m_y)) << i;

    // Without commit only the remembered size answers.
    EXPECT_EQ(size, layout.CalcLayout(buttons.m_array, 30, LM_HORZ, site));
    EXPECT_EQ(27, buttons[1]->m_x);
}

TEST(ToolBarLayout, HiddenButtonsTakeNoPart)
{
    Buttons buttons("BhBhB");
    TkToolBarLayout layout;
    CSize size = layout.CalcLayout(buttons.m_array, 1000, LM_HORZ | LM_HORZDOCK | LM_COMMIT, Site());
    EXPECT_EQ(CSize(69, 22), size);
    EXPECT_EQ(46, buttons[4]->m_x);
    EXPECT_EQ(-1, buttons[1]->m_x);
    EXPECT_EQ(4, layout.ButtonHitTest(buttons.m_array, CPoint(50, 5), NULL));
}

TEST(ToolBarLayout, StretchedBarTakesTheLengthAndPinsItsCaptionButtons)
{
    Buttons buttons("BBC");
    TkToolBarLayout layout;
    CSize size = layout.CalcLayout(buttons.m_array, 300, LM_HORZ | LM_HORZDOCK | LM_COMMIT,
                                   Site(TKCBRS_EX_STRETCH));
    EXPECT_EQ(CSize(300, 22), size);
    EXPECT_EQ(300 - 23 - 2, buttons[2]->m_x);
    EXPECT_EQ(23, buttons[1]->m_x);

    Buttons none("");
    EXPECT_EQ(CSize(300, 22), layout.CalcLayout(none.m_array, 300, LM_HORZ | LM_HORZDOCK, Site(TKCBRS_EX_STRETCH)));
    EXPECT_EQ(CSize(23, 22), layout.CalcLayout(none.m_array, 300, LM_HORZ | LM_HORZDOCK, Site()));
}

TEST(ToolBarLayout, PendingSizesAreComputedOnceThenLeftToTheBase)
{
    Buttons buttons("BBBB");
    TkToolBarLayout layout;
    CSize size;
    ASSERT_TRUE(layout.CalcDynamicLayout(buttons.m_array, 50, LM_HORZ | LM_HORZDOCK, Site(), &size));
    EXPECT_EQ(CSize(92, 22), size);
    EXPECT_FALSE(layout.CalcDynamicLayout(buttons.m_array, 50, LM_HORZ | LM_HORZDOCK, Site(), &size));
    // Docked vertically the bar is one button wide.
    ASSERT_TRUE(layout.CalcDynamicLayout(buttons.m_array, 50, LM_VERTDOCK, Site(), &size));
    EXPECT_EQ(CSize(23, 88), size);
    EXPECT_FALSE(layout.CalcDynamicLayout(buttons.m_array, 50, LM_HORZDOCK | LM_LENGTHY | LM_COMMIT, Site(), &size));
    ASSERT_TRUE(layout.CalcDynamicLayout(buttons.m_array, 50, LM_HORZ | LM_COMMIT, Site(), &size));
    EXPECT_EQ(CSize(46 - 2, 44 - 2), size);
}

TEST(ToolBarLayout, HitTestsFindTheButtonUnderThePoint)
{
    Buttons buttons("BBB|BBBBBB");
    TkToolBarLayout layout;
    layout.CalcLayout(buttons.m_array, 100, LM_HORZ | LM_HORZDOCK | LM_COMMIT, Site());
    const struct
    {
        const char* name;
        CPoint pt;
        int index;
    } kCases[] = {
        {"left edge", CPoint(0, 0), 0},
        {"right edge of the first", CPoint(23, 21), 0},
        {"third", CPoint(60, 10), 2},
        {"separator", CPoint(72, 10), -1},
        {"past the first row", CPoint(80, 10), -1},
        {"second row, below the gap", CPoint(30, 30), 5},
        {"last row", CPoint(50, 60), 9},
        {"below every row", CPoint(10, 90), -1},
        {"above", CPoint(10, -1), -1},
    };
    for (const auto& c : kCases) {
        CRect rect;
        EXPECT_EQ(c.index, layout.ButtonHitTest(buttons.m_array, c.pt, &rect)) << c.name;
        if (c.index >= 0) {
            EXPECT_EQ(buttons[c.index]->GetRect(), rect) << c.name;
        }
    }
}

TEST(ToolBarLayout, ButtonSizesFollowTheImageSize)
{
    const struct
    {
        CSize image;
        CSize button;
        int separator;
    } kCases[] = {
        {CSize(16, 15), CSize(23, 22), 8},
        {CSize(22, 24), CSize(29, 31), 10},
    };
    for (const auto& c : kCases) {
        TkToolBarLayout layout;
        layout.SetImageSize(c.image);
        EXPECT_EQ(c.button, CSize(layout.m_cxButton, layout.m_cyButton));
        EXPECT_EQ(c.separator, layout.m_cxSeparator);
    }
}

// Random bars and lengths: balancing ends, and every button lands in exactly
// one row, left to right, rows top to bottom.
TEST(ToolBarLayout, RandomBarsLayOutEveryButtonOnce)
{
    std::minstd_rand random(9109);
    for (int round = 0; round < 500; round++) {
        Buttons buttons("");
        int items = 1 + random() % 30;
        for (int i = 0; i < items; i++) {
            if (random() % 4 == 0)
                buttons.Add(kSeparator)->m_dwStyle = TBBS_SEPARATOR;
            else
                buttons.Add(8 + random() % 60, 10 + random() % 30);
        }
        int length = (int)(random() % 400);
        DWORD mode = LM_COMMIT | (random() % 2 ? LM_HORZ | LM_HORZDOCK : LM_LENGTHY);
        TkToolBarLayout layout;
        CSize size = layout.CalcLayout(buttons.m_array, length, mode, Site());
        SCOPED_TRACE(round);
        int x = 0, y = 0, rowHeight = 0, width = 0;
        for (int i = 0; i < items; i++) {
            TkStdBtn* button = buttons[i];
            ASSERT_EQ(x, button->m_x) << i;
            ASSERT_EQ(y, button->m_y) << i;
            x += button->m_cx;
            rowHeight = std::max(rowHeight, button->m_cy);
            BOOL endsAtSeparator = button->IsSeparator() && button->HasStyle(TBBS_WRAPPED);
            width = std::max(width, endsAtSeparator ? x - button->m_cx : x);
            if (button->HasStyle(TBBS_WRAPPED)) {
                ASSERT_LT(i, items - 1);
                y += rowHeight + (button->IsSeparator() ? 5 : 0);
                x = 0;
                rowHeight = 0;
            }
        }
        CSize expected(width, y + rowHeight);
        if (mode & LM_HORZDOCK)
            EXPECT_EQ(expected, size);
        else
            EXPECT_EQ(expected - CSize(2, 2), size);
    }
}
