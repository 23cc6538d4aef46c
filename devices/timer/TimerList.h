// The alarms of a "timer" device: named times of day, delays and repeating
// intervals that the monitoring thread reports as event texts when they fall
// due. Times are OLE dates (days since 30 December 1899).
#pragma once

#include <afx.h>

#include <memory>
#include <vector>

#include <afxdisp.h>
#include <afxmt.h>

// The current local time; replaceable so that tests can drive the alarms.
typedef COleDateTime (*DateClock)();
COleDateTime CurrentLocalTime();

class CAlarm
{
public:
    explicit CAlarm(DateClock clock = CurrentLocalTime);
    virtual ~CAlarm();

    // args: name, start[, interval[, repetitions[, format]]]. False on the
    // number of fields, and on times the alarm could never walk through (not a
    // number, outside the dates there are, an interval below a millisecond),
    // with the reason in reason.
    bool Set(const CString& args, CString& reason);
    // The alarm text when it is due, else empty.
    CString Check();
    bool IsFinished() const { return m_finished != 0; }
    CString GetName() const { return m_name; }
    COleDateTime GetNextTime() const { return m_next; }
    int GetRepetitions() const { return m_repetitions; }

private:
    enum { kOnce = 0, kForever = -1 };

    static COleDateTime ParseTime(const CString& text, COleDateTime now, double& span);
    void MovePast(COleDateTime now);

    CString m_name;
    CString m_format;
    COleDateTime m_next;
    COleDateTime m_lastCheck;
    double m_interval;   // days; -1.0 when none
    int m_repetitions;   // 0 once, -1 forever, n: n more after the next one
    BYTE m_finished;
    DateClock m_clock;
};

class CTimerList
{
public:
    explicit CTimerList(DateClock clock = CurrentLocalTime);
    virtual ~CTimerList();
    CTimerList(const CTimerList&) = delete;
    CTimerList& operator=(const CTimerList&) = delete;

    // "setalarm[...]" or "clralarm[name]"; false for anything else or a failure.
    // A refused alarm leaves its reason in reason when given.
    bool Command(const CString& command, CString* reason = nullptr);
    // Drops finished alarms, then returns the first due alarm text or empty.
    CString NextDue();
    int FindAlarm(const CString& name);
    void RemoveAlarm(int index);
    int GetCount();

private:
    int FindUnlocked(const CString& name) const;
    void RemoveUnlocked(int index);

    // Commands come on the dispatcher's caller thread while the monitoring
    // thread polls: every operation holds it; it is taken alone.
    CCriticalSection m_lock;
    std::vector<std::unique_ptr<CAlarm>> m_alarms;
    DateClock m_clock;
};
