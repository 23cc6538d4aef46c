#include "tests/support/TestFramework.h"

#include <afxwin.h>
#include <afxmt.h>

#include <string>
#include <vector>

namespace
{
struct WorkerParam
{
    int input;
    int output;
    CWinThread* seenThread;
};

UINT DoubleInput(LPVOID param)
{
    WorkerParam* p = (WorkerParam*)param;
    p->output = p->input * 2;
    p->seenThread = AfxGetThread();
    return p->input + 100;
}

UINT EndEarly(LPVOID param)
{
    AfxEndThread(5, FALSE);
    *(int*)param = 1;
    return 0;
}

DWORD ExitCodeOf(HANDLE thread)
{
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return code;
}

HANDLE DuplicateOf(HANDLE handle)
{
    HANDLE copy = NULL;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return copy;
}

// What the recording thread did, in order; written by that thread, read by the
// test once the thread has ended or has signalled.
struct ThreadRecord
{
    std::vector<std::string> steps;
    CWinThread* seenThread = NULL;
    BOOL initResult = TRUE;
    CEvent go{FALSE, TRUE};
    CEvent idleDone;
    CEvent destroyed{FALSE, TRUE};
};
ThreadRecord* g_record = NULL;

const UINT kHandledMessage = WM_APP + 1;

class CRecordingThread : public CWinThread
{
    DECLARE_DYNCREATE(CRecordingThread)
public:
    ~CRecordingThread() override { g_record->destroyed.SetEvent(); }

    BOOL InitInstance() override
    {
        g_record->seenThread = AfxGetThread();
        g_record->steps.push_back("init");
        g_record->go.Lock();
        return g_record->initResult;
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != kHandledMessage)
            return CWinThread::PreTranslateMessage(msg);
        g_record->steps.push_back("msg" + std::to_string(msg->wParam));
        return TRUE;
    }

    BOOL OnIdle(LONG count) override
    {
        g_record->steps.push_back("idle" + std::to_string(count));
        if (count == 1)
            g_record->idleDone.SetEvent();
        return count < 1;
    }

    int ExitInstance() override
    {
        g_record->steps.push_back("exit");
        return CWinThread::ExitInstance();
    }
};

IMPLEMENT_DYNCREATE(CRecordingThread, CWinThread)

class UIThreadTest : public ::testing::Test
{
protected:
    void SetUp() override { g_record = &m_record; }
    void TearDown() override { g_record = NULL; }

    ThreadRecord m_record;
};

typedef std::vector<std::string> Steps;
}

TEST(WorkerThread, RunsWithItsParameterPriorityAndExitCode)
{
    const int priorities[] = {THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_NORMAL,
                              THREAD_PRIORITY_ABOVE_NORMAL};
    for (int priority : priorities)
    {
        WorkerParam param = {21, 0, NULL};
        CWinThread* thread = AfxBeginThread(DoubleInput, &param, priority, 0, CREATE_SUSPENDED);
        ASSERT_NE(nullptr, thread);
        thread->m_bAutoDelete = FALSE;
        EXPECT_EQ(priority, thread->GetThreadPriority());
        EXPECT_NE(0u, thread->m_nThreadID);
        EXPECT_EQ(0, param.output);
        thread->ResumeThread();

        EXPECT_EQ(121u, ExitCodeOf(thread->m_hThread));
        EXPECT_EQ(42, param.output);
        EXPECT_EQ(thread, param.seenThread);
        delete thread;
    }
}

