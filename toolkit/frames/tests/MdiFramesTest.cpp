#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/frames/tests/FilterTree.h"
#include "toolkit/frames/tests/MdiFramesTest.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/TkxFilters.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;

class CJukeboxApp : public CWinApp
{
public:
    CJukeboxApp() : CWinApp("MdiFramesTest") {}
    void WinHelp(DWORD_PTR data, UINT) override { g_calls.Record("help " + std::to_string(data)); }
};

class CAlbumDoc : public CDocument
{
    DECLARE_DYNCREATE(CAlbumDoc)
};
IMPLEMENT_DYNCREATE(CAlbumDoc, CDocument)

class CAlbumView : public CView
{
    DECLARE_DYNCREATE(CAlbumView)
public:
    void OnDraw(CDC*) override {}
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override
    {
        g_calls.Record(std::string(activate ? "activate " : "deactivate ") +
                       (LPCSTR)GetDocument()->GetTitle());
        CView::OnActivateView(activate, activateView, deactiveView);
    }
    void OnWhoAnswers() { g_calls.Record("command " + std::string(GetDocument()->GetTitle())); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CAlbumView, CView)
BEGIN_MESSAGE_MAP(CAlbumView, CView)
    ON_COMMAND(ID_WHO_ANSWERS, OnWhoAnswers)
END_MESSAGE_MAP()

class CAlbumFrame : public TkMDIChildWnd
{
    DECLARE_DYNCREATE(CAlbumFrame)
};
IMPLEMENT_DYNCREATE(CAlbumFrame, TkMDIChildWnd)

// Answers every message with its id's low bits and records it.
class CRecordingFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(CRecordingFilter)
public:
    LRESULT OnFilter(UINT message, WPARAM, LPARAM, LRESULT* result) override
    {
        g_calls.Record("filter " + std::to_string(message));
        *result = 42;
        return GetId() & TKMF_HANDLED;
    }
};
IMPLEMENT_DYNCREATE(CRecordingFilter, TkMsgFilter)

}  // namespace

TEST(MdiFrameFiltersTest, TheFramesSwitchesCreateAndDisableTheirFilters)
{
    CJukeboxApp app;
    const std::string frameList = "256 [0; 2; 3; 1; 4; 260; ]; ";
    struct FrameCase
    {
        std::vector<UINT> flags;
        std::string tree;
    } frameCases[] = {
        {{0}, frameList + "261; "},
        // The constructor made the filters switched on at once; 257 comes later.
        {{1}, frameList + "261; 257; "},
        {{1, 0}, frameList + "261; 257 off; "},
    };
    for (const FrameCase& c : frameCases)
    {
        TkMDIFrameWnd frame;
        for (UINT flags : c.flags)
            frame.CreateMsgFilters(flags);
        EXPECT_EQ(c.tree, FilterTree(frame.GetFilterRoot())) << c.flags.size();
    }

    const std::string childList = "256 [0 off; 2 off; 3 off; 1 off; 4 off; 258; ]; ";
    struct ChildCase
    {
        UINT flags;
        std::string tree;
    } childCases[] = {
        {0, ""},
        {1, "257; " + childList + "259; 262; "},
        {1 | 2, "257; 259; 262; "},
        {7, "257; 262; "},
        {1 | 8, "257; " + childList + "259; "},
    };
    for (const ChildCase& c : childCases)
    {
        TkMDIChildWnd child;
        child.CreateMsgFilters(c.flags);
        EXPECT_EQ(c.tree, FilterTree(child.GetFilterRoot())) << c.flags;
    }
    // Switched off again, the list keeps its place and only the rest goes off.
    TkMDIChildWnd child;
    child.CreateMsgFilters(1);
    child.CreateMsgFilters(7);
    EXPECT_EQ("257; 256 [0 off; 2 off; 3 off; 1 off; 4 off; 258 off; ]; 259 off; 262; ",
              FilterTree(child.GetFilterRoot()));
}

