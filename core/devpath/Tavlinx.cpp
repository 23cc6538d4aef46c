#include "core/devpath/Tavlinx.h"

#include "platform/tavlinx/TavlinXApi.h"

namespace {

CString Narrow(BSTR text)
{
    CString result;
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (text && length > 1) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, result.GetBuffer(length), length, nullptr, nullptr);
        result.ReleaseBuffer();
    }
    return result;
}

} // namespace

CString CTavlinx::EventText(DISPPARAMS* params, UINT i)
{
    if (!params || i >= params->cArgs)
        return CString();
    VARIANT& v = params->rgvarg[params->cArgs - 1 - i];
    if (V_VT(&v) == (VT_BSTR | VT_BYREF))
        return Narrow(*V_BSTRREF(&v));
    return V_VT(&v) == VT_BSTR ? Narrow(V_BSTR(&v)) : CString();
}

BOOL CTavlinx::Create(CWnd* parent, UINT id)
{
    if (FAILED(m_control.CreateDispatch(CLSID_TavlinX)))
        return FALSE;
    return CreateEx(0, "STATIC", "", WS_CHILD, CRect(0, 0, 0, 0), parent, id);
}

HRESULT CTavlinx::Advise(COleEventHandler* handler)
{
    Disconnect();
    if (!m_control.m_lpDispatch)
        return E_POINTER;
    m_sink = new COleEventSink(handler);
    return m_sink->Connect(m_control.m_lpDispatch, DIID_TavlinXEvents);
}

void CTavlinx::Disconnect()
{
    if (m_sink) {
        m_sink->Disconnect();
        m_sink->Release();
        m_sink = nullptr;
    }
}

long CTavlinx::Add(DISPID id, LPCSTR source, LPCSTR name, long device, long unit, long ports)
{
    LONG result = -1;
    m_control.InvokeHelper(id, DISPATCH_METHOD, VT_I4, &result, VTS_BSTR VTS_BSTR VTS_I4 VTS_I4 VTS_I4, source,
                           name, LONG(device), LONG(unit), LONG(ports));
    return result;
}

long CTavlinx::CallWithText(DISPID id, LPCSTR text)
{
    LONG result = -1;
    m_control.InvokeHelper(id, DISPATCH_METHOD, VT_I4, &result, VTS_BSTR, text);
    return result;
}

short CTavlinx::ShortProperty(DISPID id)
{
    short result = -1;
    m_control.GetProperty(id, VT_I2, &result);
    return result;
}

long CTavlinx::AddDevice(LPCSTR file, LPCSTR name, long device, long unit, long ports)
{
    return Add(kTavlinXAddDevice, file, name, device, unit, ports);
}

long CTavlinx::AddDeviceText(LPCSTR text, LPCSTR name, long device, long unit, long ports)
{
    return Add(kTavlinXAddDeviceText, text, name, device, unit, ports);
}

long CTavlinx::DeleteDevice(LPCSTR name)
{
    return CallWithText(kTavlinXDeleteDevice, name);
}

long CTavlinx::Send(LPCSTR text)
{
    return CallWithText(kTavlinXSend, text);
}

short CTavlinx::GetNumTavlins()
{
    return ShortProperty(kTavlinXNumTavlins);
}

short CTavlinx::GetNumDevices()
{
    return ShortProperty(kTavlinXNumDevices);
}

void CTavlinx::SetReportNoMatch(short flag)
{
    m_control.SetProperty(kTavlinXReportNoMatch, VT_I2, int(flag));
}

long CTavlinx::LoadServer()
{
    LONG result = -1;
    m_control.InvokeHelper(kTavlinXLoadServer, DISPATCH_METHOD, VT_I4, &result, VTS_NONE);
    return result;
}
