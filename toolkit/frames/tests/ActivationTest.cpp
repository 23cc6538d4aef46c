// Activation by real clicks: between MDI children, to a docked view standing
// in for the active child and back (active frame, title, menu), the last
// child closing beside a docked view, the floating windows told of the main
// frame's state, and the main frame taking back the foreground that a
// floating window took while it was being activated.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/InputScript.h"

#include "toolkit/bars/TkMiniDockFrameWnd.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;

class CActivationApp : public CWinApp
{
public:
    CActivationApp() : CWinApp("ActivationTest") {}
};

class CActDoc : public CDocument
{
    DECLARE_DYNCREATE(CActDoc)
};
IMPLEMENT_DYNCREATE(CActDoc, CDocument)

// Tells when it is activated and when its frame is.
class CActView : public CView
{
    DECLARE_DYNCREATE(CActView)
public:
    void OnDraw(CDC*) override {}
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override
    {
        g_calls.Record((activate ? "activate " : "deactivate ") + Title());
        CView::OnActivateView(activate, activateView, deactiveView);
    }
    void OnActivateFrame(UINT state, CFrameWnd* frame) override
    {
        g_calls.Record((state == WA_INACTIVE ? "frame off " : "frame on ") + Title());
        CView::OnActivateFrame(state, frame);
    }
    std::string Title() { return (LPCSTR)GetDocument()->GetTitle(); }
};
IMPLEMENT_DYNCREATE(CActView, CView)

// Tells of the main frame's state; once armed, takes the activation when told
// that the main frame is active.
class CFloatFrame : public TkMiniDockFrameWnd
{
    DECLARE_DYNCREATE(CFloatFrame)
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_FLOATSTATUS && (wParam & (FS_ACTIVATE | FS_DEACTIVATE)))
        {
            g_calls.Record(wParam & FS_ACTIVATE ? "float on" : "float off");
            if (s_grab && (wParam & FS_ACTIVATE))
            {
                s_grab = FALSE;
                ::SetActiveWindow(m_hWnd);
            }
        }
        return TkMiniDockFrameWnd::WindowProc(message, wParam, lParam);
    }
    static BOOL s_grab;
};
BOOL CFloatFrame::s_grab = FALSE;
IMPLEMENT_DYNCREATE(CFloatFrame, TkMiniDockFrameWnd)

// Tells of its caption's state.
class CDockedFrame : public TkDockableFrame
{
    DECLARE_DYNCREATE(CDockedFrame)
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCACTIVATE && s_record)
            g_calls.Record(wParam ? "docked caption on" : "docked caption off");
        return TkDockableFrame::WindowProc(message, wParam, lParam);
    }
    static BOOL s_record;
};
BOOL CDockedFrame::s_record = FALSE;
IMPLEMENT_DYNCREATE(CDockedFrame, TkDockableFrame)

// Beside the main frame: Wine raises a frame that a click activates above its
// floating windows.
const CPoint kBeside(850, 300);

void Click(CPoint point)
{
    InputScript().MoveTo(point).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
}

CPoint Centre(CWnd* window)
{
    CRect rect;
    window->GetWindowRect(&rect);
    return rect.CenterPoint();
}

