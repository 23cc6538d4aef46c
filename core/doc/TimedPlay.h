// The scheduler's settings as the tick's timed play reads them: when the
// play list starts (at once, or from a start time until an optional end
// time), and whether it has started. What happens when it ends belongs to
// the timed action.
#pragma once

#include <afxdisp.h>

struct TimedPlay
{
    enum StartMode { kAtOnce = 0, kAtStartTime = 1 };

    BOOL enabled = FALSE;
    BOOL started = FALSE;
    // Set while the user holds the timed play back.
    BOOL hold = FALSE;
    int startMode = kAtOnce;
    COleDateTime startTime;
    BOOL useEndTime = FALSE;
    COleDateTime endTime;
    // The timed action when the play ends: 1 sleep, 2 exit.
    int action = 0;
};
