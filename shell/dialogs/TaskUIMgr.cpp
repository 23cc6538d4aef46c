#include "shell/dialogs/TaskUIMgr.h"

#include "core/crashlink/CrashLink.h"

#include <algorithm>

namespace {

// A thread that decided to end only kills its timer and says goodbye to the
// crash link; more than this means it hangs.
const DWORD kThreadEndWaitMs = 10000;

} // namespace

BEGIN_MESSAGE_MAP(CTaskUIMgr, CWinThread)
    ON_THREAD_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

CTaskUIMgr::CTaskUIMgr()
{
    m_bAutoDelete = FALSE;
}

CTaskUIMgr::~CTaskUIMgr()
{
    if (m_hThread && WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT)
    {
        PostThreadMessage(WM_QUIT, 0, 0);
        WaitForSingleObject(m_hThread, kThreadEndWaitMs);
    }
}

void CTaskUIMgr::Attach(CTaskMgr* taskMgr)
{
    m_taskMgr = taskMgr;
    taskMgr->AddListener(this);
}

bool CTaskUIMgr::IsRunning()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_running;
}

void CTaskUIMgr::OnTaskEvent(int taskId, int what, INT_PTR value)
{
    if (what == kTaskCreated)
    {
        OnTaskCreated(taskId);
        return;
    }
    CSingleLock lock(&m_lock, TRUE);
    CTaskUI* dialog = FindDialog(taskId);
    if (!dialog)
        return;
    switch (what)
    {
    case kTaskEnded:
        dialog->RequestDestroy();
        break;
    case kTaskName:
        dialog->SetTitle(reinterpret_cast<const char*>(value));
        break;
    case kTaskStatus:
        dialog->AddStatus(reinterpret_cast<const char*>(value));
        break;
    case kTaskPos:
        dialog->SetPos(static_cast<int>(value));
        break;
    case kTaskRange:
        dialog->SetRange(static_cast<int>(value));
        break;
    }
}

// The copy is taken before the list lock: the task manager's lock comes first.
void CTaskUIMgr::OnTaskCreated(int taskId)
{
    TaskRecord task;
    {
        CSingleLock managerLock(&m_taskMgr->GetLock(), TRUE);
        task = m_taskMgr->GetTaskAt(m_taskMgr->FindTask(taskId));
    }
    if (!task.HasProgressDialog() || task.GetId() != taskId)
        return;
    CSingleLock lock(&m_lock, TRUE);
    m_dialogs.emplace_back(new CTaskUI(taskId, task.GetCancelFlag()));
    // Decided under the list lock, where the thread decides to end: a dialog
    // added while it ends finds it not running and starts it again.
    if (!m_running)
        StartThread();
}

CTaskUI* CTaskUIMgr::FindDialog(int taskId)
{
    for (const std::unique_ptr<CTaskUI>& dialog : m_dialogs)
    {
        if (dialog->GetTaskId() == taskId)
            return dialog.get();
    }
    return nullptr;
}

// A thread that decided to end may still be on its way out; the object is
// shared by its runs, so the next run waits for it. Its way out takes no lock.
void CTaskUIMgr::StartThread()
{
    if (m_hThread)
        WaitForSingleObject(m_hThread, kThreadEndWaitMs);
    m_endedItself = false;
    m_running = CreateThread() != FALSE;
}

BOOL CTaskUIMgr::InitInstance()
{
    TheCrashLink().RegisterCurrentThread("TaskUI");
    m_timerId = SetTimer(NULL, 0, kTickMs, NULL);
    if (!m_timerId)
        AfxMessageBox("Error Starting Timer");
    return TRUE;
}

int CTaskUIMgr::ExitInstance()
{
    KillTimer(NULL, m_timerId);
    m_timerId = 0;
    TheCrashLink().UnregisterCurrentThread();
    if (!m_endedItself)
        ForgetWindows();
    return CWinThread::ExitInstance();
}

void CTaskUIMgr::OnTimer(WPARAM, LPARAM)
{
    UpdateDialogs();
}

// Dialogs are deleted only here, under the list lock; events reach them only
// under it, so the copy of the list stays valid while the windows update
// outside it.
void CTaskUIMgr::UpdateDialogs()
{
    std::vector<CTaskUI*> dialogs;
    {
        CSingleLock lock(&m_lock, TRUE);
        for (const std::unique_ptr<CTaskUI>& dialog : m_dialogs)
            dialogs.push_back(dialog.get());
    }
    for (CTaskUI* dialog : dialogs)
        dialog->Update();
    CSingleLock lock(&m_lock, TRUE);
    m_dialogs.erase(std::remove_if(m_dialogs.begin(), m_dialogs.end(),
                                   [](const std::unique_ptr<CTaskUI>& dialog) {
                                       return dialog->GetWindowState() == CTaskUI::kDestroyed;
                                   }),
                    m_dialogs.end());
    // Only this thread ends itself: a quit posted from elsewhere could reach
    // a thread that is not this one.
    if (m_dialogs.empty() && m_running)
    {
        m_running = false;
        m_endedItself = true;
        PostQuitMessage(0);
    }
}

// The loop ended from outside (the program ends).
void CTaskUIMgr::ForgetWindows()
{
    CSingleLock lock(&m_lock, TRUE);
    m_running = false;
    for (const std::unique_ptr<CTaskUI>& dialog : m_dialogs)
        dialog->ForgetWindow();
}
