// What the toolkit's MDI and SDI frames load and route: the menus of their
// resource and of their templates, the popups the menu bar asks for, the
// command plug-in's place in the command route, and the bar layout saved
// and loaded under a profile name.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkFrameBar.h"
#include "toolkit/frames/TkCommandPlugIn.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkFrameWnd.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"
#include "toolkit/frames/tests/FilterTree.h"
#include "toolkit/menus/TkMDIMenuBar.h"
#include "toolkit/menus/TkMenuBarFeature.h"

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;
// A resource id with neither string, menu nor icon.
const UINT kNoResources = 599;
const UINT ID_ONLY_PLUGIN = 41202;

class CPartsApp : public CWinApp
{
public:
    CPartsApp() : CWinApp("FramePartsTest") {}
};

class CPartsDoc : public CDocument
{
    DECLARE_DYNCREATE(CPartsDoc)
};
IMPLEMENT_DYNCREATE(CPartsDoc, CDocument)

class CPartsView : public CView
{
    DECLARE_DYNCREATE(CPartsView)
public:
    void OnDraw(CDC*) override {}
    void OnWhoAnswers() { g_calls.Record("view"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPartsView, CView)
BEGIN_MESSAGE_MAP(CPartsView, CView)
    ON_COMMAND(ID_WHO_ANSWERS, OnWhoAnswers)
END_MESSAGE_MAP()

class CRecordingPlugIn : public TkCommandPlugIn
{
    DECLARE_DYNCREATE(CRecordingPlugIn)
public:
    BOOL Create(DWORD_PTR first, DWORD_PTR second, DWORD style, DWORD_PTR third) override
    {
        g_calls.Record("create " + std::to_string(first) + " " + std::to_string(second) + " " +
                       std::to_string(style) + " " + std::to_string(third));
        return TRUE;
    }
    BOOL Attach(CFrameWnd* frame) override
    {
        return s_attach && TkCommandPlugIn::Attach(frame);
    }
    void OnWhoAnswers() { g_calls.Record("plug-in"); }
    void OnOnlyPlugIn() { g_calls.Record("plug-in only"); }
    static BOOL s_attach;
    DECLARE_MESSAGE_MAP()
};
BOOL CRecordingPlugIn::s_attach = TRUE;
IMPLEMENT_DYNCREATE(CRecordingPlugIn, TkCommandPlugIn)
BEGIN_MESSAGE_MAP(CRecordingPlugIn, TkCommandPlugIn)
    ON_COMMAND(ID_WHO_ANSWERS, OnWhoAnswers)
    ON_COMMAND(ID_ONLY_PLUGIN, OnOnlyPlugIn)
END_MESSAGE_MAP()

class CPartsFrame : public TkMDIFrameWnd
{
public:
    void OnWhoAnswers() { g_calls.Record("frame"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPartsFrame, TkMDIFrameWnd)
    ON_COMMAND(ID_WHO_ANSWERS, OnWhoAnswers)
END_MESSAGE_MAP()

class FramePartsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        CRecordingPlugIn::s_attach = TRUE;
        m_template = new CMultiDocTemplate(IDR_ALBUMTYPE, RUNTIME_CLASS(CPartsDoc),
                                           RUNTIME_CLASS(TkMDIChildWnd), RUNTIME_CLASS(CPartsView));
        m_app.AddDocTemplate(m_template);
        m_main = MakeMainFrame<CPartsFrame>(m_app, 640, 480);
        ASSERT_NE(nullptr, m_main);
        m_main->ShowWindow(SW_SHOW);
        PumpMessages();
    }
    void TearDown() override
    {
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    // Who answered a command sent to the main frame.
    std::vector<std::string> Answers(UINT id)
    {
        g_calls.Clear();
        m_main->SendMessage(WM_COMMAND, id);
        return g_calls.Calls();
    }

    CPartsApp m_app;
    CMultiDocTemplate* m_template = NULL;
    CPartsFrame* m_main = NULL;
};
}  // namespace

TEST_F(FramePartsTest, TheMainFrameTakesItsMenusFromItsResourceItsTemplatesAndLoadMenus)
{
    EXPECT_EQ((UINT)IDR_JUKEBOX, m_main->m_nFrameMenuId);
    EXPECT_EQ((UINT)IDR_JUKEBOX, m_main->m_nCurrentMenuId);
    EXPECT_EQ((UINT)IDR_JUKEBOX, m_main->m_nIDHelp);
    // Without a menu bar the window shows its menu and has no own menu.
    EXPECT_NE(nullptr, ::GetMenu(m_main->m_hWnd));
    EXPECT_EQ(::GetMenu(m_main->m_hWnd), m_main->GetDefaultMenu());
    EXPECT_EQ(NULL, m_main->m_hOwnMenu);

    EXPECT_TRUE(m_main->LoadMenus(1, IDR_NOTESDOCKED));
    EXPECT_FALSE(m_main->LoadMenus(2, IDR_NOTESDOCKED, kNoResources));
    const UINT getMenu = ::RegisterWindowMessageA("WM_TKGETMENU");
    struct Case
    {
        UINT id;
        HMENU menu;
        const char* firstPopup;
    } cases[] = {
        {IDR_JUKEBOX, NULL, NULL},
        {IDR_ALBUMTYPE, m_template->m_hMenuShared, "&Album"},
        {IDR_NOTESDOCKED, m_main->GetMenuForId(IDR_NOTESDOCKED), "&Notes"},
        {kNoResources, NULL, NULL},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.menu, m_main->GetMenuForId(c.id)) << c.id;
        HMENU popup = (HMENU)m_main->SendMessage(getMenu, c.id, 0);
        EXPECT_EQ(c.menu ? ::GetSubMenu(c.menu, 0) : NULL, popup) << c.id;
        if (!c.firstPopup)
            continue;
        char text[32] = {};
        ::GetMenuStringA(c.menu, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(c.firstPopup, text) << c.id;
    }
    EXPECT_NE(nullptr, m_main->GetMenuForId(IDR_NOTESDOCKED));
    EXPECT_EQ(0, m_main->SendMessage(getMenu, IDR_ALBUMTYPE, 9));
}

// The MDI client lists its children in the window menu it was made with
// until a child's menu replaces it: the second-last popup of the frame's
// menu, not the last.
TEST_F(FramePartsTest, TheMdiClientListsChildrenInTheSecondLastPopup)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefMDIChildProcA;
    windowClass.hInstance = ::GetModuleHandleA(NULL);
    windowClass.lpszClassName = "FramePartsPlainChild";
    ::RegisterClassA(&windowClass);
    MDICREATESTRUCTA create = {"FramePartsPlainChild", "Plain", windowClass.hInstance,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    HMENU menu = ::GetMenu(m_main->m_hWnd);
    const int before[] = {::GetMenuItemCount(::GetSubMenu(menu, 0)),
                          ::GetMenuItemCount(::GetSubMenu(menu, 1)),
                          ::GetMenuItemCount(::GetSubMenu(menu, 2))};
    HWND child = (HWND)::SendMessageA(m_main->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&create);
    ASSERT_NE(nullptr, child);
    PumpMessages();
    // A separator and the child's entry.
    const int added[] = {0, 2, 0};
    for (int index = 0; index < 3; index++)
        EXPECT_EQ(before[index] + added[index], ::GetMenuItemCount(::GetSubMenu(menu, index)))
            << index;
    ::SendMessageA(m_main->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)child, 0);
}

// Both frames answer the workspace commands, doing nothing: their menu items
// stay enabled where others without a handler are greyed.
TEST_F(FramePartsTest, WorkspaceCommandsStayEnabledInBothFrames)
{
    struct Item
    {
        UINT id;
        BOOL enabled;
    } items[] = {
        {43007, TRUE}, {43009, TRUE}, {43010, FALSE}, {43011, FALSE}, {43012, TRUE},
        {43014, TRUE}, {43015, FALSE}, {43031, TRUE}, {43039, TRUE}, {43040, FALSE},
    };
    TkFrameWnd* sdi = new TkFrameWnd;
    ASSERT_TRUE(sdi->LoadFrame(IDR_JUKEBOX));
    CFrameWnd* frames[] = {m_main, sdi};
    for (CFrameWnd* frame : frames)
    {
        HMENU popup = ::CreatePopupMenu();
        for (const Item& item : items)
            ::AppendMenuA(popup, MF_STRING, item.id, "Workspace");
        frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);
        for (const Item& item : items)
            EXPECT_EQ(!item.enabled, (::GetMenuState(popup, item.id, MF_BYCOMMAND) & MF_GRAYED) != 0)
                << frame->GetRuntimeClass()->m_lpszClassName << " " << item.id;
        ::DestroyMenu(popup);
        // Answered, with nothing else done.
        g_calls.Clear();
        EXPECT_TRUE(frame->OnCmdMsg(43008, CN_COMMAND, NULL, NULL));
        EXPECT_TRUE(g_calls.Calls().empty());
    }
    sdi->DestroyWindow();
    PumpMessages();
}

