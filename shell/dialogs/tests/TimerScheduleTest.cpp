// The music timer's fields as the document's timed play, both ways.
#include "tests/support/TestFramework.h"

#include "shell/dialogs/TimerSchedule.h"

namespace {

TEST(TimerScheduleTest, TheChoicesBecomeTheSchedule)
{
    const COleDateTime start(2002, 7, 14, 21, 30, 0), stop(2002, 7, 15, 1, 0, 0);
    const struct
    {
        int source, startMode, stopMode, whenDone, enabled;
        int timedStart;
        BOOL useEnd;
        const char* file;
    } cases[] = {
        { CTimerDlg::kCurrentPlaylist, CTimerDlg::kStartNow, CTimerDlg::kStopAtEnd, CTimerDlg::kDoNothing, TRUE,
          TimedPlay::kAtOnce, FALSE, "" },
        { CTimerDlg::kThisPlaylist, CTimerDlg::kStartAt, CTimerDlg::kStopAt, CTimerDlg::kShutDown, TRUE,
          TimedPlay::kAtStartTime, TRUE, "C:\\Lists\\Night.pla" },
        { CTimerDlg::kCurrentPlaylist, CTimerDlg::kStartAt, CTimerDlg::kStopAtEnd, CTimerDlg::kShutDownAndClose,
          FALSE, TimedPlay::kAtStartTime, FALSE, "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        CTimerDlg dialog;
        dialog.m_nStartSource = c.source;
        dialog.m_nStartMode = c.startMode;
        dialog.m_nStopMode = c.stopMode;
        dialog.m_nWhenDone = c.whenDone;
        dialog.m_bEnabled = c.enabled;
        dialog.m_strPlaylist = "C:\\Lists\\Night.pla";
        dialog.m_startDateTime = start;
        dialog.m_stopDateTime = stop;
        TimedPlay timed;
        timed.started = TRUE;
        timed.hold = TRUE;
        EXPECT_STREQ(c.file, TakeSchedule(dialog, timed));
        EXPECT_EQ(c.enabled, timed.enabled);
        EXPECT_FALSE(timed.started);
        EXPECT_TRUE(timed.hold) << "holding back is the user's, not the timer's";
        EXPECT_EQ(c.timedStart, timed.startMode);
        EXPECT_EQ(start, timed.startTime);
        EXPECT_EQ(c.useEnd, timed.useEndTime);
        EXPECT_EQ(stop, timed.endTime);
        EXPECT_EQ(c.whenDone, timed.action);
    }
}

TEST(TimerScheduleTest, TheDialogShowsTheSchedule)
{
    TimedPlay timed;
    timed.enabled = TRUE;
    timed.startMode = TimedPlay::kAtStartTime;
    timed.startTime = COleDateTime(2002, 7, 14, 21, 30, 0);
    timed.useEndTime = TRUE;
    timed.endTime = COleDateTime(2002, 7, 15, 1, 0, 0);
    timed.action = 2;
    CTimerDlg dialog;
    ShowSchedule(timed, dialog);
    EXPECT_TRUE(dialog.m_bEnabled);
    EXPECT_EQ(CTimerDlg::kStartAt, dialog.m_nStartMode);
    EXPECT_EQ(CTimerDlg::kStopAt, dialog.m_nStopMode);
    EXPECT_EQ(CTimerDlg::kShutDownAndClose, dialog.m_nWhenDone);
    EXPECT_EQ(timed.startTime, dialog.m_startDate);
    EXPECT_EQ(timed.startTime, dialog.m_startTime);
    EXPECT_EQ(timed.endTime, dialog.m_stopDate);
    EXPECT_EQ(timed.endTime, dialog.m_stopTime);

    // A schedule never set leaves the dialog at the current time.
    CTimerDlg fresh;
    const COleDateTime now = fresh.m_startDate;
    ShowSchedule(TimedPlay(), fresh);
    EXPECT_EQ(now, fresh.m_startDate);
    EXPECT_EQ(now, fresh.m_stopTime);
    EXPECT_FALSE(fresh.m_bEnabled);
    EXPECT_EQ(CTimerDlg::kStartNow, fresh.m_nStartMode);
}

} // namespace
