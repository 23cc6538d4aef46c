// The progress dialogs on their own thread, as real windows: which tasks get
// one, what it shows after a tick, Cancel and close, and the thread's runs
// under tasks made, changed and ended from several threads.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "shell/dialogs/TaskResources.h"
#include "shell/dialogs/TaskUIMgr.h"

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kWaitMs = 10000;

// Every dialog window made in the process, with the thread that made it.
struct Creation
{
    DWORD thread;
};
std::vector<Creation> g_creations;
CRITICAL_SECTION g_creationLock;

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    LPCSTR windowClass = code == HCBT_CREATEWND ? ((CBT_CREATEWNDA*)lParam)->lpcs->lpszClass : NULL;
    bool dialog = windowClass && (IS_INTRESOURCE(windowClass) ? LOWORD((ULONG_PTR)windowClass) == 0x8002
                                                              : lstrcmpA(windowClass, "#32770") == 0);
    if (dialog)
    {
        EnterCriticalSection(&g_creationLock);
        g_creations.push_back({GetCurrentThreadId()});
        LeaveCriticalSection(&g_creationLock);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// Holds the dialogs' thread inside its message loop, between two ticks.
const UINT kHold = WM_APP + 7;
HANDLE g_held;
HANDLE g_release;

LRESULT CALLBACK HoldOnMessage(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = (MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == kHold)
    {
        SetEvent(g_held);
        WaitForSingleObject(g_release, kWaitMs);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

struct FoundWindow
{
    std::string title;
    HWND hwnd;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM found)
{
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    FoundWindow& wanted = *(FoundWindow*)found;
    if (wanted.title != text)
        return TRUE;
    wanted.hwnd = hwnd;
    return FALSE;
}

std::string DialogText(HWND dialog, int id)
{
    char text[4096] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class TaskUITest : public ::testing::Test
{
protected:
    TaskUITest()
    {
        InitializeCriticalSection(&g_creationLock);
        g_creations.clear();
        m_cbt = SetWindowsHookExA(WH_CBT, WatchCreation, GetModuleHandleA(NULL), 0);
        g_held = CreateEventA(NULL, FALSE, FALSE, NULL);
        g_release = CreateEventA(NULL, FALSE, FALSE, NULL);
        m_ui.Attach(&m_tasks);
    }
    ~TaskUITest() override
    {
        UnhookWindowsHookEx(m_cbt);
        CloseHandle(g_held);
        CloseHandle(g_release);
        DeleteCriticalSection(&g_creationLock);
    }

    // The dialog of a task, by its title, among the dialogs' thread's windows.
    HWND FindDialog(const char* title)
    {
        FoundWindow found = {title, NULL};
        if (m_ui.m_nThreadID)
            EnumThreadWindows(m_ui.m_nThreadID, MatchTitle, (LPARAM)&found);
        return found.hwnd;
    }
    HWND WaitForDialog(const char* title)
    {
        HWND dialog = NULL;
        WaitUntil([&] { return (dialog = FindDialog(title)) != NULL; }, kWaitMs);
        return dialog;
    }
    int CreationsOnDialogThread()
    {
        EnterCriticalSection(&g_creationLock);
        int count = 0;
        for (const Creation& creation : g_creations)
            count += creation.thread == m_ui.m_nThreadID;
        LeaveCriticalSection(&g_creationLock);
        return count;
    }
    // Runs changes while the dialogs' thread stands between two ticks.
    void BetweenTicks(const std::function<void()>& changes)
    {
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, HoldOnMessage, NULL, m_ui.m_nThreadID);
        ASSERT_TRUE(hook != NULL);
        PostThreadMessageA(m_ui.m_nThreadID, kHold, 0, 0);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_held, kWaitMs));
        changes();
        SetEvent(g_release);
        UnhookWindowsHookEx(hook);
    }
    bool ThreadEnded()
    {
        return !m_ui.IsRunning() && WaitForSingleObject(m_ui.m_hThread, 0) == WAIT_OBJECT_0;
    }

    CTaskMgr m_tasks;
    CTaskUIMgr m_ui;
    HHOOK m_cbt;
};

DWORD WINAPI CreateOnWorker(void* tasks)
{
    CTaskMgr& manager = *(CTaskMgr*)tasks;
    manager.CreateTask("Plain", nullptr, 0);
    return manager.CreateTask("Worker's Task", nullptr, CTaskSink::kShowProgressDialog);
}

TEST_F(TaskUITest, AFlaggedTaskMadeOnAWorkerGetsItsWindowOnTheDialogThread)
{
    HANDLE worker = CreateThread(NULL, 0, CreateOnWorker, &m_tasks, 0, NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker, kWaitMs));
    CloseHandle(worker);

    HWND dialog = WaitForDialog("Worker's Task");
    ASSERT_TRUE(dialog != NULL);
    EXPECT_TRUE(m_ui.IsRunning());
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(dialog, NULL));
    EXPECT_EQ(1, CreationsOnDialogThread()) << "the task without the flag has no dialog";
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_TASK_CANCEL))) << "no cancel byte";
}

