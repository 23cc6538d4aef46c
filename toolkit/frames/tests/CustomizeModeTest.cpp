// The frames while the user customises tool bars: no hit on the frame itself,
// no Alt-key menu, no closing of a docking view, no stay-active mark, and a
// layout that waits behind the customise sheet done at once; and the bitmap
// menus that draw the tool-bar manager's bitmaps.
#include "tests/support/TestFramework.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/InputScript.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkFrameBar.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkFrameWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/menus/TkBmpMenuPlugIn.h"
#include "toolkit/menus/TkMenuBar.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <memory>
#include <string>
#include <vector>

namespace
{
class CCustomizeApp : public CWinApp
{
public:
    CCustomizeApp() : CWinApp("CustomizeModeTest") {}
};

// Counts its layouts and the menu loops it enters; shows its menu plug-in.
template <class Base>
class CCountingFrame : public Base
{
public:
    void RecalcLayout(BOOL notify = TRUE) override
    {
        m_layouts++;
        Base::RecalcLayout(notify);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERMENULOOP)
            m_menuLoops++;
        return Base::WindowProc(message, wParam, lParam);
    }
    TkBmpMenuPlugIn* MenuPlugIn() const { return dynamic_cast<TkBmpMenuPlugIn*>(this->m_pMenuPlugIn); }
    int m_layouts = 0;
    int m_menuLoops = 0;
};
typedef CCountingFrame<TkMDIFrameWnd> CMainFrame;
typedef CCountingFrame<TkFrameWnd> CSdiFrame;

const UINT kBarId = 0xE840;

class CustomizeModeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_main = new CMainFrame;
        m_mainManager.reset(new TkToolBarManager(m_main));
        m_main->SetControlBarManager(m_mainManager.get());
        ASSERT_TRUE(m_main->LoadFrame(IDR_JUKEBOX));
        m_app.m_pMainWnd = m_main;
        m_main->SetWindowPos(NULL, 0, 0, 640, 480, SWP_NOZORDER);
        m_main->EnableDocking(CBRS_ALIGN_ANY);
        TkFrameBar* bar = new TkFrameBar;
        bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(bar->Create(m_main, "Notes", WS_VISIBLE | CBRS_LEFT, TKCBRS_FILLCHILD, kBarId));
        m_main->DockControlBar(bar);
        m_docked = new TkDockableFrame;
        ASSERT_TRUE(m_docked->Create(NULL, "Notes", WS_CHILD | WS_VISIBLE | WS_CAPTION,
                                     CRect(0, 0, 100, 100), bar));
        m_main->ShowWindow(SW_SHOW);
        m_main->RecalcLayout();

        m_sdi = new CSdiFrame;
        m_sdiManager.reset(new TkToolBarManager(m_sdi));
        m_sdi->SetControlBarManager(m_sdiManager.get());
        ASSERT_TRUE(m_sdi->LoadFrame(IDR_JUKEBOX));
        m_sdi->SetWindowPos(NULL, 100, 100, 400, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpMessages();
    }
    void TearDown() override
    {
        m_sdi->DestroyWindow();
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    // Customise mode leaves its frame disabled for the sheet to enable again.
    static void Customize(TkToolBarManager* manager, CFrameWnd* frame, BOOL on)
    {
        if (on)
            manager->EnterConfigMode();
        else
        {
            manager->ExitConfigMode();
            frame->EnableWindow(TRUE);
        }
    }
    // Below the top border of a thick frame, within the smallest caption.
    static CPoint CaptionPoint(CWnd* frame)
    {
        CRect rect;
        frame->GetWindowRect(&rect);
        return CPoint(rect.CenterPoint().x, rect.top + 8);
    }
    static BOOL PreTranslateSysCommand(CWnd* window, UINT command)
    {
        MSG msg = {window->m_hWnd, WM_SYSCOMMAND, command, 0};
        return window->PreTranslateMessage(&msg);
    }

    CCustomizeApp m_app;
    CMainFrame* m_main = NULL;
    std::unique_ptr<TkToolBarManager> m_mainManager;
    TkDockableFrame* m_docked = NULL;
    CSdiFrame* m_sdi = NULL;
    std::unique_ptr<TkToolBarManager> m_sdiManager;
};
}  // namespace

TEST_F(CustomizeModeTest, WhileCustomisingTheFramesAnswerNoHitNoAltMenuAndKeepNoStayActiveMark)
{
    struct Frame
    {
        const char* name;
        CFrameWnd* frame;
        TkToolBarManager* manager;
        CFrameWnd* managed;
    } frames[] = {
        {"MDI frame", m_main, m_mainManager.get(), m_main},
        {"SDI frame", m_sdi, m_sdiManager.get(), m_sdi},
        // A docking view's frame follows its main frame's manager.
        {"docking frame", m_docked, m_mainManager.get(), m_main},
    };
    for (const Frame& f : frames)
    {
        for (BOOL customizing : {FALSE, TRUE})
        {
            SCOPED_TRACE(std::string(f.name) + (customizing ? " customising" : ""));
            Customize(f.manager, f.managed, customizing);
            CPoint point = CaptionPoint(f.frame);
            LRESULT hit = f.frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
            EXPECT_EQ(customizing ? HTERROR : HTCAPTION, hit);
            f.frame->m_nFlags |= WF_STAYACTIVE;
            f.frame->SendMessage(WM_ENABLE, TRUE);
            EXPECT_EQ(!customizing, (f.frame->m_nFlags & WF_STAYACTIVE) != 0);
            f.frame->m_nFlags &= ~WF_STAYACTIVE;
            Customize(f.manager, f.managed, FALSE);
        }
    }

    // The system commands each frame eats while customising.
    struct Command
    {
        const char* name;
        CWnd* window;
        UINT command;
        BOOL eaten;
    } commands[] = {
        {"MDI frame Alt menu", m_main, SC_KEYMENU, TRUE},
        {"SDI frame Alt menu", m_sdi, SC_KEYMENU, TRUE},
        {"docking frame close", m_docked, SC_CLOSE, TRUE},
        {"MDI frame close", m_main, SC_CLOSE, FALSE},
    };
    Customize(m_mainManager.get(), m_main, TRUE);
    Customize(m_sdiManager.get(), m_sdi, TRUE);
    for (const Command& c : commands)
        EXPECT_EQ(c.eaten, PreTranslateSysCommand(c.window, c.command)) << c.name;
    Customize(m_mainManager.get(), m_main, FALSE);
    Customize(m_sdiManager.get(), m_sdi, FALSE);
    for (const Command& c : commands)
        EXPECT_FALSE(PreTranslateSysCommand(c.window, c.command)) << c.name;
}

