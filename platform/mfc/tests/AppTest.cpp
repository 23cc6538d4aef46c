#include "tests/support/TestFramework.h"

#include <afxwin.h>
#include <afxmt.h>

#include <string>
#include <vector>

namespace
{
TEST(AppTest, CommandLinesSplitAsTheRuntimeSplitsThem)
{
    struct Case
    {
        const char* line;
        std::vector<std::string> parameters;
    };
    const Case cases[] = {
        {"prog a  b\tc", {"prog", "a", "b", "c"}},
        {"prog \"C:\\My Files\\x.pla\" /p", {"prog", "C:\\My Files\\x.pla", "/p"}},
        {"prog C:\\dir\\ end", {"prog", "C:\\dir\\", "end"}},
        {"prog a\\\"b \"c\\\\\" d", {"prog", "a\"b", "c\\", "d"}},
        {"prog \"\"", {"prog", ""}},
        {"   ", {}},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> parameters;
        for (const CString& parameter : SplitCommandLine(c.line))
            parameters.push_back((LPCSTR)parameter);
        EXPECT_EQ(c.parameters, parameters) << c.line;
    }
}

TEST(AppTest, CommandLineInfoTakesSwitchesFileAndPrinter)
{
    struct Param
    {
        const char* text;
        BOOL flag;
    };
    struct Case
    {
        std::vector<Param> params;
        int command;
        BOOL embedded, automated;
        const char* file;
        const char* printer;
    };
    const Case cases[] = {
        {{}, CCommandLineInfo::FileNew, FALSE, FALSE, "", ""},
        {{{"Embedding", TRUE}}, CCommandLineInfo::FileNew, TRUE, FALSE, "", ""},
        {{{"AUTOMATION", TRUE}}, CCommandLineInfo::FileNew, FALSE, TRUE, "", ""},
        {{{"a.pla", FALSE}}, CCommandLineInfo::FileOpen, FALSE, FALSE, "a.pla", ""},
        {{{"p", TRUE}, {"a.pla", FALSE}}, CCommandLineInfo::FilePrint, FALSE, FALSE, "a.pla", ""},
        {{{"pt", TRUE}, {"a.pla", FALSE}, {"Laser", FALSE}},
         CCommandLineInfo::FilePrintTo, FALSE, FALSE, "a.pla", "Laser"},
        {{{"unregserver", TRUE}}, CCommandLineInfo::AppUnregister, FALSE, FALSE, "", ""},
        {{{"regserver", TRUE}}, CCommandLineInfo::FileNew, FALSE, FALSE, "", ""},
    };
    for (const Case& c : cases)
    {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.params.size(); ++i)
            info.ParseParam(c.params[i].text, c.params[i].flag, i + 1 == c.params.size());
        std::string name = c.params.empty() ? "(none)" : c.params[0].text;
        EXPECT_EQ(c.command, (int)info.m_nShellCommand) << name;
        EXPECT_EQ(c.embedded, info.m_bRunEmbedded) << name;
        EXPECT_EQ(c.automated, info.m_bRunAutomated) << name;
        EXPECT_STREQ(c.file, info.m_strFileName) << name;
        EXPECT_STREQ(c.printer, info.m_strPrinterName) << name;
    }
}

// A user-interface thread with a window; a worker sends to that window.
const UINT kAskThread = WM_APP + 3;
const UINT kThreadNote = WM_APP + 4;

class CThreadWnd : public CWnd
{
public:
    LRESULT OnAsk(WPARAM wParam, LPARAM)
    {
        m_handledOn = GetCurrentThreadId();
        return wParam * 2;
    }
    DWORD m_handledOn = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThreadWnd, CWnd)
    ON_MESSAGE(kAskThread, OnAsk)
END_MESSAGE_MAP()

CEvent* g_windowReady = NULL;

class CWindowThread : public CWinThread
{
    DECLARE_DYNCREATE(CWindowThread)
public:
    BOOL InitInstance() override
    {
        m_bAutoDelete = FALSE;
        if (!m_window.CreateEx(0, NULL, "thread window", WS_OVERLAPPED, 0, 0, 50, 50, NULL,
                               NULL))
            return FALSE;
        m_pMainWnd = &m_window;
        g_windowReady->SetEvent();
        return TRUE;
    }
    void OnNote(WPARAM wParam, LPARAM) { m_note = (int)wParam; }

    CThreadWnd m_window;
    int m_note = 0;
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CWindowThread, CWinThread)

BEGIN_MESSAGE_MAP(CWindowThread, CWinThread)
    ON_THREAD_MESSAGE(kThreadNote, OnNote)
END_MESSAGE_MAP()

UINT AskFromWorker(LPVOID param)
{
    return (UINT)((CWnd*)param)->SendMessage(kAskThread, 21);
}

TEST(AppTest, AWorkersMessageRunsOnTheWindowsThread)
{
    CEvent ready(FALSE, TRUE);
    g_windowReady = &ready;
    CWindowThread* thread =
        (CWindowThread*)AfxBeginThread(RUNTIME_CLASS(CWindowThread), THREAD_PRIORITY_NORMAL, 0, 0);
    ASSERT_TRUE(thread != NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 10000));

    // Kept after it ends, so that its exit code can be read.
    CWinThread* worker = AfxBeginThread(AskFromWorker, &thread->m_window, THREAD_PRIORITY_NORMAL,
                                        0, CREATE_SUSPENDED);
    ASSERT_TRUE(worker != NULL);
    worker->m_bAutoDelete = FALSE;
    worker->ResumeThread();
    HANDLE workerHandle = worker->m_hThread;
    WaitForSingleObject(workerHandle, 10000);
    DWORD answer = 0;
    GetExitCodeThread(workerHandle, &answer);
    delete worker;
    EXPECT_EQ(42u, answer);
    EXPECT_EQ(thread->m_nThreadID, thread->m_window.m_handledOn);

    // A thread message reaches the thread's map; closing the main window ends the thread.
    thread->PostThreadMessage(kThreadNote, 5, 0);
    thread->m_window.PostMessage(WM_CLOSE);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 10000));
    EXPECT_EQ(5, thread->m_note);
    EXPECT_EQ(NULL, thread->m_window.m_hWnd);
    delete thread;
}

class CFailingApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        m_window.CreateEx(0, NULL, "half made", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL);
        m_pMainWnd = &m_window;
        return FALSE;
    }
    int ExitInstance() override { return 17; }
    CWnd m_window;
};

TEST(AppTest, AFailedStartDestroysTheMainWindowAndExits)
{
    CFailingApp app;
    EXPECT_EQ(17, AfxWinMain(GetModuleHandleA(NULL), NULL, (LPSTR) "", SW_SHOW));
    EXPECT_EQ(NULL, app.m_window.m_hWnd);
    EXPECT_EQ(NULL, app.m_pMainWnd);
    // The quit that the main window's end posted belongs to no loop here.
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}
}
