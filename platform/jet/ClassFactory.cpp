#include "platform/jet/ClassFactory.h"

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CClassFactory::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return m_create(riid, object);
}

// The DLL never unloads (see DllCanUnloadNow), so locks change nothing.
STDMETHODIMP CClassFactory::LockServer(BOOL)
{
    return S_OK;
}
