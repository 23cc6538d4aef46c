// The internet session of an HTTP request thread: WinInet's status
// notifications become the status text of the thread's task.
#pragma once

#include "library/records/TaskSink.h"

#include <afxinet.h>

class CZymInetSession : public CInternetSession
{
public:
    CZymInetSession(LPCSTR agent, DWORD_PTR context, DWORD accessType, LPCSTR proxyName,
                    LPCSTR proxyBypass, DWORD flags, CTaskSink* taskMgr, int taskId);

    void OnStatusCallback(DWORD_PTR context, DWORD status, LPVOID info,
                          DWORD infoLength) override;

    // The text WinInet's status code stands for.
    static const char* StatusText(DWORD status);

    CString m_strStatus;
    CString m_strTitle;
    CTaskSink* m_pTaskMgr;
    int m_nTaskId;
};
