// The docking document template: documents open docked in a frame bar or in
// MDI children and move between the two keeping document and views, the
// views hear of the moves, frames get the template's caption features, the
// main frame's activation passes between docking frames and children, and
// templates are found by file type, document, view and frame.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/frames/tests/FilterTree.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkFrameBar.h"
#include "toolkit/frames/TkDocTemplateUtils.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"
#include "toolkit/frames/TkVwDockFeedBack.h"

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;

class CTemplateApp : public CWinApp
{
public:
    CTemplateApp() : CWinApp("DockingTemplateTest") {}
};

class CNotesDoc : public CDocument
{
    DECLARE_DYNCREATE(CNotesDoc)
};
IMPLEMENT_DYNCREATE(CNotesDoc, CDocument)

std::string Kind(CFrameWnd* frame)
{
    return frame->IsKindOf(RUNTIME_CLASS(TkDockableFrame)) ? "docked" : "child";
}

// Hears of its moves.
class CNotesView : public CView, public ITkVwDockFeedBack
{
    DECLARE_DYNCREATE(CNotesView)
public:
    void OnDraw(CDC*) override {}
    void OnPreDock(CFrameWnd* oldFrame, CFrameWnd* newFrame) override
    {
        g_calls.Record("pre-dock " + Kind(oldFrame) + " " + Kind(newFrame));
    }
    void OnPostDock(CFrameWnd* newFrame) override { g_calls.Record("post-dock " + Kind(newFrame)); }
    void OnPreUndock(CFrameWnd* oldFrame, CFrameWnd* newFrame) override
    {
        g_calls.Record("pre-undock " + Kind(oldFrame) + " " + Kind(newFrame));
    }
    void OnPostUndock(CFrameWnd* newFrame) override
    {
        g_calls.Record("post-undock " + Kind(newFrame));
    }
};
IMPLEMENT_DYNCREATE(CNotesView, CView)

class CLyricsView : public CView
{
    DECLARE_DYNCREATE(CLyricsView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CLyricsView, CView)

class DockingTemplateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        m_notes = new TkMultiDocTemplate(IDR_NOTESTYPE, RUNTIME_CLASS(CNotesDoc), NULL,
                                         RUNTIME_CLASS(CNotesView), IDR_NOTESDOCKED);
        m_app.AddDocTemplate(m_notes);
        m_lyrics = new TkMultiDocTemplate(IDR_LYRICSTYPE, RUNTIME_CLASS(CNotesDoc), NULL,
                                          RUNTIME_CLASS(CLyricsView));
        m_app.AddDocTemplate(m_lyrics);
        m_main = MakeMainFrame<TkMDIFrameWnd>(m_app, 800, 600);
        ASSERT_NE(nullptr, m_main);
        m_main->EnableDocking(CBRS_ALIGN_ANY);
        m_main->ShowWindow(SW_SHOW);
        PumpMessages();
    }
    void TearDown() override
    {
        if (m_main)
            m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    static CView* FirstView(CDocument* doc)
    {
        POSITION position = doc->GetFirstViewPosition();
        return position ? doc->GetNextView(position) : NULL;
    }
    // A notes document docked (or in a child without dock); its frame.
    CFrameWnd* Open(BOOL dock, TkMultiDocTemplate* docTemplate = NULL)
    {
        docTemplate = docTemplate ? docTemplate : m_notes;
        CDocument* doc = dock ? docTemplate->OpenDocumentFileEx(NULL, TRUE, TRUE, 0)
                              : docTemplate->OpenDocumentFile(NULL);
        PumpMessages();
        return doc ? FirstView(doc)->GetParentFrame() : NULL;
    }

    CTemplateApp m_app;
    TkMultiDocTemplate* m_notes = NULL;
    TkMultiDocTemplate* m_lyrics = NULL;
    TkMDIFrameWnd* m_main = NULL;
};
}  // namespace

