// CWinThread: a Win32 thread with its object. A worker thread runs one
// function; a user-interface thread runs InitInstance, then its own message
// loop (Run) until WM_QUIT, then ExitInstance.
#pragma once

#include "platform/mfc/CmdTarget.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID);

// Posted to the thread itself to make the loop look at its idle work again.
const UINT WM_KICKIDLE = 0x036A;

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC threadProc, LPVOID param);
    ~CWinThread() override;

    // Without CREATE_SUSPENDED the call returns once the thread runs and (for a
    // user-interface thread) has its message queue, so that messages can be
    // posted to it at once. A suspended thread gets its queue only when it runs.
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0,
                      LPSECURITY_ATTRIBUTES security = NULL);

    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority();
    BOOL SetThreadPriority(int priority);
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL InitInstance();
    virtual int Run();
    // TRUE when the message was handled and must not be dispatched. Thread
    // messages go to the thread's message map; window messages to the
    // PreTranslateMessage of their window and its parents.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Thread messages (no window) that the map has a handler for.
    BOOL DispatchThreadMessageEx(MSG* msg);
    // FALSE once WM_QUIT arrives.
    virtual BOOL PumpMessage();
    // count counts the calls since the last message; TRUE asks for another call.
    // The first call lets the main window's bars update their items, the
    // second deletes the temporary objects of windows, DCs, GDI objects and menus.
    virtual BOOL OnIdle(LONG count);
    // Messages that come again and again without news do not restart idle work.
    virtual BOOL IsIdleMessage(MSG* msg);
    // The thread's exit code: the WM_QUIT code as the base gives it.
    virtual int ExitInstance();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    virtual CWnd* GetMainWnd();

    // The thread ends its loop when this window is destroyed.
    CWnd* m_pMainWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    MSG m_msgCur;
    LPVOID m_pThreadParams;
    AFX_THREADPROC m_pfnThreadProc;

private:
    friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD,
                                      LPSECURITY_ATTRIBUTES);
    friend CWinThread* AfxBeginThread(CRuntimeClass*, int, UINT, DWORD, LPSECURITY_ATTRIBUTES);
    friend DWORD WINAPI AfxThreadEntry(LPVOID object);

    // Starts the thread, or deletes it (as Delete does) when it cannot be made.
    static CWinThread* Begin(CWinThread* thread, int priority, UINT stackSize,
                             DWORD createFlags, LPSECURITY_ATTRIBUTES security);
    void CommonConstruct();
    BOOL Start(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security, int priority);
    DWORD RunThread();

    // Set by the thread once it runs; only while its starter waits for that.
    HANDLE m_hStarted;
    POINT m_ptLastMouse;
    UINT m_lastMouseMessage;
};

// Returns NULL when the thread cannot be made; the object deletes itself when
// the thread ends (unless m_bAutoDelete is cleared before it can end).
CWinThread* AfxBeginThread(AFX_THREADPROC threadProc, LPVOID param,
                           int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                           DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = NULL);
// The class must be creatable from its run-time class record.
CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = NULL);
// Ends the calling thread at once; its object is deleted first when asked to.
void AfxEndThread(UINT exitCode, BOOL deleteObject = TRUE);
// The object of the calling thread: the application on the thread that made
// it, NULL on threads not started through CWinThread.
CWinThread* AfxGetThread();
