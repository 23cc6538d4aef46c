#include "mp3/player/MPEGPlayerThread.h"

IMPLEMENT_DYNCREATE(CMPEGPlayerThread, CWinThread)

CMPEGPlayerThread* CMPEGPlayerThread::Start(CMp3Host& host)
{
    CStartState start = {&host, CreateEventA(nullptr, TRUE, FALSE, nullptr), FALSE};
    if (!start.ready)
        return nullptr;
    CMPEGPlayerThread* thread = static_cast<CMPEGPlayerThread*>(
        AfxBeginThread(RUNTIME_CLASS(CMPEGPlayerThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
    if (thread) {
        thread->m_start = &start;
        thread->ResumeThread();
        WaitForSingleObject(start.ready, INFINITE);
    }
    CloseHandle(start.ready);
    // A thread whose dialog failed ends and deletes itself.
    return start.started ? thread : nullptr;
}

BOOL CMPEGPlayerThread::End(CMPEGPlayerThread* thread, DWORD timeoutMs)
{
    if (!thread)
        return TRUE;
    HANDLE handle = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &handle, SYNCHRONIZE,
                         FALSE, 0))
        return FALSE;
    thread->PostThreadMessage(WM_QUIT, 0, 0);
    BOOL ended = WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(handle);
    return ended;
}

BOOL CMPEGPlayerThread::InitInstance()
{
    CStartState* start = m_start;
    m_start = nullptr;
    m_host = start->host;
    m_host->ThreadStarted("MP3");
    m_dlg.SetHost(*m_host);
    BOOL created = m_dlg.Create(CMPEGDlg::IDD);
    if (created)
        m_pMainWnd = &m_dlg;
    start->started = created;
    SetEvent(start->ready);
    return created;
}

int CMPEGPlayerThread::ExitInstance()
{
    m_pMainWnd = nullptr;
    if (m_dlg.GetSafeHwnd())
        m_dlg.DestroyWindow();
    m_host->ThreadEnded();
    return CWinThread::ExitInstance();
}
