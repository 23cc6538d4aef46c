// The tool-bar manager on a real MDI frame: the built-in bars it makes, user
// bars and their ids, the options and their persistence, config mode, the
// "WM_BARNOTIFY" events listeners see, check boxes across bars, and bars
// made again from a saved layout.
#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/menus/TkMDIMenuBar.h"
#include "toolkit/bars/TkDockState.h"
#include "toolkit/state/TkPTNStrategy.h"
#include "toolkit/state/TkPersistentTreeNode.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <string>
#include <utility>
#include <vector>

namespace {

const UINT kFrameResource = 500;
const UINT kToolBarResource = 200;
const char kRegistryKey[] = "ZymToolBarManagerTest";
const UINT kMainBar = 0xE800;
const UINT kSecondBar = 0xE801;
const UINT kHiddenBar = 0xE802;
const UINT kFloatingBar = 0xE803;
const UINT kCheckCommand = 101;
const UINT kMainIds[] = {100, 0, 101, 102};
const UINT kSecondIds[] = {101, 102};

class CManagerTestApp : public CWinApp
{
public:
    CManagerTestApp() : CWinApp("ToolBarManagerTest") {}
    using CWinApp::SetRegistryKey;
};

// Records the "WM_BARNOTIFY" messages it receives as (bar id, code).
class CBarListener : public CWnd
{
public:
    BOOL Make() { return CreateEx(0, "STATIC", "listener", WS_POPUP, 0, 0, 1, 1, NULL, 0); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TkToolBarManager::s_nBarNotifyMsg)
            m_events.push_back({(UINT)wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<UINT, LPARAM>> m_events;
};

// Handles the test bars' commands, so command update leaves them enabled.
class CManagedFrame : public TkMDIFrameWnd
{
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override
    {
        if (id >= 100 && id <= 102 && code == CN_COMMAND)
            return TRUE;
        return TkMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
    }
};

class ToolBarManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
        m_app.SetRegistryKey(kRegistryKey);
        m_frame = MakeFrame();
        ASSERT_TRUE(m_frame != NULL);
        m_manager = MakeManager(m_frame);
        ASSERT_TRUE(m_listener.Make());
        m_manager->AddListener(&m_listener);
    }
    void TearDown() override
    {
        DestroyFrame(m_frame, m_manager);
        delete m_menuBar;
        m_listener.DestroyWindow();
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    }
    CManagedFrame* MakeFrame()
    {
        CManagedFrame* frame = new CManagedFrame;
        if (!frame->LoadFrame(kFrameResource))
            return NULL;
        m_app.m_pMainWnd = frame;
        frame->SetWindowPos(NULL, 0, 0, 700, 400, SWP_NOZORDER);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->ShowWindow(SW_SHOW);
        return frame;
    }
    TkToolBarManager* MakeManager(CManagedFrame* frame)
    {
        TkToolBarManager* manager = new TkToolBarManager(frame);
        frame->SetControlBarManager(manager);
        EXPECT_TRUE(manager->LoadToolBarResource(kToolBarResource, 0));
        return manager;
    }
    void DestroyFrame(CManagedFrame* frame, TkToolBarManager* manager)
    {
        frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
        delete manager;
    }
    void DefineBars(TkToolBarManager* manager)
    {
        manager->DefineDefaultToolBar(kMainBar, "Main", 4, kMainIds, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP,
                                      0, TRUE, TRUE);
        manager->DefineDefaultToolBar(kSecondBar, "Second", 2, kSecondIds, CBRS_ALIGN_ANY,
                                      AFX_IDW_DOCKBAR_TOP, kMainBar, TRUE, TRUE);
        manager->DefineDefaultToolBar(kHiddenBar, "Hidden", 2, kSecondIds, CBRS_ALIGN_ANY,
                                      AFX_IDW_DOCKBAR_LEFT, 0, TRUE, FALSE);
        manager->DefineDefaultToolBar(kFloatingBar, "Floating", 2, kSecondIds, CBRS_ALIGN_ANY,
                                      AFX_IDW_DOCKBAR_TOP, 0, FALSE, TRUE);
    }
    static std::vector<UINT> Ids(TkCustomToolBar* bar)
    {
        std::vector<UINT> ids;
        for (int i = 0; i < bar->GetCount(); i++)
            ids.push_back(bar->GetButtonID(i));
        return ids;
    }
    // The texts of the menu buttons (the MDI menu bar adds caption buttons).
    static std::vector<std::string> MenuTexts(TkCustomToolBar* bar)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < bar->GetCount(); i++) {
            if (bar->GetButton(i)->m_nKind == kTkBtnMenu)
                texts.push_back((LPCSTR) static_cast<TkTBMenuBtn*>(bar->GetButton(i))->m_strText);
        }
        return texts;
    }
    static std::string Title(CWnd* wnd)
    {
        CString title;
        wnd->GetWindowText(title);
        return (LPCSTR)title;
    }
    std::vector<LPARAM> CodesOf(UINT barId) const
    {
        std::vector<LPARAM> codes;
        for (const auto& event : m_listener.m_events) {
            if (event.first == barId)
                codes.push_back(event.second);
        }
        return codes;
    }
    void Click(TkCustomToolBar* bar, int index)
    {
        CRect rect;
        bar->GetButtonRect(index, &rect);
        CPoint centre = rect.CenterPoint();
        bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
        PumpMessages();
    }

    // Gives the frame a new menu bar; the one before must be destroyed.
    TkMDIMenuBar* GiveMenuBar()
    {
        delete m_menuBar;
        m_menuBar = new TkMDIMenuBar;
        m_frame->m_pMenuBar = m_menuBar;
        return m_menuBar;
    }

    CManagerTestApp m_app;
    CManagedFrame* m_frame = nullptr;
    TkMDIMenuBar* m_menuBar = nullptr;
    TkToolBarManager* m_manager = nullptr;
    CBarListener m_listener;
};

