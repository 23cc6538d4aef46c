#include "tests/support/TestFramework.h"

#include <afxwin.h>

namespace
{
::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected)
{
    if (EqualRect(&actual, &expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.left << "," << actual.top << "," << actual.right << ","
           << actual.bottom << ") instead of (" << expected.left << "," << expected.top << ","
           << expected.right << "," << expected.bottom << ")";
}

struct CombineCase
{
    const char* name;
    RECT a;
    RECT b;
    RECT intersection;
    BOOL intersects;
    RECT unionRect;
};

// Rectangles that share nothing, touch at an edge, overlap, nest, or have no area.
const CombineCase kCombineCases[] = {
    { "overlap", { 0, 0, 10, 10 }, { 5, 5, 20, 20 }, { 5, 5, 10, 10 }, TRUE, { 0, 0, 20, 20 } },
    { "apart", { 0, 0, 10, 10 }, { 20, 20, 30, 30 }, { 0, 0, 0, 0 }, FALSE, { 0, 0, 30, 30 } },
    { "edge", { 0, 0, 10, 10 }, { 10, 0, 20, 10 }, { 0, 0, 0, 0 }, FALSE, { 0, 0, 20, 10 } },
    { "nested", { 0, 0, 100, 50 }, { 10, 10, 20, 20 }, { 10, 10, 20, 20 }, TRUE,
      { 0, 0, 100, 50 } },
    // An empty rectangle adds nothing to a union.
    { "empty", { 0, 0, 10, 10 }, { 50, 50, 50, 60 }, { 0, 0, 0, 0 }, FALSE, { 0, 0, 10, 10 } },
    { "negative", { -20, -20, -10, -5 }, { -15, -30, 5, -10 }, { -15, -20, -10, -10 }, TRUE,
      { -20, -30, 5, -5 } },
};

TEST(RectTest, IntersectAndUnion)
{
    for (const CombineCase& c : kCombineCases)
    {
        SCOPED_TRACE(c.name);
        CRect a(c.a), b(c.b);
        CRect intersection(1, 2, 3, 4);
        EXPECT_EQ(c.intersects, intersection.IntersectRect(a, b));
        EXPECT_TRUE(SameRect(intersection, c.intersection));
        EXPECT_TRUE(SameRect(a & b, c.intersection));
        EXPECT_TRUE(SameRect(b & a, c.intersection));

        CRect unionRect;
        unionRect.UnionRect(a, b);
        EXPECT_TRUE(SameRect(unionRect, c.unionRect));
        EXPECT_TRUE(SameRect(a | b, c.unionRect));
        CRect accumulated(a);
        accumulated |= b;
        EXPECT_TRUE(SameRect(accumulated, c.unionRect));
    }
}

struct ChangeCase
{
    const char* name;
    void (*change)(CRect& rect);
    RECT expected;
};

const ChangeCase kChangeCases[] = {
    { "inflate", [](CRect& r) { r.InflateRect(2, 3); }, { 8, 17, 42, 63 } },
    { "inflate sides", [](CRect& r) { r.InflateRect(1, 2, 3, 4); }, { 9, 18, 43, 64 } },
    { "inflate by rect",
      [](CRect& r) {
          RECT by = { 1, 2, 3, 4 };
          r.InflateRect(&by);
      },
      { 9, 18, 43, 64 } },
    { "deflate", [](CRect& r) { r.DeflateRect(2, 3); }, { 12, 23, 38, 57 } },
    { "deflate size", [](CRect& r) { r.DeflateRect(CSize(1, 1)); }, { 11, 21, 39, 59 } },
    { "deflate sides", [](CRect& r) { r.DeflateRect(1, 2, 3, 4); }, { 11, 22, 37, 56 } },
    // Deflating past the middle turns the rectangle inside out: nothing clamps it.
    { "deflate past", [](CRect& r) { r.DeflateRect(20, 0); }, { 30, 20, 20, 60 } },
    { "offset", [](CRect& r) { r.OffsetRect(-10, 5); }, { 0, 25, 30, 65 } },
    { "offset point", [](CRect& r) { r.OffsetRect(CPoint(1, 2)); }, { 11, 22, 41, 62 } },
    { "plus point", [](CRect& r) { r = r + CPoint(5, 5); }, { 15, 25, 45, 65 } },
    { "minus size", [](CRect& r) { r -= CSize(10, 20); }, { 0, 0, 30, 40 } },
    { "set", [](CRect& r) { r.SetRect(1, 2, 3, 4); }, { 1, 2, 3, 4 } },
    { "set empty", [](CRect& r) { r.SetRectEmpty(); }, { 0, 0, 0, 0 } },
    { "move corner", [](CRect& r) { r.BottomRight() = CPoint(100, 200); }, { 10, 20, 100, 200 } },
    { "move origin", [](CRect& r) { r.TopLeft().Offset(5, 5); }, { 15, 25, 40, 60 } },
    { "normalize kept", [](CRect& r) { r.NormalizeRect(); }, { 10, 20, 40, 60 } },
    { "normalize swapped",
      [](CRect& r) {
          r.SetRect(40, 60, 10, 20);
          r.NormalizeRect();
      },
      { 10, 20, 40, 60 } },
    { "normalize one axis",
      [](CRect& r) {
          r.SetRect(10, 60, 40, 20);
          r.NormalizeRect();
      },
      { 10, 20, 40, 60 } },
};

TEST(RectTest, Changes)
{
    for (const ChangeCase& c : kChangeCases)
    {
        SCOPED_TRACE(c.name);
        CRect rect(10, 20, 40, 60);
        c.change(rect);
        EXPECT_TRUE(SameRect(rect, c.expected));
    }
}

TEST(RectTest, Measures)
{
    CRect rect(10, 20, 40, 61);
    EXPECT_EQ(30, rect.Width());
    EXPECT_EQ(41, rect.Height());
    EXPECT_EQ(CSize(30, 41), rect.Size());
    EXPECT_EQ(CPoint(10, 20), rect.TopLeft());
    EXPECT_EQ(CPoint(40, 61), rect.BottomRight());
    EXPECT_EQ(CPoint(25, 40), rect.CenterPoint());
    // The corners are the rectangle's own fields.
    EXPECT_EQ(&rect.left, &rect.TopLeft().x);
    EXPECT_EQ(&rect.bottom, &rect.BottomRight().y);

    // Left and top edges are inside, right and bottom edges are not.
    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(rect.PtInRect(CPoint(39, 60)));
    EXPECT_FALSE(rect.PtInRect(CPoint(40, 30)));
    EXPECT_FALSE(rect.PtInRect(CPoint(20, 61)));

    EXPECT_FALSE(rect.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 4, 10).IsRectEmpty());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_FALSE(CRect(5, 5, 5, 5).IsRectNull());
}

TEST(RectTest, ConvertsToWin32Rectangles)
{
    CRect rect(1, 2, 3, 4);
    LPRECT writable = rect;
    LPCRECT readable = rect;
    EXPECT_EQ(static_cast<RECT*>(&rect), writable);
    EXPECT_EQ(static_cast<const RECT*>(&rect), readable);
    SetRect(rect, 5, 6, 7, 8);
    EXPECT_TRUE(SameRect(rect, CRect(5, 6, 7, 8)));
    EXPECT_TRUE(rect == CRect(CPoint(5, 6), CSize(2, 2)));
    EXPECT_TRUE(rect != CRect(CPoint(5, 6), CPoint(7, 9)));
}

TEST(PointTest, ArithmeticAndPackedParameters)
{
    CPoint point(10, 20);
    EXPECT_EQ(CSize(7, 15), point - CPoint(3, 5));
    EXPECT_EQ(CPoint(13, 25), point + CSize(3, 5));
    EXPECT_EQ(CPoint(-10, -20), -point);
    point += CPoint(1, 1);
    point -= CSize(2, 3);
    EXPECT_EQ(CPoint(9, 18), point);

    // Mouse messages pack signed 16-bit coordinates.
    EXPECT_EQ(CPoint(-5, 300), CPoint((DWORD)MAKELPARAM(-5, 300)));
    EXPECT_EQ(CSize(640, -1), CSize((DWORD)MAKELONG(640, -1)));
    EXPECT_EQ(CSize(3, 4), CSize(1, 1) + CSize(2, 3));
}
}
