#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"
#include "platform/mfc/tests/FrameCommandsTest.h"

#include <afxext.h>

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;

// Records the help it is asked for instead of starting the help program.
class CHelpApp : public CWinApp
{
public:
    CHelpApp() : CWinApp("FrameCommandsTest") {}
    void WinHelp(DWORD_PTR data, UINT command) override
    {
        g_calls.Record("help " + std::to_string(data) + " " + std::to_string(command));
    }
};

// A bar along the top, 24 pixels high.
class CStripBar : public CControlBar
{
public:
    BOOL Make(CFrameWnd* frame, UINT id)
    {
        m_dwStyle = CBRS_TOP;
        return AfxRegisterControlBarClass() &&
               CreateEx(0, kControlBarClassName, "Strip", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                        frame->m_hWnd, (HMENU)(UINT_PTR)id);
    }
    CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(32767, 24); }
};

class CTrackDoc : public CDocument
{
    DECLARE_DYNCREATE(CTrackDoc)
};
IMPLEMENT_DYNCREATE(CTrackDoc, CDocument)

class CTrackView : public CView
{
    DECLARE_DYNCREATE(CTrackView)
public:
    void OnDraw(CDC*) override {}
    void OnWhichFrame()
    {
        CFrameWnd* routing = AfxGetRoutingFrame();
        g_calls.Record(routing == GetParentFrame() ? "routed through my frame" : "routed elsewhere");
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTrackView, CView)
BEGIN_MESSAGE_MAP(CTrackView, CView)
    ON_COMMAND(ID_WHICH_FRAME, OnWhichFrame)
END_MESSAGE_MAP()

class CTrackFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CTrackFrame)
};
IMPLEMENT_DYNCREATE(CTrackFrame, CMDIChildWnd)

UINT MenuState(HMENU menu, UINT id)
{
    return ::GetMenuState(menu, id, MF_BYCOMMAND);
}

CRect RectIn(HWND window, CWnd* reference)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    reference->ScreenToClient(&rect);
    return rect;
}

// A frame with its menu, a top bar for each toggle and a pane.
class FrameCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_PLAYER, WS_OVERLAPPEDWINDOW));
        m_app.m_pMainWnd = m_frame;
        m_frame->SetWindowPos(NULL, 0, 0, 500, 400, SWP_NOZORDER);
        ASSERT_TRUE(m_toolBar.Make(m_frame, ID_VIEW_TOOLBAR));
        ASSERT_TRUE(m_statusBar.Make(m_frame, ID_VIEW_STATUS_BAR));
        ASSERT_TRUE(m_pane.Create(NULL, "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), m_frame,
                                  AFX_IDW_PANE_FIRST));
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
        m_menu = ::GetMenu(m_frame->m_hWnd);
        PumpMessages();
    }
    void TearDown() override
    {
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    // The View popup as the frame prepares it for showing.
    void OpenViewMenu()
    {
        m_frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)::GetSubMenu(m_menu, 0), 0);
    }
    CRect FreeArea()
    {
        CRect client;
        m_frame->GetClientRect(&client);
        client.top += 2 * 24;
        return client;
    }

    CHelpApp m_app;
    CFrameWnd* m_frame = NULL;
    CStripBar m_toolBar;
    CStripBar m_statusBar;
    CWnd m_pane;
    HMENU m_menu = NULL;
};
}  // namespace

TEST_F(FrameCommandsTest, ViewTogglesShowAndHideTheBarOfTheirIdAndCheckIt)
{
    struct Case
    {
        UINT id;
        CControlBar* bar;
        CControlBar* other;
    } cases[] = {
        {ID_VIEW_TOOLBAR, &m_toolBar, &m_statusBar},
        {ID_VIEW_STATUS_BAR, &m_statusBar, &m_toolBar},
    };
    for (const Case& c : cases)
    {
        m_frame->SendMessage(WM_COMMAND, c.id);
        EXPECT_FALSE(c.bar->IsWindowVisible()) << c.id;
        EXPECT_TRUE(c.other->IsWindowVisible()) << c.id;
        OpenViewMenu();
        EXPECT_EQ(0u, MenuState(m_menu, c.id) & (MF_CHECKED | MF_GRAYED)) << c.id;
        EXPECT_EQ(24, RectIn(m_pane.m_hWnd, m_frame).top) << c.id;

        m_frame->SendMessage(WM_COMMAND, c.id);
        EXPECT_TRUE(c.bar->IsWindowVisible()) << c.id;
        OpenViewMenu();
        EXPECT_EQ((UINT)MF_CHECKED, MenuState(m_menu, c.id) & (MF_CHECKED | MF_GRAYED)) << c.id;
        EXPECT_EQ(48, RectIn(m_pane.m_hWnd, m_frame).top) << c.id;
    }
}

