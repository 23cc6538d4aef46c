#include "core/devpath/TavlinXThread.h"

#include "core/devpath/TavlinRemote.h"
#include "platform/tavlinx/TavlinXApi.h"

BEGIN_MESSAGE_MAP(CTavlinxDlg, CDialog)
    ON_MESSAGE(WM_TAVLINX_REQUESTS, OnRunRequests)
END_MESSAGE_MAP()

BOOL CTavlinxDlg::Make()
{
    if (!Create(IDD_TAVLINX, nullptr))
        return FALSE;
    if (!m_control.Create(this, IDC_TAVLINX) || FAILED(m_control.Advise(this))) {
        Unmake();
        return FALSE;
    }
    return TRUE;
}

void CTavlinxDlg::Unmake()
{
    m_control.Disconnect();
    if (m_control.GetSafeHwnd())
        m_control.DestroyWindow();
    if (GetSafeHwnd())
        DestroyWindow();
}

LRESULT CTavlinxDlg::OnRunRequests(WPARAM, LPARAM)
{
    m_remote->RunRequests(m_control);
    return 0;
}

void CTavlinxDlg::OnOleEvent(DISPID id, DISPPARAMS* params)
{
    if (id == kTavlinXReceiveEvent)
        m_remote->Deliver(CTavlinx::EventText(params, 0) + ":" + CTavlinx::EventText(params, 1));
    else if (id == kTavlinXErrorEvent)
        m_remote->Deliver("tavlinx:error[" + CTavlinx::EventText(params, 1) + "]");
}

// The stand-in control is registered for this thread's apartment, where its
// only host lives.
BOOL CTavlinXThread::InitInstance()
{
    m_remote->ThreadStarted(true);
    if (FAILED(CoInitialize(nullptr)))
        return FALSE;
    if (FAILED(RegisterTavlinXClass(&m_classCookie)) || !m_dialog.Make()) {
        m_remote->SetReady(nullptr);
        return TRUE;
    }
    m_remote->SetReady(m_dialog.GetSafeHwnd());
    return TRUE;
}

int CTavlinXThread::ExitInstance()
{
    m_dialog.Unmake();
    if (m_classCookie)
        CoRevokeClassObject(m_classCookie);
    CoUninitialize();
    m_remote->ThreadStarted(false);
    return CWinThread::ExitInstance();
}