TEST(MdiFrameFiltersTest, DockableFramesFeaturesChooseTheirFilters)
{
    CJukeboxApp app;
    const std::string list = "256 [0; 2; 3; 1; 4; 258; ]; ";
    struct Case
    {
        UINT flags;
        std::string tree;
    } cases[] = {
        {0, ""},
        {1, "257; " + list + "259; 262; "},
        {3, "257; 259; 262; "},
        {1 | 4, "257; " + list + "262; "},
    };
    for (const Case& c : cases)
    {
        TkDockableFrame frame;
        frame.SetFeatures(c.flags);
        EXPECT_EQ(c.tree, FilterTree(frame.GetFilterRoot())) << c.flags;
    }
}

TEST(MdiFrameDockOrderTest, NineteenCallsWalkTheDockOrderOnceAndStartAgain)
{
    const UINT B = AFX_IDW_DOCKBAR_BOTTOM;
    const UINT L = AFX_IDW_DOCKBAR_LEFT;
    const UINT R = AFX_IDW_DOCKBAR_RIGHT;
    struct Call
    {
        UINT id;
        int row;
        UINT flags;
    } calls[] = {
        {B, 0, 6}, {L, 1, 7}, {R, 0, 6},  // 0 B 0 L 0 R
        {B, 0, 2}, {L, 0, 3}, {R, 0, 2},  // B L R
        {B, 0, 2}, {L, 1, 7}, {R, 0, 6},  // B 0 L 0 R
        {B, 0, 6}, {L, 0, 3}, {R, 0, 2},  // 0 B L R
        {B, 0, 2}, {L, 1, 7}, {R, 0, 6},  // B 0 L 0 R
        {B, 0, 2}, {L, 0, 3}, {R, 0, 2},  // B L R
        {B, 0, 6},
    };
    TkMDIFrameWnd frame;
    int number = 0;
    for (const Call& c : calls)
    {
        number++;
        UINT id = 0;
        TkMDIFrameWnd::DockPlacement placement = {-1, -1, 0};
        TkMDIFrameWnd::DockSize size = {};
        frame.GetNextDockPosition(id, placement, size);
        EXPECT_EQ(c.id, id) << number;
        EXPECT_EQ(c.row, placement.row) << number;
        EXPECT_EQ(1, placement.column) << number;
        EXPECT_EQ(c.flags, placement.flags) << number;
        EXPECT_EQ(1.0f, size.proportion) << number;
        EXPECT_EQ(150, size.length) << number;
    }
}

namespace
{
// A toolkit main frame with one album open in a child and a docked frame
// with a document of its own beside it.
class MdiFramesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        m_main = new TkMDIFrameWnd;
        ASSERT_TRUE(m_main->LoadFrame(IDR_JUKEBOX));
        m_app.m_pMainWnd = m_main;
        m_main->SetWindowPos(NULL, 0, 0, 640, 480, SWP_NOZORDER);
        m_main->ShowWindow(SW_SHOW);
        m_template = new CMultiDocTemplate(IDR_ALBUMTYPE, RUNTIME_CLASS(CAlbumDoc),
                                           RUNTIME_CLASS(CAlbumFrame), RUNTIME_CLASS(CAlbumView));
        m_docs.AddDocTemplate(m_template);
        m_docs.OnFileNew();
        m_child = static_cast<TkMDIChildWnd*>(m_main->MDIGetActive());
        ASSERT_NE(nullptr, m_child);

        m_dockDoc = new CAlbumDoc;
        m_dockDoc->SetTitle("Notes");
        // The test deletes it when its frame is gone.
        m_dockDoc->m_bAutoDelete = FALSE;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CAlbumView);
        context.m_pCurrentDoc = m_dockDoc;
        m_docked = new CFrameWnd;
        ASSERT_TRUE(m_docked->Create(NULL, "Docked", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100),
                                     m_main, NULL, 0, &context));
        m_docked->InitialUpdateFrame(NULL, FALSE);
        PumpMessages();
        g_calls.Clear();
    }
    void TearDown() override
    {
        m_main->DeactivateDockedFrame(FALSE);
        m_docked->DestroyWindow();
        delete m_dockDoc;
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    std::string Title()
    {
        CString title;
        m_main->GetWindowText(title);
        return std::string(title);
    }
    BOOL Saw(const std::string& call)
    {
        for (const std::string& seen : g_calls.Calls())
        {
            if (seen == call)
                return TRUE;
        }
        return FALSE;
    }

    CJukeboxApp m_app;
    CDocManager m_docs;
    TkMDIFrameWnd* m_main = NULL;
    CMultiDocTemplate* m_template = NULL;
    TkMDIChildWnd* m_child = NULL;
    CAlbumDoc* m_dockDoc = NULL;
    CFrameWnd* m_docked = NULL;
};
}  // namespace

