#include "platform/tavlinx/TavlinXControl.h"

#include <string>

#include "platform/tavlinx/TavlinXApi.h"
#include "platform/runtime/ComUnknown.h"

namespace {

const OLECHAR kClientProgId[] = u"Halvane.TavlinClient";
const OLECHAR kNoServer[] = u"No device server";
const OLECHAR kNoServerError[] = u"Unable to read the device server's error";
const OLECHAR kSource[] = u"TavlinX";

// Argument i of a call, counted from the first: DISPPARAMS holds them last first.
HRESULT Argument(DISPPARAMS* params, UINT i, VARTYPE type, VARIANT& out)
{
    VariantInit(&out);
    if (!params || i >= params->cArgs)
        return DISP_E_BADPARAMCOUNT;
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantCopyInd(&value, &params->rgvarg[params->cArgs - 1 - i]);
    if (SUCCEEDED(hr))
        hr = VariantChangeType(&out, &value, 0, type);
    VariantClear(&value);
    return hr;
}

void SetResult(VARIANT* result, VARTYPE type, LONG value)
{
    if (!result)
        return;
    VariantInit(result);
    V_VT(result) = type;
    if (type == VT_I2)
        V_I2(result) = SHORT(value);
    else
        V_I4(result) = value;
}

} // namespace

// The control's callback object in the server. The server may hold it past
// the control's end, so the control detaches it: after Detach no text
// reaches the control.
class CTavlinXSite : public ITavlinSite
{
public:
    explicit CTavlinXSite(CTavlinXControl* control) : m_refs(1), m_control(control) {}

    COM_IUNKNOWN(ITavlinSite, IsEqualIID(riid, IID_ITavlinSite))

    // Calls arrive through the control's apartment, on its thread, as does Detach.
    STDMETHODIMP Receive(LPWSTR* pMessage) override
    {
        if (!pMessage || !*pMessage)
            return E_POINTER;
        if (m_control)
            m_control->FireReceive(*pMessage);
        return S_OK;
    }

    void Detach() { m_control = nullptr; }

private:
    virtual ~CTavlinXSite() {}

    LONG m_refs;
    CTavlinXControl* m_control;
};

CTavlinXControl::CTavlinXControl() : m_refs(1), m_server(nullptr), m_site(new CTavlinXSite(this))
{
}

CTavlinXControl::~CTavlinXControl()
{
    if (m_server) {
        m_server->DUnadvise();
        m_server->Release();
    }
    m_site->Detach();
    m_site->Release();
    for (IDispatch* sink : m_sinks)
        if (sink)
            sink->Release();
}

STDMETHODIMP CTavlinXControl::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
        *object = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, IID_IConnectionPointContainer))
        *object = static_cast<IConnectionPointContainer*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CTavlinXControl::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CTavlinXControl::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CTavlinXControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*)
{
    return Call(id, flags, params, result);
}

