#include "tests/support/TestFramework.h"

#include <afxmt.h>

#include <functional>

namespace
{
DWORD WINAPI CallFunction(void* function)
{
    (*(std::function<void()>*)function)();
    return 0;
}

// Runs the function on a Win32 thread of its own and waits for it to end.
void RunOnOtherThread(std::function<void()> function)
{
    HANDLE thread = CreateThread(NULL, 0, CallFunction, &function, 0, NULL);
    ASSERT_NE((HANDLE)NULL, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

BOOL LockFromOtherThread(CSyncObject& object)
{
    BOOL locked = FALSE;
    RunOnOtherThread([&] {
        locked = object.Lock(0);
        if (locked)
            object.Unlock();
    });
    return locked;
}

BOOL EnterFromOtherThread(CCriticalSection& section)
{
    BOOL entered = FALSE;
    RunOnOtherThread([&] {
        entered = TryEnterCriticalSection(section);
        if (entered)
            LeaveCriticalSection(section);
    });
    return entered;
}
}

TEST(CriticalSection, IsRecursiveAndHeldUntilTheLastUnlock)
{
    CCriticalSection section;
    EXPECT_TRUE(section.Lock());
    EXPECT_TRUE(section.Lock(0));
    EXPECT_FALSE(EnterFromOtherThread(section));
    section.Unlock();
    EXPECT_FALSE(EnterFromOtherThread(section));
    section.Unlock();
    EXPECT_TRUE(EnterFromOtherThread(section));
}

TEST(Event, LockFollowsResetModeAndInitialState)
{
    struct EventCase
    {
        BOOL initiallySet;
        BOOL manualReset;
        BOOL firstLock;
        BOOL secondLock;
    };
    const EventCase cases[] = {
        {FALSE, FALSE, FALSE, FALSE},
        {TRUE, FALSE, TRUE, FALSE},
        {FALSE, TRUE, FALSE, FALSE},
        {TRUE, TRUE, TRUE, TRUE},
    };
    for (const EventCase& c : cases)
    {
        CEvent event(c.initiallySet, c.manualReset);
        EXPECT_EQ(c.firstLock, event.Lock(0)) << c.initiallySet << c.manualReset;
        EXPECT_EQ(c.secondLock, event.Lock(0)) << c.initiallySet << c.manualReset;
        event.SetEvent();
        EXPECT_TRUE(event.Lock(0));
        EXPECT_EQ(c.manualReset, event.Lock(0));
        event.ResetEvent();
        EXPECT_FALSE(event.Lock(0));
    }
}

TEST(Event, SameNameIsTheSameEvent)
{
    CEvent first(FALSE, TRUE, "zym-sync-test-event");
    CEvent second(FALSE, TRUE, "zym-sync-test-event");
    first.SetEvent();
    EXPECT_TRUE(second.Lock(0));
}

TEST(SyncObject, NameTakenByAnotherKindThrows)
{
    CMutex mutex(FALSE, "zym-sync-test-name");
    bool thrown = false;
    try
    {
        CEvent event(FALSE, FALSE, "zym-sync-test-name");
    }
    catch (CResourceException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(Mutex, OwnerHoldsItAgainstOtherThreads)
{
    CMutex mutex(TRUE);
    EXPECT_FALSE(LockFromOtherThread(mutex));
    EXPECT_TRUE(mutex.Lock(0));
    mutex.Unlock();
    EXPECT_FALSE(LockFromOtherThread(mutex));
    mutex.Unlock();
    EXPECT_TRUE(LockFromOtherThread(mutex));
}

TEST(Mutex, AbandonedMutexIsTakenOver)
{
    CMutex mutex;
    RunOnOtherThread([&] { mutex.Lock(0); });
    EXPECT_TRUE(mutex.Lock(0));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_TRUE(LockFromOtherThread(mutex));
}

TEST(Semaphore, CountsLocksUpToItsMaximum)
{
    CSemaphore semaphore(2, 3);
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_FALSE(semaphore.Lock(0));
    LONG previous = -1;
    EXPECT_TRUE(semaphore.Unlock(3, &previous));
    EXPECT_EQ(0, previous);
    EXPECT_FALSE(semaphore.Unlock());
}

TEST(SingleLock, TimesOutAndReleasesWhatItHolds)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(LockFromOtherThread(mutex));
    }
    EXPECT_TRUE(LockFromOtherThread(mutex));

    CMutex held;
    RunOnOtherThread([&] { held.Lock(0); });
    held.Lock(0);
    RunOnOtherThread([&] {
        CSingleLock lock(&held);
        EXPECT_FALSE(lock.Lock(0));
        EXPECT_FALSE(lock.IsLocked());
    });
    held.Unlock();
}

TEST(SingleLock, UnlockWithCountReleasesASemaphore)
{
    CSemaphore semaphore(1, 2);
    CSingleLock lock(&semaphore);
    EXPECT_TRUE(lock.Lock(0));
    LONG previous = -1;
    EXPECT_TRUE(lock.Unlock(2, &previous));
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_EQ(0, previous);
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_TRUE(semaphore.Lock(0));
}

TEST(MultiLock, WaitsForAnyOrForAll)
{
    struct MultiCase
    {
        BOOL firstSet;
        BOOL secondSet;
        BOOL waitForAll;
        DWORD result;
        BOOL firstLocked;
        BOOL secondLocked;
    };
    const MultiCase cases[] = {
        {FALSE, FALSE, FALSE, WAIT_TIMEOUT, FALSE, FALSE},
        {FALSE, TRUE, FALSE, WAIT_OBJECT_0 + 1, FALSE, TRUE},
        {TRUE, TRUE, FALSE, WAIT_OBJECT_0, TRUE, FALSE},
        {TRUE, FALSE, TRUE, WAIT_TIMEOUT, FALSE, FALSE},
        {TRUE, TRUE, TRUE, WAIT_OBJECT_0, TRUE, TRUE},
    };
    for (const MultiCase& c : cases)
    {
        CEvent first(c.firstSet), second(c.secondSet);
        CSyncObject* objects[] = {&first, &second};
        CMultiLock lock(objects, 2);
        EXPECT_EQ(c.result, lock.Lock(0, c.waitForAll)) << c.firstSet << c.secondSet << c.waitForAll;
        EXPECT_EQ(c.firstLocked, lock.IsLocked(0));
        EXPECT_EQ(c.secondLocked, lock.IsLocked(1));
        // Auto-reset events stay set when a wait for all of them times out.
        EXPECT_EQ(c.firstSet && !c.firstLocked, first.Lock(0));
    }
}

TEST(MultiLock, GivesBackWhatItTookWhenDestroyed)
{
    CSemaphore first(1, 1), second(1, 1);
    {
        CSyncObject* objects[] = {&first, &second};
        CMultiLock lock(objects, 2, TRUE);
        EXPECT_TRUE(lock.IsLocked(0));
        EXPECT_TRUE(lock.IsLocked(1));
        EXPECT_FALSE(first.Lock(0));
    }
    EXPECT_TRUE(first.Lock(0));
    EXPECT_TRUE(second.Lock(0));
}

TEST(MultiLock, ReportsAPostedMessageWithAWakeMask)
{
    CEvent event;
    CSyncObject* objects[] = {&event};
    CMultiLock lock(objects, 1);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0 + 1, lock.Lock(0, FALSE, QS_POSTMESSAGE));
    EXPECT_FALSE(lock.IsLocked(0));
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        ;
}
