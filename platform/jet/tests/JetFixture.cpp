#include "platform/jet/tests/JetFixture.h"

#include <stdlib.h>

#include "JetIds.h"

static std::u16string Wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

HRESULT JetFixture::OpenDataSource(const std::string& windowsPath, CComRef<IDBInitialize>& source)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(u"" ZYM_JET_PROVIDER_PROGID, &clsid);
    if (FAILED(hr))
        return hr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDBInitialize, source.OutVoid());
    if (FAILED(hr))
        return hr;
    CComRef<IDBProperties> properties;
    hr = source->QueryInterface(IID_IDBProperties, properties.OutVoid());
    if (FAILED(hr))
        return hr;
    std::u16string path = Wide(windowsPath);
    DBPROP prop = {};
    prop.dwPropertyID = DBPROP_INIT_DATASOURCE;
    prop.dwOptions = DBPROPOPTIONS_REQUIRED;
    V_VT(&prop.vValue) = VT_BSTR;
    V_BSTR(&prop.vValue) = SysAllocString(reinterpret_cast<const OLECHAR*>(path.c_str()));
    DBPROPSET set = { &prop, 1, kDbPropSetDbInit };
    hr = properties->SetProperties(1, &set);
    VariantClear(&prop.vValue);
    if (FAILED(hr))
        return hr;
    return source->Initialize();
}

void JetFixture::OpenSession(const char* name, CComRef<IOpenRowset>& session)
{
    CComRef<IDBInitialize> source;
    ASSERT_EQ(S_OK, OpenDataSource(WindowsPath(name), source)) << ErrorDescription();
    CComRef<IDBCreateSession> creator;
    ASSERT_EQ(S_OK, source->QueryInterface(IID_IDBCreateSession, creator.OutVoid()));
    ASSERT_EQ(S_OK, creator->CreateSession(nullptr, IID_IOpenRowset, session.OutUnknown()));
}

// The rowset properties the library asks for.
static void RowsetProperties(DBPROP props[2], DBPROPSET& set)
{
    memset(props, 0, 2 * sizeof(DBPROP));
    props[0].dwPropertyID = DBPROP_IRowsetChange;
    props[0].dwOptions = DBPROPOPTIONS_OPTIONAL;
    V_VT(&props[0].vValue) = VT_BOOL;
    V_BOOL(&props[0].vValue) = VARIANT_TRUE;
    props[1].dwPropertyID = DBPROP_UPDATABILITY;
    props[1].dwOptions = DBPROPOPTIONS_OPTIONAL;
    V_VT(&props[1].vValue) = VT_I4;
    V_I4(&props[1].vValue) = DBPROPVAL_UP_CHANGE | DBPROPVAL_UP_DELETE | DBPROPVAL_UP_INSERT;
    set.rgProperties = props;
    set.cProperties = 2;
    set.guidPropertySet = kDbPropSetRowset;
}

void JetFixture::OpenItems(CComRef<IOpenRowset>& session, CComRef<IRowset>& rowset)
{
    OpenSession("lib.mdb", session);
    ASSERT_EQ(S_OK, OpenTable(session.Get(), u"Items", rowset));
}

HRESULT JetFixture::OpenTable(IOpenRowset* session, const char16_t* table, CComRef<IRowset>& rowset)
{
    DBID id = {};
    id.eKind = DBKIND_NAME;
    id.uName.pwszName = const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(table));
    DBPROP props[2];
    DBPROPSET set;
    RowsetProperties(props, set);
    return session->OpenRowset(nullptr, &id, nullptr, IID_IRowset, 1, &set, rowset.OutUnknown());
}

HRESULT JetFixture::Execute(IOpenRowset* session, const char16_t* text, CComRef<IRowset>* rowset,
                            DBROWCOUNT* affected)
{
    CComRef<IDBCreateCommand> creator;
    HRESULT hr = session->QueryInterface(IID_IDBCreateCommand, creator.OutVoid());
    if (FAILED(hr))
        return hr;
    CComRef<ICommandText> command;
    hr = creator->CreateCommand(nullptr, IID_ICommandText, command.OutUnknown());
    if (FAILED(hr))
        return hr;
    CComRef<ICommandProperties> properties;
    hr = command->QueryInterface(IID_ICommandProperties, properties.OutVoid());
    if (FAILED(hr))
        return hr;
    DBPROP props[2];
    DBPROPSET set;
    RowsetProperties(props, set);
    hr = properties->SetProperties(1, &set);
    if (FAILED(hr))
        return hr;
    hr = command->SetCommandText(kDbGuidDefault, reinterpret_cast<LPCOLESTR>(text));
    if (FAILED(hr))
        return hr;
    return command->Execute(nullptr, rowset ? IID_IRowset : IID_NULL, nullptr, affected,
                            rowset ? rowset->OutUnknown() : nullptr);
}

