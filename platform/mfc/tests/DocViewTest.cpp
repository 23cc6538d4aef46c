#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"
#include "platform/mfc/tests/DocViewTest.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"

#include <afxwin.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
CCallRecorder g_events;

// Routes every command of the test menu: each level takes the commands from
// ID_ROUTE_VIEW up to its own, so the first level asked shows in the record.
class CRouteApp : public CWinApp
{
public:
    CRouteApp() : CWinApp("Jukebox") {}
    void OnRoute(UINT id) { g_events.Record("app " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_APP, OnRoute)
END_MESSAGE_MAP()

class CJukeboxDoc : public CDocument
{
    DECLARE_DYNCREATE(CJukeboxDoc)
public:
    ~CJukeboxDoc() override { g_events.Record("document deleted"); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar << m_discs << m_name;
            if (s_failStore)
                AfxThrowFileException(CFileException::diskFull);
        }
        else
        {
            ar >> m_discs >> m_name;
        }
    }
    void DeleteContents() override
    {
        m_discs = 0;
        m_name.Empty();
    }
    void OnRoute(UINT id) { g_events.Record("document " + std::to_string(id)); }

    LONG m_discs = 0;
    CString m_name;
    static BOOL s_failStore;
    DECLARE_MESSAGE_MAP()
};

BOOL CJukeboxDoc::s_failStore = FALSE;
IMPLEMENT_DYNCREATE(CJukeboxDoc, CDocument)
BEGIN_MESSAGE_MAP(CJukeboxDoc, CDocument)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_DOC, OnRoute)
END_MESSAGE_MAP()

class CJukeboxView : public CView
{
    DECLARE_DYNCREATE(CJukeboxView)
public:
    ~CJukeboxView() override { g_events.Record("view deleted"); }
    void OnDraw(CDC* dc) override { dc->FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0)); }
    void OnInitialUpdate() override
    {
        g_events.Record("initial update");
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView*, LPARAM hint, CObject*) override { m_hints.push_back((int)hint); }
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override
    {
        g_events.Record(activate ? "activate" : "deactivate");
        CView::OnActivateView(activate, activateView, deactiveView);
    }
    void OnActivateFrame(UINT state, CFrameWnd*) override
    {
        g_events.Record(state == WA_INACTIVE ? "frame inactive" : "frame active");
    }
    void OnRoute(UINT id) { g_events.Record("view " + std::to_string(id)); }
    void OnUpdateChecked(CCmdUI* cmdUI)
    {
        cmdUI->Enable(TRUE);
        cmdUI->SetCheck(1);
    }

    std::vector<int> m_hints;
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CJukeboxView, CView)
BEGIN_MESSAGE_MAP(CJukeboxView, CView)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_VIEW, OnRoute)
    ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
END_MESSAGE_MAP()

class CJukeboxFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CJukeboxFrame)
public:
    ~CJukeboxFrame() override { g_events.Record("frame deleted"); }
    void OnRoute(UINT id) { g_events.Record("frame " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CJukeboxFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CJukeboxFrame, CFrameWnd)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_FRAME, OnRoute)
END_MESSAGE_MAP()

CString WindowText(CWnd* wnd)
{
    CString text;
    wnd->GetWindowText(text);
    return text;
}

// An SDI jukebox: the application, its template, and one new document.
class SingleDocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        m_template = new CSingleDocTemplate(IDR_JUKEBOX, RUNTIME_CLASS(CJukeboxDoc),
                                            RUNTIME_CLASS(CJukeboxFrame),
                                            RUNTIME_CLASS(CJukeboxView));
        m_docs.AddDocTemplate(m_template);
        m_docs.OnFileNew();
        POSITION position = m_template->GetFirstDocPosition();
        ASSERT_NE(nullptr, position);
        m_doc = static_cast<CJukeboxDoc*>(m_template->GetNextDoc(position));
        position = m_doc->GetFirstViewPosition();
        ASSERT_NE(nullptr, position);
        m_view = static_cast<CJukeboxView*>(m_doc->GetNextView(position));
        m_frame = m_view->GetParentFrame();
        ASSERT_NE(nullptr, m_frame);
        PumpMessages();
    }

    void TearDown() override
    {
        CFrameWnd* frame = static_cast<CFrameWnd*>(m_app.m_pMainWnd);
        if (frame)
            frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }

    CRouteApp m_app;
    CDocManager m_docs;
    CSingleDocTemplate* m_template = NULL;
    CJukeboxDoc* m_doc = NULL;
    CJukeboxView* m_view = NULL;
    CFrameWnd* m_frame = NULL;
};