TEST_F(TaskUITest, ChangesBetweenTwoTicksShowAtTheNext)
{
    TaskCancelFlag cancel{0};
    int id = m_tasks.CreateTask("Lookup", &cancel, CTaskSink::kShowProgressDialog);
    HWND dialog = WaitForDialog("Lookup");
    ASSERT_TRUE(dialog != NULL);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_TASK_CANCEL)));

    std::string expected;
    BetweenTicks([&] {
        for (int i = 0; i < 10; i++)
        {
            std::string line = "step " + std::to_string(i);
            // Status events arrive while the changing thread holds the task
            // manager's lock.
            CSingleLock hold(&m_tasks.GetLock(), TRUE);
            m_tasks.SetTaskStatus(id, line.c_str());
            expected += line + "\r\n";
        }
    });
    EXPECT_TRUE(WaitUntil([&] { return DialogText(dialog, IDC_TASK_LOG) == expected; }, kWaitMs))
        << DialogText(dialog, IDC_TASK_LOG);

    struct Progress
    {
        int range, pos;
        bool enabled;
    };
    HWND bar = GetDlgItem(dialog, IDC_TASK_PROGRESS);
    for (const Progress& step : {Progress{10, 3, true}, Progress{0, 0, false}, Progress{250, 249, true}})
    {
        BetweenTicks([&] {
            m_tasks.SetTaskRange(id, step.range);
            m_tasks.SetTaskPos(id, step.pos);
        });
        EXPECT_TRUE(WaitUntil([&] {
            return (int)SendMessageA(bar, PBM_GETRANGE, FALSE, 0) == step.range &&
                   (int)SendMessageA(bar, PBM_GETPOS, 0, 0) == step.pos &&
                   (IsWindowEnabled(bar) != FALSE) == step.enabled;
        }, kWaitMs)) << "range " << step.range;
    }
}

TEST_F(TaskUITest, CancelSetsTheByteAndClosingOnlyHides)
{
    TaskCancelFlag cancel{0};
    int id = m_tasks.CreateTask("Covers", &cancel, CTaskSink::kShowProgressDialog);
    HWND dialog = WaitForDialog("Covers");
    ASSERT_TRUE(dialog != NULL);

    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TASK_CANCEL, BN_CLICKED),
                 (LPARAM)GetDlgItem(dialog, IDC_TASK_CANCEL));
    EXPECT_TRUE(WaitUntil([&] { return cancel == 1; }, kWaitMs));
    cancel = 0;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return cancel == 1; }, kWaitMs)) << "Esc cancels too";

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kWaitMs));
    // A later tick has passed when a new status shows in the hidden window.
    m_tasks.SetTaskStatus(id, "still here");
    EXPECT_TRUE(WaitUntil([&] { return DialogText(dialog, IDC_TASK_LOG) == "still here\r\n"; }, kWaitMs));
    EXPECT_TRUE(IsWindow(dialog));

    m_tasks.EndTask(id);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
}

