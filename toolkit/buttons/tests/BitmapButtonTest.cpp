#include "toolkit/buttons/tests/ButtonHost.h"

#include "toolkit/buttons/TkMenuButton.h"

namespace
{
const UINT kButtonId = 401;
// Block.bmp: 12 x 10 pixels, all black.
const UINT kBlockBitmap = 23100;

// Shows the button's layout.
class CBitmapProbe : public TkBitmapButton
{
public:
    using TkOwnerDrawButton::ContentRect;
    CRect Image() const { return m_rcImage; }
    CRect Text() const { return m_rcText; }
};

class CMenuProbe : public TkMenuButton
{
public:
    int ImagePosition() const { return m_nImagePosition; }
};

class BitmapButtonTest : public ButtonHostTest
{
protected:
    void SetUp() override
    {
        MakeHost(WS_POPUP, CRect(CPoint(100, 100), CSize(300, 200)));
    }
};

TEST_F(BitmapButtonTest, ImageAndTextAreLaidOutByPositionAndClippedToTheButton)
{
    struct Case
    {
        int position;
        CSize size;
        CRect image;
        CRect text;
    };
    // The layout uses the client less 3 pixels at right and bottom: 97 x 37.
    const Case cases[] = {
        {TkBitmapButton::kImageLeft, {100, 40}, {5, 13, 17, 23}, {18, 0, 97, 37}},
        {TkBitmapButton::kImageRight, {100, 40}, {80, 13, 92, 23}, {0, 0, 79, 37}},
        {TkBitmapButton::kImageAbove, {100, 40}, {42, 5, 54, 15}, {0, 16, 97, 37}},
        {TkBitmapButton::kImageBelow, {100, 40}, {42, 22, 54, 32}, {0, 0, 97, 21}},
        {TkBitmapButton::kImageOnly, {100, 40}, {42, 13, 54, 23}, {0, 0, 0, 0}},
        // A picture larger than the button keeps inside it.
        {TkBitmapButton::kImageOnly, {10, 8}, {0, 0, 7, 5}, {0, 0, 0, 0}},
        {TkBitmapButton::kImageLeft, {14, 8}, {5, 0, 11, 5}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        CBitmapProbe button;
        ASSERT_TRUE(button.Create("Go", WS_CHILD | WS_VISIBLE, c.position,
                                  MAKEINTRESOURCE(kBlockBitmap), CRect(CPoint(10, 10), c.size),
                                  &m_host, kButtonId));
        EXPECT_EQ(c.image, button.Image()) << c.position << " " << c.size.cx;
        EXPECT_EQ(c.text, button.Text()) << c.position << " " << c.size.cx;
        // The picture shows at its place inside the frame.
        const CRect content = button.ContentRect(CRect(CPoint(0, 0), c.size), 0);
        const CPoint corner = c.image.TopLeft() + content.TopLeft();
        EXPECT_EQ(ColorText(RGB(0, 0, 0)), ColorText(ScreenPixel(&button, corner)))
            << c.position << " " << c.size.cx;
        button.DestroyWindow();
    }
}

TEST_F(BitmapButtonTest, MissingBitmapFailsTheCreation)
{
    CBitmapProbe button;
    EXPECT_FALSE(button.Create("Go", WS_CHILD | WS_VISIBLE, TkBitmapButton::kImageLeft,
                               MAKEINTRESOURCE(23199), CRect(10, 10, 90, 40), &m_host,
                               kButtonId));
    EXPECT_FALSE(button.m_hWnd);
}

class MenuButtonTest : public BitmapButtonTest
{
protected:
    void SetUp() override
    {
        BitmapButtonTest::SetUp();
        m_menu = CreatePopupMenu();
        AppendMenuA(m_menu, MF_STRING, 501, "First");
        AppendMenuA(m_menu, MF_STRING, 502, "Second");
    }
    void TearDown() override
    {
        BitmapButtonTest::TearDown();
        DestroyMenu(m_menu);
    }
    // Opens the menu by a click and closes it again from its idle time;
    // answers where it opened.
    CPoint OpenAndClose()
    {
        CPoint where(-1, -1);
        m_host.m_onMenuIdle = [&where]() {
            HWND popup = FindWindowA("#32768", NULL);
            CRect rect;
            if (popup && ::GetWindowRect(popup, &rect))
                where = rect.TopLeft();
            EndMenu();
        };
        PostClick(&m_button, CPoint(5, 5), CPoint(5, 5));
        return where;
    }
    CRect ButtonRect()
    {
        CRect rect;
        m_button.GetWindowRect(&rect);
        return rect;
    }

    HMENU m_menu = NULL;
    CMenuProbe m_button;
};

TEST_F(MenuButtonTest, MenuDropsBelowOrBesideAndTheArrowMakesTheImage)
{
    struct Case
    {
        const char* text;
        BOOL dropRight;
        int position;
    };
    const Case cases[] = {
        {"", FALSE, TkBitmapButton::kImageOnly},
        {"Pick", TRUE, TkBitmapButton::kImageRight},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(m_button.Create(c.text, WS_CHILD | WS_VISIBLE, m_menu, c.dropRight,
                                    CRect(20, 20, 100, 44), &m_host, kButtonId));
        EXPECT_EQ(c.position, m_button.ImagePosition());
        const CRect button = ButtonRect();
        const CPoint expected =
            c.dropRight ? CPoint(button.right, button.top) : CPoint(button.left, button.bottom);
        EXPECT_EQ(expected, OpenAndClose()) << c.text;
        m_button.DestroyWindow();
        // The menu was only lent to the button.
        EXPECT_TRUE(IsMenu(m_menu));
    }
}

TEST_F(MenuButtonTest, TheClickThatClosesTheMenuDoesNotOpenItAgain)
{
    ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE, m_menu, FALSE,
                                CRect(20, 20, 100, 44), &m_host, kButtonId));
    // Keep the cursor off the menu, where a click only closes it.
    const CRect host = ButtonRect();
    SetCursorPos(host.right + 150, host.top - 50);
    int opened = 0;
    m_host.m_onMenuIdle = [this, &opened]() {
        if (++opened > 1)
        {
            EndMenu();
            return;
        }
        m_button.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        m_button.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    PostClick(&m_button, CPoint(5, 5), CPoint(5, 5));
    EXPECT_EQ(1, opened);
    EXPECT_EQ("clicked 401", m_host.Notes());
}
}
