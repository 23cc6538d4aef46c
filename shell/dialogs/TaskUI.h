// The modeless progress dialog of one task: its name as title, the status
// texts as a running log, a progress bar and a Cancel button. Task events
// change its fields on any thread; Update brings the window up to date on the
// progress dialogs' thread, which alone touches the window.
#pragma once

#include "common/Tty.h"
#include "devices/util/TaskCancelFlag.h"

#include <afxcmn.h>
#include <afxmt.h>

#include <deque>

class CTaskUI : public CDialog
{
public:
    enum WindowState
    {
        kNoWindow = 0,
        kDestroyRequested = 1,
        kDestroyed = 2,
        kWindowMade = 3,
    };

    // cancelFlag: the task's cancel byte, or null when it cannot be cancelled.
    CTaskUI(int taskId, TaskCancelFlag* cancelFlag);

    int GetTaskId() const { return m_taskId; }
    int GetWindowState();

    // Any thread.
    void SetTitle(const char* title);
    void AddStatus(const char* text);
    void SetPos(int pos);
    void SetRange(int range);
    void RequestDestroy();
    // The dialogs' thread, ending: the window goes with the thread, so a
    // dialog that stays is made again by the next run.
    void ForgetWindow();

    // The dialogs' thread: makes, fills or destroys the window.
    void Update();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    void MakeWindow();
    // Under the lock.
    void Refresh();

    const int m_taskId;
    TaskCancelFlag* const m_cancelFlag;
    CString m_title;
    std::deque<CString> m_pendingLines;
    int m_pos = 0;
    int m_range = 0;
    bool m_dirty = false;
    int m_state = kNoWindow;
    CCriticalSection m_lock; // guards the fields above; after the dialog list's lock
    CTty m_log;
    CProgressCtrl m_progress;
};
