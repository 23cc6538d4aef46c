// The MP3 thread: a user-interface thread that hosts the hidden MP3 player
// dialog until WM_QUIT ends it. Start waits until the dialog is ready, so
// requests may go to it at once.
#pragma once

#include <afxwin.h>

#include "mp3/player/MPEGDlg.h"

class CMPEGPlayerThread : public CWinThread
{
    DECLARE_DYNCREATE(CMPEGPlayerThread)
public:
    // Null when the thread or its dialog could not be made.
    static CMPEGPlayerThread* Start(CMp3Host& host);
    // Posts WM_QUIT and waits at most timeoutMs for the thread to end (it
    // deletes itself); FALSE when it did not end in time. Null is no thread.
    static BOOL End(CMPEGPlayerThread* thread, DWORD timeoutMs);

    CMPEGPlayerThread() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;

    CMPEGDlg& GetPlayer() { return m_dlg; }

private:
    // Lives with the starter while it waits; the thread fills it, then sets
    // ready and touches it no more.
    struct CStartState
    {
        CMp3Host* host;
        HANDLE ready;
        BOOL started;
    };

    CStartState* m_start = nullptr;
    CMp3Host* m_host = nullptr;
    CMPEGDlg m_dlg;
};