TEST_F(MdiFramesTest, ADockedFrameTakesCommandsHelpAndTitleUntilItGivesThemBack)
{
    struct Step
    {
        const char* name;
        CFrameWnd* docked;  // what ActivateDockedFrame is given; the child for NULL
        std::string command;
        std::string help;
        std::string title;
    } steps[] = {
        {"docked frame", m_docked, "command Notes", "help 131149", "Jukebox - Notes"},
        {"back to the child", NULL, "command Album1", "help 131573", "Jukebox - Album1"},
    };
    m_docked->m_nIDHelp = 77;
    for (const Step& step : steps)
    {
        g_calls.Clear();
        m_main->ActivateDockedFrame(step.docked);
        EXPECT_EQ(step.docked ? step.docked : m_child, m_main->GetActiveFrame()) << step.name;
        EXPECT_EQ(step.docked, m_main->GetActiveDockedFrame()) << step.name;
        EXPECT_TRUE(Saw(step.docked ? "activate Notes" : "activate Album1")) << step.name;
        EXPECT_EQ(step.title, Title()) << step.name;
        g_calls.Clear();
        m_main->SendMessage(WM_COMMAND, ID_WHO_ANSWERS);
        m_main->SendMessage(WM_COMMANDHELP);
        std::vector<std::string> expected = {step.command, step.help};
        EXPECT_EQ(expected, g_calls.Calls()) << step.name;
    }
    // Leaving the docked frame told its view so.
    m_main->ActivateDockedFrame(m_docked);
    g_calls.Clear();
    m_main->DeactivateDockedFrame(TRUE);
    EXPECT_TRUE(Saw("deactivate Notes"));
    EXPECT_EQ(m_child, m_main->GetActiveFrame());
}

TEST_F(MdiFramesTest, ADockedFrameKeepsTheFramesCaptionActiveWhileTheFrameIsInFront)
{
    m_main->SetForegroundWindow();
    PumpMessages();
    m_main->m_nFlags &= ~WF_STAYACTIVE;
    m_main->SendMessage(WM_NCACTIVATE, FALSE);
    EXPECT_FALSE(m_main->m_nFlags & WF_STAYACTIVE);
    m_main->ActivateDockedFrame(m_docked);
    m_main->SendMessage(WM_NCACTIVATE, FALSE);
    EXPECT_TRUE(m_main->m_nFlags & WF_STAYACTIVE);
}

TEST_F(MdiFramesTest, TheFiltersSeeNonClientMessagesFirstAndTheSystemCommandExtension)
{
    const UINT sysCommandEx = ::RegisterWindowMessageA("Toolkit::WM_SYSCOMMANDEX");
    EXPECT_EQ(nsSysCommandEx::GetSysCommandExMessage(), sysCommandEx);
    struct Case
    {
        CWnd* window;
        TkMsgFilter* root;
        UINT filterId;  // odd: the filter answers the message
        UINT message;
        LRESULT answer;
    } cases[] = {
        {m_child, m_child->GetFilterRoot(), 901, WM_NCRBUTTONDBLCLK, 42},
        {m_child, m_child->GetFilterRoot(), 901, sysCommandEx, 42},
        {m_main, m_main->GetFilterRoot(), 903, WM_NCRBUTTONDOWN, 42},
        {m_main, m_main->GetFilterRoot(), 903, sysCommandEx, 42},
        {m_child, m_child->GetFilterRoot(), 902, WM_NCRBUTTONDBLCLK, 0},
    };
    for (const Case& c : cases)
    {
        TkMsgFilter* filter = c.root->FindOrCreate(c.filterId, RUNTIME_CLASS(CRecordingFilter), 0);
        filter->Enable(TRUE);
        g_calls.Clear();
        LRESULT answer = c.window->SendMessage(c.message, HTNOWHERE, 0);
        EXPECT_TRUE(Saw("filter " + std::to_string(c.message))) << c.message;
        EXPECT_EQ(c.answer, answer) << c.message;
        filter->Enable(FALSE);
    }
}
