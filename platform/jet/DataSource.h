// The data source object behind the provider's ProgID: given the database file
// through DBPROP_INIT_DATASOURCE, initialising it opens the file.
#pragma once

#include <windows.h>
#include <oledb.h>
#include <string>

#include "platform/jet/SqliteDb.h"

class CJetDataSource : public IDBInitialize, public IDBProperties, public IDBCreateSession,
                       public ISupportErrorInfo
{
public:
    static HRESULT Create(REFIID riid, void** object);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDBInitialize
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Uninitialize() override;
    // IDBProperties
    STDMETHODIMP GetProperties(ULONG count, const DBPROPIDSET ids[], ULONG* setCount,
                               DBPROPSET** sets) override;
    STDMETHODIMP GetPropertyInfo(ULONG count, const DBPROPIDSET ids[], ULONG* setCount,
                                 DBPROPINFOSET** sets, OLECHAR** descriptions) override;
    STDMETHODIMP SetProperties(ULONG count, DBPROPSET sets[]) override;
    // IDBCreateSession
    STDMETHODIMP CreateSession(IUnknown* outer, REFIID riid, IUnknown** session) override;
    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    CJetDataSource();
    virtual ~CJetDataSource();
    CJetDataSource(const CJetDataSource&) = delete;
    CJetDataSource& operator=(const CJetDataSource&) = delete;

    LONG m_refs;
    std::u16string m_path;
    CSqliteDb* m_db;    // null until initialised
};