TEST_F(SingleDocTest, NewDocumentGetsFrameViewAndTitle)
{
    EXPECT_EQ(m_frame, m_app.m_pMainWnd);
    EXPECT_TRUE(m_frame->IsKindOf(RUNTIME_CLASS(CJukeboxFrame)));
    EXPECT_EQ(m_view, m_frame->GetActiveView());
    EXPECT_EQ(m_doc, m_frame->GetActiveDocument());
    EXPECT_EQ(m_doc, m_view->GetDocument());
    EXPECT_EQ(m_template, m_doc->GetDocTemplate());
    EXPECT_EQ(AFX_IDW_PANE_FIRST, (UINT)m_view->GetDlgCtrlID());
    EXPECT_TRUE(m_frame->IsWindowVisible());
    // The view heard of its frame being ready once, before the frame came up
    // and the view became active.
    std::vector<std::string> expected = { "initial update", "frame active", "activate" };
    EXPECT_EQ(expected, g_events.Calls());
    EXPECT_EQ(std::vector<int>{ 0 }, m_view->m_hints);

    EXPECT_STREQ("Disc", m_doc->GetTitle());
    EXPECT_STREQ("Jukebox - Disc", WindowText(m_frame));
    m_doc->SetTitle("Rock");
    EXPECT_STREQ("Jukebox - Rock", WindowText(m_frame));
    CString name;
    EXPECT_TRUE(m_template->GetDocString(name, CDocTemplate::filterExt));
    EXPECT_STREQ(".dsc", name);
    EXPECT_FALSE(m_template->GetDocString(name, (CDocTemplate::DocStringIndex)9));
}