TEST_F(DockingTemplateTest, ADocumentOpensDockedAndTogglesKeepingItsDocumentAndView)
{
    CFrameWnd* docked = Open(TRUE);
    ASSERT_NE(nullptr, docked);
    CDocument* doc = docked->GetActiveDocument();
    CView* view = docked->GetActiveView();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ("docked", Kind(docked));
    CWnd* bar = docked->GetParent();
    EXPECT_TRUE(bar->IsKindOf(RUNTIME_CLASS(TkFrameBar)));
    EXPECT_EQ(256, bar->GetDlgCtrlID());
    // The first view docked without a place goes to the bottom.
    EXPECT_EQ(2, m_notes->GetDockSide(docked));
    EXPECT_EQ(docked, m_main->GetActiveDockedFrame());
    // The docking frame shows the template's own menu and uses its keys.
    EXPECT_NE(nullptr, m_notes->m_hOwnMenu);
    EXPECT_EQ(m_notes->m_hOwnMenu, static_cast<TkDockableFrame*>(docked)->m_hOwnMenu);
    EXPECT_EQ(WS_CHILD | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE,
              docked->GetStyle() & (WS_CHILD | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE));

    struct Step
    {
        std::string kind;
        std::vector<std::string> heard;
    } steps[] = {
        {"child", {"pre-undock docked child", "post-undock child"}},
        {"docked", {"pre-dock child docked", "post-dock docked"}},
    };
    CFrameWnd* frame = docked;
    for (const Step& step : steps)
    {
        HWND old = frame->m_hWnd;
        HWND oldBar = ::GetParent(old);
        g_calls.Clear();
        frame = m_notes->ToggleDocking(frame);
        PumpMessages();
        ASSERT_NE(nullptr, frame) << step.kind;
        EXPECT_EQ(step.kind, Kind(frame));
        EXPECT_EQ(step.heard, g_calls.Calls()) << step.kind;
        EXPECT_FALSE(::IsWindow(old)) << step.kind;
        EXPECT_EQ(step.kind == "docked", ::IsWindow(oldBar)) << step.kind;
        // The same document with the same one view, now in the new frame.
        EXPECT_EQ(view, FirstView(doc)) << step.kind;
        EXPECT_EQ(frame, view->GetParentFrame()) << step.kind;
        EXPECT_EQ(view, frame->GetActiveView()) << step.kind;
        POSITION position = m_notes->GetFirstDocPosition();
        EXPECT_EQ(doc, m_notes->GetNextDoc(position));
        EXPECT_EQ(NULL, position);
    }
    EXPECT_EQ(frame, m_main->GetActiveDockedFrame());
    EXPECT_EQ(NULL, m_main->MDIGetActive());
}

TEST_F(DockingTemplateTest, ASecondFrameOfADocumentIsNumbered)
{
    CFrameWnd* child = Open(FALSE);
    CDocument* doc = child->GetActiveDocument();
    CFrameWnd* docked = m_notes->CreateDockingFrame(doc, child, 0, NULL, NULL);
    ASSERT_NE(nullptr, docked);
    docked->InitialUpdateFrame(doc, TRUE);
    docked->OnUpdateFrameTitle(TRUE);
    CString title;
    docked->GetWindowText(title);
    EXPECT_EQ(doc->GetTitle() + ":2", title);
    // Alone again, it carries no number.
    child->DestroyWindow();
    PumpMessages();
    docked->OnUpdateFrameTitle(TRUE);
    docked->GetWindowText(title);
    EXPECT_EQ(doc->GetTitle(), title);
}

TEST_F(DockingTemplateTest, TheMainFrameClosesWithADockedViewActive)
{
    CFrameWnd* docked = Open(TRUE);
    ASSERT_EQ(docked, m_main->GetActiveDockedFrame());
    m_main->DestroyWindow();
    m_main = NULL;
    PumpMessages();
    EXPECT_EQ(NULL, m_notes->GetFirstDocPosition());
}

TEST_F(DockingTemplateTest, TheDockSideIsTheDockBarsAndFloatingIsFour)
{
    struct Case
    {
        UINT dockBarId;
        int side;
    } cases[] = {
        {AFX_IDW_DOCKBAR_TOP, 0},
        {AFX_IDW_DOCKBAR_LEFT, 1},
        {AFX_IDW_DOCKBAR_BOTTOM, 2},
        {AFX_IDW_DOCKBAR_RIGHT, 3},
    };
    for (const Case& c : cases)
    {
        CFrameWnd* child = Open(FALSE);
        ASSERT_NE(nullptr, child);
        EXPECT_EQ(-1, m_notes->GetDockSide(child));
        EXPECT_EQ(NULL, m_notes->UndockFrame(child));
        CFrameWnd* docked = m_notes->DockFrame(child, c.dockBarId, NULL, NULL);
        ASSERT_NE(nullptr, docked) << c.dockBarId;
        EXPECT_EQ(c.side, m_notes->GetDockSide(docked)) << c.dockBarId;
        // The bar is named after the document it shows.
        CString barTitle;
        docked->GetParent()->GetWindowText(barTitle);
        EXPECT_EQ(docked->GetActiveDocument()->GetTitle(), barTitle);
        EXPECT_EQ(NULL, m_notes->DockFrame(docked));
        if (c.side == 3)
        {
            CControlBar* bar = static_cast<CControlBar*>(docked->GetParent());
            m_main->FloatControlBar(bar, CPoint(200, 200), CBRS_ALIGN_TOP);
            PumpMessages();
            EXPECT_EQ(4, m_notes->GetDockSide(docked));
        }
    }
    EXPECT_EQ(-1, m_notes->GetDockSide(NULL));
}

