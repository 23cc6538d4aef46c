#include "tests/support/TestFramework.h"

#include <afxext.h>

#include "tests/support/Waits.h"

namespace
{
const UINT kButtonId = 320;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);

class BitmapButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "buttons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      300, 200, NULL, NULL));
        // The caption names the images, as in a dialog template.
        ASSERT_TRUE(CreateWindowExA(0, "BUTTON", "PLAY", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10,
                                    10, 50, 30, m_parent.m_hWnd, (HMENU)(UINT_PTR)kButtonId, NULL,
                                    NULL));
        PumpMessages();
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    COLORREF PixelAt(int x, int y)
    {
        m_button.UpdateWindow();
        HDC dc = ::GetDC(m_button.m_hWnd);
        COLORREF pixel = GetPixel(dc, x, y);
        ::ReleaseDC(m_button.m_hWnd, dc);
        return pixel;
    }

    CWnd m_parent;
    CBitmapButton m_button;
};

TEST_F(BitmapButtonTest, AutoLoadSizesToTheImageAndDrawsEachState)
{
    ASSERT_TRUE(m_button.AutoLoad(kButtonId, &m_parent));
    CRect client;
    m_button.GetClientRect(&client);
    EXPECT_EQ(CSize(8, 8), client.Size());

    struct Case
    {
        const char* step;
        UINT message;
        WPARAM wParam;
        COLORREF colour;
    };
    const Case cases[] = {
        {"up", 0, 0, kRed},
        {"pressed", BM_SETSTATE, TRUE, kBlue},
        {"released", BM_SETSTATE, FALSE, kRed},
        {"disabled", WM_ENABLE, FALSE, kGrey},
    };
    for (const Case& c : cases)
    {
        if (c.message == WM_ENABLE)
            m_button.EnableWindow((BOOL)c.wParam);
        else if (c.message)
            m_button.SendMessage(c.message, c.wParam);
        EXPECT_EQ(c.colour, PixelAt(0, 0)) << c.step;
        EXPECT_EQ(c.colour, PixelAt(7, 7)) << c.step;
    }
}

TEST_F(BitmapButtonTest, MissingImagesFallBackToTheUpImage)
{
    ASSERT_TRUE(m_button.SubclassDlgItem(kButtonId, &m_parent));
    EXPECT_TRUE(m_button.LoadBitmaps("PLAYU"));
    m_button.SizeToContent();
    m_button.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(kRed, PixelAt(3, 3));
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(kRed, PixelAt(3, 3));
}

TEST_F(BitmapButtonTest, LoadFailsWhenANamedImageIsMissing)
{
    struct Case
    {
        const char* up;
        const char* down;
        BOOL loaded;
    };
    const Case cases[] = {
        {"PLAYU", "PLAYD", TRUE},
        {"PLAYU", "NOSUCH", FALSE},
        {"NOSUCH", "PLAYD", FALSE},
        {NULL, "PLAYD", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.loaded, m_button.LoadBitmaps(c.up, c.down)) << (c.up ? c.up : "no up");
}
}
