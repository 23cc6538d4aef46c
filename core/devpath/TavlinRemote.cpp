#include "core/devpath/TavlinRemote.h"

#include "core/devpath/TavlinXThread.h"

#include "devices/util/MessageWaits.h"

namespace {

const char kNoControl[] = "tavlinx:error[Unable to make the interface control]";
const int kStepMs = 10;
const int kPollMs = 100;
const int kPolls = 100;
const int kQuitChecks = 200;
const int kAddMs = 20000;
const int kShortMs = 500;
const int kSendMs = 10000;
const int kLoadMs = 30000;

} // namespace

CTavlinRemote::CTavlinRemote(ThreadHook* hook)
    : m_hook(hook), m_thread(new CTavlinXThread(this)), m_dialog(nullptr), m_ready(FALSE, TRUE),
      m_drained(TRUE, TRUE), m_units(-1), m_messageBoxes(TRUE)
{
    m_thread->m_bAutoDelete = FALSE;
    if (m_thread->CreateThread(CREATE_SUSPENDED))
        m_thread->ResumeThread();
}

CTavlinRemote::~CTavlinRemote()
{
    if (m_thread->m_hThread) {
        m_thread->PostThreadMessage(WM_QUIT, 0, 0);
        for (int i = 0; i < kQuitChecks && WaitForSingleObject(m_thread->m_hThread, kPollMs) == WAIT_TIMEOUT; ++i)
            ;
    }
    m_thread.reset();
    CSingleLock lock(&m_lock, TRUE);
    m_listeners.clear();
    m_queue.clear();
}

void CTavlinRemote::ThreadStarted(bool started)
{
    if (m_hook)
        m_hook->Invoke(started ? 1 : 0);
}

void CTavlinRemote::SetReady(HWND dialog)
{
    m_dialog = dialog;
    m_ready.SetEvent();
}

BOOL CTavlinRemote::WaitUntilReady(int ms)
{
    for (; ms > 0; ms -= kStepMs) {
        if (WaitForSingleObject(m_ready, kStepMs) == WAIT_OBJECT_0)
            return TRUE;
        PumpWaitingMessages();
    }
    return WaitForSingleObject(m_ready, 0) == WAIT_OBJECT_0;
}

BOOL CTavlinRemote::Queue(const Request& request)
{
    HWND dialog = m_dialog;
    if (!dialog) {
        Deliver(kNoControl);
        return FALSE;
    }
    {
        CSingleLock lock(&m_lock, TRUE);
        m_queue.push_back(request);
        m_drained.ResetEvent();
    }
    PostMessageA(dialog, WM_TAVLINX_REQUESTS, 0, 0);
    return TRUE;
}

BOOL CTavlinRemote::WaitForQueue(int ms)
{
    if (GetCurrentThreadId() == m_thread->m_nThreadID || ms < 1)
        return FALSE;
    for (; ms > 0; ms -= kStepMs) {
        if (WaitForSingleObject(m_drained, 0) == WAIT_OBJECT_0)
            return TRUE;
        PumpWaitingMessages();
        WaitForSingleObject(m_drained, kStepMs);
    }
    return FALSE;
}

LONG CTavlinRemote::Ask(const Request& request, int ms, LONG failed)
{
    if (!Queue(request))
        return failed;
    return WaitForQueue(ms) ? request.result->load() : failed;
}

void CTavlinRemote::RunRequests(CTavlinx& control)
{
    for (;;) {
        Request request;
        {
            CSingleLock lock(&m_lock, TRUE);
            if (m_queue.empty())
                return;
            request = m_queue.front();
        }
        *request.result = Run(control, request);
        CSingleLock lock(&m_lock, TRUE);
        m_queue.erase(m_queue.begin());
        if (m_queue.empty())
            m_drained.SetEvent();
    }
}