TEST_F(ToolBarManagerTest, BindingAFrameWithoutBarsMakesTheDefinedOnes)
{
    DefineBars(m_manager);
    m_manager->BindToolBars();
    PumpMessages();

    struct Expected
    {
        UINT id;
        const char* title;
        std::vector<UINT> ids;
        bool visible;
        bool floating;
    };
    const Expected expected[] = {
        {kMainBar, "Main", {100, 0, 101, 102}, true, false},
        {kSecondBar, "Second", {101, 102}, true, false},
        {kHiddenBar, "Hidden", {101, 102}, false, false},
        {kFloatingBar, "Floating", {101, 102}, true, true},
    };
    for (const Expected& bar : expected) {
        SCOPED_TRACE(bar.title);
        TkCustomToolBar* made = m_manager->FindBarById(bar.id);
        ASSERT_TRUE(made != NULL);
        EXPECT_EQ(bar.title, Title(made));
        EXPECT_EQ(bar.ids, Ids(made));
        EXPECT_EQ(bar.visible, made->IsWindowVisible() != FALSE);
        EXPECT_EQ(bar.floating, made->IsFloating() != FALSE);
        EXPECT_EQ(m_manager, made->GetToolBarManager());
        EXPECT_EQ(m_manager->GetBmpMgr(), made->GetBmpMgr());
        EXPECT_EQ(CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                  made->GetBarStyle() & (CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC));
        // Made visible, so shown is heard while the window is being created.
        ASSERT_LE(2u, CodesOf(bar.id).size());
        EXPECT_EQ(kTkBarCreated, CodesOf(bar.id)[1]);
    }
    EXPECT_EQ(kTkBarHidden, CodesOf(kHiddenBar).back());

    // The second bar was docked beside the first: same row, right after it.
    CRect main, second;
    m_manager->FindBarById(kMainBar)->GetWindowRect(&main);
    m_manager->FindBarById(kSecondBar)->GetWindowRect(&second);
    EXPECT_EQ(main.top, second.top);
    EXPECT_GE(second.left, main.right - 2);

    const UINT* ids = NULL;
    int count = 0;
    ASSERT_TRUE(m_manager->GetDefaultButtons(kSecondBar, &ids, &count));
    EXPECT_EQ(kSecondIds, ids);
    EXPECT_EQ(2, count);
    EXPECT_FALSE(m_manager->GetDefaultButtons(0xE8A0, &ids, &count));

    // With bars present, binding makes no more.
    m_listener.m_events.clear();
    m_manager->BindToolBars();
    EXPECT_TRUE(CodesOf(kMainBar).empty());
}