TEST_F(TaskUITest, ATaskEndingBeforeATickNeverGetsAWindow)
{
    int kept = m_tasks.CreateTask("Kept", nullptr, CTaskSink::kShowProgressDialog);
    HWND dialog = WaitForDialog("Kept");
    ASSERT_TRUE(dialog != NULL);

    BetweenTicks([&] {
        int brief = m_tasks.CreateTask("Brief", nullptr, CTaskSink::kShowProgressDialog);
        m_tasks.SetTaskStatus(brief, "gone soon");
        m_tasks.EndTask(brief);
    });
    m_tasks.SetTaskStatus(kept, "after");
    ASSERT_TRUE(WaitUntil([&] { return DialogText(dialog, IDC_TASK_LOG) == "after\r\n"; }, kWaitMs));
    EXPECT_EQ(1, CreationsOnDialogThread());
    m_tasks.EndTask(kept);
}

TEST_F(TaskUITest, TheLastDialogGoneEndsTheThreadAndTheNextStartsIt)
{
    for (int run = 0; run < 3; run++)
    {
        SCOPED_TRACE("run " + std::to_string(run));
        std::string name = "Run " + std::to_string(run);
        int id = m_tasks.CreateTask(name.c_str(), nullptr, CTaskSink::kShowProgressDialog);
        HWND dialog = WaitForDialog(name.c_str());
        ASSERT_TRUE(dialog != NULL);
        m_tasks.EndTask(id);
        ASSERT_TRUE(WaitUntil([&] { return !m_ui.IsRunning(); }, kWaitMs));
        // A task made on this thread while the dialogs' thread ends: no quit
        // may reach this thread, and a dialog made now is still shown.
        m_tasks.EndTask(m_tasks.CreateTask("Plain", nullptr, 0));
        if (run == 1)
        {
            int next = m_tasks.CreateTask("Right After", nullptr, CTaskSink::kShowProgressDialog);
            EXPECT_TRUE(WaitForDialog("Right After") != NULL);
            m_tasks.EndTask(next);
        }
        EXPECT_TRUE(WaitUntil([&] { return ThreadEnded(); }, kWaitMs));
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

struct WorkerPlan
{
    CTaskMgr* tasks;
    int index;
    std::atomic<int>* cancelled;
};

// Tasks with and without dialogs, changed with and without the task
// manager's lock held, some ended at once and some after a tick or two.
DWORD WINAPI RunTasks(void* plan)
{
    WorkerPlan& work = *(WorkerPlan*)plan;
    CTaskMgr& tasks = *work.tasks;
    for (int i = 0; i < 25; i++)
    {
        TaskCancelFlag cancel{0};
        std::string name = "w" + std::to_string(work.index) + " " + std::to_string(i);
        int id = tasks.CreateTask(name.c_str(), &cancel, (i % 3) ? CTaskSink::kShowProgressDialog : 0);
        tasks.SetTaskRange(id, 5);
        for (int step = 0; step < 5; step++)
        {
            CSingleLock hold(&tasks.GetLock(), step % 2 == 0);
            tasks.SetTaskStatus(id, "working");
            tasks.StepTaskPos(id);
        }
        if (i % 4 == 0)
            Sleep(120);
        tasks.EndTask(id);
    }
    return 0;
}

TEST_F(TaskUITest, SeveralThreadsMakeChangeAndEndTasks)
{
    std::atomic<int> cancelled{0};
    std::vector<WorkerPlan> plans;
    for (int i = 0; i < 4; i++)
        plans.push_back({&m_tasks, i, &cancelled});
    std::vector<HANDLE> workers;
    for (WorkerPlan& plan : plans)
        workers.push_back(CreateThread(NULL, 0, RunTasks, &plan, 0, NULL));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects((DWORD)workers.size(), workers.data(), TRUE, 60000));
    for (HANDLE worker : workers)
        CloseHandle(worker);
    EXPECT_EQ(0, m_tasks.GetTaskCount());
    EXPECT_TRUE(WaitUntil([&] { return ThreadEnded(); }, kWaitMs));
}

} // namespace
