#include "toolkit/buttons/tests/ButtonHost.h"

#include "toolkit/buttons/TkOwnerDrawButton.h"

namespace
{
const UINT kButtonId = 101;
const UINT kOtherId = 102;

// Counts its clicks and shows a black block in its face, so that the
// disabled look has something to emboss.
class CProbeButton : public TkOwnerDrawButton
{
public:
    static const CRect kBlock;
    void OnClicked() override { m_clicks++; }
    void DrawContent(CDC* dc, const CRect& content, UINT) override
    {
        CRect block(kBlock);
        block.OffsetRect(content.TopLeft());
        dc->FillSolidRect(block, RGB(0, 0, 0));
        m_content = content;
    }
    int m_clicks = 0;
    CRect m_content;
};
const CRect CProbeButton::kBlock(6, 4, 16, 12);

class OwnerDrawButtonTest : public ButtonHostTest
{
protected:
    void SetUp() override
    {
        MakeHost(WS_OVERLAPPEDWINDOW, CRect(CPoint(40, 40), CSize(300, 200)));
        ASSERT_TRUE(m_other.Create("Other", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   CRect(150, 10, 250, 40), &m_host, kOtherId));
        PumpUntilIdle(kButtonsQuietMs);
    }
    void MakeButton(UINT flags, DWORD style = WS_VISIBLE)
    {
        ASSERT_TRUE(m_button.Create("Go", WS_CHILD | style | BS_PUSHBUTTON, CRect(10, 10, 110, 40),
                                    &m_host, kButtonId, flags));
        PumpUntilIdle(kButtonsQuietMs);
    }

    CButton m_other;
    CProbeButton m_button;
};

TEST_F(OwnerDrawButtonTest, IsOwnerDrawnWhateverStyleItIsGiven)
{
    MakeButton(0);
    EXPECT_EQ((UINT)BS_OWNERDRAW, m_button.GetButtonStyle() & BS_TYPEMASK);
    m_button.SetButtonStyle(BS_DEFPUSHBUTTON);
    EXPECT_EQ((UINT)BS_OWNERDRAW, m_button.GetButtonStyle() & BS_TYPEMASK);
}

TEST_F(OwnerDrawButtonTest, ReportsDefaultPushButtonOnlyWhileFocusedWithTheFlag)
{
    struct Case
    {
        UINT flags;
        bool focused;
        LRESULT code;
    };
    const Case cases[] = {
        {0, true, DLGC_BUTTON},
        {0, false, DLGC_BUTTON},
        {TkOwnerDrawButton::kDefaultButton, true, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {TkOwnerDrawButton::kDefaultButton, false, DLGC_BUTTON},
    };
    for (const Case& c : cases)
    {
        MakeButton(c.flags);
        if (c.focused)
            m_button.SetFocus();
        else
            m_other.SetFocus();
        EXPECT_EQ(c.code, m_button.SendMessage(WM_GETDLGCODE)) << c.flags << " " << c.focused;
        m_button.DestroyWindow();
    }
}

TEST_F(OwnerDrawButtonTest, SpaceAndClickFireOnceAndAReleaseOutsideNotAtAll)
{
    MakeButton(0);
    PostClick(&m_button, CPoint(20, 10), CPoint(20, 10));
    EXPECT_EQ(1, m_button.m_clicks);
    EXPECT_EQ("clicked 101", m_host.Notes());

    m_host.m_notes.Clear();
    PostClick(&m_button, CPoint(20, 10), CPoint(200, 10));
    EXPECT_EQ(1, m_button.m_clicks);
    EXPECT_EQ("", m_host.Notes());

    m_button.SetFocus();
    PostKey(&m_button, VK_SPACE);
    EXPECT_EQ(2, m_button.m_clicks);
    EXPECT_EQ("clicked 101", m_host.Notes());

    // A Space release without a press before it clicks nothing.
    m_button.PostMessage(WM_KEYUP, VK_SPACE, 0xC0000001);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ(2, m_button.m_clicks);
}

TEST_F(OwnerDrawButtonTest, DisabledFaceIsEmbossedInShadowAndHighlight)
{
    MakeButton(0, WS_VISIBLE | WS_DISABLED);
    m_button.Invalidate();
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    CRect block(CProbeButton::kBlock);
    ScreenPixel(&m_button, CPoint(0, 0));
    block.OffsetRect(m_button.m_content.TopLeft());
    EXPECT_EQ(ColorText(shadow), ColorText(ScreenPixel(&m_button, block.TopLeft())));
    EXPECT_EQ(ColorText(shadow), ColorText(ScreenPixel(&m_button, block.CenterPoint())));
    // The highlight copy lies one pixel right and down of the shadow.
    EXPECT_EQ(ColorText(highlight),
              ColorText(ScreenPixel(&m_button, CPoint(block.right, block.bottom))));
    EXPECT_EQ(ColorText(face),
              ColorText(ScreenPixel(&m_button, CPoint(block.right + 2, block.top))));

    m_button.EnableWindow(TRUE);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ(ColorText(RGB(0, 0, 0)), ColorText(ScreenPixel(&m_button, block.CenterPoint())));
}
}