TEST_F(FramePartsTest, ChildrenLendTheMainWindowTheirTemplatesMenuWithoutAMenuBar)
{
    m_app.OnFileNew();
    TkMDIChildWnd* child = static_cast<TkMDIChildWnd*>(m_main->MDIGetActive());
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(m_template->m_hMenuShared, child->m_hMenuShared);
    EXPECT_EQ(m_template->m_hAccelTable, child->m_hAccelTable);
    EXPECT_EQ(0u, child->GetMenuId());
    EXPECT_FALSE(child->UsesMenuBar());
    EXPECT_EQ(m_template->m_hMenuShared, ::GetMenu(m_main->m_hWnd));
}

TEST_F(FramePartsTest, TheCommandPlugInAnswersAfterTheActiveChildAndBeforeTheFrame)
{
    EXPECT_EQ(NULL, m_main->CreateCommandPlugIn(1, 2, NULL, 3));
    CRecordingPlugIn::s_attach = FALSE;
    EXPECT_EQ(NULL, m_main->CreateCommandPlugIn(1, 2, RUNTIME_CLASS(CRecordingPlugIn), 3));
    EXPECT_EQ(NULL, m_main->GetCommandPlugIn());
    CRecordingPlugIn::s_attach = TRUE;
    g_calls.Clear();
    TkCommandPlugIn* plugIn = m_main->CreateCommandPlugIn(1, 2, RUNTIME_CLASS(CRecordingPlugIn), 3);
    ASSERT_NE(nullptr, plugIn);
    EXPECT_EQ(std::vector<std::string>{"create 1 2 2147483649 3"}, g_calls.Calls());
    EXPECT_EQ(plugIn, m_main->GetCommandPlugIn());
    EXPECT_EQ(m_main, plugIn->GetFrame());

    EXPECT_EQ(std::vector<std::string>{"plug-in"}, Answers(ID_WHO_ANSWERS));
    m_app.OnFileNew();
    EXPECT_EQ(std::vector<std::string>{"view"}, Answers(ID_WHO_ANSWERS));
    EXPECT_EQ(std::vector<std::string>{"plug-in only"}, Answers(ID_ONLY_PLUGIN));
}