HRESULT CTavlinXControl::Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result)
{
    bool get = (flags & DISPATCH_PROPERTYGET) != 0;
    VARIANT a[5];
    switch (id) {
    case kTavlinXNumTavlins:
    case kTavlinXNumDevices:
        if (!get)
            return DISP_E_MEMBERNOTFOUND;
        SetResult(result, VT_I2, Connect() != 0 ? -1
                                 : id == kTavlinXNumTavlins ? m_server->GetNumTavlins()
                                                            : m_server->GetNumDevices());
        return S_OK;
    case kTavlinXReportNoMatch:
        if (get) {
            SetResult(result, VT_I2, Connect() != 0 ? -1 : m_server->GetReportNoMatch());
            return S_OK;
        }
        if (HRESULT hr = Argument(params, 0, VT_I2, a[0]); FAILED(hr))
            return hr;
        if (Connect() == 0)
            Checked(m_server->SetReportNoMatch(V_I2(&a[0])));
        return S_OK;
    case kTavlinXSend:
    case kTavlinXDeleteDevice: {
        if (HRESULT hr = Argument(params, 0, VT_BSTR, a[0]); FAILED(hr))
            return hr;
        LONG answer = Connect();
        if (answer == 0) {
            LPWSTR text = V_BSTR(&a[0]);
            answer = Checked(id == kTavlinXSend ? m_server->Send(&text) : m_server->DeleteDevice(&text));
        }
        VariantClear(&a[0]);
        SetResult(result, VT_I4, answer);
        return S_OK;
    }
    case kTavlinXAddDevice:
    case kTavlinXAddDeviceText: {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < 5 && SUCCEEDED(hr); ++i)
            hr = Argument(params, i, i < 2 ? VT_BSTR : VT_I4, a[i]);
        LONG answer = FAILED(hr) ? -1 : Connect();
        if (SUCCEEDED(hr) && answer == 0) {
            // The server takes the name first; devices and units from 0.
            LPWSTR source = V_BSTR(&a[0]);
            LPWSTR name = V_BSTR(&a[1]);
            LONG device = V_I4(&a[2]) - 1, unit = V_I4(&a[3]) - 1, ports = V_I4(&a[4]);
            answer = Checked(id == kTavlinXAddDevice
                                 ? m_server->AddDevice(&name, &source, device, unit, ports)
                                 : m_server->AddDeviceText(&name, &source, device, unit, ports));
        }
        for (VARIANT& v : a)
            VariantClear(&v);
        if (FAILED(hr))
            return hr;
        SetResult(result, VT_I4, answer);
        return S_OK;
    }
    case kTavlinXLoadServer:
        SetResult(result, VT_I4, Connect());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// 0 once a client object of the server is ours and our site advised there.
LONG CTavlinXControl::Connect()
{
    if (m_server)
        return 0;
    CLSID client;
    ITavlin* server = nullptr;
    if (FAILED(CLSIDFromProgID(kClientProgId, &client)) ||
        FAILED(CoCreateInstance(client, nullptr, CLSCTX_LOCAL_SERVER, IID_ITavlin,
                                reinterpret_cast<void**>(&server)))) {
        FireError(kNoServer);
        return -1;
    }
    HRESULT advised = server->DAdvise(m_site);
    if (advised != S_OK) {
        server->Release();
        return Checked(advised);
    }
    m_server = server;
    return 0;
}

LONG CTavlinXControl::Checked(HRESULT result)
{
    if (result == S_OK)
        return 0;
    if (result != -1 && SUCCEEDED(result))
        return result;
    LPWSTR text = nullptr;
    if (m_server && SUCCEEDED(m_server->GetTavlinError(&text)) && text) {
        FireError(text);
        CoTaskMemFree(text);
    } else {
        FireError(kNoServerError);
    }
    return -1;
}

void CTavlinXControl::FireReceive(LPCWSTR text)
{
    std::u16string all(reinterpret_cast<const char16_t*>(text));
    size_t colon = all.find(u':');
    std::u16string device = colon == std::u16string::npos ? std::u16string() : all.substr(0, colon);
    std::u16string message = colon == std::u16string::npos ? all : all.substr(colon + 1);
    BSTR deviceText = SysAllocString(reinterpret_cast<const OLECHAR*>(device.c_str()));
    BSTR messageText = SysAllocString(reinterpret_cast<const OLECHAR*>(message.c_str()));
    VARIANT args[2];
    V_VT(&args[0]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&args[0]) = &messageText;
    V_VT(&args[1]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&args[1]) = &deviceText;
    DISPPARAMS params = {args, nullptr, 2, 0};
    Fire(kTavlinXReceiveEvent, &params);
    SysFreeString(deviceText);
    SysFreeString(messageText);
}

// The stock error event: number, description, status code, source, help
// file, help context and the cancel-display flag.
void CTavlinXControl::FireError(LPCWSTR description)
{
    BSTR text = SysAllocString(description);
    BSTR source = SysAllocString(kSource);
    BSTR helpFile = SysAllocString(u"");
    VARIANT_BOOL cancelDisplay = VARIANT_FALSE;
    VARIANT args[7];
    for (VARIANT& v : args)
        VariantInit(&v);
    V_VT(&args[6]) = VT_I2;
    V_I2(&args[6]) = -1;
    V_VT(&args[5]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&args[5]) = &text;
    V_VT(&args[4]) = VT_I4;
    V_I4(&args[4]) = E_FAIL;
    V_VT(&args[3]) = VT_BSTR;
    V_BSTR(&args[3]) = source;
    V_VT(&args[2]) = VT_BSTR;
    V_BSTR(&args[2]) = helpFile;
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 0;
    V_VT(&args[0]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&args[0]) = &cancelDisplay;
    DISPPARAMS params = {args, nullptr, 7, 0};
    Fire(kTavlinXErrorEvent, &params);
    SysFreeString(text);
    SysFreeString(source);
    SysFreeString(helpFile);
}

// A sink may unadvise from inside its event: the calls go to a held copy.
void CTavlinXControl::Fire(DISPID id, DISPPARAMS* params)
{
    std::vector<IDispatch*> sinks;
    for (IDispatch* sink : m_sinks)
        if (sink) {
            sink->AddRef();
            sinks.push_back(sink);
        }
    for (IDispatch* sink : sinks) {
        sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
        sink->Release();
    }
}

STDMETHODIMP CTavlinXControl::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTavlinXControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!IsEqualIID(riid, DIID_TavlinXEvents)) {
        *point = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CTavlinXControl::GetConnectionInterface(IID* iid)
{
    *iid = DIID_TavlinXEvents;
    return S_OK;
}

STDMETHODIMP CTavlinXControl::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    *container = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CTavlinXControl::Advise(IUnknown* sink, DWORD* cookie)
{
    IDispatch* events = nullptr;
    if (!sink || (FAILED(sink->QueryInterface(DIID_TavlinXEvents, reinterpret_cast<void**>(&events))) &&
                  FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&events)))))
        return CONNECT_E_CANNOTCONNECT;
    m_sinks.push_back(events);
    *cookie = DWORD(m_sinks.size());
    return S_OK;
}

STDMETHODIMP CTavlinXControl::Unadvise(DWORD cookie)
{
    if (cookie == 0 || cookie > m_sinks.size() || !m_sinks[cookie - 1])
        return CONNECT_E_NOCONNECTION;
    m_sinks[cookie - 1]->Release();
    m_sinks[cookie - 1] = nullptr;
    return S_OK;
}

STDMETHODIMP CTavlinXControl::EnumConnections(IEnumConnections** connections)
{
    *connections = nullptr;
    return E_NOTIMPL;
}
