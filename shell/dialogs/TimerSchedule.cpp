#include "shell/dialogs/TimerSchedule.h"

namespace {

// "When done" is the timed action: 0 nothing, 1 sleep, 2 exit.
static_assert(CTimerDlg::kShutDown == 1 && CTimerDlg::kShutDownAndClose == 2, "actions as the timed play keeps them");

// A schedule never set holds the zero date.
bool IsSet(const COleDateTime& value)
{
    return value.GetStatus() == COleDateTime::valid && value != COleDateTime();
}

} // namespace

void ShowSchedule(const TimedPlay& timed, CTimerDlg& dialog)
{
    dialog.m_bEnabled = timed.enabled;
    dialog.m_nStartMode = timed.startMode == TimedPlay::kAtStartTime ? CTimerDlg::kStartAt : CTimerDlg::kStartNow;
    dialog.m_nStopMode = timed.useEndTime ? CTimerDlg::kStopAt : CTimerDlg::kStopAtEnd;
    dialog.m_nWhenDone = timed.action;
    // Times never set leave the dialog's current time.
    if (IsSet(timed.startTime))
        dialog.m_startDate = dialog.m_startTime = timed.startTime;
    if (IsSet(timed.endTime))
        dialog.m_stopDate = dialog.m_stopTime = timed.endTime;
}

CString TakeSchedule(const CTimerDlg& dialog, TimedPlay& timed)
{
    timed.enabled = dialog.m_bEnabled;
    timed.started = FALSE;
    timed.startMode = dialog.m_nStartMode == CTimerDlg::kStartAt ? TimedPlay::kAtStartTime : TimedPlay::kAtOnce;
    timed.startTime = dialog.m_startDateTime;
    timed.useEndTime = dialog.m_nStopMode == CTimerDlg::kStopAt;
    timed.endTime = dialog.m_stopDateTime;
    timed.action = dialog.m_nWhenDone;
    return dialog.m_nStartSource == CTimerDlg::kThisPlaylist ? dialog.m_strPlaylist : CString();
}
