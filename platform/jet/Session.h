// A session on an initialised data source: opens tables, creates commands and
// runs local transactions (a save writes all its rows in one).
#pragma once

#include <windows.h>
#include <oledb.h>

#include "platform/jet/SqliteDb.h"

class CJetSession : public IOpenRowset, public IDBCreateCommand, public ITransactionLocal,
                    public ISupportErrorInfo
{
public:
    static HRESULT Create(CSqliteDb* db, REFIID riid, IUnknown** session);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOpenRowset
    STDMETHODIMP OpenRowset(IUnknown* outer, DBID* table, DBID* index, REFIID riid,
                            ULONG setCount, DBPROPSET sets[], IUnknown** rowset) override;
    // IDBCreateCommand
    STDMETHODIMP CreateCommand(IUnknown* outer, REFIID riid, IUnknown** command) override;
    // ITransactionLocal
    STDMETHODIMP Commit(BOOL retaining, DWORD grfTC, DWORD grfRM) override;
    STDMETHODIMP Abort(BOID* reason, BOOL retaining, BOOL async) override;
    STDMETHODIMP GetTransactionInfo(XACTTRANSINFO* info) override;
    STDMETHODIMP GetOptionsObject(ITransactionOptions** options) override;
    STDMETHODIMP StartTransaction(ISOLEVEL level, ULONG flags, ITransactionOptions* options,
                                  ULONG* transactionLevel) override;
    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    explicit CJetSession(CSqliteDb* db);
    virtual ~CJetSession();
    CJetSession(const CJetSession&) = delete;
    CJetSession& operator=(const CJetSession&) = delete;

    LONG m_refs;
    CSqliteDb* m_db;
    bool m_inTransaction;
};

// The name of a table as SQL text: in double quotes, inner quotes doubled.
std::string QuoteIdentifier(const std::string& name);
