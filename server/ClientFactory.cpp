#include "server/ClientFactory.h"
#include "server/ServerState.h"
#include "server/TavlinClient.h"

CTavlinClientFactory::CTavlinClientFactory() : m_cookie(0)
{
}

HRESULT CTavlinClientFactory::Register()
{
    if (m_cookie)
        return S_OK;
    return CoRegisterClassObject(CLSID_TavlinClient, this, CLSCTX_LOCAL_SERVER,
                                 REGCLS_MULTIPLEUSE, &m_cookie);
}

void CTavlinClientFactory::RevokeAll()
{
    if (m_cookie)
        CoRevokeClassObject(m_cookie);
    m_cookie = 0;
}

STDMETHODIMP CTavlinClientFactory::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// A static object of the server: its life is the program's.
STDMETHODIMP_(ULONG) CTavlinClientFactory::AddRef()
{
    return 2;
}

STDMETHODIMP_(ULONG) CTavlinClientFactory::Release()
{
    return 1;
}

STDMETHODIMP CTavlinClientFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!g_pDeviceManager)
        return E_UNEXPECTED;
    CTavlinClient* client = new CTavlinClient(g_pDeviceManager);
    HRESULT hr = client->QueryInterface(riid, object);
    client->Release();
    return hr;
}

STDMETHODIMP CTavlinClientFactory::LockServer(BOOL)
{
    return S_OK;
}
