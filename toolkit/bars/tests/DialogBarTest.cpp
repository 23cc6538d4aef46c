#include "toolkit/bars/tests/BarsFixture.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkDialogBar.h"
#include "toolkit/bars/TkDockState.h"

namespace {

const UINT kTemplate = 300;
const UINT kEdit = 302;
const UINT kDialogBarId = 0xE850;

class DialogBarTest : public BarsFixture
{
protected:
    TkDialogBar* MakeDialogBar(DWORD style, DWORD exStyle)
    {
        TkDialogBar* bar = new TkDialogBar;
        bar->m_bAutoDelete = TRUE;
        if (!bar->Create(m_frame, kTemplate, style | CBRS_TOP, exStyle, kDialogBarId)) {
            delete bar;
            return NULL;
        }
        bar->EnableDocking(CBRS_ALIGN_ANY);
        return bar;
    }
};

TEST_F(DialogBarTest, SizesComeFromTheTemplateAndVisibilityFromTheStyle)
{
    struct Case
    {
        DWORD style;
        bool visible;
    } cases[] = {{0, false}, {WS_VISIBLE, true}};
    for (const Case& c : cases) {
        TkDialogBar* bar = MakeDialogBar(c.style, 0);
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(c.visible, bar->IsWindowVisible() != FALSE);
        EXPECT_EQ(0u, bar->GetStyle() & WS_CAPTION);
        EXPECT_GT(bar->m_sizeDefault.cx, 0);
        EXPECT_EQ(bar->m_sizeDefault, bar->m_sizeHorz);
        EXPECT_EQ(bar->m_sizeDefault, bar->m_sizeVert);
        EXPECT_EQ(bar->m_sizeDefault, bar->m_sizeFloat);
        EXPECT_EQ(bar, m_frame->GetControlBar(kDialogBarId));
        bar->DestroyWindow();
        PumpMessages();
    }
}

TEST_F(DialogBarTest, ControlsKeepTheirProportions)
{
    TkDialogBar* bar = MakeDialogBar(WS_VISIBLE, TKCBRS_PROPORTIONAL_CHILDREN);
    ASSERT_NE(nullptr, bar);
    CWnd* edit = bar->GetDlgItem(kEdit);
    ASSERT_NE(nullptr, edit);
    CRect before = RectIn(edit, bar);
    CSize size = bar->m_sizeDefault;
    bar->SetWindowPos(NULL, 0, 0, size.cx * 2, size.cy * 2, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    CRect after = RectIn(edit, bar);
    EXPECT_EQ(before.left * 2, after.left);
    EXPECT_EQ(before.right * 2, after.right);
}

TEST_F(DialogBarTest, SavedDialogBarIsMadeAgainFromItsTemplate)
{
    TkDialogBar* bar = MakeDialogBar(WS_VISIBLE, 0);
    ASSERT_NE(nullptr, bar);
    m_frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
    Layout();
    TkDockState saved;
    saved.GetDockState(m_frame);
    saved.SaveState("DialogBar");
    bar->DestroyWindow();
    Layout();
    ASSERT_EQ(nullptr, m_frame->GetControlBar(kDialogBarId));

    TkDockState loaded;
    loaded.LoadState("DialogBar");
    loaded.SetDockState(m_frame);
    Layout();
    CControlBar* made = m_frame->GetControlBar(kDialogBarId);
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(TkDialogBar)));
    EXPECT_NE(nullptr, made->GetDlgItem(kEdit));
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_BOTTOM), made->GetParent());
}

}  // namespace