TEST_F(FrameCommandsTest, AToggleWithoutItsBarIsLeftToTheRestOfTheRoute)
{
    m_statusBar.DestroyWindow();
    EXPECT_FALSE(m_frame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_COMMAND, NULL, NULL));
    EXPECT_TRUE(m_frame->OnCmdMsg(ID_VIEW_TOOLBAR, CN_COMMAND, NULL, NULL));
    OpenViewMenu();
    EXPECT_EQ(0u, MenuState(m_menu, ID_VIEW_STATUS_BAR) & MF_CHECKED);
}

TEST_F(FrameCommandsTest, HelpRequestsTakeTheGivenIdTheTrackedItemOrTheFrame)
{
    struct Case
    {
        const char* name;
        LPARAM helpId;
        UINT trackedItem;  // 0: none; -1: a menu that closed after tracking
        UINT frameHelpId;
        LRESULT answer;
        std::vector<std::string> calls;
    } cases[] = {
        {"given id", 0x20123, 0, IDR_PLAYER, TRUE, {"help 131363 1"}},
        {"tracked item", 0, ID_PLAY_TRACK, IDR_PLAYER, TRUE, {"help 106546 1"}},
        {"frame", 0, 0, IDR_PLAYER, TRUE, {"help 131472 1"}},
        {"menu closed", 0, (UINT)-1, IDR_PLAYER, TRUE, {"help 131472 1"}},
        {"nothing known", 0, 0, 0, FALSE, {}},
    };
    for (const Case& c : cases)
    {
        g_calls.Clear();
        m_frame->m_nIDHelp = c.frameHelpId;
        HMENU view = ::GetSubMenu(m_menu, 0);
        if (c.trackedItem)
            m_frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_PLAY_TRACK, MF_STRING), (LPARAM)view);
        if (c.trackedItem == (UINT)-1)
            m_frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        EXPECT_EQ(c.answer, m_frame->SendMessage(WM_COMMANDHELP, 0, c.helpId)) << c.name;
        EXPECT_EQ(c.calls, g_calls.Calls()) << c.name;
        m_frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    }
}

TEST_F(FrameCommandsTest, BorderSpaceIsNegotiatedWithinWhatTheBarsLeave)
{
    CRect free;
    ASSERT_TRUE(m_frame->NegotiateBorderSpace(CFrameWnd::borderGet, &free));
    EXPECT_EQ(FreeArea(), free);

    struct Case
    {
        CRect request;
        BOOL fits;
    } requests[] = {
        {CRect(10, 10, 10, 10), TRUE},
        {CRect(0, 0, free.Width(), 0), TRUE},
        {CRect(1, 0, free.Width(), 0), FALSE},
        {CRect(0, free.Height(), 0, 1), FALSE},
    };
    for (Case& c : requests)
        EXPECT_EQ(c.fits, m_frame->NegotiateBorderSpace(CFrameWnd::borderRequest, &c.request))
            << c.request.left << "," << c.request.top << "," << c.request.right;

    CRect border(5, 6, 7, 8);
    ASSERT_TRUE(m_frame->NegotiateBorderSpace(CFrameWnd::borderSet, &border));
    CRect inset(free.left + 5, free.top + 6, free.right - 7, free.bottom - 8);
    EXPECT_EQ(inset, RectIn(m_pane.m_hWnd, m_frame));
    m_frame->SendMessage(WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(inset, RectIn(m_pane.m_hWnd, m_frame));
    ASSERT_TRUE(m_frame->NegotiateBorderSpace(CFrameWnd::borderSet, NULL));
    EXPECT_EQ(free, RectIn(m_pane.m_hWnd, m_frame));
    EXPECT_FALSE(m_frame->NegotiateBorderSpace(0, &border));
}

TEST_F(FrameCommandsTest, APreviewHidesMenuKeysAndVisibleBarsAndPutsThemBack)
{
    m_frame->ShowControlBar(&m_statusBar, FALSE, FALSE);
    ACCEL accel = {FVIRTKEY, VK_F5, ID_PLAY_TRACK};
    HACCEL keys = ::CreateAcceleratorTableA(&accel, 1);
    m_frame->m_hAccelTable = keys;

    CPrintPreviewState state;
    m_frame->OnSetPreviewMode(TRUE, &state);
    EXPECT_EQ(NULL, ::GetMenu(m_frame->m_hWnd));
    EXPECT_EQ(NULL, m_frame->m_hAccelTable);
    EXPECT_FALSE(m_toolBar.IsWindowVisible());
    EXPECT_FALSE(m_statusBar.IsWindowVisible());
    EXPECT_EQ(0, RectIn(m_pane.m_hWnd, m_frame).top);

    m_frame->OnSetPreviewMode(FALSE, &state);
    EXPECT_EQ(m_menu, ::GetMenu(m_frame->m_hWnd));
    EXPECT_EQ(keys, m_frame->m_hAccelTable);
    EXPECT_TRUE(m_toolBar.IsWindowVisible());
    // A bar hidden before the preview stays hidden.
    EXPECT_FALSE(m_statusBar.IsWindowVisible());
    EXPECT_EQ(24, RectIn(m_pane.m_hWnd, m_frame).top);
    m_frame->m_hAccelTable = NULL;
    ::DestroyAcceleratorTable(keys);
}

namespace
{
// An MDI main frame; track documents open in children of their own.
class MdiFrameCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        m_main = new CMDIFrameWnd;
        ASSERT_TRUE(m_main->LoadFrame(IDR_PLAYER));
        m_app.m_pMainWnd = m_main;
        m_main->ShowWindow(SW_SHOW);
        m_mainMenu = ::GetMenu(m_main->m_hWnd);
        m_altMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_PREVIEW));
        m_template = new CMultiDocTemplate(IDR_TRACKTYPE, RUNTIME_CLASS(CTrackDoc),
                                           RUNTIME_CLASS(CTrackFrame), RUNTIME_CLASS(CTrackView));
        m_docs.AddDocTemplate(m_template);
        PumpMessages();
    }
    void TearDown() override
    {
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        ::DestroyMenu(m_altMenu);
        PumpMessages();
    }
    CMDIChildWnd* OpenTrack()
    {
        m_docs.OnFileNew();
        PumpMessages();
        return m_main->MDIGetActive();
    }

    CHelpApp m_app;
    CDocManager m_docs;
    CMDIFrameWnd* m_main = NULL;
    HMENU m_mainMenu = NULL;
    HMENU m_altMenu = NULL;
    CMultiDocTemplate* m_template = NULL;
};
}  // namespace