// The point of the window's close box, found by hit tests along its caption.
CPoint CloseBox(CWnd* window)
{
    CRect rect;
    window->GetWindowRect(&rect);
    for (int y = rect.top; y < rect.top + 40; y++)
        for (int x = rect.right - 1; x > rect.right - 60; x--)
            if (window->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                return CPoint(x, y);
    return rect.TopLeft();
}

class ActivationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        CFloatFrame::s_grab = FALSE;
        CDockedFrame::s_record = FALSE;
        m_albums = new CMultiDocTemplate(IDR_ALBUMTYPE, RUNTIME_CLASS(CActDoc),
                                         RUNTIME_CLASS(TkMDIChildWnd), RUNTIME_CLASS(CActView));
        m_app.AddDocTemplate(m_albums);
        m_notes = new TkMultiDocTemplate(IDR_NOTESTYPE, RUNTIME_CLASS(CActDoc), NULL,
                                         RUNTIME_CLASS(CActView), IDR_NOTESDOCKED);
        m_notes->m_pDockableFrameClass = RUNTIME_CLASS(CDockedFrame);
        m_app.AddDocTemplate(m_notes);
        m_main = MakeMainFrame<TkMDIFrameWnd>(m_app, 800, 600);
        ASSERT_NE(nullptr, m_main);
        m_main->m_pFloatingFrameClass = RUNTIME_CLASS(CFloatFrame);
        m_main->EnableDocking(CBRS_ALIGN_ANY);
        m_main->ShowWindow(SW_SHOW);
        m_defaultMenu = ::GetMenu(m_main->m_hWnd);

        m_other = new CFrameWnd;
        CSize screen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        ASSERT_TRUE(m_other->Create(NULL, "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    CRect(screen.cx - 200, screen.cy - 150, screen.cx - 10,
                                          screen.cy - 10)));
        m_main->SetForegroundWindow();
        PumpUntilIdle();
    }
    void TearDown() override
    {
        m_other->DestroyWindow();
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpUntilIdle();
    }
    CView* Open(CDocTemplate* docTemplate, const char* title, BOOL docked = FALSE)
    {
        CDocument* doc = docked ? m_notes->OpenDocumentFileEx(NULL, TRUE, TRUE, 0)
                                : docTemplate->OpenDocumentFile(NULL);
        if (!doc)
            return NULL;
        doc->SetTitle(title);
        m_main->RecalcLayout();
        PumpUntilIdle();
        POSITION position = doc->GetFirstViewPosition();
        return doc->GetNextView(position);
    }
    std::string MainTitle()
    {
        CString title;
        m_main->GetWindowText(title);
        return (LPCSTR)title;
    }
    // What the clicks made the views hear.
    std::vector<std::string> ClickAt(CPoint point)
    {
        g_calls.Clear();
        Click(point);
        return g_calls.Calls();
    }

    CActivationApp m_app;
    CMultiDocTemplate* m_albums = NULL;
    TkMultiDocTemplate* m_notes = NULL;
    TkMDIFrameWnd* m_main = NULL;
    HMENU m_defaultMenu = NULL;
    CFrameWnd* m_other = NULL;
};
}  // namespace

TEST_F(ActivationTest, ClicksMoveTheActivationBetweenChildrenAndADockedView)
{
    CView* notes = Open(m_notes, "N", TRUE);
    CView* a = Open(m_albums, "A");
    CView* b = Open(m_albums, "B");
    ASSERT_TRUE(notes && a && b);
    m_main->MDITile(MDITILE_VERTICAL);
    PumpUntilIdle();
    CFrameWnd* docked = notes->GetParentFrame();
    HMENU albumMenu = m_albums->m_hMenuShared;

    struct Step
    {
        const char* name;
        CView* clicked;
        std::vector<std::string> heard;
        CFrameWnd* activeFrame;
        std::string title;
        HMENU menu;
    } steps[] = {
        {"child A", a, {"deactivate B", "activate A"}, a->GetParentFrame(), "Jukebox - A", albumMenu},
        {"docked view", notes, {"deactivate A", "activate N"}, docked, "Jukebox - N",
         m_notes->m_hOwnMenu},
        // The MDI client kept A as its active child behind the docked view:
        // switching to B deactivates A once more.
        {"child B", b, {"deactivate N", "deactivate A", "activate B"}, b->GetParentFrame(),
         "Jukebox - B", albumMenu},
        {"child B again", b, {}, b->GetParentFrame(), "Jukebox - B", albumMenu},
        {"docked view again", notes, {"deactivate B", "activate N"}, docked, "Jukebox - N",
         m_notes->m_hOwnMenu},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.heard, ClickAt(Centre(step.clicked)));
        EXPECT_EQ(step.activeFrame, m_main->GetActiveFrame());
        EXPECT_EQ(step.activeFrame == docked ? docked : NULL, m_main->GetActiveDockedFrame());
        EXPECT_EQ(step.title, MainTitle());
        EXPECT_EQ(step.menu, ::GetMenu(m_main->m_hWnd));
        EXPECT_EQ(m_main->m_hWnd, ::GetForegroundWindow());
    }
}

