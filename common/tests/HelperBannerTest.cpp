// The banner's gradient bands and the strip it paints, read back as pixels
// from a memory bitmap.
#include "tests/support/TestFramework.h"

#include "common/HelperBanner.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// A memory bitmap, white, to draw into.
class CCanvas
{
public:
    CCanvas(int width, int height)
    {
        CClientDC screen(nullptr);
        m_dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, width, height);
        m_old = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, width, height, kWhite);
    }
    ~CCanvas() { m_dc.SelectObject(m_old); }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

    CDC m_dc;

private:
    CBitmap m_bitmap;
    CBitmap* m_old;
};

struct GradientCase
{
    int width, height;
    BOOL horizontal;
    // Pixels along the gradient and the colour each shows.
    std::vector<std::pair<int, COLORREF>> probes;
};

// From black to RGB(126, 63, 252): band k of 64 is RGB(2k, k, 4k).
COLORREF Band(int k)
{
    return RGB(2 * k, k, 4 * k);
}

TEST(FillGradientTest, BandsFollowTheExtentBetweenTwoAndSixtyFour)
{
    const GradientCase cases[] = {
        // 500 pixels: 64 bands of 7, the last reaching the far edge.
        {18, 500, FALSE, {{0, Band(0)}, {6, Band(0)}, {7, Band(1)}, {440, Band(62)}, {441, Band(63)},
                          {499, Band(63)}}},
        {300, 10, TRUE, {{0, Band(0)}, {3, Band(0)}, {4, Band(1)}, {251, Band(62)}, {252, Band(63)},
                         {299, Band(63)}}},
        // One pixel: two bands, the first empty.
        {18, 1, FALSE, {{0, RGB(126, 63, 252)}}},
    };
    for (const GradientCase& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        CCanvas canvas(c.width + 2, c.height + 2);
        FillGradient(&canvas.m_dc, CRect(0, 0, c.width, c.height), RGB(0, 0, 0), RGB(126, 63, 252),
                     c.horizontal);
        for (const auto& probe : c.probes)
        {
            int x = c.horizontal ? probe.first : c.width / 2;
            int y = c.horizontal ? c.height / 2 : probe.first;
            EXPECT_EQ(probe.second, canvas.At(x, y)) << "at " << probe.first;
        }
        EXPECT_EQ(kWhite, canvas.At(c.width, c.height / 2)) << "nothing beyond the right edge";
        EXPECT_EQ(kWhite, canvas.At(c.width / 2, c.height)) << "nothing below the bottom";
    }
}

TEST(FillGradientTest, AnEmptyRectangleDrawsNothing)
{
    CCanvas canvas(10, 10);
    FillGradient(&canvas.m_dc, CRect(2, 2, 2, 8), RGB(0, 0, 0), RGB(0, 0, 0), FALSE);
    FillGradient(&canvas.m_dc, CRect(2, 2, 8, 2), RGB(0, 0, 0), RGB(0, 0, 0), TRUE);
    EXPECT_EQ(kWhite, canvas.At(2, 2));
}

class HelperBannerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     0, 0, 200, 300, NULL, NULL));
        m_owner.GetClientRect(&m_client);
        m_banner.SetText("Tasks");
    }
    void TearDown() override { m_owner.DestroyWindow(); }
    CRect UpdateRect()
    {
        CRect update;
        ::GetUpdateRect(m_owner.m_hWnd, &update, FALSE);
        return update;
    }

    CWnd m_owner;
    CRect m_client;
    CHelperBanner m_banner{&m_owner};
};

TEST_F(HelperBannerTest, AHiddenBannerTakesNoWidthAndDrawsNothing)
{
    EXPECT_EQ(0, m_banner.GetWidth());
    CCanvas canvas(m_client.Width(), m_client.Height());
    m_banner.Draw(&canvas.m_dc, m_client);
    EXPECT_EQ(kWhite, canvas.At(2, 2));
    m_banner.Show(TRUE);
    EXPECT_EQ(16, m_banner.GetWidth());
}

TEST_F(HelperBannerTest, ActivatingRepaintsOnlyTheStrip)
{
    m_banner.Show(TRUE);
    m_owner.ValidateRect(NULL);
    m_banner.SetActive(TRUE);
    EXPECT_EQ(CRect(0, 0, 17, m_client.Height() - 1), UpdateRect());
    m_owner.ValidateRect(NULL);
    m_banner.SetActive(TRUE);
    EXPECT_TRUE(UpdateRect().IsRectEmpty()) << "no change, no repaint";
}

TEST_F(HelperBannerTest, TheStripShowsTheGradientOfItsState)
{
    m_banner.Show(TRUE);
    m_owner.ValidateRect(NULL);
    struct Look
    {
        BOOL active;
        COLORREF top;
    };
    for (const Look& look : {Look{FALSE, RGB(0x7B, 0x9E, 0xC6)}, Look{TRUE, RGB(0xC6, 0x9E, 0xC6)}})
    {
        m_banner.SetActive(look.active);
        CCanvas canvas(m_client.Width(), m_client.Height());
        m_banner.Draw(&canvas.m_dc, m_client);
        EXPECT_EQ(look.top, canvas.At(1, 1));
        EXPECT_EQ(kWhite, canvas.At(17, 1)) << "the strip ends at 17";
        EXPECT_TRUE(UpdateRect().IsRectEmpty()) << "drawing validates the strip";
    }
    CCanvas outside(m_client.Width(), m_client.Height());
    m_banner.Draw(&outside.m_dc, CRect(40, 0, 100, 50));
    EXPECT_EQ(kWhite, outside.At(1, 1)) << "an update away from the strip draws nothing";
}

} // namespace