TEST_F(ToolBarManagerTest, UserBarsTakeTheLowestFreeIdUpToTheLastOne)
{
    TkCustomToolBar* first = m_manager->CreateUserToolBar(NULL);
    ASSERT_TRUE(first != NULL);
    EXPECT_EQ((int)kTkFirstUserBarId, first->GetDlgCtrlID());
    EXPECT_EQ("ToolBar1", Title(first));
    TkCustomToolBar* second = m_manager->CreateUserToolBar("Mine");
    ASSERT_TRUE(second != NULL);
    EXPECT_EQ((int)kTkFirstUserBarId + 1, second->GetDlgCtrlID());
    EXPECT_EQ("Mine", Title(second));
    EXPECT_EQ((std::vector<LPARAM>{kTkBarShown, kTkBarCreated}), CodesOf(kTkFirstUserBarId));

    first->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(kTkBarDestroyed, CodesOf(kTkFirstUserBarId).back());
    TkCustomToolBar* again = m_manager->CreateUserToolBar(NULL);
    ASSERT_TRUE(again != NULL);
    EXPECT_EQ((int)kTkFirstUserBarId, again->GetDlgCtrlID());

    // 223 user ids in all; the menu bar's id is never handed out.
    for (UINT id = kTkFirstUserBarId + 2; id <= kTkLastUserBarId; id++) {
        TkCustomToolBar* bar = m_manager->CreateUserToolBar(NULL);
        ASSERT_TRUE(bar != NULL) << id;
        ASSERT_EQ((int)id, bar->GetDlgCtrlID());
    }
    EXPECT_EQ("ToolBar223", Title(m_manager->FindBarById(kTkLastUserBarId)));
    EXPECT_TRUE(m_manager->CreateUserToolBar(NULL) == NULL);
    EXPECT_TRUE(m_manager->FindBarById(0xE8FF) == NULL);
}

TEST_F(ToolBarManagerTest, CheckBoxTogglesItsCommandOnEveryBar)
{
    DefineBars(m_manager);
    m_manager->BindToolBars();
    PumpMessages();
    std::vector<TkCustomToolBar*> bars;
    for (UINT id : {kMainBar, kSecondBar, kHiddenBar, kFloatingBar})
        bars.push_back(m_manager->FindBarById(id));
    for (TkCustomToolBar* bar : bars) {
        for (int i = 0; i < bar->GetCount(); i++) {
            if (bar->GetButtonID(i) == kCheckCommand)
                bar->SetButtonStyle(i, bar->GetButtonStyle(i) | TBBS_CHECKBOX | TBBS_INDETERMINATE);
        }
    }
    auto checkedEverywhere = [&](DWORD state) {
        for (TkCustomToolBar* bar : bars) {
            for (int i = 0; i < bar->GetCount(); i++) {
                if (bar->GetButtonID(i) == kCheckCommand) {
                    EXPECT_EQ(state, bar->GetButtonStyle(i) & (TBBS_CHECKED | TBBS_INDETERMINATE))
                        << Title(bar);
                }
            }
        }
    };
    Click(bars[1], 0);
    checkedEverywhere(TBBS_CHECKED);
    Click(bars[0], 2);
    checkedEverywhere(0);
}