std::string JetFixture::ErrorDescription()
{
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return std::string();
    BSTR text = nullptr;
    info->GetDescription(&text);
    info->Release();
    std::string result;
    for (const OLECHAR* p = text; p && *p; p++)
        result += static_cast<char>(*p);
    SysFreeString(text);
    return result;
}

CRowBuffer::CRowBuffer(const ColumnBinding* columns, size_t count)
    : m_accessorOwner(nullptr), m_accessor(DB_INVALID_HACCESSOR)
{
    DBBYTEOFFSET offset = 0;
    for (size_t i = 0; i < count; i++) {
        DBBINDING binding = {};
        binding.iOrdinal = columns[i].ordinal;
        binding.wType = columns[i].type;
        binding.cbMaxLen = columns[i].maxLength;
        binding.dwPart = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS;
        binding.dwMemOwner = columns[i].memOwner;
        binding.eParamIO = DBPARAMIO_NOTPARAM;
        binding.obStatus = offset;
        binding.obLength = offset + 8;
        binding.obValue = offset + 16;
        m_bindings.push_back(binding);
        offset = (binding.obValue + binding.cbMaxLen + 7) / 8 * 8;
    }
    m_data.assign(offset + 8, 0);
}

CRowBuffer::~CRowBuffer()
{
    if (m_accessorOwner) {
        m_accessorOwner->ReleaseAccessor(m_accessor, nullptr);
        m_accessorOwner->Release();
    }
}

HRESULT CRowBuffer::CreateAccessor(IUnknown* rowset)
{
    HRESULT hr = rowset->QueryInterface(IID_IAccessor, reinterpret_cast<void**>(&m_accessorOwner));
    if (FAILED(hr))
        return hr;
    std::vector<DBBINDSTATUS> statuses(m_bindings.size() + 1);
    return m_accessorOwner->CreateAccessor(DBACCESSOR_ROWDATA, m_bindings.size(), m_bindings.data(),
                                           m_data.size(), &m_accessor, statuses.data());
}

DBSTATUS& CRowBuffer::Status(size_t column)
{
    return *reinterpret_cast<DBSTATUS*>(&m_data[m_bindings[column].obStatus]);
}

DBLENGTH& CRowBuffer::Length(size_t column)
{
    return *reinterpret_cast<DBLENGTH*>(&m_data[m_bindings[column].obLength]);
}

BYTE* CRowBuffer::Value(size_t column)
{
    return &m_data[m_bindings[column].obValue];
}

std::string CRowBuffer::Text(size_t column)
{
    if (Status(column) != DBSTATUS_S_OK && Status(column) != DBSTATUS_S_TRUNCATED)
        return std::string();
    if (m_bindings[column].wType & DBTYPE_BYREF) {
        char* text = *reinterpret_cast<char**>(Value(column));
        std::string result = text ? text : "";
        if (m_bindings[column].dwMemOwner == DBMEMOWNER_CLIENTOWNED) {
            CoTaskMemFree(text);
            *reinterpret_cast<char**>(Value(column)) = nullptr;
        }
        return result;
    }
    return reinterpret_cast<const char*>(Value(column));
}

void CRowBuffer::SetText(size_t column, const char* text)
{
    Status(column) = DBSTATUS_S_OK;
    Length(column) = strlen(text);
    if (m_bindings[column].wType & DBTYPE_BYREF)
        *reinterpret_cast<const char**>(Value(column)) = text;
    else
        strncpy(reinterpret_cast<char*>(Value(column)), text, m_bindings[column].cbMaxLen);
}

void CRowBuffer::SetNull(size_t column)
{
    Status(column) = DBSTATUS_S_ISNULL;
}
