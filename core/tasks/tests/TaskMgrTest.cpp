#include "tests/support/TestFramework.h"

#include "core/tasks/TaskMgr.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct TaskEvent
{
    int id;
    int what;
    std::string text; // for name and status events
    INT_PTR value;    // for the others

    bool operator==(const TaskEvent& o) const
    {
        return id == o.id && what == o.what && text == o.text && value == o.value;
    }
};

std::ostream& operator<<(std::ostream& out, const TaskEvent& e)
{
    return out << "{" << e.id << "," << e.what << ",'" << e.text << "'," << e.value << "}";
}

class CRecordingListener : public CTaskObserver
{
public:
    void OnTaskEvent(int taskId, int what, INT_PTR value) override
    {
        TaskEvent event{taskId, what, "", 0};
        if (what == kTaskName || what == kTaskStatus)
            event.text = reinterpret_cast<const char*>(value);
        else
            event.value = value;
        std::lock_guard<std::mutex> hold(m_lock);
        m_events.push_back(event);
    }
    std::vector<TaskEvent> Events()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_events;
    }

private:
    std::mutex m_lock;
    std::vector<TaskEvent> m_events;
};

template <class Body>
DWORD WINAPI RunBody(LPVOID body)
{
    (*static_cast<Body*>(body))();
    return 0;
}

template <class Body>
HANDLE StartThread(Body* body)
{
    return CreateThread(nullptr, 0, RunBody<Body>, body, 0, nullptr);
}

} // namespace

TEST(TaskMgrTest, NotifiesEveryChangeInOrder)
{
    CTaskMgr mgr;
    CRecordingListener listener;
    mgr.AddListener(&listener);

    int id = mgr.CreateTask("Loading library", nullptr, 0);
    mgr.SetTaskStatus(id, "Albums");
    mgr.SetTaskStatus(id, "Albums");
    mgr.SetTaskRange(id, 10);
    mgr.SetTaskPos(id, 3);
    mgr.StepTaskPos(id);
    mgr.SetTaskStatus(id + 1, "unknown");
    mgr.EndTask(id);
    mgr.EndTask(id);

    const std::vector<TaskEvent> expected = {
        {0, kTaskCreated, "", 0}, {0, kTaskName, "Loading library", 0}, {0, kTaskStatus, "Albums", 0},
        {0, kTaskStatus, "Albums", 0}, {0, kTaskRange, "", 10}, {0, kTaskPos, "", 3},
        {0, kTaskPos, "", 4}, {0, kTaskEnded, "", 0},
    };
    EXPECT_EQ(0, id);
    EXPECT_EQ(expected, listener.Events());
    EXPECT_EQ(0, mgr.GetTaskCount());
}

// A listener that, on every event, waits for another thread to read the task
// list; it notes the events whose reader could not get through.
class CWaitingListener : public CTaskObserver
{
public:
    explicit CWaitingListener(CTaskMgr& mgr) : m_mgr(mgr) {}

    void OnTaskEvent(int, int what, INT_PTR) override
    {
        HANDLE thread = CreateThread(nullptr, 0, ReadTasks, &m_mgr, 0, nullptr);
        if (WaitForSingleObject(thread, 10000) != WAIT_OBJECT_0)
            m_blocked.push_back(what);
        // A blocked reader gets through once the lock is left.
        m_threads.push_back(thread);
    }

