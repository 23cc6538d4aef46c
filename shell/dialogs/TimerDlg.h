// The music timer: which play list starts, when it starts and stops, and what
// follows. The caller reads the fields after OK; the start and stop are the
// date of one picker with the time of the other.
#pragma once

#include <afxdisp.h>
#include <afxwin.h>

#include "shell/dialogs/TimerDlgResources.h"

class CTimerDlg : public CDialog
{
public:
    enum StartSource { kCurrentPlaylist = 0, kThisPlaylist = 1 };
    enum StartMode { kStartNow = 0, kStartAt = 1 };
    enum StopMode { kStopAtEnd = 0, kStopAt = 1 };
    enum WhenDone { kDoNothing = 0, kShutDown = 1, kShutDownAndClose = 2 };

    explicit CTimerDlg(CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    int m_nStartSource;
    int m_nStartMode;
    int m_nStopMode;
    int m_nWhenDone;
    int m_bEnabled;
    COleDateTime m_startDate;
    COleDateTime m_startTime;
    COleDateTime m_stopDate;
    COleDateTime m_stopTime;
    COleDateTime m_startDateTime;
    COleDateTime m_stopDateTime;
    // The play list file of "This playlist".
    CString m_strPlaylist;

protected:
    void OnSourceChanged();
    // Picks the file of "This playlist".
    void OnBrowse();
    DECLARE_MESSAGE_MAP()
};
