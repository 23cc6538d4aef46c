#include "shell/views/TavlinView.h"

#include "core/doc/ZymDoc.h"
#include "shell/views/ViewsResources.h"

#include <algorithm>

namespace {

const UINT kTimerPeriod = 200;
// The longest command text sent.
const int kMaxCommand = 4095;
// The banner starts below the command line.
const int kBannerTop = 48;

} // namespace

IMPLEMENT_DYNCREATE(CTavlinView, CBannerFormView)

BEGIN_MESSAGE_MAP(CTavlinView, CBannerFormView)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_TRAFFIC_SEND, SendCommand)
    ON_BN_CLICKED(IDC_TRAFFIC_FREEZE, OnFreeze)
    ON_BN_CLICKED(IDC_TRAFFIC_LOG, OnLog)
END_MESSAGE_MAP()

CTavlinView::CTavlinView() : CBannerFormView(IDD_TRAFFIC_FORM, "Tavlin Data")
{
    m_banner.SetOrigin(0, kBannerTop);
}

CZymDoc* CTavlinView::GetDoc()
{
    return dynamic_cast<CZymDoc*>(GetDocument());
}

void CTavlinView::DoDataExchange(CDataExchange* dx)
{
    CBannerFormView::DoDataExchange(dx);
    DDX_Control(dx, IDC_TRAFFIC_WINDOW, m_log);
    DDX_Text(dx, IDC_TRAFFIC_COMMAND, m_command);
    DDX_Check(dx, IDC_TRAFFIC_FREEZE, m_freeze);
    DDX_Check(dx, IDC_TRAFFIC_LOG, m_logging);
}

void CTavlinView::OnInitialUpdate()
{
    CZymDoc* doc = GetDoc();
    m_logging = doc && doc->IsActivityLoggingOn();
    CBannerFormView::OnInitialUpdate();
    m_timerRunning = SetTimer(kTimerId, kTimerPeriod, NULL) != 0;
    if (!m_timerRunning)
        AfxMessageBox("Unable to start system timer: window will not update correctly.");
    ((CEdit*)GetDlgItem(IDC_TRAFFIC_COMMAND))->LimitText(kMaxCommand);
}

BOOL CTavlinView::DestroyWindow()
{
    if (m_timerRunning && !KillTimer(kTimerId))
        AfxMessageBox("Unable to kill system timer.");
    m_timerRunning = false;
    return CBannerFormView::DestroyWindow();
}

void CTavlinView::OnTimer(UINT_PTR id)
{
    if (id == kTimerId)
        DrainQueue();
}

// The texts leave the mapper's queue under its lock; the window gets them
// outside it in one piece, so that the device threads filling the queue wait
// no longer than the copy takes.
void CTavlinView::DrainQueue()
{
    CZymDoc* doc = GetDoc();
    if (!doc || m_freeze || !m_log.m_hWnd)
        return;
    std::vector<CString> texts = doc->GetMapper().TakeEvents();
    if (texts.empty())
        return;
    CString all;
    for (const CString& text : texts)
        all += text + "\n";
    m_log.AppendText(all);
}

void CTavlinView::SendCommand()
{
    CZymDoc* doc = GetDoc();
    CString command;
    GetDlgItemText(IDC_TRAFFIC_COMMAND, command);
    if (doc)
        doc->SendDeviceCommand(command.Left(kMaxCommand));
}

// Return in the command line sends as the button does.
BOOL CTavlinView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
        msg->hwnd == GetDlgItem(IDC_TRAFFIC_COMMAND)->m_hWnd)
    {
        SendCommand();
        return TRUE;
    }
    return CBannerFormView::PreTranslateMessage(msg);
}

void CTavlinView::OnFreeze()
{
    UpdateData(TRUE);
}

void CTavlinView::OnLog()
{
    UpdateData(TRUE);
    if (CZymDoc* doc = GetDoc())
        doc->SetActivityLogging(m_logging);
}

void CTavlinView::Layout(int cx, int cy)
{
    if (!m_log.m_hWnd)
        return;
    const UINT stretched[] = {IDC_TRAFFIC_COMMAND, IDC_TRAFFIC_FREEZE};
    for (UINT id : stretched)
    {
        CWnd* control = GetDlgItem(id);
        CRect rect;
        control->GetWindowRect(&rect);
        ScreenToClient(&rect);
        control->MoveWindow(rect.left, rect.top, std::max(0, cx - rect.left), rect.Height());
    }
    CRect log;
    m_log.GetWindowRect(&log);
    ScreenToClient(&log);
    int left = m_banner.GetWidth() + 1;
    m_log.MoveWindow(left, log.top, std::max(0, cx - left), std::max(0, cy - log.top));
}