TEST_F(FramePartsTest, ADockableFrameWithoutAPlugInUsesTheMainFramesPlugIn)
{
    m_main->EnableDocking(CBRS_ALIGN_ANY);
    m_main->CreateCommandPlugIn(0, 0, RUNTIME_CLASS(CRecordingPlugIn), 0);
    TkFrameBar* bar = new TkFrameBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_main, "Notes", WS_VISIBLE | CBRS_LEFT, TKCBRS_FILLCHILD, 0xE840));
    m_main->DockControlBar(bar);
    TkDockableFrame* frame = new TkDockableFrame;
    ASSERT_TRUE(frame->Create(NULL, "Notes", WS_CHILD | WS_VISIBLE | WS_CAPTION, CRect(0, 0, 100, 100), bar));
    g_calls.Clear();
    frame->SendMessage(WM_COMMAND, ID_ONLY_PLUGIN);
    EXPECT_EQ(std::vector<std::string>{"plug-in only"}, g_calls.Calls());
}

TEST_F(FramePartsTest, TheBarLayoutComesBackFromTheProfile)
{
    m_main->EnableDocking(CBRS_ALIGN_ANY);
    TkControlBar* bar = new TkControlBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_main, "Albums", WS_VISIBLE | CBRS_TOP, TKCBRS_GRIPPER, 0xE820));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_main->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
    m_main->RecalcLayout();
    m_main->SaveBarState("FramePartsLayout");
    m_main->DockControlBar(bar, AFX_IDW_DOCKBAR_RIGHT);
    m_main->RecalcLayout();
    ASSERT_EQ(AFX_IDW_DOCKBAR_RIGHT, (UINT)bar->GetParent()->GetDlgCtrlID());
    m_main->LoadBarState("FramePartsLayout");
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, (UINT)bar->GetParent()->GetDlgCtrlID());
}

