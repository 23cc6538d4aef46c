// Members every COM object of ours writes alike.
//
// COM_IUNKNOWN: IUnknown for a COM object of one interface: the class declares
// "LONG m_refs" (1 at construction) and a virtual destructor; the object is
// freed at its last Release. answers: the condition on riid, beside
// IID_IUnknown, under which the object gives itself as interface.
#pragma once

#include <windows.h>

#define COM_IUNKNOWN(interface, answers)                                              \
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override                 \
    {                                                                                 \
        if (IsEqualIID(riid, IID_IUnknown) || (answers)) {                            \
            *object = static_cast<interface*>(this);                                  \
            AddRef();                                                                 \
            return S_OK;                                                              \
        }                                                                             \
        *object = nullptr;                                                            \
        return E_NOINTERFACE;                                                         \
    }                                                                                 \
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }  \
    STDMETHODIMP_(ULONG) Release() override                                           \
    {                                                                                 \
        LONG refs = InterlockedDecrement(&m_refs);                                    \
        if (refs == 0)                                                                \
            delete this;                                                              \
        return refs;                                                                  \
    }

// IDispatch's type members of an object that is called by dispatch id only.
#define COM_DISPATCH_WITHOUT_TYPES                                                                    \
    STDMETHODIMP GetTypeInfoCount(UINT* count) override                                               \
    {                                                                                                 \
        *count = 0;                                                                                   \
        return S_OK;                                                                                  \
    }                                                                                                 \
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override                                   \
    {                                                                                                 \
        *info = nullptr;                                                                              \
        return E_NOTIMPL;                                                                             \
    }                                                                                                 \
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