TEST_F(ToolBarManagerTest, OptionsRestyleTheBarsOnlyWhenTheyChange)
{
    DefineBars(m_manager);
    m_manager->BindToolBars();
    TkCustomToolBar* bar = m_manager->FindBarById(kMainBar);
    EXPECT_FALSE(bar->IsCoolLook());

    m_manager->EnableToolTips(FALSE);
    EXPECT_EQ(0u, bar->GetBarStyle() & CBRS_TOOLTIPS);
    m_manager->EnableCoolLook(TRUE, kTkCoolLookBits);
    EXPECT_EQ(kTkCoolLookBits, bar->GetExBarStyle() & kTkCoolLookBits);
    EXPECT_TRUE(bar->IsCoolLook());
    // Bits given for no change are not applied.
    m_manager->EnableCoolLook(TRUE, 0x0400);
    EXPECT_EQ(0u, bar->GetExBarStyle() & 0x0400);

    CRect before;
    bar->GetButtonRect(0, &before);
    m_manager->EnableLargeBtns(TRUE);
    PumpMessages();
    m_frame->RecalcLayout();
    CRect after;
    bar->GetButtonRect(0, &after);
    EXPECT_GT(after.Width(), before.Width());
}

TEST_F(ToolBarManagerTest, OptionsRoundTripThroughProfileAndTree)
{
    m_manager->EnableToolTips(FALSE);
    m_manager->EnableCoolLook(TRUE, kTkCoolLookBits);
    m_manager->EnableLargeBtns(TRUE);
    m_manager->SaveStateToProfile("CustomTB");
    EXPECT_EQ(0, m_app.GetProfileInt("CustomTB-ToolBarManager", "ToolTips", -1));
    EXPECT_EQ(1, m_app.GetProfileInt("CustomTB-ToolBarManager", "CoolLook", -1));
    EXPECT_EQ(1, m_app.GetProfileInt("CustomTB-ToolBarManager", "LargeButtons", -1));

    TkPTNFactory factory;
    TkPersistentTreeNode root;
    root.Initialize("Root", NULL);
    ASSERT_TRUE(m_manager->SaveStateToTree(&factory, &root));
    ASSERT_TRUE(m_manager->SaveStateToTree(&factory, &root)) << "saving twice replaces the values";

    struct Load
    {
        const char* name;
        void (*load)(TkToolBarManager&, TkPersistentTreeNode&);
    };
    const Load loads[] = {
        {"profile", [](TkToolBarManager& manager, TkPersistentTreeNode&) { manager.LoadStateFromProfile("CustomTB"); }},
        {"tree", [](TkToolBarManager& manager, TkPersistentTreeNode& node) { EXPECT_TRUE(manager.LoadStateFromTree(&node)); }},
    };
    for (const Load& load : loads) {
        SCOPED_TRACE(load.name);
        TkToolBarManager other(m_frame);
        load.load(other, root);
        EXPECT_FALSE(other.IsToolTipsEnabled());
        EXPECT_TRUE(other.IsCoolLookEnabled());
        EXPECT_TRUE(other.IsLargeBtnsEnabled());
    }
    PumpMessages();
}

TEST_F(ToolBarManagerTest, TreeWithoutManagerNodeStoresDefaultsWithoutRestylingAndMakesBarsOnlyOnce)
{
    DefineBars(m_manager);
    TkPersistentTreeNode empty;
    empty.Initialize("Root", NULL);
    ASSERT_TRUE(m_manager->LoadStateFromTree(&empty));
    EXPECT_TRUE(m_manager->IsCoolLookEnabled());
    EXPECT_TRUE(m_manager->IsToolTipsEnabled());
    EXPECT_FALSE(m_manager->IsLargeBtnsEnabled());
    TkCustomToolBar* bar = m_manager->FindBarById(kMainBar);
    ASSERT_TRUE(bar != NULL) << "a frame without bars gets the defined ones";
    // Made after the values were stored, so made in the cool look.
    EXPECT_TRUE(bar->IsCoolLook());

    TkCustomToolBar* user = m_manager->CreateUserToolBar(NULL);
    user->ModifyExBarStyle(kTkCoolLookBits, 0, FALSE);
    m_listener.m_events.clear();
    m_manager->EnableCoolLook(FALSE, kTkCoolLookBits);
    ASSERT_TRUE(m_manager->LoadStateFromTree(&empty));
    EXPECT_FALSE(user->IsCoolLook()) << "stored, not applied";
    EXPECT_TRUE(CodesOf(kMainBar).empty()) << "no bar made again";
    EXPECT_FALSE(m_manager->LoadStateFromTree(NULL));
}

