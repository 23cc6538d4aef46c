#include "server/SiteDelivery.h"
#include "platform/runtime/DebugOutput.h"
#include "server/ServerState.h"

namespace {

// What a call into a client whose process has ended gives.
bool IsDisconnection(HRESULT hr)
{
    const HRESULT kGone[] = {RPC_E_DISCONNECTED, RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE, CO_E_OBJNOTCONNECTED,
                             HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), HRESULT_FROM_WIN32(RPC_S_CALL_FAILED)};
    for (HRESULT gone : kGone)
        if (hr == gone)
            return true;
    return false;
}

} // namespace

CSiteDelivery* CSiteDelivery::Start(IStream* marshalledSite)
{
    CSiteDelivery* delivery = new CSiteDelivery(marshalledSite);
    HANDLE thread = CreateThread(nullptr, 0, ThreadProc, delivery, 0, nullptr);
    if (!thread) {
        DebugOutput("Delivery thread failed to start");
        delivery->Release();
        delivery->Release();
        return nullptr;
    }
    CloseHandle(thread);
    return delivery;
}

CSiteDelivery::CSiteDelivery(IStream* stream)
    : m_stopping(FALSE), m_wake(FALSE, FALSE), m_done(FALSE, TRUE), m_stream(stream), m_siteGone(0), m_refs(2)
{
}

CSiteDelivery::~CSiteDelivery()
{
    if (m_stream)
        m_stream->Release();
}

void CSiteDelivery::Release()
{
    if (--m_refs == 0)
        delete this;
}

void CSiteDelivery::Post(const CString& text)
{
    {
        CSingleLock lock(&m_lock, TRUE);
        if (!m_stopping)
            m_queue.push_back(text);
    }
    m_wake.SetEvent();
}

void CSiteDelivery::Stop(DWORD waitMs)
{
    {
        CSingleLock lock(&m_lock, TRUE);
        m_stopping = TRUE;
        m_queue.clear();
    }
    m_wake.SetEvent();
    WaitForSingleObject(m_done, waitMs);
    Release();
}

DWORD WINAPI CSiteDelivery::ThreadProc(void* self)
{
    static_cast<CSiteDelivery*>(self)->Run();
    return 0;
}

BOOL CSiteDelivery::Next(CString& text)
{
    for (;;) {
        {
            CSingleLock lock(&m_lock, TRUE);
            if (m_stopping)
                return FALSE;
            if (!m_queue.empty()) {
                text = m_queue.front();
                m_queue.pop_front();
                return TRUE;
            }
        }
        WaitForSingleObject(m_wake, INFINITE);
    }
}

ITavlinSite* CSiteDelivery::Unmarshal()
{
    ITavlinSite* site = nullptr;
    HRESULT hr = CoGetInterfaceAndReleaseStream(m_stream, IID_ITavlinSite,
                                                reinterpret_cast<void**>(&site));
    m_stream = nullptr;
    if (FAILED(hr)) {
        DebugOutputF("Advise marshal failed %x", unsigned(hr));
        return nullptr;
    }
    return site;
}

void CSiteDelivery::Run()
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ITavlinSite* site = Unmarshal();
    CString text;
    while (Next(text)) {
        if (!site)
            continue;
        // The client gets a copy that lives for the call only.
        int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        std::u16string wide(n, u'\0');
        MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<LPWSTR>(&wide[0]), n);
        LPWSTR message = reinterpret_cast<LPWSTR>(&wide[0]);
        if (IsDisconnection(site->Receive(&message))) {
            m_siteGone = 1;
            site->Release();
            site = nullptr;
            continue;
        }
        InterlockedIncrement(&g_nReceived);
        NotifyCounters();
    }
    if (site)
        site->Release();
    CoUninitialize();
    m_done.SetEvent();
    Release();
}