// A main frame with a menu bar, as the application makes it: the bar set
// before the frame loads, made and docked when the frame is created.
class CMenuBarFrame : public TkMDIFrameWnd
{
public:
    CMenuBarFrame() { m_pMenuBar = &m_bar; }
    int OnCreate(LPCREATESTRUCTA cs)
    {
        if (TkMDIFrameWnd::OnCreate(cs) == -1)
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        const UINT menus[] = {IDR_JUKEBOX, IDR_ALBUMTYPE, IDR_NOTESDOCKED};
        if (!m_bar.CreateToolBarEx(0, this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kTkMenuBarId,
                                   "Menu Bar") ||
            !m_bar.SetMenuList(menus, 3))
            return -1;
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_bar);
        return 0;
    }
    TkMDIMenuBar m_bar;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuBarFrame, TkMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MenuBarFrameTest, TheMenuBarShowsTheFramesMenuAndTheActiveChildsInPlaceOfTheWindowMenu)
{
    CPartsApp app;
    CMultiDocTemplate* albums = new CMultiDocTemplate(
        IDR_ALBUMTYPE, RUNTIME_CLASS(CPartsDoc), RUNTIME_CLASS(TkMDIChildWnd), RUNTIME_CLASS(CPartsView));
    app.AddDocTemplate(albums);
    CMenuBarFrame* main = MakeMainFrame<CMenuBarFrame>(app, 640, 480);
    ASSERT_NE(nullptr, main);
    main->ShowWindow(SW_SHOW);
    PumpMessages();
    EXPECT_EQ(NULL, ::GetMenu(main->m_hWnd));
    ASSERT_NE(nullptr, main->m_hOwnMenu);
    EXPECT_EQ(main->m_hOwnMenu, main->GetDefaultMenu());
    EXPECT_EQ(main->m_hOwnMenu, main->GetMenuForId(IDR_JUKEBOX));
    EXPECT_EQ((UINT)IDR_JUKEBOX, main->m_bar.GetActiveMenu());
    // The bar carries a maximised child's buttons: the frame's caption list is off.
    EXPECT_EQ("256 off [0; 2; 3; 1; 4; 260; ]; 261; ", FilterTree(main->GetFilterRoot()));

    app.OnFileNew();
    PumpMessages();
    TkMDIChildWnd* child = static_cast<TkMDIChildWnd*>(main->MDIGetActive());
    ASSERT_NE(nullptr, child);
    EXPECT_EQ((UINT)IDR_ALBUMTYPE, child->GetMenuId());
    EXPECT_TRUE(child->UsesMenuBar());
    EXPECT_EQ(NULL, child->m_hMenuShared);
    EXPECT_EQ(NULL, ::GetMenu(main->m_hWnd));
    EXPECT_EQ((UINT)IDR_ALBUMTYPE, main->m_bar.GetActiveMenu());

    child->MDIDestroy();
    PumpMessages();
    EXPECT_EQ((UINT)IDR_JUKEBOX, main->m_bar.GetActiveMenu());
    main->DestroyWindow();
    app.m_pMainWnd = NULL;
    PumpMessages();
}

