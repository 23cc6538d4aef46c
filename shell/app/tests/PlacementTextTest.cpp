#include "tests/support/TestFramework.h"

#include "shell/app/OpenRequest.h"
#include "shell/app/WindowPlacementText.h"

#include <string>

namespace
{
std::string RectText(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}
}

TEST(PlacementTextTest, ProfileRectanglesReadFourNumbersWhereverTheyStand)
{
    const struct
    {
        const char* text;
        const char* rect; // null: refused, the rectangle untouched
    } cases[] = {
        { "0    0    800  638  ", "0,0,800,638" },
        { "0010 0020 0810 0658", "10,20,810,658" },
        // Left of the first monitor and beyond it: wider than the fixed fields.
        { "-1000 0050 -0200 0650", "-1000,50,-200,650" },
        { "10000 0000 10800 0600", "10000,0,10800,600" },
        { "  5\t6 7 8 trailing", "5,6,7,8" },
        { "", nullptr },
        { "garbage", nullptr },
        { "1 2 3", nullptr },
        { "1 2 x 4", nullptr },
        { "99999999999 0 1 1", nullptr },
    };
    for (const auto& c : cases)
    {
        RECT rect = { 1, 2, 3, 4 };
        BOOL parsed = ParseProfileRect(c.text, rect);
        EXPECT_EQ(c.rect != nullptr, parsed != FALSE) << c.text;
        EXPECT_EQ(c.rect ? c.rect : "1,2,3,4", RectText(rect)) << c.text;
    }
    RECT rect = { 1, 2, 3, 4 };
    EXPECT_FALSE(ParseProfileRect(nullptr, rect));
}

TEST(PlacementTextTest, RectanglesAreWrittenInFieldsOfFour)
{
    EXPECT_EQ("0010 0000 0800 0638", std::string(FormatProfileRect(CRect(10, 0, 800, 638))));
    EXPECT_EQ("-100 0000 10000 0638", std::string(FormatProfileRect(CRect(-100, 0, 10000, 638))));
    RECT back = {};
    ASSERT_TRUE(ParseProfileRect(FormatProfileRect(CRect(-1000, -5, 10000, 20000)), back));
    EXPECT_EQ("-1000,-5,10000,20000", RectText(back));
}

TEST(PlacementTextTest, TheMainFrameIsAtLeast150PixelsEachWay)
{
    const struct
    {
        RECT saved;
        const char* placed;
    } cases[] = {
        { { 0, 0, 800, 638 }, "0,0,800,638" },
        { { 10, 20, 110, 638 }, "10,20,160,638" },
        { { 10, 20, 800, 100 }, "10,20,800,170" },
        { { 0, 0, 150, 150 }, "0,0,150,150" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.placed, RectText(MinimumFrameRect(c.saved))) << RectText(c.saved);
}

TEST(PlacementTextTest, DockedWindowsStayBetween67PixelsAndTheFrameLess100)
{
    const CRect frame(0, 0, 800, 638);
    const struct
    {
        RECT saved;
        const char* placed;
    } cases[] = {
        { { 0, 0, 270, 500 }, "0,0,270,500" },
        { { 0, 0, 10, 20 }, "0,0,67,67" },
        // As large as the frame: 100 pixels smaller both ways.
        { { 0, 0, 800, 638 }, "0,0,700,538" },
        { { 50, 40, 1000, 900 }, "50,40,750,578" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.placed, RectText(FitDockRect(c.saved, frame))) << RectText(c.saved);
}

TEST(PlacementTextTest, ShowStatesBecomeIconAndMax)
{
    const struct
    {
        UINT showCmd;
        UINT flags;
        int icon;
        int max;
    } cases[] = {
        { SW_SHOWNORMAL, 0, 0, 0 },
        { SW_SHOWMAXIMIZED, 0, 0, 1 },
        { SW_SHOWMINIMIZED, 0, 1, 0 },
        { SW_SHOWMINIMIZED, WPF_RESTORETOMAXIMIZED, 1, 1 },
        { SW_HIDE, 0, 0, 0 },
    };
    for (const auto& c : cases)
    {
        WINDOWPLACEMENT placement = { sizeof(placement) };
        placement.showCmd = c.showCmd;
        placement.flags = c.flags;
        PlacementState state = PlacementStateOf(placement);
        EXPECT_EQ(c.icon, state.icon) << c.showCmd;
        EXPECT_EQ(c.max, state.max) << c.showCmd;
    }
}

TEST(PlacementTextTest, OpenRequestsGiveTheirPath)
{
    const struct
    {
        const char* text;
        const char* path; // null: no request
    } cases[] = {
        { "[open(\"C:\\Music\\a.pla\")]", "C:\\Music\\a.pla" },
        // Text before the request is not part of the path.
        { "junk[open(\"C:\\b.pla\")]", "C:\\b.pla" },
        // Unterminated: up to the end.
        { "[open(\"C:\\c.pla", "C:\\c.pla" },
        { "[open(\"", "" },
        { "[print(\"C:\\d.pla\")]", nullptr },
        { "", nullptr },
    };
    for (const auto& c : cases)
    {
        CString path = "before";
        BOOL found = ExtractOpenPath(c.text, path);
        EXPECT_EQ(c.path != nullptr, found != FALSE) << c.text;
        EXPECT_EQ(c.path ? c.path : "before", std::string(path)) << c.text;
    }
    EXPECT_EQ("[open(\"Z:\\tmp\\rel.pla\")]", std::string(FormatOpenRequest("Z:\\tmp\\rel.pla")));
}
