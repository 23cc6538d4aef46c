#include "server/TavlinClient.h"

#include <algorithm>

#include "devices/manager/DeviceManager.h"
#include "server/ServerState.h"
#include "server/SiteDelivery.h"
#include "platform/runtime/DebugOutput.h"

const CLSID CLSID_TavlinClient = {0xA02C76B3, 0xBE7D, 0x411B,
                                  {0xA6, 0xD9, 0x76, 0x88, 0x0E, 0xD8, 0xF2, 0x17}};
const char kTavlinClientProgId[] = "Halvane.TavlinClient";

namespace {
// How long a released object waits for its delivery thread to let the site go.
const DWORD kReleaseWaitMs = 250;
}

CString AnsiFromWide(const LPWSTR* text)
{
    if (!text || !*text)
        return CString();
    int n = WideCharToMultiByte(CP_ACP, 0, *text, -1, nullptr, 0, nullptr, nullptr);
    CString out;
    if (n > 1) {
        WideCharToMultiByte(CP_ACP, 0, *text, -1, out.GetBuffer(n), n, nullptr, nullptr);
        out.ReleaseBuffer();
    }
    return out;
}

LPWSTR TaskStringFromAnsi(const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    LPWSTR out = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(WCHAR) * (n > 0 ? n : 1)));
    if (!out)
        return nullptr;
    out[0] = 0;
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text, -1, out, n);
    return out;
}

CTavlinClient::CTavlinClient(CDeviceManager* manager)
    : m_refs(1), m_manager(manager), m_site(nullptr), m_delivery(nullptr),
      m_userId(manager->AddUser()), m_persistent(FALSE), m_error("No Error")
{
    InterlockedIncrement(&g_nObjects);
    s_live.push_back(this);
    NotifyCounters();
}

std::vector<CTavlinClient*> CTavlinClient::s_live;

void CTavlinClient::DisconnectDeadClients()
{
    std::vector<CTavlinClient*> dead;
    for (CTavlinClient* client : s_live) {
        CSiteDelivery* delivery = client->m_delivery;
        if (delivery && delivery->IsSiteGone()) {
            client->AddRef();
            dead.push_back(client);
        }
    }
    for (CTavlinClient* client : dead) {
        CoDisconnectObject(static_cast<ITavlin*>(client), 0);
        client->Release();
    }
}

CTavlinClient::~CTavlinClient()
{
    InterlockedDecrement(&g_nObjects);
    s_live.erase(std::find(s_live.begin(), s_live.end(), this));
    // At exit the manager may be gone before a dead client's object.
    if (g_pDeviceManager) {
        // Once ClearCallbacks returns no listener of this user runs any more.
        m_manager->ClearCallbacks(m_userId);
        if (!m_persistent)
            m_manager->RemoveUser(m_userId);
    }
    if (CSiteDelivery* delivery = m_delivery)
        delivery->Stop(kReleaseWaitMs);
    NotifyCounters();
    if (g_nObjects == 0)
        g_nQuitCountdown = 3;
    if (m_site)
        m_site->Release();
    NotifyTree();
}

