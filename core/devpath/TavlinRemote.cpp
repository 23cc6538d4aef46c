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
    : m_hook(hook), m_thread(nullptr), m_dialog(nullptr), m_ready(0), m_units(-1), m_messageBoxes(TRUE)
{
    InitializeCriticalSection(&m_lock);
    m_thread = new CTavlinXThread(this);
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
    delete m_thread;
    EnterCriticalSection(&m_lock);
    m_listeners.clear();
    m_queue.clear();
    LeaveCriticalSection(&m_lock);
    DeleteCriticalSection(&m_lock);
}

void CTavlinRemote::ThreadStarted(bool started)
{
    if (m_hook)
        m_hook->Invoke(started ? 1 : 0);
}

void CTavlinRemote::SetReady(HWND dialog)
{
    m_dialog = dialog;
    InterlockedExchange(&m_ready, 1);
}

BOOL CTavlinRemote::WaitUntilReady(int ms)
{
    for (; ms > 0 && !m_ready; ms -= kStepMs) {
        PumpWaitingMessages();
        Sleep(kStepMs);
    }
    return m_ready != 0;
}

BOOL CTavlinRemote::Queue(const Request& request)
{
    if (!m_dialog) {
        Deliver(kNoControl);
        return FALSE;
    }
    EnterCriticalSection(&m_lock);
    m_queue.push_back(request);
    LeaveCriticalSection(&m_lock);
    PostMessageA(m_dialog, WM_TAVLINX_REQUESTS, 0, 0);
    return TRUE;
}

BOOL CTavlinRemote::WaitForQueue(int ms)
{
    if (GetCurrentThreadId() == m_thread->m_nThreadID || ms < 1)
        return FALSE;
    for (;;) {
        EnterCriticalSection(&m_lock);
        bool empty = m_queue.empty();
        LeaveCriticalSection(&m_lock);
        if (empty || ms <= 0)
            return ms > 0;
        PumpWaitingMessages();
        Sleep(kStepMs);
        ms -= kStepMs;
    }
}

LONG CTavlinRemote::Ask(const Request& request, int ms, LONG failed)
{
    if (!Queue(request))
        return failed;
    return WaitForQueue(ms) ? *request.result : failed;
}

void CTavlinRemote::RunRequests(CTavlinx& control)
{
    for (;;) {
        EnterCriticalSection(&m_lock);
        if (m_queue.empty()) {
            LeaveCriticalSection(&m_lock);
            return;
        }
        Request request = m_queue.front();
        LeaveCriticalSection(&m_lock);
        InterlockedExchange(request.result.get(), Run(control, request));
        EnterCriticalSection(&m_lock);
        m_queue.erase(m_queue.begin());
        LeaveCriticalSection(&m_lock);
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
    Ask({kSend, text, "", 0, 0, 0, std::make_shared<LONG>(0)}, kSendMs, 0);
    return TRUE;
}

// The control counts devices and units from 1.
BOOL CTavlinRemote::AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports)
{
    return Ask({kAddDevice, file, name, deviceNumber + 1, unit + 1, ports, std::make_shared<LONG>(-1)}, kAddMs,
               -1) == 0;
}

BOOL CTavlinRemote::AddDeviceText(const char* text, const char* name, int deviceNumber, int unit, int ports)
{
    Ask({kAddDeviceText, text, name, deviceNumber + 1, unit + 1, ports, std::make_shared<LONG>(-1)}, kAddMs, -1);
    return TRUE;
}

BOOL CTavlinRemote::DeleteDevice(const char* name)
{
    EnterCriticalSection(&m_lock);
    for (auto it = m_listeners.begin(); it != m_listeners.end(); ++it)
        if (it->device == name) {
            m_listeners.erase(it);
            break;
        }
    LeaveCriticalSection(&m_lock);
    Ask({kDeleteDevice, name, "", 0, 0, 0, std::make_shared<LONG>(0)}, kShortMs, 0);
    return TRUE;
}

BOOL CTavlinRemote::SetDeviceListener(const char* name, const TextCallback& listener)
{
    EnterCriticalSection(&m_lock);
    m_listeners.push_back(Listener{name, listener});
    LeaveCriticalSection(&m_lock);
    return TRUE;
}

BOOL CTavlinRemote::SetListener(const TextCallback& listener)
{
    EnterCriticalSection(&m_lock);
    m_catchAll = listener;
    LeaveCriticalSection(&m_lock);
    return TRUE;
}

BOOL CTavlinRemote::SetReportNoMatch(int flag)
{
    Ask({kSetReportNoMatch, "", "", flag, 0, 0, std::make_shared<LONG>(0)}, kShortMs, 0);
    return TRUE;
}

void CTavlinRemote::LoadServer()
{
    Ask({kLoadServer, "", "", 0, 0, 0, std::make_shared<LONG>(0)}, kLoadMs, 0);
}

// The slot starts outside the 16-bit range of the answers, so that a -1 from
// the control counts as an answer.
int CTavlinRemote::AskCount(int kind)
{
    const LONG kNoAnswer = -0x10000;
    Result count = std::make_shared<LONG>(kNoAnswer);
    if (!Queue({kind, "", "", 0, 0, 0, count}))
        return -1;
    for (int i = 0; i < kPolls && InterlockedCompareExchange(count.get(), kNoAnswer, kNoAnswer) == kNoAnswer; ++i) {
        PumpWaitingMessages();
        Sleep(kPollMs);
    }
    LONG answer = InterlockedCompareExchange(count.get(), kNoAnswer, kNoAnswer);
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
    EnterCriticalSection(&m_lock);
    for (const Listener& listener : m_listeners)
        if (listener.device == device && listener.callback.object)
            listener.callback.Invoke(text);
    TextCallback catchAll = m_catchAll;
    LeaveCriticalSection(&m_lock);
    if (catchAll.object)
        catchAll.Invoke(text);
}
