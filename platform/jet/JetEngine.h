// The compaction engine: one Automation method, CompactDatabase (source and
// destination connection texts), that writes a compacted copy of the source
// database to the destination file, which must not exist yet.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <string>

class CJetEngine : public IDispatch
{
public:
    static HRESULT Create(REFIID riid, void** object);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // Failures leave their description in the thread's error object.
    static HRESULT CompactDatabase(const std::u16string& source, const std::u16string& destination);

private:
    CJetEngine() : m_refs(1) {}
    virtual ~CJetEngine() {}
    CJetEngine(const CJetEngine&) = delete;
    CJetEngine& operator=(const CJetEngine&) = delete;

    LONG m_refs;
};
