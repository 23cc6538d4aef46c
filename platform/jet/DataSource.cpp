#include "platform/jet/DataSource.h"

#include <oledberr.h>

#include "platform/jet/Properties.h"
#include "platform/jet/Session.h"

static const PropertyRule kInitRules[] = {
    { &kDbPropSetDbInit, DBPROP_INIT_DATASOURCE, VT_BSTR },
};

HRESULT CJetDataSource::Create(REFIID riid, void** object)
{
    CJetDataSource* source = new CJetDataSource();
    HRESULT hr = source->QueryInterface(riid, object);
    source->Release();
    return hr;
}

CJetDataSource::CJetDataSource() : m_refs(1), m_db(nullptr)
{
}

CJetDataSource::~CJetDataSource()
{
    if (m_db)
        m_db->Release();
}

STDMETHODIMP CJetDataSource::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDBInitialize))
        *object = static_cast<IDBInitialize*>(this);
    else if (IsEqualIID(riid, IID_IDBProperties))
        *object = static_cast<IDBProperties*>(this);
    else if (IsEqualIID(riid, IID_IDBCreateSession))
        *object = static_cast<IDBCreateSession*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CJetDataSource::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CJetDataSource::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CJetDataSource::InterfaceSupportsErrorInfo(REFIID)
{
    return S_OK;
}

STDMETHODIMP CJetDataSource::Initialize()
{
    if (m_db)
        return DB_E_ALREADYINITIALIZED;
    return CSqliteDb::Open(reinterpret_cast<const WCHAR*>(m_path.c_str()), false, &m_db);
}

STDMETHODIMP CJetDataSource::Uninitialize()
{
    // Sessions and rowsets keep their own reference to the connection.
    if (m_db)
        m_db->Release();
    m_db = nullptr;
    return S_OK;
}

STDMETHODIMP CJetDataSource::SetProperties(ULONG count, DBPROPSET sets[])
{
    if (m_db)
        return DB_E_ALREADYINITIALIZED;
    HRESULT hr = CheckProperties(count, sets, kInitRules, sizeof(kInitRules) / sizeof(kInitRules[0]));
    if (FAILED(hr))
        return hr;
    const VARIANT* path = FindProperty(count, sets, kDbPropSetDbInit, DBPROP_INIT_DATASOURCE);
    if (path && V_VT(path) == VT_BSTR && V_BSTR(path))
        m_path = reinterpret_cast<const char16_t*>(V_BSTR(path));
    return hr;
}

STDMETHODIMP CJetDataSource::GetProperties(ULONG, const DBPROPIDSET[], ULONG*, DBPROPSET**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CJetDataSource::GetPropertyInfo(ULONG, const DBPROPIDSET[], ULONG*, DBPROPINFOSET**, OLECHAR**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CJetDataSource::CreateSession(IUnknown* outer, REFIID riid, IUnknown** session)
{
    if (!session)
        return E_INVALIDARG;
    *session = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!m_db)
        return E_UNEXPECTED;
    return CJetSession::Create(m_db, riid, session);
}