TEST_F(DockingTemplateTest, BarsTakeTheGivenIdOrTheFirstFreeOneFrom256)
{
    CDocument* doc = m_notes->OpenDocumentFileEx(NULL, TRUE, TRUE, 300);
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ(300, FirstView(doc)->GetParentFrame()->GetParent()->GetDlgCtrlID());
    // The id was for that one view only.
    EXPECT_EQ(0, m_notes->m_nControlBarId);
    EXPECT_FALSE(m_notes->m_bDockOnCreate);
    const int expected[] = {256, 257};
    for (int id : expected)
        EXPECT_EQ(id, Open(TRUE)->GetParent()->GetDlgCtrlID());
}

TEST_F(DockingTemplateTest, FramesGetTheTemplatesCaptionFeatures)
{
    // Flags 7: only the system-command extension and the context menu.
    CFrameWnd* child = Open(FALSE);
    TkDockableFrame* docked = static_cast<TkDockableFrame*>(Open(TRUE));
    EXPECT_EQ("257; 262; ", FilterTree(static_cast<TkMDIChildWnd*>(child)->GetFilterRoot()));
    EXPECT_EQ("257; 262; ", FilterTree(docked->GetFilterRoot()));

    // Each switch changes the flags only when the feature's state changes;
    // switching one on keeps the others as they are.
    struct Step
    {
        const char* name;
        void (TkMultiDocTemplate::*enable)(BOOL, BOOL);
        BOOL on;
        DWORD flags;
        BOOL buttons, doubleClick, contextMenu;
    } steps[] = {
        {"buttons on", &TkMultiDocTemplate::EnableCaptionButtons, TRUE, 5, TRUE, FALSE, TRUE},
        {"buttons on again", &TkMultiDocTemplate::EnableCaptionButtons, TRUE, 5, TRUE, FALSE, TRUE},
        {"menu off", &TkMultiDocTemplate::EnableCaptionContextMenu, FALSE, 13, TRUE, FALSE, FALSE},
        {"double click on", &TkMultiDocTemplate::EnableCaptionDoubleClick, TRUE, 9, TRUE, TRUE, FALSE},
        {"menu on", &TkMultiDocTemplate::EnableCaptionContextMenu, TRUE, 1, TRUE, TRUE, TRUE},
        {"buttons off", &TkMultiDocTemplate::EnableCaptionButtons, FALSE, 3, FALSE, TRUE, TRUE},
    };
    for (const Step& step : steps)
    {
        (m_notes->*step.enable)(step.on, FALSE);
        EXPECT_EQ(step.flags, m_notes->m_dwMDIFrameFeatures) << step.name;
        EXPECT_EQ(step.flags, m_notes->m_dwDockedFrameFeatures) << step.name;
        EXPECT_EQ(step.buttons, m_notes->HasCaptionButtons()) << step.name;
        EXPECT_EQ(step.doubleClick, m_notes->HasCaptionDoubleClick()) << step.name;
        EXPECT_EQ(step.contextMenu, m_notes->HasCaptionContextMenu()) << step.name;
    }
    // Without apply the open frames kept theirs; with it they all change.
    EXPECT_EQ("257; 262; ", FilterTree(docked->GetFilterRoot()));
    m_notes->EnableCaptionButtons(TRUE, TRUE);
    const std::string list = "256 [0 off; 2 off; 3 off; 1 off; 4 off; 258; ]; ";
    EXPECT_EQ("257; 262; " + list + "259; ",
              FilterTree(static_cast<TkMDIChildWnd*>(child)->GetFilterRoot()));
    EXPECT_EQ("257; 262; 256 [0; 2; 3; 1; 4; 258; ]; 259; ",
              FilterTree(docked->GetFilterRoot()));
}