TEST(MenuBarFrameTest, ADockedViewShowsItsTemplatesMenuInTheMenuBarWhileItStandsInForTheChild)
{
    CPartsApp app;
    TkMultiDocTemplate* albums = new TkMultiDocTemplate(
        IDR_ALBUMTYPE, RUNTIME_CLASS(CPartsDoc), NULL, RUNTIME_CLASS(CPartsView), IDR_NOTESDOCKED);
    app.AddDocTemplate(albums);
    CMenuBarFrame* main = MakeMainFrame<CMenuBarFrame>(app, 640, 480);
    ASSERT_NE(nullptr, main);
    main->ShowWindow(SW_SHOW);
    CDocument* doc = albums->OpenDocumentFileEx(NULL, TRUE, TRUE, 0);
    ASSERT_NE(nullptr, doc);
    PumpMessages();
    POSITION position = doc->GetFirstViewPosition();
    CFrameWnd* docked = doc->GetNextView(position)->GetParentFrame();

    struct Step
    {
        const char* name;
        CFrameWnd* activate;
        UINT menu;
    } steps[] = {
        {"back to the children", NULL, IDR_JUKEBOX},
        {"docked view", docked, IDR_NOTESDOCKED},
        {"docked view again", docked, IDR_NOTESDOCKED},
        {"back again", NULL, IDR_JUKEBOX},
        {"docked view once more", docked, IDR_NOTESDOCKED},
    };
    EXPECT_EQ(docked, main->GetActiveDockedFrame());
    // A docking frame is loaded with its template's docked menu as resource.
    EXPECT_EQ((UINT)IDR_NOTESDOCKED, main->m_bar.GetActiveMenu());
    for (const Step& step : steps)
    {
        main->ActivateDockedFrame(step.activate);
        EXPECT_EQ(step.activate, main->GetActiveDockedFrame()) << step.name;
        EXPECT_EQ(step.menu, main->m_bar.GetActiveMenu()) << step.name;
        EXPECT_EQ(NULL, ::GetMenu(main->m_hWnd)) << step.name;
    }
    // Going, it gives the menu bar back to the frame's menu.
    docked->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(NULL, main->GetActiveDockedFrame());
    EXPECT_EQ((UINT)IDR_JUKEBOX, main->m_bar.GetActiveMenu());
    main->DestroyWindow();
    app.m_pMainWnd = NULL;
    PumpMessages();
}

// An SDI frame with a menu bar, made and docked when the frame is created.
class CSdiMenuBarFrame : public TkFrameWnd
{
public:
    CSdiMenuBarFrame() { m_pMenuBar = &m_bar; }
    int OnCreate(LPCREATESTRUCTA cs)
    {
        if (TkFrameWnd::OnCreate(cs) == -1)
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        const UINT menus[] = {IDR_JUKEBOX};
        if (!m_bar.CreateToolBarEx(0, this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kTkMenuBarId,
                                   "Menu Bar") ||
            !m_bar.SetMenuList(menus, 1))
            return -1;
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_bar);
        return 0;
    }
    BOOL HasMenuBarFeature() const
    {
        return dynamic_cast<TkMenuBarFeature*>(m_pMenuPlugIn) != nullptr;
    }
    TkMenuBar m_bar;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSdiMenuBarFrame, TkFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(SdiFramePartsTest, TheSdiFramesMenuBarTakesItsMenuAndTheWindowShowsNone)
{
    CPartsApp app;
    CSdiMenuBarFrame* frame = new CSdiMenuBarFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_JUKEBOX));
    frame->SetWindowPos(NULL, 0, 0, 400, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
    frame->RecalcLayout();
    PumpMessages();
    EXPECT_TRUE(frame->HasMenuBarFeature());
    EXPECT_EQ(NULL, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(3, frame->m_bar.GetCount());
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, (UINT)frame->m_bar.GetParent()->GetDlgCtrlID());
    const UINT getMenu = ::RegisterWindowMessageA("WM_TKGETMENU");
    EXPECT_EQ((LRESULT)::GetSubMenu(frame->GetMenuForId(IDR_JUKEBOX), 2),
              frame->SendMessage(getMenu, IDR_JUKEBOX, 2));
    frame->DestroyWindow();
    PumpMessages();
}

TEST(SdiFramePartsTest, TheSdiFrameShowsAMenuOnlyWhereOneExistsAndNeverInAChildWindow)
{
    CPartsApp app;
    struct Case
    {
        UINT id;
        DWORD style;
        BOOL menu;
    } cases[] = {
        {IDR_JUKEBOX, WS_OVERLAPPEDWINDOW, TRUE},
        {kNoResources, WS_OVERLAPPEDWINDOW, FALSE},
        {IDR_JUKEBOX, WS_CHILD, FALSE},
    };
    // Frames go with their windows.
    TkFrameWnd* parent = new TkFrameWnd;
    ASSERT_TRUE(parent->Create(NULL, "Parent"));
    for (const Case& c : cases)
    {
        TkFrameWnd* frame = new TkFrameWnd;
        ASSERT_TRUE(frame->LoadFrame(c.id, c.style, c.style & WS_CHILD ? parent : NULL)) << c.id;
        EXPECT_EQ(c.id, frame->m_nFrameMenuId);
        EXPECT_EQ(c.menu, ::GetMenu(frame->m_hWnd) != NULL) << c.id;
        EXPECT_EQ(NULL, frame->GetMenuForId(c.id)) << c.id;
        frame->DestroyWindow();
    }
    parent->DestroyWindow();
    PumpMessages();
}