TEST_F(MdiFrameCommandsTest, TheActiveChildIsTheRoutingFrameOfItsCommands)
{
    EXPECT_EQ(NULL, AfxGetRoutingFrame());
    CMDIChildWnd* child = OpenTrack();
    ASSERT_NE(nullptr, child);
    m_main->SendMessage(WM_COMMAND, ID_WHICH_FRAME);
    EXPECT_EQ(std::vector<std::string>{"routed through my frame"}, g_calls.Calls());
    EXPECT_EQ(NULL, AfxGetRoutingFrame());
}

TEST_F(MdiFrameCommandsTest, TheActiveChildAnswersHelpFirst)
{
    struct Case
    {
        const char* name;
        BOOL withChild;
        LPARAM helpId;
        BOOL trackItem;
        std::vector<std::string> calls;
    } cases[] = {
        {"main frame alone", FALSE, 0, FALSE, {"help 131472 1"}},
        {"child's resource", TRUE, 0, FALSE, {"help 131473 1"}},
        {"given id, asked once", TRUE, 77, FALSE, {"help 77 1"}},
        {"main frame's tracked item", TRUE, 0, TRUE, {"help 106546 1"}},
    };
    for (const Case& c : cases)
    {
        if (c.withChild && !m_main->MDIGetActive())
        {
            ASSERT_NE(nullptr, OpenTrack());
        }
        if (c.trackItem)
            m_main->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_PLAY_TRACK, MF_STRING),
                                (LPARAM)::GetSubMenu(m_mainMenu, 0));
        g_calls.Clear();
        EXPECT_TRUE(m_main->SendMessage(WM_COMMANDHELP, 0, c.helpId)) << c.name;
        EXPECT_EQ(c.calls, g_calls.Calls()) << c.name;
    }
}

TEST_F(MdiFrameCommandsTest, TheFrameMenuIsTheActiveChildsTheAlternativeOrTheFramesOwn)
{
    m_main->OnUpdateFrameMenu(m_altMenu);
    EXPECT_EQ(m_altMenu, ::GetMenu(m_main->m_hWnd));
    m_main->OnUpdateFrameMenu(NULL);
    EXPECT_EQ(m_mainMenu, ::GetMenu(m_main->m_hWnd));

    ASSERT_NE(nullptr, OpenTrack());
    m_main->OnUpdateFrameMenu(NULL);
    EXPECT_EQ(m_template->m_hMenuShared, ::GetMenu(m_main->m_hWnd));
    m_main->OnUpdateFrameMenu(m_altMenu);
    EXPECT_EQ(m_altMenu, ::GetMenu(m_main->m_hWnd));
    // The idle update puts the child's menu back.
    m_main->m_nIdleFlags |= CFrameWnd::idleMenu;
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(m_template->m_hMenuShared, ::GetMenu(m_main->m_hWnd));
    // Leave the frame its own menu to destroy.
    m_main->MDIGetActive()->SendMessage(WM_CLOSE);
    PumpMessages();
    EXPECT_EQ(m_mainMenu, ::GetMenu(m_main->m_hWnd));
}
