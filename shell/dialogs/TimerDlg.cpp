#include "shell/dialogs/TimerDlg.h"

#include <afxdlgs.h>

namespace {
const char kPlaylistFilter[] = "Play lists (*.pla)|*.pla|All files (*.*)|*.*||";

// The day of one value at the time of day of the other.
COleDateTime Combine(const COleDateTime& date, const COleDateTime& time)
{
    return COleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), time.GetHour(),
                        time.GetMinute(), time.GetSecond());
}
} // namespace

BEGIN_MESSAGE_MAP(CTimerDlg, CDialog)
    ON_BN_CLICKED(IDC_TIMER_CURRENT_PLAYLIST, OnSourceChanged)
    ON_BN_CLICKED(IDC_TIMER_THIS_PLAYLIST, OnSourceChanged)
    ON_BN_CLICKED(IDC_TIMER_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CTimerDlg::CTimerDlg(CWnd* parent)
    : CDialog(IDD_TIMER, parent), m_nStartSource(kCurrentPlaylist), m_nStartMode(kStartNow),
      m_nStopMode(kStopAtEnd), m_nWhenDone(kDoNothing), m_bEnabled(FALSE)
{
    m_startDate = m_startTime = m_stopDate = m_stopTime = COleDateTime::GetCurrentTime();
}

BOOL CTimerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OnSourceChanged();
    return TRUE;
}

void CTimerDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_startDateTime = Combine(m_startDate, m_startTime);
    m_stopDateTime = Combine(m_stopDate, m_stopTime);
    EndDialog(IDOK);
}

void CTimerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_TIMER_CURRENT_PLAYLIST, m_nStartSource);
    DDX_Text(pDX, IDC_TIMER_PLAYLIST, m_strPlaylist);
    DDX_Radio(pDX, IDC_TIMER_START_NOW, m_nStartMode);
    DDX_DateTimeCtrl(pDX, IDC_TIMER_START_DATE, m_startDate);
    DDX_DateTimeCtrl(pDX, IDC_TIMER_START_TIME, m_startTime);
    DDX_Radio(pDX, IDC_TIMER_STOP_AT_END, m_nStopMode);
    DDX_DateTimeCtrl(pDX, IDC_TIMER_STOP_DATE, m_stopDate);
    DDX_DateTimeCtrl(pDX, IDC_TIMER_STOP_TIME, m_stopTime);
    DDX_Radio(pDX, IDC_TIMER_DO_NOTHING, m_nWhenDone);
    DDX_Check(pDX, IDC_TIMER_ENABLE, m_bEnabled);
}

// The play-list edit and "..." serve "This playlist" only.
void CTimerDlg::OnSourceChanged()
{
    BOOL thisPlaylist = IsDlgButtonChecked(IDC_TIMER_THIS_PLAYLIST) == BST_CHECKED;
    GetDlgItem(IDC_TIMER_PLAYLIST)->EnableWindow(thisPlaylist);
    GetDlgItem(IDC_TIMER_BROWSE)->EnableWindow(thisPlaylist);
}

void CTimerDlg::OnBrowse()
{
    CString path;
    GetDlgItemText(IDC_TIMER_PLAYLIST, path);
    CFileDialog chooser(TRUE, "pla", path, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kPlaylistFilter, this);
    if (chooser.DoModal() == IDOK)
        SetDlgItemText(IDC_TIMER_PLAYLIST, chooser.GetPathName());
}
