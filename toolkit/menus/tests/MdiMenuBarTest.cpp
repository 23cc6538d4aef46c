// The MDI menu bar's caption buttons: a maximised child's icon first and its
// caption boxes last, their system commands, and that neither is saved,
// moved or deleted with the bar's buttons.
#include "tests/support/TestFramework.h"

#include "toolkit/menus/tests/MenuHost.h"
#include "toolkit/menus/tests/MenuTest.h"

#include "toolkit/bars/TkDockState.h"
#include "toolkit/toolbars/TkCustomToolBarInfoEx.h"

#include <functional>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> g_childCommands;

// Notes the system commands it gets instead of carrying them out.
class CRecordingChild : public CMDIChildWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) != SC_KEYMENU &&
            (wParam & 0xFFF0) != SC_MOUSEMENU)
        {
            char text[16];
            wsprintfA(text, "%04X", (UINT)(wParam & 0xFFF0));
            g_childCommands.push_back(text);
            return 0;
        }
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};

std::vector<std::string> g_seen;
CMenuHostFrame* g_frame;

class MdiMenuBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_childCommands.clear();
        g_seen.clear();
        g_frame = new CMenuHostFrame;
        ASSERT_TRUE(g_frame->Make({IDR_MENUHOST}));
    }
    void TearDown() override
    {
        g_frame->DestroyWindow();
        AfxGetApp()->m_pMainWnd = NULL;
        PumpIdle();
    }
    TkMDIMenuBar& Bar() { return g_frame->m_menuBar; }
    CRecordingChild* MakeChild(DWORD style)
    {
        CRecordingChild* child = new CRecordingChild;
        child->Create(NULL, "Child", WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 200, 150),
                      g_frame);
        // The MDI client gives every child all caption boxes.
        child->ModifyStyle(WS_OVERLAPPEDWINDOW & ~style, 0);
        return child;
    }
    void Maximise(CMDIChildWnd* child)
    {
        g_frame->MDIMaximize(child);
        Bar().UpdateCaptionButtons(FALSE);
        g_frame->RecalcLayout();
        PumpIdle();
    }
public:
    CPoint BoxCentre(int box)
    {
        CRect rect = Bar().GetCaptionGroup()->BoxRect(box);
        Bar().ClientToScreen(&rect);
        return rect.CenterPoint();
    }
};

TEST_F(MdiMenuBarTest, AMaximisedChildShowsItsIconFirstAndItsBoxesLast)
{
    CRecordingChild* child = MakeChild(WS_OVERLAPPEDWINDOW);
    HICON first = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    child->SetIcon(first, TRUE);
    PumpIdle();
    EXPECT_TRUE(Bar().GetIconButton()->IsHidden());
    EXPECT_TRUE(Bar().GetCaptionGroup()->IsHidden());
    Maximise(child);
    EXPECT_EQ(Bar().GetIconButton(), Bar().GetButton(0));
    EXPECT_EQ(Bar().GetCaptionGroup(), Bar().GetButton(Bar().GetCount() - 1));
    EXPECT_FALSE(Bar().GetIconButton()->IsHidden());
    EXPECT_FALSE(Bar().GetCaptionGroup()->IsHidden());
    EXPECT_EQ(first, Bar().GetIconButton()->m_hIcon);
    EXPECT_EQ((DWORD)kTkCaptionStyles, Bar().GetCaptionGroup()->m_dwStyleMirror);
    // The caption group stands at the bar's far end.
    CRect bar;
    Bar().GetClientRect(&bar);
    EXPECT_GT(Bar().GetCaptionGroup()->GetRect().left, bar.Width() / 2);
    // A new icon is taken at the next update; nothing else changed.
    HICON second = ::LoadIconA(NULL, (LPCSTR)IDI_QUESTION);
    child->SetIcon(second, TRUE);
    EXPECT_FALSE(Bar().UpdateCaptionButtons(FALSE));
    EXPECT_EQ(second, Bar().GetIconButton()->m_hIcon);
    g_frame->MDIRestore(child);
    EXPECT_TRUE(Bar().UpdateCaptionButtons(FALSE));
    EXPECT_TRUE(Bar().GetIconButton()->IsHidden());
    EXPECT_TRUE(Bar().GetCaptionGroup()->IsHidden());
    EXPECT_FALSE(Bar().UpdateCaptionButtons(FALSE));
}

