// Containment of a dispatch object: COleDispatchDriver makes it by class id
// and calls its members and properties by dispatch id; COleEventSink takes
// the events it fires through its connection point and hands each to a
// handler. Failures come back as HRESULTs, never as exceptions or boxes.
#pragma once

#include <afx.h>

#include <ocidl.h>

#include "platform/runtime/ComUnknown.h"

// Parameter types of InvokeHelper, one byte each: VTS_BSTR takes an LPCSTR.
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_BSTR "\x08"
#define VTS_NONE ""

class COleDispatchDriver
{
public:
    COleDispatchDriver() : m_lpDispatch(nullptr) {}
    ~COleDispatchDriver() { ReleaseDispatch(); }
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // In-process or local, whichever the class offers.
    HRESULT CreateDispatch(REFCLSID clsid);
    void ReleaseDispatch();

    // vtRet VT_EMPTY (pvRet null), VT_I2 (short*) or VT_I4 (LONG*); the
    // arguments follow as paramInfo lists them, first argument first.
    HRESULT InvokeHelper(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo, ...);
    HRESULT GetProperty(DISPID id, VARTYPE vtProp, void* pvProp);
    // One value of the type vtProp (VT_I2 or VT_I4).
    HRESULT SetProperty(DISPID id, VARTYPE vtProp, ...);

    IDispatch* m_lpDispatch;

private:
    HRESULT InvokeV(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo, va_list args);
};

class COleEventHandler
{
public:
    virtual ~COleEventHandler() {}
    // On the thread the source fires on; params as the source passed them.
    virtual void OnOleEvent(DISPID id, DISPPARAMS* params) = 0;
};

class COleEventSink : public IDispatch
{
public:
    explicit COleEventSink(COleEventHandler* handler);

    // Advises the sink at the source's connection point for the events.
    HRESULT Connect(IDispatch* source, REFIID events);
    // Unadvises and lets go of the handler: no event reaches it afterwards.
    void Disconnect();

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    // Called by dispatch id only.
    COM_DISPATCH_WITHOUT_TYPES
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    virtual ~COleEventSink();
    void Unadvise();

    LONG m_refs;
    COleEventHandler* m_handler;
    IID m_events;
    IConnectionPoint* m_point;
    DWORD m_cookie;
};