TEST_F(CustomizeModeTest, TheMdiFramesCaptionLosesItsStayActiveMarkWhileCustomising)
{
    for (BOOL customizing : {FALSE, TRUE})
    {
        Customize(m_mainManager.get(), m_main, customizing);
        m_main->m_nFlags |= WF_STAYACTIVE;
        m_main->SendMessage(WM_NCACTIVATE, FALSE);
        EXPECT_EQ(!customizing, (m_main->m_nFlags & WF_STAYACTIVE) != 0) << customizing;
        m_main->m_nFlags &= ~WF_STAYACTIVE;
        Customize(m_mainManager.get(), m_main, FALSE);
    }
}

TEST_F(CustomizeModeTest, ADialogsIdleTimeDoesAWaitingLayoutOnlyWhileCustomising)
{
    struct Case
    {
        const char* name;
        BOOL customizing;
        UINT reason;
        int layouts;
    } cases[] = {
        {"customising, dialog", TRUE, MSGF_DIALOGBOX, 1},
        {"customising, menu", TRUE, MSGF_MENU, 0},
        {"not customising", FALSE, MSGF_DIALOGBOX, 0},
    };
    struct Frame
    {
        CFrameWnd* frame;
        TkToolBarManager* manager;
        int* layouts;
    } frames[] = {
        {m_main, m_mainManager.get(), &m_main->m_layouts},
        {m_sdi, m_sdiManager.get(), &m_sdi->m_layouts},
    };
    for (const Frame& f : frames)
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.name);
            Customize(f.manager, f.frame, c.customizing);
            f.frame->DelayRecalcLayout(TRUE);
            *f.layouts = 0;
            f.frame->SendMessage(WM_ENTERIDLE, c.reason, 0);
            EXPECT_EQ(c.layouts, *f.layouts);
            EXPECT_EQ(c.layouts == 0, (f.frame->m_nIdleFlags & CFrameWnd::idleLayout) != 0);
            Customize(f.manager, f.frame, FALSE);
            f.frame->RecalcLayout();
        }
    }
}

// The Alt key's menu command is sent by the default key handling, never
// queued: only the real key shows whether the frame still opens its menu.
TEST_F(CustomizeModeTest, TheAltKeyOpensNoMenuWhileCustomising)
{
    for (BOOL customizing : {FALSE, TRUE})
    {
        Customize(m_mainManager.get(), m_main, customizing);
        m_main->SetForegroundWindow();
        m_main->SetFocus();
        PumpUntilIdle();
        m_main->m_menuLoops = 0;
        InputScript().Key(VK_MENU).Key(VK_ESCAPE).Send();
        EXPECT_EQ(customizing ? 0 : 1, m_main->m_menuLoops) << customizing;
        Customize(m_mainManager.get(), m_main, FALSE);
    }
}

TEST(CustomizeBitmapsTest, BitmapMenusDrawTheToolBarManagersBitmaps)
{
    CCustomizeApp app;
    struct Case
    {
        const char* name;
        BOOL bmpMenus;
        BOOL menuBar;
        BOOL shared;
    } cases[] = {
        {"bitmap menus", TRUE, FALSE, TRUE},
        {"menu bar with bitmap menus", TRUE, TRUE, TRUE},
        {"menu bar alone", FALSE, TRUE, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TkMenuBar bar;
        CMainFrame* main = new CMainFrame;
        TkToolBarManager mainManager(main);
        main->SetControlBarManager(&mainManager);
        main->EnableBmpMenus(c.bmpMenus, c.bmpMenus, TkBmpMenuPlugIn::PlugInBmpMenus);
        CSdiFrame* sdi = new CSdiFrame;
        TkToolBarManager sdiManager(sdi);
        sdi->SetControlBarManager(&sdiManager);
        sdi->EnableBmpMenus(c.bmpMenus, c.bmpMenus, TkBmpMenuPlugIn::PlugInBmpMenus);
        if (c.menuBar)
            sdi->m_pMenuBar = &bar;
        ASSERT_TRUE(main->LoadFrame(IDR_JUKEBOX));
        ASSERT_TRUE(sdi->LoadFrame(IDR_JUKEBOX));
        ASSERT_NE(nullptr, sdi->MenuPlugIn());
        EXPECT_EQ(c.shared, sdi->MenuPlugIn()->GetBmpMgr() == sdiManager.GetBmpMgr());
        if (!c.menuBar)
        {
            ASSERT_NE(nullptr, main->MenuPlugIn());
            EXPECT_EQ(c.shared, main->MenuPlugIn()->GetBmpMgr() == mainManager.GetBmpMgr());
        }
        sdi->DestroyWindow();
        main->DestroyWindow();
        PumpMessages();
    }
}