TEST_F(SingleDocTest, ViewFillsTheFrameAndFollowsItsSize)
{
    m_frame->SetWindowPos(NULL, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client, view;
    m_frame->GetClientRect(client);
    m_view->GetWindowRect(view);
    m_frame->ScreenToClient(view);
    EXPECT_EQ(client, view);
}

struct RouteCase
{
    UINT id;
    const char* handler;
};

TEST_F(SingleDocTest, CommandsGoThroughViewDocumentFrameAndApplication)
{
    const RouteCase cases[] = {
        { ID_ROUTE_VIEW, "view" },
        { ID_ROUTE_DOC, "document" },
        { ID_ROUTE_FRAME, "frame" },
        { ID_ROUTE_APP, "app" },
    };
    for (const RouteCase& c : cases)
    {
        SCOPED_TRACE(c.handler);
        g_events.Clear();
        m_frame->SendMessage(WM_COMMAND, c.id);
        std::vector<std::string> expected = { std::string(c.handler) + " " + std::to_string(c.id) };
        EXPECT_EQ(expected, g_events.Calls());
    }
    g_events.Clear();
    m_frame->SendMessage(WM_COMMAND, ID_ROUTE_NONE);
    EXPECT_TRUE(g_events.Calls().empty());
    EXPECT_FALSE(m_frame->OnCmdMsg(ID_ROUTE_NONE, CN_COMMAND, NULL, NULL));
    EXPECT_TRUE(m_frame->OnCmdMsg(ID_ROUTE_APP, CN_COMMAND, NULL, NULL));
}

TEST_F(SingleDocTest, MenuItemsWithoutHandlersAreGreyed)
{
    CMenu* popup = CMenu::FromHandle(::GetMenu(m_frame->m_hWnd))->GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    m_frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup->m_hMenu, 0);
    const UINT enabled[] = { ID_ROUTE_VIEW, ID_ROUTE_DOC, ID_ROUTE_FRAME, ID_ROUTE_APP };
    for (UINT id : enabled)
        EXPECT_EQ(0u, popup->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) << id;
    EXPECT_EQ((UINT)MF_GRAYED, popup->GetMenuState(ID_ROUTE_NONE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ((UINT)MF_CHECKED, popup->GetMenuState(ID_CHECKED, MF_BYCOMMAND));

    // Without automatic enabling the items keep their state.
    popup->EnableMenuItem(ID_ROUTE_NONE, MF_BYCOMMAND | MF_ENABLED);
    m_frame->m_bAutoMenuEnable = FALSE;
    m_frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup->m_hMenu, 0);
    EXPECT_EQ(0u, popup->GetMenuState(ID_ROUTE_NONE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(SingleDocTest, UpdateHintsReachEveryViewButTheSender)
{
    CCreateContext context;
    context.m_pCurrentDoc = m_doc;
    context.m_pNewViewClass = RUNTIME_CLASS(CJukeboxView);
    CJukeboxView* second =
        static_cast<CJukeboxView*>(m_frame->CreateView(&context, AFX_IDW_PANE_FIRST + 1));
    ASSERT_NE(nullptr, second);
    m_view->m_hints.clear();

    m_doc->UpdateAllViews(NULL, 7);
    m_doc->UpdateAllViews(m_view, 4);
    m_doc->UpdateAllViews(second, 10);
    EXPECT_EQ((std::vector<int>{ 7, 10 }), m_view->m_hints);
    EXPECT_EQ((std::vector<int>{ 7, 4 }), second->m_hints);

    // A view that goes leaves its document; the document stays with the other.
    second->DestroyWindow();
    POSITION position = m_doc->GetFirstViewPosition();
    EXPECT_EQ(m_view, m_doc->GetNextView(position));
    EXPECT_EQ(nullptr, position);
}

TEST_F(SingleDocTest, ActiveViewChangesAreAnnounced)
{
    g_events.Clear();
    m_frame->SetActiveView(NULL);
    m_frame->SetActiveView(m_view);
    m_frame->SetActiveView(m_view);
    m_frame->SetActiveView(NULL, FALSE);
    std::vector<std::string> expected = { "deactivate", "activate" };
    EXPECT_EQ(expected, g_events.Calls());
    EXPECT_EQ(nullptr, m_frame->GetActiveView());
    EXPECT_EQ(nullptr, m_frame->GetActiveDocument());
}

TEST_F(SingleDocTest, ViewHearsOfItsFrameActivation)
{
    g_events.Clear();
    m_frame->SendMessage(WM_ACTIVATE, WA_INACTIVE);
    m_frame->SendMessage(WM_ACTIVATE, WA_CLICKACTIVE);
    m_frame->SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE));
    std::vector<std::string> expected = { "frame inactive", "frame active" };
    EXPECT_EQ(expected, g_events.Calls());
}

TEST_F(SingleDocTest, ClosingTheDocumentTakesFrameAndViewAlong)
{
    g_events.Clear();
    m_app.m_pMainWnd = NULL;
    m_doc->OnCloseDocument();
    std::vector<std::string> expected = { "frame inactive", "view deleted", "frame deleted",
                                          "document deleted" };
    EXPECT_EQ(expected, g_events.Calls());
    EXPECT_EQ(nullptr, m_template->GetFirstDocPosition());
}

class DocumentFileTest : public SingleDocTest
{
protected:
    CTempFolder m_folder{ "zym-docview" };

    int FileCount()
    {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(m_folder.WindowsPath("*").c_str(), &found);
        int count = 0;
        if (find == INVALID_HANDLE_VALUE)
            return 0;
        do
            count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        while (FindNextFileA(find, &found));
        FindClose(find);
        return count;
    }
};

TEST_F(DocumentFileTest, SavedDocumentOpensInTheSameFrame)
{
    std::string path = m_folder.WindowsPath("rock.dsc");
    m_doc->m_discs = 200;
    m_doc->m_name = "Rock";
    m_doc->SetModifiedFlag();
    ASSERT_TRUE(m_doc->DoSave(path.c_str()));
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_STREQ(path.c_str(), m_doc->GetPathName());
    EXPECT_STREQ("rock.dsc", m_doc->GetTitle());
    EXPECT_EQ(1, FileCount());

    m_doc->m_discs = 5;
    CDocument* opened = m_docs.OpenDocumentFile(path.c_str());
    // Already open: the same document, not read again.
    EXPECT_EQ(m_doc, opened);
    EXPECT_EQ(5, m_doc->m_discs);

    m_docs.OnFileNew();
    EXPECT_EQ(0, m_doc->m_discs);
    EXPECT_STREQ("", m_doc->GetPathName());
    opened = m_docs.OpenDocumentFile(path.c_str());
    ASSERT_EQ(m_doc, opened);
    EXPECT_EQ(200, m_doc->m_discs);
    EXPECT_STREQ("Rock", m_doc->m_name);
    EXPECT_STREQ("Jukebox - rock.dsc", WindowText(m_frame));
    EXPECT_EQ(m_frame, m_view->GetParentFrame());
}

TEST_F(DocumentFileTest, FailedSaveKeepsTheOldFile)
{
    std::string path = m_folder.WindowsPath("rock.dsc");
    m_doc->m_discs = 200;
    ASSERT_TRUE(m_doc->OnSaveDocument(path.c_str()));
    m_doc->m_discs = 300;
    m_doc->SetModifiedFlag();
    CJukeboxDoc::s_failStore = TRUE;
    {
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        EXPECT_FALSE(m_doc->OnSaveDocument(path.c_str()));
        EXPECT_EQ(1u, boxes.Shown().size());
    }
    CJukeboxDoc::s_failStore = FALSE;
    EXPECT_TRUE(m_doc->IsModified());
    // Nothing half-written is left behind, and the old file reads as before.
    EXPECT_EQ(1, FileCount());
    ASSERT_TRUE(m_doc->OnOpenDocument(path.c_str()));
    EXPECT_EQ(200, m_doc->m_discs);
}

TEST_F(DocumentFileTest, MissingFileIsReportedAndTheDocumentStays)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_EQ(nullptr, m_docs.OpenDocumentFile(m_folder.WindowsPath("none.dsc").c_str()));
    EXPECT_EQ(1u, boxes.Shown().size());
    POSITION position = m_template->GetFirstDocPosition();
    EXPECT_EQ(m_doc, m_template->GetNextDoc(position));
    EXPECT_EQ(m_doc, m_view->GetDocument());
}

TEST_F(DocumentFileTest, ModifiedDocumentAsksBeforeItIsReplaced)
{
    m_doc->SetModifiedFlag();
    {
        CMessageBoxScript boxes;
        boxes.Then(IDCANCEL);
        m_docs.OnFileNew();
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Save changes to Disc?", boxes.Shown()[0].text);
    }
    EXPECT_TRUE(m_doc->IsModified());
    {
        CMessageBoxScript boxes;
        boxes.Then(IDNO);
        m_docs.OnFileNew();
    }
    EXPECT_FALSE(m_doc->IsModified());
}
// An application that owns its template, with documents that come through its
// commands rather than a document manager of the test's own.
class AppTemplatesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        m_template = new CSingleDocTemplate(IDR_JUKEBOX, RUNTIME_CLASS(CJukeboxDoc),
                                            RUNTIME_CLASS(CJukeboxFrame),
                                            RUNTIME_CLASS(CJukeboxView));
        m_app.AddDocTemplate(m_template);
    }

    void TearDown() override
    {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }

    CJukeboxDoc* OnlyDoc()
    {
        POSITION position = m_template->GetFirstDocPosition();
        return position ? static_cast<CJukeboxDoc*>(m_template->GetNextDoc(position)) : NULL;
    }

    // A disc file as the document stores it.
    std::string WriteDisc(const char* name, LONG discs)
    {
        std::string path = m_folder.WindowsPath(name);
        CJukeboxDoc doc;
        doc.m_discs = discs;
        doc.m_name = "Rock";
        EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
        return path;
    }

    LONG ReadDiscs(const std::string& path)
    {
        CJukeboxDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(path.c_str()));
        return doc.m_discs;
    }

    CTempFolder m_folder{ "zym-apptemplates" };
    CRouteApp m_app;
    CSingleDocTemplate* m_template = NULL;
};

