#include "shell/dialogs/TaskUI.h"
#include "shell/dialogs/TaskResources.h"

BEGIN_MESSAGE_MAP(CTaskUI, CDialog)
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_TASK_CANCEL, OnCancel)
END_MESSAGE_MAP()

CTaskUI::CTaskUI(int taskId, TaskCancelFlag* cancelFlag) : m_taskId(taskId), m_cancelFlag(cancelFlag)
{
}

int CTaskUI::GetWindowState()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_state;
}

void CTaskUI::SetTitle(const char* title)
{
    CSingleLock lock(&m_lock, TRUE);
    m_title = title;
    m_dirty = true;
}

void CTaskUI::AddStatus(const char* text)
{
    CSingleLock lock(&m_lock, TRUE);
    m_pendingLines.push_back(text);
    m_dirty = true;
}

void CTaskUI::SetPos(int pos)
{
    CSingleLock lock(&m_lock, TRUE);
    m_pos = pos;
    m_dirty = true;
}

void CTaskUI::SetRange(int range)
{
    CSingleLock lock(&m_lock, TRUE);
    m_range = range;
    m_dirty = true;
}

void CTaskUI::RequestDestroy()
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_state == kNoWindow)
        m_state = kDestroyed;
    else if (m_state == kWindowMade)
        m_state = kDestroyRequested;
}

void CTaskUI::ForgetWindow()
{
    if (m_hWnd)
        DestroyWindow();
    CSingleLock lock(&m_lock, TRUE);
    if (m_state == kWindowMade)
        m_state = kNoWindow;
    else if (m_state == kDestroyRequested)
        m_state = kDestroyed;
}

void CTaskUI::Update()
{
    if (GetWindowState() == kNoWindow)
        MakeWindow();
    CSingleLock lock(&m_lock, TRUE);
    if (m_dirty && m_state == kWindowMade)
        Refresh();
    if (m_state == kDestroyRequested)
    {
        DestroyWindow();
        m_state = kDestroyed;
    }
}

// Outside the lock: the window's creation sends it messages, and a failure's
// box runs a loop while task events keep coming.
void CTaskUI::MakeWindow()
{
    BOOL made = Create(IDD_TASK_PROGRESS);
    if (made)
        ShowWindow(SW_SHOWNOACTIVATE);
    CSingleLock lock(&m_lock, TRUE);
    if (made)
    {
        // The task may have ended while the window was made.
        if (m_state == kDestroyed)
            m_state = kDestroyRequested;
        else
            m_state = kWindowMade;
        return;
    }
    // Dropped, so that the box does not come back at every tick.
    m_state = kDestroyed;
    lock.Unlock();
    AfxMessageBox("Create Fail");
}

void CTaskUI::Refresh()
{
    m_dirty = false;
    if (!m_cancelFlag)
        GetDlgItem(IDC_TASK_CANCEL)->EnableWindow(FALSE);
    CString shown;
    GetWindowText(shown);
    if (shown != m_title)
        SetWindowText(m_title);
    for (; !m_pendingLines.empty(); m_pendingLines.pop_front())
        m_log.AppendText(m_pendingLines.front() + "\n");
    int lower = 0, upper = 0;
    m_progress.GetRange(lower, upper);
    if (upper - lower != m_range)
        m_progress.SetRange32(0, m_range);
    m_progress.EnableWindow(m_range != 0);
    if (m_progress.GetPos() != m_pos)
        m_progress.SetPos(m_pos);
}

BOOL CTaskUI::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_log.SubclassDlgItem(IDC_TASK_LOG, this);
    m_progress.SubclassDlgItem(IDC_TASK_PROGRESS, this);
    CSingleLock lock(&m_lock, TRUE);
    m_dirty = true;
    return TRUE;
}

// The dialog stays until its task ends.
void CTaskUI::OnCancel()
{
    if (m_cancelFlag)
        *m_cancelFlag = 1;
}

void CTaskUI::OnClose()
{
    ShowWindow(SW_HIDE);
}
