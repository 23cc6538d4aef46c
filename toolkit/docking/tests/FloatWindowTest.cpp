// Float windows and their container: the window a floating tree lives in,
// how it closes, and the spare windows kept for a running drag.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/InputScript.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"
#include "toolkit/docking/TkLayoutMiniFloatWnd.h"

#include <afxext.h>

#include <memory>

namespace
{
CCallRecorder g_events;

std::string Events()
{
    return g_events.Joined();
}

// Records the system commands that reach it and does nothing with them.
class Recorder : public CFrameWnd
{
public:
    explicit Recorder(const char* name) : m_name(name) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND)
        {
            g_events.Record(m_name + " " + std::to_string(wParam & 0xFFF0));
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    std::string m_name;
};

TkLNFloatingHwndContainer* MakeFloat(CWnd* parent, TkLayoutNode* root, BOOL closeItem = TRUE)
{
    TkLNHwndContainer host(parent);
    return dynamic_cast<TkLNFloatingHwndContainer*>(
        host.CreateFloatingContainer(root, "Float", TRUE, closeItem));
}

// The float windows' owner frame at (0,0) and, apart from it, the
// application's main window.
class FloatWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        m_owner = new Recorder("owner");
        ASSERT_TRUE(m_owner->Create(NULL, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400)));
        m_main = new Recorder("main");
        ASSERT_TRUE(m_main->Create(NULL, "Main", WS_POPUP, CRect(700, 0, 800, 100)));
        m_app.m_pMainWnd = m_main;
    }
    void TearDown() override
    {
        TkSetDraggedNode(NULL);
        m_float.reset();
        m_app.m_pMainWnd = NULL;
        m_main->DestroyWindow();
        if (::IsWindow(m_owner->m_hWnd))
            m_owner->DestroyWindow();
        PumpUntilIdle();
        EXPECT_EQ(0, TkLNFloatingHwndContainer::GetSpareCount());
    }
    TkLayoutMiniFloatWnd* Placed(const CRect& rect)
    {
        m_float.reset(MakeFloat(m_owner, &m_root));
        if (!m_float || !m_float->Place(rect))
            return NULL;
        PumpUntilIdle();
        return m_float->GetFloatWnd();
    }

    CWinApp m_app;
    Recorder* m_owner;
    Recorder* m_main;
    ProbeNode m_root{"root"};
    std::unique_ptr<TkLNFloatingHwndContainer> m_float;
};

TEST_F(FloatWindowTest, APlacedFloatWindowShowsItsTreeOverTheWholeWindow)
{
    TkLayoutMiniFloatWnd* window = Placed(CRect(100, 120, 300, 260));
    ASSERT_TRUE(window);
    EXPECT_TRUE(m_float->IsVisible());
    CRect outer;
    window->GetWindowRect(outer);
    EXPECT_EQ(RectText(CRect(100, 120, 300, 260)), RectText(outer));
    EXPECT_EQ("Float", std::string((LPCSTR)[&] {
                  CString text;
                  window->GetWindowText(text);
                  return text;
              }()));
    EXPECT_EQ(m_owner->m_hWnd, ::GetWindow(window->m_hWnd, GW_OWNER));
    EXPECT_EQ(TkLayoutMiniFloatWnd::kStyle, window->GetStyle() & TkLayoutMiniFloatWnd::kStyle);
    EXPECT_TRUE(window->GetStyle() & WS_THICKFRAME);
    ASSERT_TRUE(window->GetListener());
    EXPECT_EQ(&m_root, window->GetListener()->GetLayoutNode());
    EXPECT_EQ("0,0,200,140", RectText(m_root.GetCurrentRect()));

    // Node coordinates are the window's: the client origin lies at the
    // client offset, and screen points come back to it.
    int left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_TRUE(m_float->GetFrameBorders(&left, &top, &right, &bottom));
    EXPECT_GT(top, left) << "a caption above";
    window->GetWindowRect(outer);
    EXPECT_EQ(RectText(CRect(100, 120, 300, 260)), RectText(outer)) << "measuring keeps the size";
    CPoint origin(0, 0);
    window->ClientToScreen(&origin);
    CPoint node(left, top);
    ASSERT_TRUE(m_float->NodePointToScreen(node));
    EXPECT_EQ(origin, node);
    ASSERT_TRUE(m_float->ScreenPointToNode(node));
    EXPECT_EQ(CPoint(left, top), node);
    CPoint offset;
    m_float->GetNodeOffset(offset);
    EXPECT_EQ(CPoint(left, top), offset);
}

TEST_F(FloatWindowTest, CloseStandsLastInTheSystemMenuOrNotAtAll)
{
    for (BOOL closeItem : {TRUE, FALSE})
    {
        m_float.reset(MakeFloat(m_owner, &m_root, closeItem));
        ASSERT_TRUE(m_float);
        HMENU menu = ::GetSystemMenu(m_float->GetFloatWnd()->m_hWnd, FALSE);
        ASSERT_TRUE(menu);
        int count = ::GetMenuItemCount(menu);
        char text[32] = "";
        ::GetMenuStringA(menu, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
        if (closeItem)
        {
            EXPECT_EQ(SC_CLOSE, (int)::GetMenuItemID(menu, count - 1));
            EXPECT_STREQ("Close", text);
        }
        else
            EXPECT_EQ(-1, ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND));
    }
}