TEST_F(AppTemplatesTest, TemplatesAreListedInTheOrderAdded)
{
    CSingleDocTemplate* plain = new CSingleDocTemplate(IDR_NO_MENU, RUNTIME_CLASS(CJukeboxDoc),
                                                       RUNTIME_CLASS(CJukeboxFrame),
                                                       RUNTIME_CLASS(CJukeboxView));
    m_app.AddDocTemplate(plain);
    POSITION position = m_app.GetFirstDocTemplatePosition();
    ASSERT_NE(nullptr, position);
    EXPECT_EQ(m_template, m_app.GetNextDocTemplate(position));
    ASSERT_NE(nullptr, position);
    EXPECT_EQ(plain, m_app.GetNextDocTemplate(position));
    EXPECT_EQ(nullptr, position);
    EXPECT_STREQ("Disc Files (*.dsc)|*.dsc||", m_template->GetFileFilter());
    EXPECT_STREQ("", plain->GetFileFilter());
}

TEST_F(AppTemplatesTest, FileNewMakesDocumentFrameAndView)
{
    m_app.OnFileNew();
    CJukeboxDoc* doc = OnlyDoc();
    ASSERT_NE(nullptr, doc);
    CFrameWnd* frame = static_cast<CFrameWnd*>(m_app.m_pMainWnd);
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CJukeboxFrame)));
    EXPECT_EQ(doc, frame->GetActiveDocument());
    ASSERT_NE(nullptr, frame->GetActiveView());
    EXPECT_TRUE(frame->GetActiveView()->IsKindOf(RUNTIME_CLASS(CJukeboxView)));
    EXPECT_STREQ("Disc", doc->GetTitle());
}

