// Alarms of the timer device driven by a test clock: single, repeating and
// daily alarms, their texts, clearing, late polls, and commands arriving while
// another thread polls.
#include "tests/support/TestFramework.h"

#include "devices/timer/TimerList.h"

namespace {

COleDateTime g_now;

COleDateTime TestClock()
{
    return g_now;
}

COleDateTime At(int hour, int minute, int second, int day = 10)
{
    return COleDateTime(2026, 12, day, hour, minute, second);
}

void Advance(double seconds)
{
    g_now = COleDateTime(double(g_now) + seconds / 86400);
}

class TimerListTest : public ::testing::Test
{
protected:
    TimerListTest() : m_list(TestClock) { g_now = At(6, 0, 0); }

    // Every text due now, as the device's poll collects them.
    std::vector<std::string> Due()
    {
        std::vector<std::string> texts;
        for (CString text; !(text = m_list.NextDue()).IsEmpty();)
            texts.push_back(static_cast<const char*>(text));
        return texts;
    }

    // Polls once a second over the span, collecting what fires.
    std::vector<std::string> RunFor(double seconds)
    {
        std::vector<std::string> fired;
        for (double t = 0; t < seconds; t += 1) {
            Advance(1);
            for (const std::string& text : Due())
                fired.push_back(text);
        }
        return fired;
    }

