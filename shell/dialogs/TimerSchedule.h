// The music timer's fields and the document's timed play: what the
// scheduler command shows and what its OK sets.
#pragma once

#include "shell/dialogs/TimerDlg.h"
#include "core/doc/TimedPlay.h"

// The dialog shows the schedule the document holds.
void ShowSchedule(const TimedPlay& timed, CTimerDlg& dialog);

// The dialog's choices become the schedule, not yet started. Returns the
// play list file to load as the current list first ("This playlist"), or an
// empty text to play the current list.
CString TakeSchedule(const CTimerDlg& dialog, TimedPlay& timed);
