// The well button and its popup, driven by posted messages and, where the
// popup's capture matters, by real mouse input. The colour dialog is answered
// from a second thread, as a user would answer it.
#include "toolkit/buttons/tests/ButtonHost.h"

#include "toolkit/buttons/TkWellButton.h"

namespace
{
const UINT kButtonId = 301;
const CSize kButtonSize(80, 24);

class WellButtonTest : public ButtonHostTest
{
protected:
    void SetUp() override
    {
        MakeHost(WS_POPUP, CRect(CPoint(100, 100), CSize(300, 200)));
        ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                    CRect(CPoint(20, 20), kButtonSize), &m_host, kButtonId));
        m_button.SetColor(RGB(0, 0, 128));
        PumpUntilIdle(kButtonsQuietMs);
    }
    // Moves the host so that the button's top-left lands on the screen point.
    void PlaceButtonAt(CPoint screen)
    {
        m_host.SetWindowPos(NULL, screen.x - 20, screen.y - 20, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER);
        PumpUntilIdle(kButtonsQuietMs);
    }
    TkPopupColorWell* OpenPopup()
    {
        const CPoint centre(kButtonSize.cx / 2, kButtonSize.cy / 2);
        PostClick(&m_button, centre, centre);
        EXPECT_EQ("clicked 301", m_host.Notes());
        m_host.m_notes.Clear();
        return m_button.GetOpenPopup();
    }
    CRect ButtonRect()
    {
        CRect rect;
        m_button.GetWindowRect(&rect);
        return rect;
    }

    TkWellButton m_button;
};

TEST_F(WellButtonTest, PopupOpensBesideTheButtonAndTurnsAtTheScreenEdges)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    struct Case
    {
        CPoint buttonAt;
        bool above;
        bool leftward;
    };
    const Case cases[] = {
        {{50, 50}, false, false},
        {{50, cy - 40}, true, false},
        {{cx - 60, 50}, false, true},
        {{cx - 60, cy - 40}, true, true},
    };
    for (const Case& c : cases)
    {
        PlaceButtonAt(c.buttonAt);
        TkPopupColorWell* popup = OpenPopup();
        ASSERT_TRUE(popup) << c.buttonAt.x << "," << c.buttonAt.y;
        EXPECT_EQ(popup->m_hWnd, ::GetCapture());
        const CRect button = ButtonRect();
        CRect place;
        popup->GetWindowRect(&place);
        EXPECT_EQ(c.above ? button.top : button.bottom, c.above ? place.bottom : place.top);
        EXPECT_EQ(c.leftward ? button.right : button.left, c.leftward ? place.right : place.left);
        popup->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        PumpUntilIdle(kButtonsQuietMs);
    }
}

// The popup offers "Other..." (its button 0xEA31) only while the option is on.
TEST_F(WellButtonTest, ThePopupOptionDecidesWhetherOtherIsOffered)
{
    for (BOOL option : {FALSE, TRUE})
    {
        m_button.SetPopupOption(option);
        TkPopupColorWell* popup = OpenPopup();
        ASSERT_TRUE(popup) << option;
        EXPECT_EQ(option != FALSE, ::GetDlgItem(popup->m_hWnd, 0xEA31) != NULL) << option;
        popup->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        PumpUntilIdle(kButtonsQuietMs);
    }
}

TEST_F(WellButtonTest, EnterChoosesTheColourAndTellsTheParentOnce)
{
    const std::vector<COLORREF> colors = StockPaletteColors();
    TkPopupColorWell* popup = OpenPopup();
    ASSERT_TRUE(popup);
    // The popup starts on the button's colour (cell 4) and follows the keys.
    EXPECT_EQ(colors[4], popup->GetColor());
    popup->PostMessage(WM_KEYDOWN, VK_RIGHT, 1);
    popup->PostMessage(WM_KEYDOWN, VK_RETURN, 1);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_FALSE(m_button.GetOpenPopup());
    EXPECT_EQ(colors[5], m_button.GetColor());
    EXPECT_EQ("color 301 " + ColorText(colors[5]), m_host.Notes());
}

TEST_F(WellButtonTest, SpaceReleaseChoosesAndEscapeKeepsTheColour)
{
    const std::vector<COLORREF> colors = StockPaletteColors();
    TkPopupColorWell* popup = OpenPopup();
    ASSERT_TRUE(popup);
    popup->PostMessage(WM_KEYDOWN, VK_DOWN, 1);
    popup->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_FALSE(m_button.GetOpenPopup());
    EXPECT_EQ(RGB(0, 0, 128), m_button.GetColor());
    EXPECT_EQ("", m_host.Notes());

    popup = OpenPopup();
    ASSERT_TRUE(popup);
    popup->PostMessage(WM_KEYDOWN, VK_DOWN, 1);
    popup->PostMessage(WM_KEYDOWN, VK_SPACE, 1);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_TRUE(m_button.GetOpenPopup());
    popup->PostMessage(WM_KEYUP, VK_SPACE, 0xC0000001);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_FALSE(m_button.GetOpenPopup());
    EXPECT_EQ(colors[8], m_button.GetColor());
}