TEST_F(FloatWindowTest, AMouseCloseHidesTheWindowAndAKeyboardCloseIsTheMainWindows)
{
    TkLayoutMiniFloatWnd* window = Placed(CRect(100, 120, 300, 260));
    ASSERT_TRUE(window);
    window->SendMessage(WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(290, 125));
    EXPECT_FALSE(window->IsWindowVisible());
    EXPECT_TRUE(::IsWindow(window->m_hWnd));
    EXPECT_EQ(&m_root, window->GetRootNode());
    EXPECT_EQ("", Events());

    window->ShowWindow(SW_SHOW);
    window->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_EQ("main 61536", Events());
}

// Alt+F4 typed in the float window: with MFS_SYNCACTIVE the owner frame
// takes the close, without it the main window as for any keyboard close.
TEST_F(FloatWindowTest, AltF4GoesToTheOwnerOnlyWithSyncActive)
{
    for (BOOL sync : {TRUE, FALSE})
    {
        g_events.Clear();
        TkLayoutMiniFloatWnd* window = Placed(CRect(100, 120, 300, 260));
        ASSERT_TRUE(window);
        if (!sync)
            window->ModifyStyle(MFS_SYNCACTIVE, 0);
        ::SetForegroundWindow(window->m_hWnd);
        window->SetFocus();
        PumpUntilIdle();
        INPUT keys[4] = {};
        const WORD order[4][2] = {{VK_MENU, 0}, {VK_F4, 0}, {VK_F4, KEYEVENTF_KEYUP},
                                  {VK_MENU, KEYEVENTF_KEYUP}};
        for (int i = 0; i < 4; ++i)
        {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = order[i][0];
            keys[i].ki.dwFlags = order[i][1];
        }
        ASSERT_EQ(4u, SendInput(4, keys, sizeof(INPUT)));
        PumpUntilIdle();
        EXPECT_EQ(sync ? "owner 61536" : "main 61536", Events()) << "sync " << sync;
        EXPECT_TRUE(window->IsWindowVisible());
    }
}

TEST_F(FloatWindowTest, AGoneContainerParksItsWindowUntilTheNextOneUnlessItShowsTheDraggedNode)
{
    ProbeNode other("other");
    ASSERT_TRUE(Placed(CRect(100, 120, 300, 260)));
    HWND parked = m_float->GetFloatWnd()->m_hWnd;
    TkLayoutMiniFloatWnd* parkedWnd = m_float->GetFloatWnd();
    m_float.reset();
    EXPECT_EQ(1, TkLNFloatingHwndContainer::GetSpareCount());
    EXPECT_FALSE(::IsWindowVisible(parked));
    EXPECT_EQ(NULL, parkedWnd->GetListener()->GetLayoutNode()) << "the listener is detached";

    // No drag: the spare stays.
    m_float.reset(MakeFloat(m_owner, &other));
    EXPECT_TRUE(::IsWindow(parked));
    // The dragged node is the spare's: it stays.
    TkSetDraggedNode(&m_root);
    std::unique_ptr<TkLNFloatingHwndContainer> second(MakeFloat(m_owner, &other));
    EXPECT_TRUE(::IsWindow(parked));
    EXPECT_EQ(1, TkLNFloatingHwndContainer::GetSpareCount());
    // Another node is dragged: the spare goes.
    TkSetDraggedNode(&other);
    std::unique_ptr<TkLNFloatingHwndContainer> third(MakeFloat(m_owner, &other));
    EXPECT_FALSE(::IsWindow(parked));
    EXPECT_EQ(0, TkLNFloatingHwndContainer::GetSpareCount());
}

// The owner's destruction takes its float windows with it: neither the
// spare list nor a container still holding one is left with a dead window.
TEST_F(FloatWindowTest, FloatWindowsDestroyedWithTheirOwnerLeaveNothingBehind)
{
    ProbeNode other("other");
    ASSERT_TRUE(Placed(CRect(100, 120, 300, 260)));
    std::unique_ptr<TkLNFloatingHwndContainer> kept(MakeFloat(m_owner, &other));
    ASSERT_TRUE(kept);
    m_float.reset();
    EXPECT_EQ(1, TkLNFloatingHwndContainer::GetSpareCount());
    m_owner->DestroyWindow();
    EXPECT_EQ(0, TkLNFloatingHwndContainer::GetSpareCount());
    EXPECT_FALSE(kept->IsVisible());
    kept.reset();
    EXPECT_EQ(0, TkLNFloatingHwndContainer::GetSpareCount());
}

TEST_F(FloatWindowTest, NoRootNoFloatWindow)
{
    TkLNHwndContainer host(m_owner);
    EXPECT_EQ(NULL, host.CreateFloatingContainer(NULL, "Float", TRUE, TRUE));
    TkLNFloatingHwndContainer empty;
    EXPECT_FALSE(empty.CreateFloatWindow(NULL, m_owner, "Float", TRUE, TRUE));
    EXPECT_FALSE(empty.Place(CRect(0, 0, 10, 10)));
    EXPECT_FALSE(empty.IsVisible());
}
}  // namespace