TEST_F(ToolBarManagerTest, ConfigModeDisablesTheRestOfTheFrameAndGivesBackWhatItTook)
{
    DefineBars(m_manager);
    m_manager->BindToolBars();
    CWnd* client = CWnd::FromHandle(m_frame->m_hWndMDIClient);
    TkCustomToolBar* userBar = m_manager->CreateUserToolBar(NULL);
    TkCustomToolBar* disabledBar = m_manager->FindBarById(kHiddenBar);
    disabledBar->EnableWindow(FALSE);
    CWnd* dockBar = m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(dockBar != NULL);

    m_manager->EnterConfigMode();
    EXPECT_TRUE(m_manager->InCustomizeMode());
    EXPECT_TRUE(m_frame->IsWindowEnabled());
    EXPECT_FALSE(client->IsWindowEnabled());
    EXPECT_FALSE(userBar->IsWindowEnabled());
    EXPECT_TRUE(dockBar->IsWindowEnabled());
    m_manager->EnterConfigMode();

    userBar->DestroyWindow();
    m_manager->ExitConfigMode();
    EXPECT_FALSE(m_manager->InCustomizeMode());
    EXPECT_FALSE(m_frame->IsWindowEnabled()) << "the modal sheet enables its owner";
    EXPECT_TRUE(client->IsWindowEnabled());
    EXPECT_FALSE(disabledBar->IsWindowEnabled()) << "was disabled before";
    m_frame->EnableWindow(TRUE);
    m_manager->ExitConfigMode();
    EXPECT_TRUE(m_frame->IsWindowEnabled()) << "a second exit does nothing";
}

TEST_F(ToolBarManagerTest, ListenersAreToldOnceAndGoneOnesAreSkipped)
{
    CBarListener gone;
    ASSERT_TRUE(gone.Make());
    m_manager->AddListener(&gone);
    m_manager->AddListener(&m_listener);
    gone.DestroyWindow();
    m_manager->NotifyBarEvent(0xE820, kTkBarSelectionChanged);
    EXPECT_EQ((std::vector<std::pair<UINT, LPARAM>>{{0xE820, kTkBarSelectionChanged}}), m_listener.m_events);
    EXPECT_TRUE(gone.m_events.empty());

    m_manager->RemoveListener(&m_listener);
    m_manager->NotifyBarEvent(0xE820, kTkBarShown);
    EXPECT_EQ(1u, m_listener.m_events.size());
}

TEST_F(ToolBarManagerTest, ShowingAndHidingABarIsToldOnceEach)
{
    TkCustomToolBar* bar = m_manager->CreateUserToolBar(NULL);
    // Made visible: shown is heard while the window is being created.
    EXPECT_EQ((std::vector<LPARAM>{kTkBarShown, kTkBarCreated}), CodesOf(bar->GetDlgCtrlID()));
    m_frame->DockControlBar(bar);
    PumpMessages();
    m_listener.m_events.clear();
    m_frame->ShowControlBar(bar, FALSE, FALSE);
    m_frame->ShowControlBar(bar, FALSE, FALSE);
    m_frame->ShowControlBar(bar, TRUE, FALSE);
    m_frame->ShowControlBar(bar, TRUE, FALSE);
    PumpMessages();
    EXPECT_EQ((std::vector<LPARAM>{kTkBarHidden, kTkBarShown}), CodesOf(bar->GetDlgCtrlID()));
}

