#include "platform/mfc/OleDispatchDriver.h"

#include <stdarg.h>

#include <vector>

namespace {

BSTR NewBstr(const char* text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, length > 0 ? length - 1 : 0);
    if (result && length > 0)
        MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
    return result;
}

HRESULT TakeResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet == VT_EMPTY || !pvRet)
        return S_OK;
    HRESULT hr = VariantChangeType(&result, &result, 0, vtRet);
    if (FAILED(hr))
        return hr;
    if (vtRet == VT_I2)
        *static_cast<short*>(pvRet) = V_I2(&result);
    else if (vtRet == VT_I4)
        *static_cast<LONG*>(pvRet) = V_I4(&result);
    else
        return DISP_E_TYPEMISMATCH;
    return S_OK;
}

} // namespace

HRESULT COleDispatchDriver::CreateDispatch(REFCLSID clsid)
{
    ReleaseDispatch();
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&m_lpDispatch));
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch) {
        m_lpDispatch->Release();
        m_lpDispatch = nullptr;
    }
}

HRESULT COleDispatchDriver::InvokeHelper(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet,
                                         const char* paramInfo, ...)
{
    va_list args;
    va_start(args, paramInfo);
    HRESULT hr = InvokeV(id, flags, vtRet, pvRet, paramInfo, args);
    va_end(args);
    return hr;
}

HRESULT COleDispatchDriver::GetProperty(DISPID id, VARTYPE vtProp, void* pvProp)
{
    return InvokeHelper(id, DISPATCH_PROPERTYGET, vtProp, pvProp, VTS_NONE);
}

HRESULT COleDispatchDriver::SetProperty(DISPID id, VARTYPE vtProp, ...)
{
    const char paramInfo[2] = {char(vtProp), '\0'};
    va_list args;
    va_start(args, vtProp);
    HRESULT hr = InvokeV(id, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, paramInfo, args);
    va_end(args);
    return hr;
}

HRESULT COleDispatchDriver::InvokeV(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo,
                                    va_list args)
{
    if (!m_lpDispatch)
        return E_POINTER;
    std::vector<VARIANT> values;
    HRESULT hr = S_OK;
    for (const char* p = paramInfo; *p && SUCCEEDED(hr); ++p) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VARTYPE(*p);
        if (*p == VT_BSTR)
            V_BSTR(&v) = NewBstr(va_arg(args, const char*));
        else if (*p == VT_I2)
            V_I2(&v) = SHORT(va_arg(args, int));
        else if (*p == VT_I4)
            V_I4(&v) = va_arg(args, LONG);
        else
            hr = DISP_E_BADVARTYPE;
        values.push_back(v);
    }
    // DISPPARAMS holds the arguments last first.
    std::vector<VARIANT> reversed(values.rbegin(), values.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    if (SUCCEEDED(hr))
        hr = m_lpDispatch->Invoke(id, IID_NULL, 0, flags, &params, &result, nullptr, nullptr);
    if (SUCCEEDED(hr))
        hr = TakeResult(result, vtRet, pvRet);
    VariantClear(&result);
    for (VARIANT& v : values)
        VariantClear(&v);
    return hr;
}

COleEventSink::COleEventSink(COleEventHandler* handler)
    : m_refs(1), m_handler(handler), m_events(IID_NULL), m_point(nullptr), m_cookie(0)
{
}

COleEventSink::~COleEventSink()
{
    Disconnect();
}

HRESULT COleEventSink::Connect(IDispatch* source, REFIID events)
{
    Unadvise();
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    hr = container->FindConnectionPoint(events, &m_point);
    container->Release();
    if (FAILED(hr))
        return hr;
    m_events = events;
    hr = m_point->Advise(static_cast<IDispatch*>(this), &m_cookie);
    if (FAILED(hr)) {
        m_point->Release();
        m_point = nullptr;
    }
    return hr;
}

void COleEventSink::Disconnect()
{
    m_handler = nullptr;
    Unadvise();
}

void COleEventSink::Unadvise()
{
    if (m_point) {
        m_point->Unadvise(m_cookie);
        m_point->Release();
        m_point = nullptr;
    }
}

STDMETHODIMP COleEventSink::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, m_events)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleEventSink::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) COleEventSink::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP COleEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*)
{
    if (m_handler)
        m_handler->OnOleEvent(id, params);
    return S_OK;
}
