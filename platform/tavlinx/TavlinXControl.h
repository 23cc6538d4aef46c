// Our stand-in for the interface control: a dispatch object whose members go
// to one client object of the device server. It connects at its first use
// (CoCreateInstance of "Halvane.TavlinClient") and advises a site there;
// received "device:message" texts split at the first ':' and fire Receive on
// the thread that made the control. Devices and units come counted from 1 and
// go to the server less one. A -1 from the server (or no server at all) fires
// the stock error event with the server's error text and gives -1 back.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "platform/runtime/ComUnknown.h"

#include <vector>

#include "Tavlin.h"

class CTavlinXSite;

class CTavlinXControl : public IDispatch, public IConnectionPointContainer, public IConnectionPoint
{
public:
    CTavlinXControl();

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // Called by dispatch id only.
    COM_DISPATCH_WITHOUT_TYPES
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** points) override;
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** point) override;

    STDMETHOD(GetConnectionInterface)(IID* iid) override;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** container) override;
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) override;
    STDMETHOD(Unadvise)(DWORD cookie) override;
    STDMETHOD(EnumConnections)(IEnumConnections** connections) override;

    // From the site, on the control's thread.
    void FireReceive(LPCWSTR text);

private:
    virtual ~CTavlinXControl();

    HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);
    LONG Connect();
    LONG Checked(HRESULT result);
    void FireError(LPCWSTR description);
    void Fire(DISPID id, DISPPARAMS* params);

    LONG m_refs;
    ITavlin* m_server;
    CTavlinXSite* m_site;
    // Sinks by cookie - 1; a released sink leaves a null entry.
    std::vector<IDispatch*> m_sinks;
};
