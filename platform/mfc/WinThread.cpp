#include "platform/mfc/WinThread.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

namespace
{
// The object of each thread started through CWinThread.
thread_local CWinThread* t_currentThread = NULL;

// The caret's blink timer: it comes again and again with no news for idle work.
const UINT WM_SYSTIMER = 0x0118;
}

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread()
{
    CommonConstruct();
}

CWinThread::CWinThread(AFX_THREADPROC threadProc, LPVOID param)
{
    CommonConstruct();
    m_pfnThreadProc = threadProc;
    m_pThreadParams = param;
}

void CWinThread::CommonConstruct()
{
    m_pMainWnd = NULL;
    m_bAutoDelete = TRUE;
    m_hThread = NULL;
    m_nThreadID = 0;
    memset(&m_msgCur, 0, sizeof(m_msgCur));
    m_pThreadParams = NULL;
    m_pfnThreadProc = NULL;
    m_hStarted = NULL;
    m_ptLastMouse.x = -1;
    m_ptLastMouse.y = -1;
    m_lastMouseMessage = 0;
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
    if (t_currentThread == this)
        t_currentThread = NULL;
}

DWORD WINAPI AfxThreadEntry(LPVOID object)
{
    return ((CWinThread*)object)->RunThread();
}

DWORD CWinThread::RunThread()
{
    t_currentThread = this;
    if (!m_pfnThreadProc)
    {
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    }
    if (m_hStarted)
        SetEvent(m_hStarted);

    DWORD exitCode;
    if (m_pfnThreadProc)
        exitCode = m_pfnThreadProc(m_pThreadParams);
    else if (InitInstance())
        exitCode = Run();
    else
        exitCode = ExitInstance();
    t_currentThread = NULL;
    Delete();
    return exitCode;
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    return Start(createFlags, stackSize, security, THREAD_PRIORITY_NORMAL);
}

BOOL CWinThread::Start(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security,
                       int priority)
{
    // Handle and id are in place before the thread can run (and perhaps delete
    // this object); the starter touches nothing of the object after the wait.
    // An object kept after its thread ended may start another one.
    if (m_hThread)
    {
        CloseHandle(m_hThread);
        m_hThread = NULL;
    }
    BOOL suspended = (createFlags & CREATE_SUSPENDED) != 0;
    HANDLE started = suspended ? NULL : CreateEventA(NULL, TRUE, FALSE, NULL);
    m_hStarted = started;
    m_hThread = ::CreateThread(security, stackSize, AfxThreadEntry, this,
                               createFlags | CREATE_SUSPENDED, &m_nThreadID);
    if (!m_hThread)
    {
        m_hStarted = NULL;
        if (started)
            CloseHandle(started);
        return FALSE;
    }
    ::SetThreadPriority(m_hThread, priority);
    if (!suspended)
    {
        ::ResumeThread(m_hThread);
        WaitForSingleObject(started, INFINITE);
        CloseHandle(started);
    }
    return TRUE;
}

int CWinThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int priority)
{
    return ::SetThreadPriority(m_hThread, priority);
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    BOOL idle = TRUE;
    LONG idleCount = 0;
    for (;;)
    {
        while (idle && !PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(idleCount++))
                idle = FALSE;
        }
        do
        {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur))
            {
                idle = TRUE;
                idleCount = 0;
            }
        } while (PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    if (!msg->hwnd)
        return DispatchThreadMessageEx(msg);
    return CWnd::WalkPreTranslateTree(m_pMainWnd->GetSafeHwnd(), msg);
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* msg)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL)
    {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry)
        {
            BOOL registered = entry->nMessage == kRegisteredMessageEntry;
            UINT message = registered ? *(UINT*)entry->nSig : entry->nMessage;
            if (message != msg->message || (!registered && entry->nSig != AfxSig_vwl))
                continue;
            (this->*reinterpret_cast<void (CCmdTarget::*)(WPARAM, LPARAM)>(entry->pfn))(
                msg->wParam, msg->lParam);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    // GetMessage gives 0 for WM_QUIT and -1 when it fails: both end the loop.
    if (GetMessageA(&m_msgCur, NULL, 0, 0) <= 0)
        return FALSE;
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur))
    {
        TranslateMessage(&m_msgCur);
        DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG count)
{
    if (count <= 0)
    {
        CWnd* mainWnd = m_pMainWnd;
        if (mainWnd && mainWnd->m_hWnd && mainWnd->IsWindowVisible())
        {
            AfxCallWndProc(mainWnd, mainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            mainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    // The temporary objects go unless a loop of someone's holds them.
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE)
    {
        BOOL same = msg->message == m_lastMouseMessage && msg->pt.x == m_ptLastMouse.x &&
                    msg->pt.y == m_ptLastMouse.y;
        m_ptLastMouse = msg->pt;
        m_lastMouseMessage = msg->message;
        return !same;
    }
    return msg->message != WM_PAINT && msg->message != WM_SYSTIMER;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWinThread* CWinThread::Begin(CWinThread* thread, int priority, UINT stackSize,
                              DWORD createFlags, LPSECURITY_ATTRIBUTES security)
{
    if (!thread->Start(createFlags, stackSize, security, priority))
    {
        thread->Delete();
        return NULL;
    }
    return thread;
}

CWinThread* AfxBeginThread(AFX_THREADPROC threadProc, LPVOID param, int priority,
                           UINT stackSize, DWORD createFlags, LPSECURITY_ATTRIBUTES security)
{
    return CWinThread::Begin(new CWinThread(threadProc, param), priority, stackSize,
                             createFlags, security);
}

CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSize,
                           DWORD createFlags, LPSECURITY_ATTRIBUTES security)
{
    CObject* object = threadClass->CreateObject();
    if (!object)
        return NULL;
    if (!object->IsKindOf(RUNTIME_CLASS(CWinThread)))
    {
        delete object;
        return NULL;
    }
    return CWinThread::Begin((CWinThread*)object, priority, stackSize, createFlags, security);
}

void AfxEndThread(UINT exitCode, BOOL deleteObject)
{
    CWinThread* thread = t_currentThread;
    t_currentThread = NULL;
    if (thread && deleteObject)
        thread->Delete();
    ExitThread(exitCode);
}

CWinThread* AfxGetThread()
{
    if (t_currentThread)
        return t_currentThread;
    CWinApp* app = AfxGetApp();
    if (app && app->m_nThreadID == GetCurrentThreadId())
        return app;
    return NULL;
}
