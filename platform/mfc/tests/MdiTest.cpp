#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"
#include "platform/mfc/tests/MdiTest.h"

#include <afxwin.h>

#include <string>
#include <vector>

namespace
{
CCallRecorder g_events;
std::vector<CFrameWnd*> g_preClosed;

class CDiscDoc : public CDocument
{
    DECLARE_DYNCREATE(CDiscDoc)
public:
    void PreCloseFrame(CFrameWnd* frame) override
    {
        g_preClosed.push_back(frame);
    }
};
IMPLEMENT_DYNCREATE(CDiscDoc, CDocument)

class CDiscView : public CView
{
    DECLARE_DYNCREATE(CDiscView)
public:
    void OnDraw(CDC*) override {}
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override
    {
        g_events.Record(std::string(activate ? "activate " : "deactivate ") +
                           (LPCSTR)GetDocument()->GetTitle());
        CView::OnActivateView(activate, activateView, deactiveView);
    }
    void OnWhoIsActive() { g_events.Record("command " + std::string(GetDocument()->GetTitle())); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDiscView, CView)
BEGIN_MESSAGE_MAP(CDiscView, CView)
    ON_COMMAND(ID_WHO_IS_ACTIVE, OnWhoIsActive)
END_MESSAGE_MAP()

// Counts the captions it is given.
class CChangerFrame : public CMDIFrameWnd
{
public:
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        m_captionsSet++;
        return Default();
    }
    int m_captionsSet = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CChangerFrame, CMDIFrameWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

class CDiscFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CDiscFrame)
};
IMPLEMENT_DYNCREATE(CDiscFrame, CMDIChildWnd)

CString WindowText(HWND hWnd)
{
    char text[256] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    return CString(text);
}

// A main frame with two disc documents, each in a child frame of its own.
class MdiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        m_main = new CChangerFrame;
        ASSERT_TRUE(m_main->LoadFrame(IDR_MAINFRAME));
        m_app.m_pMainWnd = m_main;
        m_main->SetWindowPos(NULL, 0, 0, 600, 400, SWP_NOZORDER);
        m_main->ShowWindow(SW_SHOW);
        m_mainMenu = ::GetMenu(m_main->m_hWnd);
        m_template = new CMultiDocTemplate(IDR_DISCTYPE, RUNTIME_CLASS(CDiscDoc),
                                           RUNTIME_CLASS(CDiscFrame), RUNTIME_CLASS(CDiscView));
        m_docs.AddDocTemplate(m_template);
        m_docs.OnFileNew();
        m_first = m_main->MDIGetActive();
        m_docs.OpenDocumentFile(NULL);
        m_second = m_main->MDIGetActive();
        ASSERT_NE(nullptr, m_first);
        ASSERT_NE(nullptr, m_second);
        PumpMessages();
    }

    void TearDown() override
    {
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }

    CWinApp m_app{ "Changer" };
    CDocManager m_docs;
    CChangerFrame* m_main = NULL;
    HMENU m_mainMenu = NULL;
    CMultiDocTemplate* m_template = NULL;
    CMDIChildWnd* m_first = NULL;
    CMDIChildWnd* m_second = NULL;
};

TEST_F(MdiTest, EachDocumentGetsItsChildFrame)
{
    EXPECT_NE(m_first, m_second);
    EXPECT_EQ(2, m_docs.GetOpenDocumentCount());
    EXPECT_EQ(m_main, m_first->GetMDIFrame());
    EXPECT_EQ(m_main->m_hWndMDIClient, ::GetParent(m_first->m_hWnd));
    EXPECT_STREQ("Disc1", m_first->GetActiveDocument()->GetTitle());
    EXPECT_STREQ("Disc2", m_second->GetActiveDocument()->GetTitle());
    EXPECT_STREQ("Disc1", WindowText(m_first->m_hWnd));
    EXPECT_EQ(m_second, m_main->MDIGetActive());
    EXPECT_EQ(m_second, m_main->GetActiveFrame());
    EXPECT_STREQ("Changer - Disc2", WindowText(m_main->m_hWnd));
    // The active document's menu is shown, with its window list.
    EXPECT_EQ(m_template->m_hMenuShared, ::GetMenu(m_main->m_hWnd));
}