    CTimerList m_list;
};

using Texts = std::vector<std::string>;

TEST_F(TimerListTest, DailyAlarmFiresEveryDayAtItsTime)
{
    ASSERT_TRUE(m_list.Command("setalarm[wake,07:30,1d,forever]"));
    EXPECT_EQ(Due(), Texts());
    g_now = At(7, 29, 59);
    EXPECT_EQ(Due(), Texts());
    g_now = At(7, 30, 0);
    EXPECT_EQ(Due(), Texts{"wake[07:30]"});
    EXPECT_EQ(Due(), Texts());
    g_now = At(7, 30, 1, 11);
    EXPECT_EQ(Due(), Texts{"wake[07:30]"});
    EXPECT_EQ(m_list.FindAlarm("wake"), 0);
}

TEST_F(TimerListTest, DailyAlarmSetAfterItsTimeFirstFiresTomorrow)
{
    g_now = At(8, 0, 0);
    ASSERT_TRUE(m_list.Command("setalarm[wake,07:30,1d,forever]"));
    g_now = At(23, 59, 0);
    EXPECT_EQ(Due(), Texts());
    g_now = At(7, 30, 0, 11);
    EXPECT_EQ(Due(), Texts{"wake[07:30]"});
}

TEST_F(TimerListTest, StartTextsAndRepetitions)
{
    const struct
    {
        const char* command;
        double seconds;   // polled once a second over this span
        Texts fired;
        int left;         // alarms still in the list afterwards
    } cases[] = {
        {"setalarm[tea,10m]", 660, {"tea[06:10]"}, 0},
        {"setalarm[tea,10m,,once]", 660, {"tea[06:10]"}, 0},
        {"setalarm[blink,5s,5s,3,%H:%M:%S]", 30,
         {"blink[06:00:05]", "blink[06:00:10]", "blink[06:00:15]", "blink[06:00:20]"}, 0},
        {"setalarm[x,2m30,,,%M:%S]", 150, {"x[02:00]"}, 0},
        {"setalarm[x,90,,,%M:%S]", 100, {"x[01:30]"}, 0},
        {"setalarm[x,1h,,,%H:%M]", 3600, {"x[07:00]"}, 0},
        {"setalarm[tick,20s,20s,forever,%M:%S]", 65, {"tick[00:20]", "tick[00:40]", "tick[01:00]"}, 1},
        {"setalarm[x,06:00:30,,,%H:%M:%S]", 40, {"x[06:00:30]"}, 0},
        {"setalarm[x,12/10/2026 06:00:45,,,%d.%m.%Y %H:%M:%S]", 60, {"x[10.12.2026 06:00:45]"}, 0},
        {"setalarm[x,20s,,,%a %b %d %p]", 30, {"x[Thu Dec 10 AM]"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        g_now = At(6, 0, 0);
        ASSERT_TRUE(m_list.Command(c.command));
        EXPECT_EQ(RunFor(c.seconds), c.fired);
        Due();
        EXPECT_EQ(m_list.GetCount(), c.left);
        while (m_list.GetCount() > 0)
            m_list.RemoveAlarm(0);
    }
}

TEST_F(TimerListTest, CommandsThatFail)
{
    const char* const commands[] = {
        "setalarm[x]", "setalarm[a,b,c,d,e,f]", "setalarm", "SetAlarm[x,1m]", "alarm[x,1m]",
        "clralarm[x]", "clralarm",
    };
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        EXPECT_FALSE(m_list.Command(command));
    }
    EXPECT_EQ(m_list.GetCount(), 0);
}

// Times the alarm check could never step through: it ran for ever on the
// monitoring thread.
TEST_F(TimerListTest, TimesAnAlarmCannotWalkThroughAreRefusedWithTheirReason)
{
    const struct
    {
        const char* command;
        const char* reason;
    } cases[] = {
        {"setalarm[b,0s,1e-300s,forever]", "Alarm b: the interval 1e-300s is shorter than a millisecond"},
        {"setalarm[b,0s,0.0004s,3]", "Alarm b: the interval 0.0004s is shorter than a millisecond"},
        {"setalarm[b,-1e308y,1m]", "Alarm b: the time -1e308y is out of range"},
        {"setalarm[b,1e400]", "Alarm b: the time 1e400 is out of range"},
        {"setalarm[b,9000y,1d,forever]", "Alarm b: the time 9000y is out of range"},
        {"setalarm[b,1m,1e308y,forever]", "Alarm b: the interval 1e308y is out of range"},
        {"setalarm[b,1m,20000y,forever]", "Alarm b: the interval 20000y is out of range"},
        {"setalarm[x]", "Alarm x needs from 2 to 5 fields: x"},
        {"setalarm[a,b,c,d,e,f]", "Alarm a needs from 2 to 5 fields: a,b,c,d,e,f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        CString reason;
        // An alarm taken wrongly would never be polled here.
        ASSERT_FALSE(m_list.Command(c.command, &reason));
        EXPECT_EQ(c.reason, reason);
    }
    EXPECT_EQ(m_list.GetCount(), 0);
    ASSERT_TRUE(m_list.Command("setalarm[fine,0s,0.001s,forever]"));
    ASSERT_TRUE(m_list.Command("setalarm[far,9000d,1000y]"));
}

// A millisecond alarm polled a month late (more intervals than an int holds)
// fires once and goes on from the next time ahead, or ends when that uses up
// its repetitions.
TEST_F(TimerListTest, MillisecondIntervalCatchesUpAfterTheClockJumpsAMonth)
{
    ASSERT_TRUE(m_list.Command("setalarm[fast,1s,0.001s,forever,%d %H:%M:%S]"));
    ASSERT_TRUE(m_list.Command("setalarm[few,1s,0.001s,5,%d %H:%M:%S]"));
    Advance(1);
    EXPECT_EQ(Due(), (Texts{"fast[10 06:00:01]", "few[10 06:00:01]"}));
    Advance(30 * 86400);
    EXPECT_EQ(Due(), (Texts{"fast[10 06:00:01]", "few[10 06:00:01]"}));
    EXPECT_EQ(Due(), Texts());
    EXPECT_EQ(m_list.GetCount(), 1);
    Advance(1);
    EXPECT_EQ(Due().size(), 1u);
}

TEST_F(TimerListTest, ClearingMatchesTheNameExactly)
{
    ASSERT_TRUE(m_list.Command("setalarm[tea,10m]"));
    EXPECT_FALSE(m_list.Command("clralarm[Tea]"));
    EXPECT_TRUE(m_list.Command("clralarm[tea]"));
    EXPECT_EQ(m_list.GetCount(), 0);
    EXPECT_EQ(RunFor(700), Texts());

    ASSERT_TRUE(m_list.Command("setalarm[tea,10m]"));
    EXPECT_EQ(RunFor(700), Texts{"tea[06:21]"});
    EXPECT_FALSE(m_list.Command("clralarm[tea]"));
}

TEST_F(TimerListTest, AlarmWithoutIntervalFiresOnce)
{
    ASSERT_TRUE(m_list.Command("setalarm[x,10s,,forever,%M:%S]"));
    EXPECT_EQ(RunFor(60), Texts{"x[00:10]"});
    EXPECT_EQ(m_list.GetCount(), 1);
}

// A poll that comes several intervals late fires once and the alarm goes on
// from the next time ahead.
TEST_F(TimerListTest, LatePollCatchesUp)
{
    ASSERT_TRUE(m_list.Command("setalarm[tick,1m,1m,forever]"));
    g_now = At(6, 3, 30);
    EXPECT_EQ(Due(), Texts{"tick[06:01]"});
    g_now = At(6, 3, 59);
    EXPECT_EQ(Due(), Texts());
    g_now = At(6, 4, 0);
    EXPECT_EQ(Due(), Texts{"tick[06:04]"});
    g_now = At(6, 5, 0);
    EXPECT_EQ(Due(), Texts{"tick[06:05]"});
}

TEST_F(TimerListTest, LatePollUsesUpTheMissedRepetitions)
{
    ASSERT_TRUE(m_list.Command("setalarm[a,1m,1m,5]"));
    ASSERT_TRUE(m_list.Command("setalarm[b,1m,1m,1]"));
    g_now = At(6, 3, 30);
    EXPECT_EQ(Due(), (Texts{"a[06:01]", "b[06:01]"}));
    // a: three of its six times are gone; b had two and is done.
    EXPECT_EQ(RunFor(600), (Texts{"a[06:04]", "a[06:05]", "a[06:06]"}));
    EXPECT_EQ(m_list.GetCount(), 0);
}

TEST_F(TimerListTest, RepeatingStartInThePastSkipsMissedTimes)
{
    g_now = At(9, 10, 0);
    ASSERT_TRUE(m_list.Command("setalarm[half,08:00,30m,forever]"));
    EXPECT_EQ(RunFor(1200), Texts{"half[09:30]"});
    ASSERT_TRUE(m_list.Command("setalarm[late,08:00,30m,5]"));
    // All three of its times lie in the past: it never fires and goes.
    ASSERT_TRUE(m_list.Command("setalarm[gone,08:00,30m,2]"));
    EXPECT_EQ(RunFor(3600), (Texts{"half[10:00]", "late[10:00]", "half[10:30]", "late[10:30]"}));
    EXPECT_EQ(m_list.FindAlarm("gone"), -1);
}

struct SharedList
{
    CTimerList* list;
    volatile bool stop;
    volatile LONG polls;
};

DWORD WINAPI PollMain(void* param)
{
    SharedList* shared = static_cast<SharedList*>(param);
    while (!shared->stop) {
        while (!shared->list->NextDue().IsEmpty()) {
        }
        InterlockedIncrement(&shared->polls);
    }
    return 0;
}

TEST_F(TimerListTest, CommandsWhileAnotherThreadPolls)
{
    g_now = At(6, 0, 0);
    SharedList shared = {&m_list, false, 0};
    HANDLE poller = CreateThread(nullptr, 0, PollMain, &shared, 0, nullptr);
    ASSERT_TRUE(poller);
    // On a busy machine the commands could all be done before the poller runs.
    while (!shared.polls)
        Sleep(1);
    for (int i = 0; i < 20000; ++i) {
        CString name;
        name.Format("a%d", i % 50);
        // Already due: the poller fires and removes them while commands go on.
        m_list.Command("setalarm[" + name + ",0s]");
        if (i % 3 == 0)
            m_list.Command("clralarm[" + name + "]");
    }
    shared.stop = true;
    WaitForSingleObject(poller, INFINITE);
    CloseHandle(poller);
    Due();
    Due();
    EXPECT_EQ(m_list.GetCount(), 0);
}

} // namespace
