#include "library/db/ODBConnection.h"

#include <string>

#include "library/db/InterfaceRelease.h"
#include "library/db/ODBError.h"
#include "OleDbConstants.h"

static std::u16string WideText(const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::u16string wide(n > 0 ? n - 1 : 0, u'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<WCHAR*>(&wide[0]), n);
    return wide;
}

void ODBDataSource::Open(const char* progId, const char* path)
{
    Close();
    CLSID clsid;
    std::u16string wideProgId = WideText(progId);
    ODBCheck(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(wideProgId.c_str()), &clsid), nullptr, IID_NULL);
    IDBInitialize* source = nullptr;
    ODBCheck(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDBInitialize,
                              reinterpret_cast<void**>(&source)), nullptr, IID_NULL);
    CInterfaceRelease releaseSource(source);
    IDBProperties* properties = nullptr;
    ODBCheck(source->QueryInterface(IID_IDBProperties, reinterpret_cast<void**>(&properties)),
             source, IID_IDBInitialize);
    CInterfaceRelease releaseProperties(properties);
    std::u16string widePath = WideText(path);
    ODBPropertySet init(kDbPropSetDbInit);
    init.AddProperty(DBPROP_INIT_DATASOURCE, reinterpret_cast<const OLECHAR*>(widePath.c_str()));
    ODBCheck(properties->SetProperties(1, init.Get()), properties, IID_IDBProperties);
    ODBCheck(source->Initialize(), source, IID_IDBInitialize);
    source->AddRef();
    m_source = source;
    m_path = path;
}

void ODBDataSource::Close()
{
    if (m_source)
        m_source->Release();
    m_source = nullptr;
    m_path.Empty();
}

void ODBSession::Open(ODBDataSource& source)
{
    Close();
    IDBCreateSession* creator = nullptr;
    ODBCheck(source.Get()->QueryInterface(IID_IDBCreateSession, reinterpret_cast<void**>(&creator)),
             source.Get(), IID_IDBInitialize);
    CInterfaceRelease releaseCreator(creator);
    IOpenRowset* session = nullptr;
    ODBCheck(creator->CreateSession(nullptr, IID_IOpenRowset, reinterpret_cast<IUnknown**>(&session)),
             creator, IID_IDBCreateSession);
    m_session = session;
}

void ODBSession::Close()
{
    if (m_session)
        m_session->Release();
    m_session = nullptr;
}

IRowset* ODBSession::OpenTable(const char* table, ODBPropertySet* properties)
{
    std::u16string name = WideText(table);
    DBID id = {};
    id.eKind = DBKIND_NAME;
    id.uName.pwszName = reinterpret_cast<LPOLESTR>(&name[0]);
    IRowset* rowset = nullptr;
    ODBCheck(m_session->OpenRowset(nullptr, &id, nullptr, IID_IRowset, properties ? 1 : 0,
                                   properties ? properties->Get() : nullptr,
                                   reinterpret_cast<IUnknown**>(&rowset)),
             m_session, IID_IOpenRowset);
    return rowset;
}

IRowset* ODBSession::Execute(const char* text, ODBPropertySet* properties, bool wantRowset)
{
    IDBCreateCommand* creator = nullptr;
    ODBCheck(m_session->QueryInterface(IID_IDBCreateCommand, reinterpret_cast<void**>(&creator)),
             m_session, IID_IOpenRowset);
    CInterfaceRelease releaseCreator(creator);
    ICommandText* command = nullptr;
    ODBCheck(creator->CreateCommand(nullptr, IID_ICommandText, reinterpret_cast<IUnknown**>(&command)),
             creator, IID_IDBCreateCommand);
    CInterfaceRelease releaseCommand(command);
    if (properties) {
        ICommandProperties* commandProperties = nullptr;
        ODBCheck(command->QueryInterface(IID_ICommandProperties, reinterpret_cast<void**>(&commandProperties)),
                 command, IID_ICommandText);
        CInterfaceRelease releaseProperties(commandProperties);
        ODBCheck(commandProperties->SetProperties(1, properties->Get()), commandProperties,
                 IID_ICommandProperties);
    }
    std::u16string wideText = WideText(text);
    ODBCheck(command->SetCommandText(kDbGuidDefault, reinterpret_cast<LPCOLESTR>(wideText.c_str())),
             command, IID_ICommandText);
    IRowset* rowset = nullptr;
    ODBCheck(command->Execute(nullptr, wantRowset ? IID_IRowset : IID_NULL, nullptr, nullptr,
                              wantRowset ? reinterpret_cast<IUnknown**>(&rowset) : nullptr),
             command, IID_ICommandText);
    return rowset;
}

void ODBSession::BeginTransaction()
{
    ITransactionLocal* transaction = nullptr;
    ODBCheck(m_session->QueryInterface(IID_ITransactionLocal, reinterpret_cast<void**>(&transaction)),
             m_session, IID_IOpenRowset);
    CInterfaceRelease release(transaction);
    ODBCheck(transaction->StartTransaction(ISOLATIONLEVEL_READCOMMITTED, 0, nullptr, nullptr),
             transaction, IID_ITransactionLocal);
}

void ODBSession::Commit()
{
    ITransactionLocal* transaction = nullptr;
    ODBCheck(m_session->QueryInterface(IID_ITransactionLocal, reinterpret_cast<void**>(&transaction)),
             m_session, IID_IOpenRowset);
    CInterfaceRelease release(transaction);
    ODBCheck(transaction->Commit(FALSE, XACTTC_SYNC, 0), transaction, IID_ITransactionLocal);
}

void ODBSession::Abort()
{
    ITransactionLocal* transaction = nullptr;
    if (!m_session ||
        FAILED(m_session->QueryInterface(IID_ITransactionLocal, reinterpret_cast<void**>(&transaction))))
        return;
    transaction->Abort(nullptr, FALSE, FALSE);
    transaction->Release();
}
