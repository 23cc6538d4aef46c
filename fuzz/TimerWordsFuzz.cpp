// Timer device commands (setalarm, clralarm) on a clock the target holds
// still, each part one command; then the due alarms are taken.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "devices/timer/TimerList.h"

namespace {

COleDateTime FixedNow()
{
    return COleDateTime(2026, 3, 4, 5, 6, 7);
}

} // namespace

int FuzzTimerWords(const uint8_t* data, size_t size)
{
    CTimerList timers(FixedNow);
    for (const CString& command : SplitInput(data, size)) {
        CString reason;
        timers.Command(command, &reason);
    }
    for (int i = 0; i < 8 && !timers.NextDue().IsEmpty(); i++) {
    }
    return 0;
}
