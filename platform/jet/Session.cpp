#include "platform/jet/Session.h"

#include <oledberr.h>

#include "platform/jet/Command.h"
#include "platform/jet/Properties.h"
#include "platform/jet/ProviderError.h"
#include "platform/jet/Rowset.h"
#include "platform/jet/TextCodec.h"

std::string QuoteIdentifier(const std::string& name)
{
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

HRESULT CJetSession::Create(CSqliteDb* db, REFIID riid, IUnknown** session)
{
    CJetSession* object = new CJetSession(db);
    HRESULT hr = object->QueryInterface(riid, reinterpret_cast<void**>(session));
    object->Release();
    return hr;
}

CJetSession::CJetSession(CSqliteDb* db) : m_refs(1), m_db(db), m_inTransaction(false)
{
    m_db->AddRef();
}

CJetSession::~CJetSession()
{
    // A transaction left open is not committed: nothing half-written stays.
    if (m_inTransaction)
        m_db->Exec("ROLLBACK");
    m_db->Release();
}

STDMETHODIMP CJetSession::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOpenRowset))
        *object = static_cast<IOpenRowset*>(this);
    else if (IsEqualIID(riid, IID_IDBCreateCommand))
        *object = static_cast<IDBCreateCommand*>(this);
    else if (IsEqualIID(riid, IID_ITransactionLocal) || IsEqualIID(riid, IID_ITransaction))
        *object = static_cast<ITransactionLocal*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CJetSession::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CJetSession::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CJetSession::InterfaceSupportsErrorInfo(REFIID)
{
    return S_OK;
}

STDMETHODIMP CJetSession::OpenRowset(IUnknown* outer, DBID* table, DBID* index, REFIID riid,
                                     ULONG setCount, DBPROPSET sets[], IUnknown** rowset)
{
    if (rowset)
        *rowset = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!table && !index)
        return E_INVALIDARG;
    if (index)
        return DB_E_NOINDEX;
    if (table->eKind != DBKIND_NAME || !table->uName.pwszName)
        return DB_E_NOTABLE;
    HRESULT check = CheckProperties(setCount, sets, kRowsetRules, kRowsetRuleCount);
    if (FAILED(check))
        return check;
    std::string name = Utf8FromWide(table->uName.pwszName);
    std::string quoted = QuoteIdentifier(name);
    std::string sql = "SELECT rowid, * FROM " + quoted;
    CStatement select;
    if (select.Prepare(m_db->Handle(), sql.c_str()) != SQLITE_OK)
        return ProviderErrorF(DB_E_NOTABLE, "The table '%s' does not exist.", name.c_str());
    if (!rowset)
        return S_OK;
    HRESULT hr = CJetRowset::Create(m_db, select.Detach(), quoted, riid, rowset);
    return FAILED(hr) ? hr : check;
}

STDMETHODIMP CJetSession::CreateCommand(IUnknown* outer, REFIID riid, IUnknown** command)
{
    if (!command)
        return E_INVALIDARG;
    *command = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return CJetCommand::Create(m_db, static_cast<IOpenRowset*>(this), riid, command);
}

STDMETHODIMP CJetSession::StartTransaction(ISOLEVEL, ULONG, ITransactionOptions*, ULONG* transactionLevel)
{
    if (m_inTransaction)
        return ProviderError(E_UNEXPECTED, "A transaction is already running.");
    HRESULT hr = m_db->Exec("BEGIN IMMEDIATE");
    if (FAILED(hr))
        return hr;
    m_inTransaction = true;
    if (transactionLevel)
        *transactionLevel = 1;
    return S_OK;
}

STDMETHODIMP CJetSession::Commit(BOOL retaining, DWORD, DWORD)
{
    if (!m_inTransaction)
        return ProviderError(E_UNEXPECTED, "No transaction is running.");
    HRESULT hr = m_db->Exec("COMMIT");
    if (FAILED(hr))
        return hr;
    m_inTransaction = false;
    return retaining ? StartTransaction(0, 0, nullptr, nullptr) : S_OK;
}

STDMETHODIMP CJetSession::Abort(BOID*, BOOL retaining, BOOL async)
{
    if (async)
        return E_NOTIMPL;
    if (!m_inTransaction)
        return ProviderError(E_UNEXPECTED, "No transaction is running.");
    m_inTransaction = false;
    HRESULT hr = m_db->Exec("ROLLBACK");
    if (FAILED(hr))
        return hr;
    return retaining ? StartTransaction(0, 0, nullptr, nullptr) : S_OK;
}

STDMETHODIMP CJetSession::GetTransactionInfo(XACTTRANSINFO*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CJetSession::GetOptionsObject(ITransactionOptions**)
{
    return E_NOTIMPL;
}
