#include "devices/timer/TimerList.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "devices/util/TextFields.h"
#include "platform/crt/NumberText.h"

namespace {

const char* const kDefaultFormat = "%H:%M";
const int kMinFields = 2;
const int kMaxFields = 5;
const double kNoInterval = -1.0;
const double kOneDay = 1.0;
// A date of at most this is a time of day without a date.
const double kTimeOnly = 1.0;
// Times compare to the millisecond: sums of day fractions are not exact.
const double kSlack = 0.5 / 86400000;
// Shorter intervals would make the catching-up of a late poll step for ever
// (an interval below the precision of a date does not move it at all).
const double kShortestIntervalUs = 1000;
const double kMicrosecondsPerDay = 86400e6;
// From the first date there is (year 100) to the last (year 9999).
const double kLongestSpan = 657434.0 + 2958466.0;

struct SpanUnit
{
    char letter;
    double days;
};

// The first of these letters in a relative time is its unit; "s" without one.
const char kUnitLetters[] = "yowdhms";
const SpanUnit kSpanUnits[] = {
    {'y', 365}, {'o', 31}, {'w', 7}, {'d', 1}, {'h', 1.0 / 24}, {'m', 1.0 / 1440}, {'s', 1.0 / 86400},
};

// a lies clearly before b.
bool Before(const COleDateTime& a, const COleDateTime& b)
{
    return double(a) < double(b) - kSlack;
}

bool Refuse(CString& reason, const char* format, const CString& name, const CString& text)
{
    reason.Format(format, static_cast<const char*>(name), static_cast<const char*>(text));
    return false;
}

double UnitDays(char letter)
{
    for (const SpanUnit& unit : kSpanUnits)
        if (unit.letter == letter)
            return unit.days;
    return kSpanUnits[sizeof kSpanUnits / sizeof kSpanUnits[0] - 1].days;
}

} // namespace

COleDateTime CurrentLocalTime()
{
    return COleDateTime::GetCurrentTime();
}

CAlarm::CAlarm(DateClock clock)
    : m_format(kDefaultFormat), m_interval(kNoInterval), m_repetitions(kOnce), m_finished(0),
      m_clock(clock)
{
}

CAlarm::~CAlarm()
{
}

// A relative span ("10m", "1.5h", "90": seconds) counts from now and leaves its
// length in span; anything with ":" or "/" is a date or time of day, and a time
// alone falls on today. A text that reads as neither gives the date 0.
COleDateTime CAlarm::ParseTime(const CString& text, COleDateTime now, double& span)
{
    span = 0;
    if (text.Find(':') < 0 && text.Find('/') < 0) {
        const char* chars = text;
        size_t cut = strcspn(chars, kUnitLetters);
        span = MsStrtod(text.Left(int(cut)), nullptr) * UnitDays(chars[cut] ? chars[cut] : 's');
        return now + COleDateTimeSpan(span);
    }
    COleDateTime time;
    if (!time.ParseDateTime(text, 0))
        return COleDateTime(0.0);
    if (double(time) <= kTimeOnly)
        time = COleDateTime(double(time) + floor(double(now)));
    return time;
}

bool CAlarm::Set(const CString& args, CString& reason)
{
    int fields = CountFields(args);
    if (fields < kMinFields || fields > kMaxFields)
        return Refuse(reason, "Alarm %s needs from 2 to 5 fields: %s", GetField(args, 0), args);
    COleDateTime now = m_clock();
    m_name = GetField(args, 0);
    CString repetitions = GetField(args, 3);
    if (repetitions == "once") {
        m_repetitions = kOnce;
    } else if (repetitions == "forever") {
        m_repetitions = kForever;
    } else if (!repetitions.IsEmpty() &&
               sscanf(repetitions, "%d", &m_repetitions) != 1) {
        m_repetitions = kOnce;
    }
    double span;
    CString start = GetField(args, 1);
    m_next = ParseTime(start, now, span);
    if (!isfinite(span) || m_next.GetStatus() != COleDateTime::valid)
        return Refuse(reason, "Alarm %s: the time %s is out of range", m_name, start);
    CString interval = GetField(args, 2);
    ParseTime(interval, now, span);
    if (!isfinite(span) || fabs(span) > kLongestSpan)
        return Refuse(reason, "Alarm %s: the interval %s is out of range", m_name, interval);
    if (span > 0 && floor(span * kMicrosecondsPerDay + 0.5) < kShortestIntervalUs)
        return Refuse(reason, "Alarm %s: the interval %s is shorter than a millisecond", m_name, interval);
    m_interval = span > 0 ? span : kNoInterval;
    CString format = GetField(args, 4);
    if (!format.IsEmpty())
        m_format = format;
    m_lastCheck = now;
    if (Before(m_next, now))
        MovePast(now);
    return true;
}