TEST_F(ToolBarManagerTest, SavedLayoutMakesUserBarsAgainWithTitleAndButtons)
{
    DefineBars(m_manager);
    m_manager->BindToolBars();
    TkCustomToolBar* user = m_manager->CreateUserToolBar("Favourites");
    const UINT ids[] = {102, 0, 100};
    user->SetButtons(ids, 3);
    user->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(user, AFX_IDW_DOCKBAR_LEFT);
    m_frame->RecalcLayout();
    EXPECT_EQ(kTkCustomToolBarType, m_manager->GetBarTypeID(user));
    EXPECT_EQ(0u, m_manager->GetBarTypeID(m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)));
    m_frame->SaveBarState("CustomTB");
    m_manager->SaveStateToProfile("CustomTB");
    DestroyFrame(m_frame, m_manager);

    m_frame = MakeFrame();
    ASSERT_TRUE(m_frame != NULL);
    m_manager = MakeManager(m_frame);
    DefineBars(m_manager);
    m_frame->LoadBarState("CustomTB");
    m_manager->LoadStateFromProfile("CustomTB");
    PumpMessages();

    TkCustomToolBar* again = m_manager->FindBarById(kTkFirstUserBarId);
    ASSERT_TRUE(again != NULL);
    EXPECT_EQ("Favourites", Title(again));
    EXPECT_EQ((std::vector<UINT>{102, 0, 100}), Ids(again));
    EXPECT_EQ(m_manager, again->GetToolBarManager());
    EXPECT_FALSE(again->IsFloating());
    EXPECT_EQ((std::vector<UINT>{100, 0, 101, 102}), Ids(m_manager->FindBarById(kMainBar)));
}

// The frame's menu bar: its buttons come from the menu resource the manager
// was given, it is made first with the default bars, and a saved layout makes
// it again as a menu bar.
TEST_F(ToolBarManagerTest, MenuBarIsMadeFromTheMenuInfoAndSavedAsOne)
{
    EXPECT_FALSE(m_manager->SetMenuInfo(1, kFrameResource)) << "no menu bar on the frame";
    TkMDIMenuBar& menuBar = *GiveMenuBar();
    ASSERT_TRUE(m_manager->SetMenuInfo(1, kFrameResource));
    ASSERT_EQ(1, m_manager->GetDefaultMenuBarButtons().GetSize());
    EXPECT_EQ(kTkFirstMenuCommand, m_manager->GetDefaultMenuBarButtons()[0]);
    DefineBars(m_manager);
    m_manager->BindToolBars();
    PumpMessages();

    ASSERT_TRUE(menuBar.GetSafeHwnd() != NULL);
    EXPECT_EQ((int)kTkMenuBarId, menuBar.GetDlgCtrlID());
    EXPECT_EQ("Menu bar", Title(&menuBar));
    EXPECT_EQ(&menuBar, m_manager->FindBarById(kTkMenuBarId));
    EXPECT_EQ(std::vector<std::string>{"&Window"}, MenuTexts(&menuBar));
    CRect menuRect, mainRect;
    menuBar.GetWindowRect(&menuRect);
    m_manager->FindBarById(kMainBar)->GetWindowRect(&mainRect);
    EXPECT_LT(menuRect.top, mainRect.top) << "docked at the top first";
    EXPECT_EQ(kTkMenuBarType, m_manager->GetBarTypeID(&menuBar));

    m_frame->SaveBarState("CustomTB");
    DestroyFrame(m_frame, m_manager);

    m_frame = MakeFrame();
    ASSERT_TRUE(m_frame != NULL);
    m_manager = MakeManager(m_frame);
    TkMDIMenuBar& again = *GiveMenuBar();
    ASSERT_TRUE(m_manager->SetMenuInfo(1, kFrameResource));
    m_frame->LoadBarState("CustomTB");
    PumpMessages();
    EXPECT_EQ((int)kTkMenuBarId, again.GetDlgCtrlID());
    EXPECT_EQ(std::vector<std::string>{"&Window"}, MenuTexts(&again));
}