TEST_F(DockingTemplateTest, TheLastChildClosingBesideADockedViewHandsTheActivationToIt)
{
    CFrameWnd* docked = Open(TRUE);
    CFrameWnd* child = Open(FALSE);
    EXPECT_EQ(NULL, m_main->GetActiveDockedFrame());
    EXPECT_EQ(child, m_main->GetActiveFrame());
    EXPECT_TRUE(AnyOtherMDIChildVisible(NULL));
    EXPECT_FALSE(AnyOtherMDIChildVisible(child));
    EXPECT_TRUE(IsWindowChainVisible(docked));

    child->SendMessage(WM_CLOSE);
    PumpMessages();
    EXPECT_FALSE(AnyOtherMDIChildVisible(NULL));
    EXPECT_EQ(docked, m_main->GetActiveDockedFrame());
    EXPECT_EQ(docked, m_main->GetActiveFrame());
}

TEST_F(DockingTemplateTest, ADockingFrameGoingHandsTheActivationOnOnlyWithoutVisibleChildren)
{
    CFrameWnd* first = Open(TRUE);
    CFrameWnd* second = Open(TRUE);
    EXPECT_EQ(second, m_main->GetActiveDockedFrame());
    // Nothing to do while a visible docking frame is active.
    EXPECT_FALSE(ActivateNextDockedFrame(NULL));
    second->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(first, m_main->GetActiveDockedFrame());

    // A hidden bar hides its frame from the hand-over.
    CFrameWnd* hidden = Open(TRUE);
    m_main->ShowControlBar(static_cast<CControlBar*>(hidden->GetParent()), FALSE, FALSE);
    EXPECT_FALSE(IsWindowChainVisible(hidden));
    m_main->ActivateDockedFrame(first);
    first->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(NULL, m_main->GetActiveDockedFrame());

    // With a child shown the MDI children take over.
    CFrameWnd* shown = Open(TRUE);
    CFrameWnd* child = Open(FALSE);
    m_main->ActivateDockedFrame(shown);
    shown->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(NULL, m_main->GetActiveDockedFrame());
    EXPECT_EQ(child, m_main->GetActiveFrame());
}

TEST_F(DockingTemplateTest, TemplatesAreFoundByFileTypeDocumentViewAndFrame)
{
    TkDocTemplateUtils utils;
    struct NameCase
    {
        const char* name;
        int index;
        CDocTemplate* found;
    } names[] = {
        {"Notes", 0, m_notes},
        {"Notes", 1, m_lyrics},
        // Fewer matches than asked: the last one.
        {"Notes", 3, m_lyrics},
        {"Album", 0, NULL},
    };
    for (const NameCase& c : names)
        EXPECT_EQ(c.found, utils.FindTemplate(c.name, c.index)) << c.name << c.index;
    EXPECT_EQ(0, utils.GetTemplateIndex(m_notes, "Notes"));
    EXPECT_EQ(1, utils.GetTemplateIndex(m_lyrics, "Notes"));
    EXPECT_EQ(-1, utils.GetTemplateIndex(m_lyrics, "Lyrics"));

    CFrameWnd* notes = Open(FALSE);
    CFrameWnd* lyrics = Open(TRUE, m_lyrics);
    CFrameWnd* frames[] = {notes, lyrics};
    CDocTemplate* expected[] = {m_notes, m_lyrics};
    for (int i = 0; i < 2; i++)
    {
        CFrameWnd* frame = frames[i];
        EXPECT_EQ(expected[i], utils.FindTemplate(frame->GetActiveDocument(),
                                                  frame->GetActiveView(), frame))
            << i;
    }
    EXPECT_EQ(NULL, utils.FindTemplate(notes->GetActiveDocument(), NULL, notes));
    EXPECT_EQ(m_lyrics->m_pDockableFrameClass, utils.GetFrameClass(m_lyrics, TRUE));
    EXPECT_EQ(m_lyrics->m_pFrameClass, utils.GetFrameClass(m_lyrics, FALSE));

    // A twin of the notes template: the document's own template wins.
    TkMultiDocTemplate* twin = new TkMultiDocTemplate(IDR_NOTESTYPE, RUNTIME_CLASS(CNotesDoc), NULL,
                                                      RUNTIME_CLASS(CNotesView));
    m_app.AddDocTemplate(twin);
    CFrameWnd* twins = Open(FALSE, twin);
    EXPECT_EQ(m_notes, utils.FindTemplate(notes->GetActiveDocument(), notes->GetActiveView(), notes));
    EXPECT_EQ(twin, utils.FindTemplate(twins->GetActiveDocument(), twins->GetActiveView(), twins));
}
