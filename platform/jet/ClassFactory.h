// The class objects the DLL hands out: one factory per registered class.
#pragma once

#include <windows.h>
#include <unknwn.h>

typedef HRESULT (*CreateObjectFunc)(REFIID riid, void** object);

class CClassFactory : public IClassFactory
{
public:
    explicit CClassFactory(CreateObjectFunc create) : m_refs(1), m_create(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    virtual ~CClassFactory() {}
    CClassFactory(const CClassFactory&) = delete;
    CClassFactory& operator=(const CClassFactory&) = delete;

    LONG m_refs;
    CreateObjectFunc m_create;
};