STDMETHODIMP CTavlinClient::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITavlin)) {
        *object = static_cast<ITavlin*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CTavlinClient::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CTavlinClient::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT CTavlinClient::Fail()
{
    return Fail(m_manager->GetErrorText());
}

HRESULT CTavlinClient::Fail(const char* text)
{
    m_error = text;
    return HRESULT(-1);
}

void CTavlinClient::DeviceListChanged()
{
    NotifyCounters();
    NotifyTree();
}

// A failed marshalling is returned, not shown: a hidden server must not stop
// on a modal box.
STDMETHODIMP CTavlinClient::DAdvise(ITavlinSite* lpas)
{
    if (m_site)
        return E_FAIL;
    if (!lpas)
        return E_POINTER;
    IStream* stream = nullptr;
    HRESULT hr = CoMarshalInterThreadInterfaceInStream(IID_ITavlinSite, lpas, &stream);
    if (FAILED(hr)) {
        DebugOutputF("Marshal failed %x", unsigned(hr));
        return hr;
    }
    CSiteDelivery* delivery = CSiteDelivery::Start(stream);
    if (!delivery)
        return E_OUTOFMEMORY;
    m_site = lpas;
    m_site->AddRef();
    m_delivery = delivery;
    return S_OK;
}

STDMETHODIMP CTavlinClient::DUnadvise()
{
    return S_OK;
}

void CTavlinClient::DeliverMessage(CString text)
{
    CSiteDelivery* delivery = m_delivery;
    if (delivery)
        delivery->Post(text);
}

HRESULT CTavlinClient::AddLoaded(LPWSTR* pName, LPWSTR* pSource, BOOL fromFile, LONG nDevID,
                                 LONG nTavlin, LONG Ports)
{
    CString name = AnsiFromWide(pName);
    CString source = AnsiFromWide(pSource);
    int added = fromFile
        ? m_manager->AddDevice(m_userId, source, name, nDevID, nTavlin, Ports)
        : m_manager->AddDeviceText(m_userId, source, name, nDevID, nTavlin, Ports);
    if (!added)
        return Fail();
    if (!m_manager->SetDeviceCallback(m_userId, name, this,
                                      static_cast<TextFunction>(&CTavlinClient::DeliverMessage)))
        return Fail("Unable to locate and create callback to added device");
    DeviceListChanged();
    return S_OK;
}

STDMETHODIMP CTavlinClient::AddDevice(LPWSTR* pName, LPWSTR* pFile, LONG nDevID, LONG nTavlin,
                                      LONG Ports)
{
    return AddLoaded(pName, pFile, TRUE, nDevID, nTavlin, Ports);
}

STDMETHODIMP CTavlinClient::AddDeviceText(LPWSTR* pName, LPWSTR* pText, LONG nDevID,
                                          LONG nTavlin, LONG Ports)
{
    return AddLoaded(pName, pText, FALSE, nDevID, nTavlin, Ports);
}

STDMETHODIMP CTavlinClient::DeleteDevice(LPWSTR* pName)
{
    if (!m_manager->DeleteDevice(m_userId, AnsiFromWide(pName)))
        return Fail();
    DeviceListChanged();
    return S_OK;
}

STDMETHODIMP CTavlinClient::Send(LPWSTR* pMessage)
{
    if (!m_manager->Send(m_userId, AnsiFromWide(pMessage)))
        return Fail();
    InterlockedIncrement(&g_nSent);
    NotifyCounters();
    return S_OK;
}

STDMETHODIMP CTavlinClient::GetNumTavlins()
{
    return m_manager->GetNumTavlins();
}

STDMETHODIMP CTavlinClient::GetNumCM11As()
{
    return m_manager->GetNumCM11As();
}

STDMETHODIMP CTavlinClient::GetNumKeltos()
{
    return m_manager->GetNumKeltos();
}

STDMETHODIMP CTavlinClient::GetReportNoMatch()
{
    return m_manager->GetReportNoMatch(m_userId);
}

STDMETHODIMP CTavlinClient::SetReportNoMatch(short val)
{
    m_manager->SetReportNoMatch(m_userId, val);
    return S_OK;
}

STDMETHODIMP CTavlinClient::GetTavlinError(LPWSTR* pError)
{
    if (!pError)
        return E_POINTER;
    *pError = TaskStringFromAnsi(m_error);
    return *pError ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CTavlinClient::GetNumDevices()
{
    return m_manager->GetNumDevices(m_userId);
}

STDMETHODIMP CTavlinClient::GetDeviceName(LPWSTR* pDevName, LONG nDevice)
{
    if (!pDevName)
        return E_POINTER;
    CString name;
    BOOL found = m_manager->GetDeviceName(m_userId, nDevice, name);
    *pDevName = TaskStringFromAnsi(name);
    return found ? S_OK : Fail();
}

STDMETHODIMP CTavlinClient::GetNumCodes(LPWSTR* pDevName)
{
    int count = 0;
    if (!m_manager->GetNumCodes(m_userId, AnsiFromWide(pDevName), count))
        return Fail();
    return count;
}

STDMETHODIMP CTavlinClient::GetCodeName(LPWSTR* pCodeName, LPWSTR* pDevName, LONG nCode)
{
    if (!pCodeName)
        return E_POINTER;
    CString name;
    BOOL found = m_manager->GetCodeName(m_userId, AnsiFromWide(pDevName), nCode, name);
    *pCodeName = TaskStringFromAnsi(name);
    return found ? S_OK : Fail();
}

STDMETHODIMP CTavlinClient::GetUserID()
{
    return m_userId;
}

// Adopting an id that has no record keeps this object's own record; taking an
// existing one (or 0) gives up this object's record and its devices.
STDMETHODIMP CTavlinClient::SwitchToUserID(LONG UserID)
{
    BOOL known = m_manager->HasUser(UserID);
    if (UserID == 0 || known)
        m_manager->RemoveUser(m_userId);
    m_userId = UserID;
    m_persistent = TRUE;
    return S_OK;
}

STDMETHODIMP CTavlinClient::ChangeToUserID(LONG UserID)
{
    m_userId = UserID;
    return S_OK;
}

STDMETHODIMP CTavlinClient::MakePersistent(short val)
{
    m_persistent = val != 0;
    return S_OK;
}
