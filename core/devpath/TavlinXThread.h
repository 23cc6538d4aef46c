// The user-interface thread of the server road and its hidden dialog, which
// owns the interface control: the thread makes COM a single-threaded
// apartment for the control, the dialog runs the front end's queued requests
// when 0x8400 arrives, and the control's events come back on this thread.
#pragma once

#include <afxwin.h>

#include "core/devpath/Tavlinx.h"

class CTavlinRemote;

// Runs the front end's requests.
const UINT WM_TAVLINX_REQUESTS = WM_USER + 0x8000;
const UINT IDD_TAVLINX = 267;
const UINT IDC_TAVLINX = 1150;

class CTavlinxDlg : public CDialog, public COleEventHandler
{
public:
    explicit CTavlinxDlg(CTavlinRemote* remote) : m_remote(remote) {}

    // The dialog (never shown) with the control in it; FALSE when either failed.
    BOOL Make();
    void Unmake();
    CTavlinx& GetControl() { return m_control; }

    // Receive: "device:message" to the front end; the stock error event:
    // "tavlinx:error[description]".
    void OnOleEvent(DISPID id, DISPPARAMS* params) override;

protected:
    LRESULT OnRunRequests(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    CTavlinRemote* m_remote;
    CTavlinx m_control;
};

class CTavlinXThread : public CWinThread
{
public:
    explicit CTavlinXThread(CTavlinRemote* remote) : m_remote(remote), m_dialog(remote), m_classCookie(0) {}

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CTavlinRemote* m_remote;
    CTavlinxDlg m_dialog;
    DWORD m_classCookie;
};