    std::vector<int> Finish()
    {
        for (HANDLE thread : m_threads)
        {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        m_threads.clear();
        return m_blocked;
    }

private:
    static DWORD WINAPI ReadTasks(LPVOID mgr)
    {
        static_cast<CTaskMgr*>(mgr)->GetTaskAt(0);
        return 0;
    }

    CTaskMgr& m_mgr;
    std::vector<HANDLE> m_threads;
    std::vector<int> m_blocked;
};

TEST(TaskMgrTest, ListenersRunOutsideTheLock)
{
    CTaskMgr mgr;
    CWaitingListener listener(mgr);
    mgr.AddListener(&listener);
    int id = mgr.CreateTask("job", nullptr, 0);
    mgr.SetTaskStatus(id, "Working");
    mgr.SetTaskRange(id, 10);
    mgr.SetTaskPos(id, 3);
    mgr.StepTaskPos(id);
    mgr.CreateTask("other", nullptr, 0);
    mgr.CancelAll(0);
    EXPECT_EQ(std::vector<int>(), listener.Finish());
    EXPECT_EQ(0, mgr.GetTaskCount());
}

TEST(TaskMgrTest, IdsKeepCountingAndCopiesCarryProgress)
{
    CTaskMgr mgr;
    EXPECT_EQ(0, mgr.CreateTask("a", nullptr, 0));
    mgr.EndTask(0);
    EXPECT_EQ(1, mgr.CreateTask("b", nullptr, TaskRecord::kShowProgressDialog));
    EXPECT_EQ(2, mgr.CreateTask("c", nullptr, 0));

    const struct
    {
        int range;
        int pos;
        const char* text;
    } cases[] = {{0, 0, "---"}, {0, 5, "---"}, {10, 3, "3/10"}, {1, 0, "0/1"}};
    for (const auto& c : cases)
    {
        mgr.SetTaskRange(1, c.range);
        mgr.SetTaskPos(1, c.pos);
        TaskRecord copy = mgr.GetTaskAt(0);
        EXPECT_STREQ(c.text, copy.GetProgressText()) << c.range << "/" << c.pos;
    }
    TaskRecord first = mgr.GetTaskAt(0);
    EXPECT_STREQ("b", first.GetName());
    EXPECT_EQ(1, first.GetId());
    EXPECT_TRUE(first.HasProgressDialog());
    EXPECT_TRUE(first.IsOwnerThread());
    EXPECT_FALSE(mgr.GetTaskAt(1).HasProgressDialog());

    TaskRecord outside = mgr.GetTaskAt(2);
    EXPECT_STREQ("", outside.GetName());
    EXPECT_EQ(0, outside.GetId());
    EXPECT_EQ(-1, mgr.FindTask(0));
    EXPECT_EQ(1, mgr.FindTask(2));
}

TEST(TaskMgrTest, CancelAllEndsOwnTasksAtOnceAndWaitsForOthers)
{
    CTaskMgr mgr;
    CRecordingListener listener;
    mgr.AddListener(&listener);
    TaskCancelFlag ownFlag{0};
    mgr.CreateTask("own", &ownFlag, 0);

    // A worker whose task ends when it sees its cancel flag.
    TaskCancelFlag workerFlag{0};
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto worker = [&]() {
        int id = mgr.CreateTask("worker", &workerFlag, 0);
        SetEvent(started);
        while (!workerFlag)
            Sleep(10);
        mgr.EndTask(id);
    };
    HANDLE thread = StartThread(&worker);
    WaitForSingleObject(started, INFINITE);
    EXPECT_TRUE(mgr.HasTaskOfThread(GetThreadId(thread)));

    EXPECT_TRUE(mgr.CancelAll(10000));
    EXPECT_EQ(0, ownFlag); // ended, not asked
    EXPECT_EQ(1, workerFlag);
    EXPECT_EQ(0, mgr.GetTaskCount());
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(started);
    EXPECT_FALSE(mgr.HasTaskOfThread());
}

TEST(TaskMgrTest, CancelAllEndsWhatIgnoresTheRequestAfterTheTimeOut)
{
    const struct
    {
        bool withFlag;
        int timeoutMs;
    } cases[] = {{true, 300}, {false, 300}, {true, 0}};
    for (const auto& c : cases)
    {
        CTaskMgr mgr;
        CRecordingListener listener;
        mgr.AddListener(&listener);
        TaskCancelFlag flag{0};
        HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        int id = -1;
        auto stubborn = [&]() {
            id = mgr.CreateTask("stubborn", c.withFlag ? &flag : nullptr, 0);
            SetEvent(created);
            WaitForSingleObject(release, INFINITE);
        };
        HANDLE thread = StartThread(&stubborn);
        WaitForSingleObject(created, INFINITE);

        EXPECT_FALSE(mgr.CancelAll(c.timeoutMs)) << c.withFlag << " " << c.timeoutMs;
        EXPECT_EQ(0, mgr.GetTaskCount());
        EXPECT_EQ(c.withFlag ? 1 : 0, flag);
        EXPECT_EQ((TaskEvent{id, kTaskEnded, "", 0}), listener.Events().back());
        // Ending it again from its owner is harmless.
        mgr.EndTask(id);
        SetEvent(release);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(created);
        CloseHandle(release);
    }
}

TEST(TaskMgrTest, TasksOfSeveralThreads)
{
    const int kThreads = 6;
    const int kSteps = 50;
    CTaskMgr mgr;
    CRecordingListener listener;
    mgr.AddListener(&listener);

    auto work = [&]() {
        int id = mgr.CreateTask("job", nullptr, 0);
        mgr.SetTaskRange(id, kSteps);
        for (int i = 0; i < kSteps; ++i)
        {
            mgr.StepTaskPos(id);
            mgr.GetTaskAt(0);
        }
        EXPECT_TRUE(mgr.HasTaskOfThread());
        mgr.EndTask(id);
    };
    HANDLE threads[kThreads];
    for (HANDLE& thread : threads)
        thread = StartThread(&work);
    WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);