TEST_F(AppTemplatesTest, OpenDocumentFileReadsTheFile)
{
    std::string path = WriteDisc("rock.dsc", 200);
    CDocument* opened = m_app.OpenDocumentFile(path.c_str());
    ASSERT_EQ(OnlyDoc(), opened);
    EXPECT_EQ(200, OnlyDoc()->m_discs);
    EXPECT_STREQ("Rock", OnlyDoc()->m_name);
    EXPECT_STREQ(path.c_str(), opened->GetPathName());
    EXPECT_STREQ("Jukebox - rock.dsc", WindowText(m_app.m_pMainWnd));
}

TEST_F(AppTemplatesTest, ShellCommandsOpenWhatTheCommandLineAsks)
{
    std::string disc = WriteDisc("rock.dsc", 200);
    std::string missing = m_folder.WindowsPath("none.dsc");
    struct Case
    {
        int command;
        const std::string* file;
        BOOL result;
        LONG discs; // -1: no document
        size_t boxes;
    };
    const Case cases[] = {
        { CCommandLineInfo::FileNothing, NULL, TRUE, -1, 0 },
        { CCommandLineInfo::FileNew, NULL, TRUE, 0, 0 },
        { CCommandLineInfo::FileOpen, &disc, TRUE, 200, 0 },
        { CCommandLineInfo::FileOpen, &missing, FALSE, -1, 1 },
        { CCommandLineInfo::FilePrint, &disc, FALSE, -1, 0 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command);
        CCommandLineInfo info;
        info.m_nShellCommand = (decltype(info.m_nShellCommand))c.command;
        if (c.file)
            info.m_strFileName = c.file->c_str();
        {
            CMessageBoxScript boxes;
            for (size_t box = 0; box < c.boxes; box++)
                boxes.Then(IDOK);
            EXPECT_EQ(c.result, m_app.ProcessShellCommand(info));
            EXPECT_EQ(c.boxes, boxes.Shown().size());
        }
        CJukeboxDoc* doc = OnlyDoc();
        EXPECT_EQ(c.discs >= 0, doc != NULL);
        EXPECT_EQ(c.discs >= 0, m_app.m_pMainWnd != NULL);
        if (doc)
        {
            EXPECT_EQ(c.discs, doc->m_discs);
        }
        TearDown();
    }
}