// A change of the active mask also brings the caption buttons up to date, and
// tells whether that changed which of them show.
TEST_F(MdiMenuBarTest, AMaskChangeAlsoUpdatesTheCaptionButtons)
{
    CRecordingChild* child = MakeChild(WS_OVERLAPPEDWINDOW);
    PumpIdle();
    auto menusShown = [] {
        int shown = 0;
        for (int i = 0; i < g_frame->m_menuBar.GetCount(); i++) {
            TkStdBtn* button = g_frame->m_menuBar.GetButton(i);
            shown += button->m_nKind == kTkBtnMenu && !button->IsHidden();
        }
        return shown;
    };
    const struct
    {
        const char* name;
        std::function<void()> before;
        UINT mask;
        BOOL changed;
        int menus;
        bool captionShown;
    } cases[] = {
        {"the child maximised", [&] { g_frame->MDIMaximize(child); }, 1, TRUE, 4, true},
        {"the same again", [] {}, 1, FALSE, 4, true},
        {"a mask of no loaded menu", [] {}, 2, FALSE, 0, true},
        {"the child restored", [&] { g_frame->MDIRestore(child); }, 1, TRUE, 4, false},
    };
    for (const auto& c : cases) {
        c.before();
        EXPECT_EQ(c.changed, Bar().SetActiveMaskAndUpdate(c.mask)) << c.name;
        EXPECT_EQ(c.menus, menusShown()) << c.name;
        EXPECT_EQ(c.captionShown, !Bar().GetCaptionGroup()->IsHidden()) << c.name;
    }
}

TEST_F(MdiMenuBarTest, BoxesPostTheirSystemCommandsToTheChild)
{
    Maximise(MakeChild(WS_OVERLAPPEDWINDOW));
    static MdiMenuBarTest* test;
    test = this;
    RunScript({[] { ClickAt(test->BoxCentre(0)); }, [] { ClickAt(test->BoxCentre(1)); },
               [] { ClickAt(test->BoxCentre(2)); },
               // Pressed, then released outside: nothing.
               [] { MouseDown(test->BoxCentre(2)); },
               [] { MouseUp(test->BoxCentre(2) + CPoint(0, 60)); }});
    const std::vector<std::string> expected = {"F020", "F120", "F060"};
    EXPECT_EQ(expected, g_childCommands);
}

TEST_F(MdiMenuBarTest, WithoutAMinimiseBoxOnlyCloseReacts)
{
    Maximise(MakeChild(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ((DWORD)(WS_SYSMENU | WS_MAXIMIZEBOX), Bar().GetCaptionGroup()->m_dwStyleMirror);
    static MdiMenuBarTest* test;
    test = this;
    RunScript({[] { ClickAt(test->BoxCentre(0)); }, [] { ClickAt(test->BoxCentre(1)); },
               [] { ClickAt(test->BoxCentre(2)); }});
    EXPECT_EQ(std::vector<std::string>({"F060"}), g_childCommands);
}

TEST_F(MdiMenuBarTest, TheIconOpensTheChildsSystemMenuWhoseCommandsGoToTheChild)
{
    Maximise(MakeChild(WS_OVERLAPPEDWINDOW));
    static TkMDIMenuBar* bar;
    bar = &Bar();
    static HMENU childMenu;
    childMenu = ::GetSystemMenu(::GetWindow(g_frame->m_hWndMDIClient, GW_CHILD), FALSE);
    RunScript({[] { ClickAt(ButtonCentre(bar, 0)); },
               [] {
                   HWND popup = ::FindWindowExA(NULL, NULL, "#32768", NULL);
                   g_seen.push_back((HMENU)::SendMessageA(popup, MN_GETHMENU, 0, 0) == childMenu
                                        ? "child menu"
                                        : "other");
               },
               [] { Tap('C'); }});
    EXPECT_EQ(std::vector<std::string>({"child menu"}), g_seen);
    EXPECT_EQ(std::vector<std::string>({"F060"}), g_childCommands);
    EXPECT_TRUE(g_frame->m_done.empty());
}

TEST_F(MdiMenuBarTest, CaptionButtonsAreNeverSavedMovedOrDeleted)
{
    Maximise(MakeChild(WS_OVERLAPPEDWINDOW));
    int count = Bar().GetCount();
    TkControlBarInfo info;
    TkCustomToolBarInfoEx* own = new TkCustomToolBarInfoEx;
    info.m_pExtraInfo = own;
    Bar().GetExtraBarInfo(&info);
    ASSERT_EQ(count - 2, own->m_arrButtons.GetSize());
    for (int i = 0; i < own->m_arrButtons.GetSize(); i++)
        EXPECT_NE(kTkCaptionButtonId, own->m_arrButtons.GetInfo(i)->m_nID);
    EXPECT_EQ(Bar().GetIconButton(), Bar().GetButton(0));
    EXPECT_EQ(Bar().GetCaptionGroup(), Bar().GetButton(count - 1));
    // Restored from the saved layout, they come back at the ends.
    Bar().SetExtraBarInfo(&info, g_frame);
    EXPECT_EQ(count, Bar().GetCount());
    EXPECT_EQ(Bar().GetIconButton(), Bar().GetButton(0));
    EXPECT_EQ(Bar().GetCaptionGroup(), Bar().GetButton(count - 1));
    // Mended: deleting them is refused.
    EXPECT_FALSE(Bar().SendMessage(TB_DELETEBUTTON, 0));
    EXPECT_FALSE(Bar().SendMessage(TB_DELETEBUTTON, count - 1));
    EXPECT_EQ(count, Bar().GetCount());
    Bar().ResetButtons(FALSE);
    EXPECT_EQ(count, Bar().GetCount());
    EXPECT_EQ(Bar().GetIconButton(), Bar().GetButton(0));
}
}  // namespace