TEST(WorkerThread, EndsAtAfxEndThread)
{
    int reached = 0;
    CWinThread* thread = AfxBeginThread(EndEarly, &reached, THREAD_PRIORITY_NORMAL, 0,
                                        CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    EXPECT_EQ(5u, ExitCodeOf(thread->m_hThread));
    EXPECT_EQ(0, reached);
    delete thread;
}

TEST(WorkerThread, NoThreadObjectOnOtherThreads)
{
    EXPECT_EQ(nullptr, AfxGetThread());
}

TEST_F(UIThreadTest, PumpsPostedMessagesIdlesAndQuits)
{
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CRecordingThread));
    ASSERT_NE(nullptr, thread);
    HANDLE handle = DuplicateOf(thread->m_hThread);

    // Queued before the loop starts, so no idle work comes first.
    EXPECT_TRUE(thread->PostThreadMessage(kHandledMessage, 1, 0));
    m_record.go.SetEvent();
    ASSERT_TRUE(m_record.idleDone.Lock(10000));
    EXPECT_TRUE(thread->PostThreadMessage(kHandledMessage, 2, 0));
    ASSERT_TRUE(m_record.idleDone.Lock(10000));
    EXPECT_TRUE(thread->PostThreadMessage(WM_QUIT, 7, 0));

    EXPECT_EQ(7u, ExitCodeOf(handle));
    CloseHandle(handle);
    EXPECT_TRUE(m_record.destroyed.Lock(0));
    EXPECT_EQ(thread, m_record.seenThread);
    EXPECT_EQ(Steps({"init", "msg1", "idle0", "idle1", "msg2", "idle0", "idle1", "exit"}),
              m_record.steps);
}

TEST_F(UIThreadTest, FailedInitInstanceSkipsTheLoop)
{
    m_record.initResult = FALSE;
    m_record.go.SetEvent();
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CRecordingThread), THREAD_PRIORITY_NORMAL,
                                        0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    HANDLE handle = DuplicateOf(thread->m_hThread);
    thread->ResumeThread();
    EXPECT_EQ(0u, ExitCodeOf(handle));
    CloseHandle(handle);
    EXPECT_TRUE(m_record.destroyed.Lock(0));
    EXPECT_EQ(Steps({"init", "exit"}), m_record.steps);
}

TEST_F(UIThreadTest, KeptObjectOutlivesItsThreadAndStartsAgain)
{
    m_record.go.SetEvent();
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CRecordingThread), THREAD_PRIORITY_NORMAL,
                                        0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_TRUE(m_record.idleDone.Lock(10000));
    thread->PostThreadMessage(WM_QUIT, 3, 0);
    EXPECT_EQ(3u, ExitCodeOf(thread->m_hThread));
    EXPECT_FALSE(m_record.destroyed.Lock(0));

    ASSERT_TRUE(thread->CreateThread());
    ASSERT_TRUE(m_record.idleDone.Lock(10000));
    thread->PostThreadMessage(WM_QUIT, 4, 0);
    EXPECT_EQ(4u, ExitCodeOf(thread->m_hThread));
    EXPECT_EQ(Steps({"init", "idle0", "idle1", "exit", "init", "idle0", "idle1", "exit"}),
              m_record.steps);
    EXPECT_FALSE(m_record.destroyed.Lock(0));
    delete thread;
    EXPECT_TRUE(m_record.destroyed.Lock(0));
}

TEST(UIThread, ClassThatIsNoThreadIsRefused)
{
    EXPECT_EQ(nullptr, AfxBeginThread(RUNTIME_CLASS(CCmdTarget)));
}

TEST(UIThread, RepeatedMessagesDoNotRestartIdleWork)
{
    struct IdleCase
    {
        UINT message;
        int x, y;
        BOOL idle;
    };
    const IdleCase cases[] = {
        {WM_USER, 0, 0, TRUE},       {WM_PAINT, 0, 0, FALSE},     {0x0118, 0, 0, FALSE},
        {WM_MOUSEMOVE, 1, 1, TRUE},  {WM_MOUSEMOVE, 1, 1, FALSE}, {WM_MOUSEMOVE, 2, 1, TRUE},
        {WM_NCMOUSEMOVE, 2, 1, TRUE}, {WM_NCMOUSEMOVE, 2, 1, FALSE}, {WM_KEYDOWN, 2, 1, TRUE},
    };
    CWinThread thread;
    for (const IdleCase& c : cases)
    {
        MSG msg = {};
        msg.message = c.message;
        msg.pt.x = c.x;
        msg.pt.y = c.y;
        EXPECT_EQ(c.idle, thread.IsIdleMessage(&msg)) << std::hex << c.message << " " << c.x;
    }
}