TEST(SdiFramePartsTest, WithAMenuBarTheSdiFrameKeepsItsMenuForTheBar)
{
    CPartsApp app;
    TkMenuBar bar;
    TkFrameWnd* frame = new TkFrameWnd;
    frame->m_pMenuBar = &bar;
    ASSERT_TRUE(frame->LoadFrame(IDR_JUKEBOX));
    EXPECT_EQ(NULL, ::GetMenu(frame->m_hWnd));
    HMENU own = frame->GetMenuForId(IDR_JUKEBOX);
    ASSERT_NE(nullptr, own);
    EXPECT_EQ(own, frame->GetDefaultMenu());
    EXPECT_EQ(NULL, frame->GetMenuForId(IDR_ALBUMTYPE));
    const UINT getMenu = ::RegisterWindowMessageA("WM_TKGETMENU");
    EXPECT_EQ((LRESULT)::GetSubMenu(own, 1), frame->SendMessage(getMenu, IDR_JUKEBOX, 1));
    frame->DestroyWindow();
    PumpMessages();
}

// Maximised, the child's window text shows in brackets after the frame's
// title (the MDI client adds it), and its system menu and caption boxes join
// the window's menu (four items more) or, with a menu bar, the bar.
TEST(MaximiseTest, AMaximisedChildsTitleAndCaptionBoxesGoToTheFrameOnceAndComeBackOnRestore)
{
    struct Step
    {
        UINT message;
        BOOL zoomed;
        const char* title;
        int menuItems;
    } steps[] = {
        {WM_MDIMAXIMIZE, TRUE, "Jukebox - [A]", 7},
        {WM_MDIRESTORE, FALSE, "Jukebox - A", 3},
        {WM_MDIMAXIMIZE, TRUE, "Jukebox - [A]", 7},
        {WM_MDIRESTORE, FALSE, "Jukebox - A", 3},
    };
    for (BOOL menuBar : {FALSE, TRUE})
    {
        SCOPED_TRACE(menuBar ? "menu bar" : "window menu");
        CPartsApp app;
        CMultiDocTemplate* albums =
            new CMultiDocTemplate(IDR_ALBUMTYPE, RUNTIME_CLASS(CPartsDoc),
                                  RUNTIME_CLASS(TkMDIChildWnd), RUNTIME_CLASS(CPartsView));
        app.AddDocTemplate(albums);
        TkMDIFrameWnd* main = menuBar ? MakeMainFrame<CMenuBarFrame>(app, 640, 480)
                                      : MakeMainFrame<TkMDIFrameWnd>(app, 640, 480);
        ASSERT_NE(nullptr, main);
        main->ShowWindow(SW_SHOW);
        app.OnFileNew();
        PumpMessages();
        CMDIChildWnd* child = main->MDIGetActive();
        ASSERT_NE(nullptr, child);
        child->GetActiveDocument()->SetTitle("A");
        for (const Step& step : steps)
        {
            ::SendMessageA(main->m_hWndMDIClient, step.message, (WPARAM)child->m_hWnd, 0);
            PumpMessages();
            main->OnUpdateFrameTitle(TRUE);
            CString title;
            main->GetWindowText(title);
            EXPECT_EQ(step.zoomed, child->IsZoomed());
            EXPECT_STREQ(step.title, title);
            HMENU menu = ::GetMenu(main->m_hWnd);
            if (menuBar)
            {
                EXPECT_EQ(NULL, menu);
                EXPECT_EQ(!step.zoomed,
                          static_cast<CMenuBarFrame*>(main)->m_bar.GetCaptionGroup()->IsHidden());
            }
            else
                EXPECT_EQ(step.menuItems, ::GetMenuItemCount(menu));
        }
        main->DestroyWindow();
        app.m_pMainWnd = NULL;
        PumpMessages();
    }
}