TEST_F(AppTemplatesTest, SaveModifiedAnswers)
{
    struct Case
    {
        int answer;
        BOOL result;
        BOOL modified;
        LONG discsOnDisk;
    };
    const Case cases[] = {
        { IDYES, TRUE, FALSE, 300 },
        { IDNO, TRUE, TRUE, 200 },
        { IDCANCEL, FALSE, TRUE, 200 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.answer);
        std::string path = WriteDisc("rock.dsc", 200);
        ASSERT_NE(nullptr, m_app.OpenDocumentFile(path.c_str()));
        CJukeboxDoc* doc = OnlyDoc();
        doc->m_discs = 300;
        doc->SetModifiedFlag();
        {
            CMessageBoxScript boxes;
            boxes.Then(c.answer);
            EXPECT_EQ(c.result, doc->SaveModified());
            ASSERT_EQ(1u, boxes.Shown().size());
            EXPECT_EQ("Save changes to rock.dsc?", boxes.Shown()[0].text);
        }
        EXPECT_EQ(c.modified, doc->IsModified());
        EXPECT_EQ(c.discsOnDisk, ReadDiscs(path));
        doc->SetModifiedFlag(FALSE);
    }
}

TEST_F(AppTemplatesTest, SaveCommandWritesToTheDocumentsFile)
{
    std::string path = WriteDisc("rock.dsc", 200);
    ASSERT_NE(nullptr, m_app.OpenDocumentFile(path.c_str()));
    OnlyDoc()->m_discs = 300;
    OnlyDoc()->SetModifiedFlag();
    // The command reaches the document through the frame's routing.
    EXPECT_TRUE(m_app.m_pMainWnd->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, NULL, NULL));
    EXPECT_FALSE(OnlyDoc()->IsModified());
    EXPECT_EQ(300, ReadDiscs(path));
}

// Closing the main window asks once for each modified document, and a cancel
// keeps everything open.
TEST_F(AppTemplatesTest, MainWindowCloseSavesAndClosesTheDocuments)
{
    struct Case
    {
        int answer;
        BOOL closed;
        LONG discsOnDisk;
    };
    const Case cases[] = {
        { IDCANCEL, FALSE, 200 },
        { IDYES, TRUE, 300 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.answer);
        std::string path = WriteDisc("rock.dsc", 200);
        ASSERT_NE(nullptr, m_app.OpenDocumentFile(path.c_str()));
        OnlyDoc()->m_discs = 300;
        OnlyDoc()->SetModifiedFlag();
        g_events.Clear();
        {
            CMessageBoxScript boxes;
            boxes.Then(c.answer);
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
            EXPECT_EQ(1u, boxes.Shown().size());
        }
        PumpMessages();
        EXPECT_EQ(c.closed, m_app.m_pMainWnd == NULL);
        EXPECT_EQ(c.closed, OnlyDoc() == NULL);
        const std::vector<std::string>& events = g_events.Calls();
        EXPECT_EQ(c.closed, std::count(events.begin(), events.end(), "document deleted") == 1);
        EXPECT_EQ(c.discsOnDisk, ReadDiscs(path));
        if (OnlyDoc())
            OnlyDoc()->SetModifiedFlag(FALSE);
    }
}
}