TEST_F(ActivationTest, TheLastChildClosedByItsCloseBoxHandsTheActivationToTheDockedView)
{
    CView* notes = Open(m_notes, "N", TRUE);
    CView* a = Open(m_albums, "A");
    ASSERT_TRUE(notes && a);
    CFrameWnd* docked = notes->GetParentFrame();
    EXPECT_EQ(a->GetParentFrame(), m_main->GetActiveFrame());

    g_calls.Clear();
    Click(CloseBox(a->GetParentFrame()));
    EXPECT_EQ(NULL, m_main->MDIGetActive());
    EXPECT_EQ(docked, m_main->GetActiveDockedFrame());
    // A hears it from the MDI switch and again as the docked view takes over.
    EXPECT_EQ((std::vector<std::string>{"deactivate A", "deactivate A", "activate N"}),
              g_calls.Calls());
    EXPECT_EQ("Jukebox - N", MainTitle());
    EXPECT_EQ(m_notes->m_hOwnMenu, ::GetMenu(m_main->m_hWnd));
}

TEST_F(ActivationTest, FloatingWindowsFollowTheMainFramesActivation)
{
    CView* notes = Open(m_notes, "N", TRUE);
    CView* a = Open(m_albums, "A");
    ASSERT_TRUE(notes && a);
    CControlBar* bar = static_cast<CControlBar*>(notes->GetParentFrame()->GetParent());
    m_main->FloatControlBar(bar, kBeside, CBRS_ALIGN_TOP);
    PumpUntilIdle();
    CFrameWnd* floating = bar->GetParentFrame();
    ASSERT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CFloatFrame)));

    // The views' activations, and the main frame's state as the floating
    // window was last told it and as its caption shows it.
    struct Step
    {
        const char* name;
        CWnd* clicked;
        std::vector<std::string> views;
        std::string floatTold;
        BOOL mainStaysActive;
    } steps[] = {
        {"another window", m_other, {}, "float off", FALSE},
        {"the child's view", a, {"activate A"}, "float on", TRUE},
        {"the floating view", notes, {"deactivate A", "activate N"}, "float on", TRUE},
        {"another window again", m_other, {}, "float off", FALSE},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.name);
        std::vector<std::string> views;
        std::string floatTold;
        for (const std::string& call : ClickAt(Centre(step.clicked)))
        {
            if (call.compare(0, 6, "float ") == 0)
                floatTold = call;
            else if (call.compare(0, 6, "frame ") != 0)
                views.push_back(call);
        }
        EXPECT_EQ(step.views, views);
        EXPECT_EQ(step.floatTold, floatTold);
        EXPECT_EQ(step.mainStaysActive, (m_main->m_nFlags & WF_STAYACTIVE) != 0);
    }
}

// A floating window takes the activation while the main frame is being
// activated: the frame takes it back, and the view hears the frame's
// activation once.
TEST_F(ActivationTest, TheMainFrameTakesBackTheForegroundAFloatingWindowTookOnTheWay)
{
    CView* notes = Open(m_notes, "N", TRUE);
    CView* a = Open(m_albums, "A");
    ASSERT_TRUE(notes && a);
    CControlBar* bar = static_cast<CControlBar*>(notes->GetParentFrame()->GetParent());
    m_main->FloatControlBar(bar, kBeside, CBRS_ALIGN_TOP);
    Click(Centre(a));
    Click(Centre(m_other));
    ASSERT_EQ(m_other->m_hWnd, ::GetForegroundWindow());

    CFloatFrame::s_grab = TRUE;
    std::vector<std::string> frameCalls;
    for (const std::string& call : ClickAt(Centre(a)))
        if (call.compare(0, 6, "frame ") == 0)
            frameCalls.push_back(call);
    EXPECT_EQ(m_main->m_hWnd, ::GetForegroundWindow());
    EXPECT_EQ((std::vector<std::string>{"frame off A", "frame on A"}), frameCalls);
}

TEST_F(ActivationTest, LeavingTheProgramShowsTheDockedViewInactive)
{
    CView* notes = Open(m_notes, "N", TRUE);
    ASSERT_NE(nullptr, notes);
    ASSERT_EQ(notes->GetParentFrame(), m_main->GetActiveDockedFrame());
    CDockedFrame::s_record = TRUE;
    for (BOOL active : {FALSE, TRUE})
    {
        g_calls.Clear();
        m_main->SendMessage(WM_ACTIVATEAPP, active, 0);
        PumpUntilIdle();
        EXPECT_EQ(std::vector<std::string>{active ? "docked caption on" : "docked caption off"},
                  g_calls.Calls());
    }
}