TEST_F(WellButtonTest, ClickingTheButtonWhileOpenNeitherClosesNorReopens)
{
    TkPopupColorWell* popup = OpenPopup();
    ASSERT_TRUE(popup);
    const HWND first = popup->m_hWnd;
    SendClickAt(ButtonRect().CenterPoint());
    EXPECT_EQ(first, popup->m_hWnd);
    EXPECT_TRUE(m_button.GetOpenPopup());
    EXPECT_EQ(first, ::GetCapture());

    // A click elsewhere closes it without a choice and reaches the window there.
    CRect host;
    m_host.GetWindowRect(&host);
    SendClickAt(CPoint(host.right - 10, host.top + 10));
    EXPECT_FALSE(m_button.GetOpenPopup());
    EXPECT_EQ("press " + std::to_string(host.Width() - 10) + ",10", m_host.Notes());
}

TEST_F(WellButtonTest, ClickOnACellOfThePopupChoosesIt)
{
    const std::vector<COLORREF> colors = StockPaletteColors();
    TkPopupColorWell* popup = OpenPopup();
    ASSERT_TRUE(popup);
    CRect place;
    popup->GetWindowRect(&place);
    // The popup's cells start 4 pixels in.
    SendClickAt(CPoint(place.left + 6, place.top + 6));
    EXPECT_FALSE(m_button.GetOpenPopup());
    EXPECT_EQ("color 301 " + ColorText(colors[0]), m_host.Notes());
}

TEST_F(WellButtonTest, OtherOpensTheColourDialogAndItsChoiceReachesTheParent)
{
    TkPopupColorWell* popup = OpenPopup();
    ASSERT_TRUE(popup);
    {
        ColorDialogScript script(RGB(10, 20, 30));
        popup->PostMessage(WM_COMMAND, ID_TKCOLORWELL_OTHER);
        PumpUntilIdle(kButtonsQuietMs);
        EXPECT_FALSE(m_button.GetOpenPopup());
    }
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ(RGB(10, 20, 30), m_button.GetColor());
    EXPECT_EQ("color 301 " + ColorText(RGB(10, 20, 30)), m_host.Notes());

    // Cancel keeps the colour.
    m_host.m_notes.Clear();
    popup = OpenPopup();
    ASSERT_TRUE(popup);
    {
        ColorDialogScript script(0, false);
        popup->PostMessage(WM_COMMAND, ID_TKCOLORWELL_OTHER);
        PumpUntilIdle(kButtonsQuietMs);
    }
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ(RGB(10, 20, 30), m_button.GetColor());
    EXPECT_EQ("", m_host.Notes());
}

TEST_F(WellButtonTest, TabReachesOtherInThePopupAndAPressOnItOpensTheDialog)
{
    TkPopupColorWell* popup = OpenPopup();
    ASSERT_TRUE(popup);
    popup->PostMessage(WM_KEYDOWN, VK_TAB, 1);
    PumpUntilIdle(kButtonsQuietMs);
    CWnd* other = popup->GetDlgItem(ID_TKCOLORWELL_OTHER);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->m_hWnd, ::GetFocus());
    EXPECT_TRUE(m_button.GetOpenPopup());

    CRect place;
    other->GetWindowRect(&place);
    {
        ColorDialogScript script(0, false);
        SendClickAt(place.CenterPoint());
    }
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_FALSE(m_button.GetOpenPopup());
    EXPECT_EQ(RGB(0, 0, 128), m_button.GetColor());
    EXPECT_EQ("", m_host.Notes());
}

TEST_F(WellButtonTest, SwatchShowsTheColourUnlessDisabled)
{
    m_button.SetColor(RGB(200, 30, 60));
    // The swatch starts 3 pixels inside the face; its frame is black.
    const CPoint inside(8, kButtonSize.cy / 2);
    EXPECT_EQ(ColorText(RGB(200, 30, 60)), ColorText(ScreenPixel(&m_button, inside)));
    m_button.EnableWindow(FALSE);
    PumpUntilIdle(kButtonsQuietMs);
    EXPECT_EQ(ColorText(GetSysColor(COLOR_3DFACE)), ColorText(ScreenPixel(&m_button, inside)));
}
}
