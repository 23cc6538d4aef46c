// The thread of the progress dialogs. As a listener of the task manager it
// gives every task with a progress dialog a CTaskUI and passes the task's
// changes to it; on its own user-interface thread a 100 ms thread timer
// brings the dialogs' windows up to date. The thread runs while dialogs
// exist: it ends itself when the last one is gone and starts again with the
// next one, on the same object.
//
// Lock order: the task manager's, then this object's (the dialog list), then
// a dialog's. Task events arrive on the changing thread with no task manager
// lock held; the created event copies its task before taking the list lock.
#pragma once

#include "core/tasks/TaskMgr.h"
#include "shell/dialogs/TaskUI.h"

#include <afxmt.h>
#include <afxwin.h>

#include <memory>
#include <vector>

class CTaskUIMgr : public CWinThread, public CTaskObserver
{
public:
    CTaskUIMgr();
    ~CTaskUIMgr() override;

    void Attach(CTaskMgr* taskMgr);
    void OnTaskEvent(int taskId, int what, INT_PTR value) override;

    bool IsRunning();

    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    void OnTimer(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void OnTaskCreated(int taskId);
    // Under the list lock.
    CTaskUI* FindDialog(int taskId);
    void StartThread();
    // The dialogs' thread: updates every dialog, drops the destroyed ones and
    // ends the thread when none is left.
    void UpdateDialogs();
    // Called by the thread itself when its loop ended from outside.
    void ForgetWindows();

    static const UINT kTickMs = 100;

    CTaskMgr* m_taskMgr = nullptr;
    bool m_running = false;        // guarded by m_lock
    bool m_endedItself = false;    // the thread's own
    UINT_PTR m_timerId = 0;        // the thread's own
    std::vector<std::unique_ptr<CTaskUI>> m_dialogs; // guarded by m_lock
    CCriticalSection m_lock;
};