TEST_F(MdiTest, ActivationMovesBetweenTheChildren)
{
    g_events.Clear();
    m_main->MDIActivate(m_first);
    EXPECT_EQ(m_first, m_main->MDIGetActive());
    std::vector<std::string> expected = { "deactivate Disc2", "activate Disc1" };
    EXPECT_EQ(expected, g_events.Calls());
    EXPECT_STREQ("Changer - Disc1", WindowText(m_main->m_hWnd));

    // Commands reach the view of whichever child is active.
    g_events.Clear();
    m_main->SendMessage(WM_COMMAND, ID_WHO_IS_ACTIVE);
    m_second->MDIActivate();
    m_main->SendMessage(WM_COMMAND, ID_WHO_IS_ACTIVE);
    m_main->MDINext();
    m_main->SendMessage(WM_COMMAND, ID_WHO_IS_ACTIVE);
    expected = { "command Disc1", "deactivate Disc1", "activate Disc2", "command Disc2",
                 "deactivate Disc2", "activate Disc1", "command Disc1" };
    EXPECT_EQ(expected, g_events.Calls());
}

TEST_F(MdiTest, ClosingChildrenActivatesTheOtherAndRestoresTheMenu)
{
    m_second->SendMessage(WM_CLOSE);
    PumpMessages();
    EXPECT_EQ(1, m_docs.GetOpenDocumentCount());
    EXPECT_EQ(m_first, m_main->MDIGetActive());
    EXPECT_EQ(m_template->m_hMenuShared, ::GetMenu(m_main->m_hWnd));

    m_main->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    PumpMessages();
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(0, m_docs.GetOpenDocumentCount());
    EXPECT_EQ(nullptr, m_main->MDIGetActive());
    EXPECT_EQ(m_mainMenu, ::GetMenu(m_main->m_hWnd));
    EXPECT_STREQ("Changer", WindowText(m_main->m_hWnd));
    EXPECT_TRUE(IsMenu(m_template->m_hMenuShared));
}

// A second frame on a document closes alone: the document stays and hears of it
// first; its last frame takes the document along without that word.
TEST_F(MdiTest, ClosingOneOfTwoFramesOfADocumentKeepsTheDocument)
{
    CDocument* doc = m_second->GetActiveDocument();
    CFrameWnd* extra = m_template->CreateNewFrame(doc, m_second);
    ASSERT_NE(nullptr, extra);
    m_template->InitialUpdateFrame(extra, doc);
    PumpMessages();
    g_preClosed.clear();
    extra->SendMessage(WM_CLOSE);
    PumpMessages();
    EXPECT_EQ(2, m_docs.GetOpenDocumentCount());
    EXPECT_EQ(std::vector<CFrameWnd*>{extra}, g_preClosed);

    g_preClosed.clear();
    m_second->SendMessage(WM_CLOSE);
    PumpMessages();
    EXPECT_EQ(1, m_docs.GetOpenDocumentCount());
    EXPECT_TRUE(g_preClosed.empty());
}

TEST_F(MdiTest, TilingSharesTheClientArea)
{
    CRect client;
    ::GetClientRect(m_main->m_hWndMDIClient, client);
    m_main->SendMessage(WM_COMMAND, ID_WINDOW_TILE_VERT);
    CRect first, second;
    m_first->GetWindowRect(first);
    m_second->GetWindowRect(second);
    ::MapWindowPoints(NULL, m_main->m_hWndMDIClient, (LPPOINT)&first, 2);
    ::MapWindowPoints(NULL, m_main->m_hWndMDIClient, (LPPOINT)&second, 2);
    EXPECT_EQ(client.Height(), first.Height());
    EXPECT_EQ(client.Height(), second.Height());
    EXPECT_EQ(client.Width(), first.Width() + second.Width());
    EXPECT_EQ(0, first & second ? (first & second).Width() : 0);

    // The MDI client fills the frame's client area.
    CRect frameClient, mdiClient;
    m_main->GetClientRect(frameClient);
    ::GetWindowRect(m_main->m_hWndMDIClient, mdiClient);
    m_main->ScreenToClient(mdiClient);
    EXPECT_EQ(frameClient, mdiClient);
}

TEST_F(MdiTest, MaximisedChildLeavesTheTitleToTheSystem)
{
    m_second->MDIMaximize();
    BOOL maximized = FALSE;
    EXPECT_EQ(m_second, m_main->MDIGetActive(&maximized));
    EXPECT_TRUE(maximized);
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_STREQ("Changer - [Disc2]", WindowText(m_main->m_hWnd));
    // Idle updates leave the caption alone.
    m_main->m_captionsSet = 0;
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(0, m_main->m_captionsSet);
    EXPECT_STREQ("Changer - [Disc2]", WindowText(m_main->m_hWnd));

    m_second->MDIRestore();
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_STREQ("Changer - Disc2", WindowText(m_main->m_hWnd));
    m_main->m_captionsSet = 0;
    m_main->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(0, m_main->m_captionsSet);
}
}