LONG CTavlinRemote::Run(CTavlinx& control, const Request& r)
{
    switch (r.kind) {
    case kAddDevice:
        return control.AddDevice(r.text1, r.text2, r.number1, r.number2, r.number3);
    case kAddDeviceText:
        return control.AddDeviceText(r.text1, r.text2, r.number1, r.number2, r.number3);
    case kDeleteDevice:
        return control.DeleteDevice(r.text1);
    case kSend:
        return control.Send(r.text1);
    case kGetNumTavlins:
        return control.GetNumTavlins();
    case kGetNumDevices:
        return control.GetNumDevices();
    case kSetReportNoMatch:
        control.SetReportNoMatch(short(r.number1));
        return 0;
    case kLoadServer:
        return control.LoadServer();
    }
    return -1;
}

BOOL CTavlinRemote::SendDeviceCommand(const char* text)
{
    Ask({kSend, text, "", 0, 0, 0, NewResult(0)}, kSendMs, 0);
    return TRUE;
}

// The control counts devices and units from 1.
BOOL CTavlinRemote::AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports)
{
    return Ask({kAddDevice, file, name, deviceNumber + 1, unit + 1, ports, NewResult(-1)}, kAddMs, -1) == 0;
}

BOOL CTavlinRemote::AddDeviceText(const char* text, const char* name, int deviceNumber, int unit, int ports)
{
    Ask({kAddDeviceText, text, name, deviceNumber + 1, unit + 1, ports, NewResult(-1)}, kAddMs, -1);
    return TRUE;
}

BOOL CTavlinRemote::DeleteDevice(const char* name)
{
    {
        CSingleLock lock(&m_lock, TRUE);
        for (auto it = m_listeners.begin(); it != m_listeners.end(); ++it)
            if (it->device == name) {
                m_listeners.erase(it);
                break;
            }
    }
    Ask({kDeleteDevice, name, "", 0, 0, 0, NewResult(0)}, kShortMs, 0);
    return TRUE;
}

BOOL CTavlinRemote::SetDeviceListener(const char* name, const TextCallback& listener)
{
    CSingleLock lock(&m_lock, TRUE);
    m_listeners.push_back(Listener{name, listener});
    return TRUE;
}

BOOL CTavlinRemote::SetListener(const TextCallback& listener)
{
    CSingleLock lock(&m_lock, TRUE);
    m_catchAll = listener;
    return TRUE;
}

BOOL CTavlinRemote::SetReportNoMatch(int flag)
{
    Ask({kSetReportNoMatch, "", "", flag, 0, 0, NewResult(0)}, kShortMs, 0);
    return TRUE;
}

void CTavlinRemote::LoadServer()
{
    Ask({kLoadServer, "", "", 0, 0, 0, NewResult(0)}, kLoadMs, 0);
}

// The slot starts outside the 16-bit range of the answers, so that a -1 from
// the control counts as an answer.
int CTavlinRemote::AskCount(int kind)
{
    const LONG kNoAnswer = -0x10000;
    Result count = NewResult(kNoAnswer);
    if (!Queue({kind, "", "", 0, 0, 0, count}))
        return -1;
    for (int i = 0; i < kPolls && *count == kNoAnswer; ++i) {
        PumpWaitingMessages();
        Sleep(kPollMs);
    }
    LONG answer = *count;
    return answer == kNoAnswer ? -1 : answer;
}

int CTavlinRemote::GetNumTavlins()
{
    if (m_units < 0)
        m_units = AskCount(kGetNumTavlins);
    return m_units;
}

int CTavlinRemote::GetNumDevices()
{
    return AskCount(kGetNumDevices);
}

void CTavlinRemote::Deliver(const CString& text)
{
    int colon = text.Find(':');
    CString device = colon < 0 ? text : text.Left(colon);
    TextCallback catchAll;
    {
        // The device listeners run under the lock (see the lock order above).
        CSingleLock lock(&m_lock, TRUE);
        for (const Listener& listener : m_listeners)
            if (listener.device == device && listener.callback.object)
                listener.callback.Invoke(text);
        catchAll = m_catchAll;
    }
    if (catchAll.object)
        catchAll.Invoke(text);
}