// A start in the past: a single alarm and one without an interval come back
// tomorrow; a repeating one skips the times it missed, which count against its
// repetitions. One whose times all lie in the past is finished at once.
void CAlarm::MovePast(COleDateTime now)
{
    if (m_repetitions == kOnce || m_interval <= 0) {
        m_next += COleDateTimeSpan(kOneDay);
        return;
    }
    double missed = floor((now - m_next) / m_interval + 1);
    if (m_repetitions > 0) {
        missed = fmin(m_repetitions, missed);
        m_repetitions -= int(missed);
    }
    m_next += COleDateTimeSpan(missed * m_interval);
    if (Before(m_next, now))
        m_finished = 1;
}

// Fires once per due time. A repeating alarm polled late by several intervals
// fires once for all it missed and goes on from the next time still ahead; the
// missed times count against its repetitions.
CString CAlarm::Check()
{
    COleDateTime now = m_clock();
    if (m_finished || Before(m_next, m_lastCheck) || Before(now, m_next))
        return CString();
    CString text;
    text.Format("%s[%s]", static_cast<const char*>(m_name),
                static_cast<const char*>(m_next.Format(m_format)));
    // Counted as a double: a clock that jumps years ahead is as many intervals.
    double steps = 1;
    if (m_interval > 0) {
        steps = fmax(1, floor((now - m_next) / m_interval) + 1);
        while (!Before(now, m_next + COleDateTimeSpan(steps * m_interval)))
            ++steps;
    }
    // Without an interval the next time falls behind the last check and stays there.
    m_next += COleDateTimeSpan(steps * m_interval);
    if (m_repetitions == kOnce) {
        m_finished = 1;
    } else if (m_repetitions > 0) {
        if (steps > m_repetitions) {
            m_repetitions = 0;
            m_finished = 1;
        } else {
            m_repetitions -= int(steps);
        }
    }
    m_lastCheck = now;
    return text;
}

CTimerList::CTimerList(DateClock clock) : m_clock(clock)
{
}

CTimerList::~CTimerList()
{
}

bool CTimerList::Command(const CString& command, CString* reason)
{
    int open = command.Find('[');
    int close = command.Find(']');
    if (open < 0 || close < 0)
        return false;
    CString word = command.Left(open);
    CString args = close > open ? command.Mid(open + 1, close - open - 1) : CString();
    if (word == "setalarm") {
        std::unique_ptr<CAlarm> alarm(new CAlarm(m_clock));
        CString refusal;
        if (!alarm->Set(args, refusal)) {
            if (reason)
                *reason = refusal;
            return false;
        }
        CSingleLock lock(&m_lock, TRUE);
        m_alarms.push_back(std::move(alarm));
        return true;
    }
    if (word == "clralarm") {
        CSingleLock lock(&m_lock, TRUE);
        int index = FindUnlocked(args);
        if (index >= 0)
            RemoveUnlocked(index);
        return index >= 0;
    }
    return false;
}

CString CTimerList::NextDue()
{
    CSingleLock lock(&m_lock, TRUE);
    for (int i = 0; i < int(m_alarms.size());) {
        if (m_alarms[i]->IsFinished())
            RemoveUnlocked(i);
        else
            ++i;
    }
    CString text;
    for (size_t i = 0; i < m_alarms.size() && text.IsEmpty(); ++i)
        text = m_alarms[i]->Check();
    return text;
}

int CTimerList::FindAlarm(const CString& name)
{
    CSingleLock lock(&m_lock, TRUE);
    return FindUnlocked(name);
}

void CTimerList::RemoveAlarm(int index)
{
    CSingleLock lock(&m_lock, TRUE);
    RemoveUnlocked(index);
}

int CTimerList::GetCount()
{
    CSingleLock lock(&m_lock, TRUE);
    return int(m_alarms.size());
}

int CTimerList::FindUnlocked(const CString& name) const
{
    for (size_t i = 0; i < m_alarms.size(); ++i)
        if (m_alarms[i]->GetName() == name)
            return int(i);
    return -1;
}

void CTimerList::RemoveUnlocked(int index)
{
    if (index < 0 || index >= int(m_alarms.size()))
        return;
    m_alarms.erase(m_alarms.begin() + index);
}