    // Each task's own events arrive in its order; ids are unique.
    std::map<int, std::vector<TaskEvent>> byTask;
    for (const TaskEvent& e : listener.Events())
        byTask[e.id].push_back(e);
    ASSERT_EQ(static_cast<size_t>(kThreads), byTask.size());
    for (const auto& entry : byTask)
    {
        const std::vector<TaskEvent>& events = entry.second;
        ASSERT_EQ(static_cast<size_t>(kSteps + 4), events.size()) << entry.first;
        EXPECT_EQ(kTaskCreated, events[0].what);
        EXPECT_EQ((TaskEvent{entry.first, kTaskName, "job", 0}), events[1]);
        EXPECT_EQ(kTaskRange, events[2].what);
        for (int i = 0; i < kSteps; ++i)
            EXPECT_EQ((TaskEvent{entry.first, kTaskPos, "", i + 1}), events[3 + i]);
        EXPECT_EQ(kTaskEnded, events.back().what);
    }
    EXPECT_EQ(0, mgr.GetTaskCount());
}

// A record tells every observer of each change, in the order they were
// added, skipping an empty one; a new name is kept without a word.
TEST(TaskRecordTest, ObserversHearEveryChangeInTheirOrder)
{
    CRecordingListener first;
    CRecordingListener second;
    TaskRecord record("job", 7, nullptr, 0);
    record.AddObserver(&first);
    record.AddObserver(nullptr);
    record.AddObserver(&second);
    const struct
    {
        const char* name;
        std::function<void()> change;
        std::vector<TaskEvent> heard;
    } cases[] = {
        {"status", [&] { record.SetStatus("half way"); }, {{7, kTaskStatus, "half way", 0}}},
        {"range", [&] { record.SetRange(10); }, {{7, kTaskRange, "", 10}}},
        {"position", [&] { record.SetPos(4); }, {{7, kTaskPos, "", 4}}},
        {"step", [&] { record.StepPos(); }, {{7, kTaskPos, "", 5}}},
        {"name", [&] { record.SetName("renamed"); }, {}},
    };
    std::vector<TaskEvent> heard;
    for (const auto& c : cases) {
        c.change();
        heard.insert(heard.end(), c.heard.begin(), c.heard.end());
        EXPECT_EQ(heard, first.Events()) << c.name;
        EXPECT_EQ(heard, second.Events()) << c.name;
    }
    EXPECT_EQ(CString("renamed"), record.GetName());
    EXPECT_EQ(CString("5/10"), record.GetProgressText());
}