// An ini-file profile takes no binary values, so a bar's buttons cannot be
// stored there: the dock state and the frame say the save is incomplete
// instead of leaving a layout whose bar comes back empty unnoticed.
TEST_F(ToolBarManagerTest, DockStateReportsABarWhoseButtonsCouldNotBeSaved)
{
    TkCustomToolBar* user = m_manager->CreateUserToolBar(NULL);
    const UINT ids[] = {100, 101};
    user->SetButtons(ids, 2);
    m_frame->DockControlBar(user);
    TkDockState state(m_manager);
    ASSERT_TRUE(state.GetDockState(m_frame));

    state.SaveState("Registry");
    EXPECT_TRUE(state.IsSaveComplete());
    TkPTNFactory factory;
    TkPersistentTreeNode root;
    root.Initialize("Root", NULL);
    EXPECT_TRUE(state.SaveStateToTree(&factory, &root));

    CTempFolder folder("tkmanager");
    LPCSTR registryKey = m_app.m_pszRegistryKey;
    LPCSTR profileName = m_app.m_pszProfileName;
    std::string ini = folder.WindowsPath("layout.ini");
    m_app.m_pszRegistryKey = NULL;
    m_app.m_pszProfileName = ini.c_str();
    state.SaveState("Ini");
    BOOL frameSaved = m_frame->SaveBarState("Ini");
    m_app.m_pszRegistryKey = registryKey;
    m_app.m_pszProfileName = profileName;
    EXPECT_FALSE(state.IsSaveComplete());
    EXPECT_FALSE(frameSaved) << "the frame passes the answer on";
    EXPECT_TRUE(m_frame->SaveBarState("Registry"));
}

}  // namespace

TEST_F(ToolBarManagerTest, MenuIdBitsReplaceTheMenuBarsMap)
{
    const UINT pairs[] = {600, 4, 700, 8};
    EXPECT_FALSE(m_manager->SetMenuIdBits(2, pairs)) << "no menu bar on the frame";
    TkMDIMenuBar& menuBar = *GiveMenuBar();
    ASSERT_TRUE(m_manager->SetMenuInfo(1, kFrameResource));
    UINT bit = 0;
    ASSERT_TRUE(menuBar.LookupMenuBit(kFrameResource, &bit));
    EXPECT_EQ(1u, bit);

    ASSERT_TRUE(m_manager->SetMenuIdBits(2, pairs));
    EXPECT_FALSE(menuBar.LookupMenuBit(kFrameResource, &bit)) << "the loaded menu's bit is gone";
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(menuBar.LookupMenuBit(pairs[2 * i], &bit));
        EXPECT_EQ(pairs[2 * i + 1], bit);
    }
}

// A change of the system colours reaches the frame's bars: their button
// images are mapped again to the new button face.
TEST_F(ToolBarManagerTest, ChangedSystemColoursRemapTheBarsImages)
{
    DefineBars(m_manager);
    m_manager->BindToolBars();
    PumpMessages();
    TkCustomToolBar* bar = dynamic_cast<TkCustomToolBar*>(m_frame->GetControlBar(kMainBar));
    ASSERT_TRUE(bar != NULL);
    ASSERT_TRUE(bar->GetBmpMgr() != NULL);
    const INT kFaceElement = COLOR_BTNFACE;
    const COLORREF old = ::GetSysColor(kFaceElement);
    for (COLORREF face : {RGB(7, 8, 9), RGB(20, 30, 40)}) {
        ::SetSysColors(1, &kFaceElement, &face);
        m_frame->SendMessage(WM_SYSCOLORCHANGE);
        HBITMAP strip = NULL;
        int index = -1;
        ASSERT_TRUE(bar->GetBmpMgr()->GetImage(100, &strip, &index, FALSE));
        // The test bitmap's first image is button-face grey at its corner.
        HDC dc = ::CreateCompatibleDC(NULL);
        HGDIOBJ before = ::SelectObject(dc, strip);
        EXPECT_EQ(face, ::GetPixel(dc, 1, 1));
        ::SelectObject(dc, before);
        ::DeleteDC(dc);
    }
    ::SetSysColors(1, &kFaceElement, &old);
}
