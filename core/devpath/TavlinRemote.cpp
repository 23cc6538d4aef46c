#include "TavlinRemote.h"

namespace {

const char kErrorDevice[] = "tavlinx";
const char kNoServer[] = "No device server";

// A UTF-16 copy that lives as long as the object; the server's methods take
// the address of the pointer.
class CWideText
{
public:
    explicit CWideText(const char* text)
    {
        int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        m_text.resize(length > 0 ? length : 1);
        if (length > 0)
            MultiByteToWideChar(CP_ACP, 0, text, -1, &m_text[0], length);
        m_pointer = &m_text[0];
    }
    LPWSTR* Address() { return &m_pointer; }

private:
    std::vector<WCHAR> m_text;
    LPWSTR m_pointer;
};

CString NarrowText(LPWSTR text)
{
    CString result;
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length > 1) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, result.GetBuffer(length), length, nullptr, nullptr);
        result.ReleaseBuffer();
    }
    return result;
}

}  // namespace

// The path's callback object in the server. The server may hold it past the
// path's end (its delivery thread lets go later), so the path detaches it:
// after Detach no text reaches the path.
class CTavlinRemoteSite : public ITavlinSite
{
public:
    explicit CTavlinRemoteSite(CTavlinRemote* remote) : m_refs(1), m_remote(remote)
    {
        InitializeCriticalSection(&m_lock);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITavlinSite)) {
            *object = static_cast<ITavlinSite*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }

    STDMETHODIMP Receive(LPWSTR* pMessage) override
    {
        if (!pMessage || !*pMessage)
            return E_POINTER;
        CString text = NarrowText(*pMessage);
        EnterCriticalSection(&m_lock);
        if (m_remote)
            m_remote->Deliver(text);
        LeaveCriticalSection(&m_lock);
        return S_OK;
    }

    // Waits for a delivery under way to end.
    void Detach()
    {
        EnterCriticalSection(&m_lock);
        m_remote = nullptr;
        LeaveCriticalSection(&m_lock);
    }

private:
    virtual ~CTavlinRemoteSite() { DeleteCriticalSection(&m_lock); }

    LONG m_refs;
    CRITICAL_SECTION m_lock;
    CTavlinRemote* m_remote;
};

CTavlinRemote::CTavlinRemote(ITavlin* server)
    : m_server(server), m_site(new CTavlinRemoteSite(this)), m_units(-1), m_messageBoxes(TRUE)
{
    InitializeCriticalSection(&m_lock);
    if (m_server) {
        m_server->AddRef();
        if (m_server->DAdvise(m_site) != S_OK)
            OutputDebugStringA("CTavlinRemote: the device server refused the site; no texts will arrive\n");
    }
}

CTavlinRemote::~CTavlinRemote()
{
    if (m_server) {
        m_server->DUnadvise();
        m_server->Release();
    }
    m_site->Detach();
    m_site->Release();
    DeleteCriticalSection(&m_lock);
}

CString CTavlinRemote::ServerError()
{
    LPWSTR text = nullptr;
    if (FAILED(m_server->GetTavlinError(&text)) || !text)
        return "Unable to read the device server's error";
    CString result = NarrowText(text);
    CoTaskMemFree(text);
    return result;
}

HRESULT CTavlinRemote::Checked(HRESULT result)
{
    if (result == -1)
        Deliver(CString(kErrorDevice) + ":error[" + ServerError() + "]");
    return result;
}

HRESULT CTavlinRemote::Missing()
{
    Deliver(CString(kErrorDevice) + ":error[" + kNoServer + "]");
    return -1;
}

HRESULT CTavlinRemote::CallWithText(HRESULT (STDMETHODCALLTYPE ITavlin::*method)(LPWSTR*),
                                    const char* text)
{
    if (!m_server)
        return Missing();
    CWideText wide(text);
    return Checked((m_server->*method)(wide.Address()));
}

HRESULT CTavlinRemote::Add(HRESULT (STDMETHODCALLTYPE ITavlin::*method)(LPWSTR*, LPWSTR*, LONG, LONG, LONG),
                           const char* source, const char* name, int deviceNumber, int unit, int ports)
{
    if (!m_server)
        return Missing();
    CWideText wideName(name), wideSource(source);
    return Checked((m_server->*method)(wideName.Address(), wideSource.Address(), deviceNumber, unit, ports));
}

BOOL CTavlinRemote::SendDeviceCommand(const char* text)
{
    CallWithText(&ITavlin::Send, text);
    return TRUE;
}

BOOL CTavlinRemote::AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports)
{
    return Add(&ITavlin::AddDevice, file, name, deviceNumber, unit, ports) == S_OK;
}

BOOL CTavlinRemote::AddDeviceText(const char* text, const char* name, int deviceNumber, int unit,
                                  int ports)
{
    Add(&ITavlin::AddDeviceText, text, name, deviceNumber, unit, ports);
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
    CallWithText(&ITavlin::DeleteDevice, name);
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
    if (m_server)
        Checked(m_server->SetReportNoMatch(static_cast<short>(flag)));
    else
        Missing();
    return TRUE;
}

int CTavlinRemote::GetNumTavlins()
{
    if (m_units >= 0)
        return m_units;
    if (!m_server)
        return Missing();
    int units = Checked(m_server->GetNumTavlins());
    if (units >= 0)
        m_units = units;
    return units;
}

int CTavlinRemote::GetNumDevices()
{
    if (!m_server)
        return Missing();
    return Checked(m_server->GetNumDevices());
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
