#include "platform/jet/Command.h"

#include <oledberr.h>
#include <ctype.h>
#include <string.h>

#include "OleDbConstants.h"

#include "platform/jet/Properties.h"
#include "platform/jet/ProviderError.h"
#include "platform/jet/Rowset.h"
#include "platform/jet/Session.h"
#include "platform/jet/TextCodec.h"

namespace {

// Case-insensitive match of the words of prefix at the start of text, any run
// of blanks matching one blank; gives the position after the match or npos.
size_t MatchWords(const std::string& text, const char* prefix)
{
    size_t pos = 0;
    for (const char* p = prefix; *p; p++) {
        if (*p == ' ') {
            if (pos >= text.size() || !isspace(static_cast<unsigned char>(text[pos])))
                return std::string::npos;
            while (pos < text.size() && isspace(static_cast<unsigned char>(text[pos])))
                pos++;
        } else {
            if (pos >= text.size() || toupper(static_cast<unsigned char>(text[pos])) != *p)
                return std::string::npos;
            pos++;
        }
    }
    return pos;
}

// Reads a table name at pos: plain, or in brackets or double quotes.
std::string ReadTableName(const std::string& text, size_t& pos)
{
    std::string name;
    if (pos < text.size() && (text[pos] == '[' || text[pos] == '"')) {
        char close = text[pos] == '[' ? ']' : '"';
        size_t end = text.find(close, pos + 1);
        if (end == std::string::npos)
            return std::string();
        name = text.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        return name;
    }
    while (pos < text.size() && !isspace(static_cast<unsigned char>(text[pos])) && text[pos] != ';')
        name += text[pos++];
    return name;
}

}

std::string TranslateCommand(const std::string& text, std::string& table)
{
    table.clear();
    size_t start = 0;
    while (start < text.size() && isspace(static_cast<unsigned char>(text[start])))
        start++;
    std::string body = text.substr(start);
    size_t pos = MatchWords(body, "DELETE * FROM ");
    if (pos != std::string::npos)
        return "DELETE FROM " + body.substr(pos);
    pos = MatchWords(body, "SELECT * FROM ");
    if (pos == std::string::npos)
        return body;
    std::string name = ReadTableName(body, pos);
    if (name.empty())
        return body;
    table = QuoteIdentifier(name);
    return "SELECT rowid, * FROM " + table + body.substr(pos);
}

HRESULT CJetCommand::Create(CSqliteDb* db, IUnknown* session, REFIID riid, IUnknown** command)
{
    CJetCommand* object = new CJetCommand(db, session);
    HRESULT hr = object->QueryInterface(riid, reinterpret_cast<void**>(command));
    object->Release();
    return hr;
}

CJetCommand::CJetCommand(CSqliteDb* db, IUnknown* session)
    : m_refs(1), m_db(db), m_session(session), m_hasText(false)
{
    m_db->AddRef();
    m_session->AddRef();
}

CJetCommand::~CJetCommand()
{
    m_session->Release();
    m_db->Release();
}

STDMETHODIMP CJetCommand::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ICommand) ||
        IsEqualIID(riid, IID_ICommandText))
        *object = static_cast<ICommandText*>(this);
    else if (IsEqualIID(riid, IID_ICommandProperties))
        *object = static_cast<ICommandProperties*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CJetCommand::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CJetCommand::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CJetCommand::InterfaceSupportsErrorInfo(REFIID)
{
    return S_OK;
}

STDMETHODIMP CJetCommand::Cancel()
{
    return DB_E_CANTCANCEL;
}

STDMETHODIMP CJetCommand::GetDBSession(REFIID riid, IUnknown** session)
{
    if (!session)
        return E_INVALIDARG;
    return m_session->QueryInterface(riid, reinterpret_cast<void**>(session));
}

STDMETHODIMP CJetCommand::SetCommandText(REFGUID, LPCOLESTR text)
{
    m_hasText = text && *text;
    m_text = m_hasText ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
    return S_OK;
}

STDMETHODIMP CJetCommand::GetCommandText(GUID* dialect, LPOLESTR* text)
{
    if (!text)
        return E_INVALIDARG;
    *text = nullptr;
    if (!m_hasText)
        return DB_E_NOCOMMAND;
    size_t bytes = (m_text.size() + 1) * sizeof(OLECHAR);
    *text = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*text)
        return E_OUTOFMEMORY;
    memcpy(*text, m_text.c_str(), bytes);
    if (dialect)
        *dialect = kDbGuidDefault;
    return S_OK;
}

STDMETHODIMP CJetCommand::SetProperties(ULONG count, DBPROPSET sets[])
{
    return CheckProperties(count, sets, kRowsetRules, kRowsetRuleCount);
}

STDMETHODIMP CJetCommand::GetProperties(ULONG, const DBPROPIDSET[], ULONG*, DBPROPSET**)
{
    return E_NOTIMPL;
}

// Runs a statement that gives no rowset, reading past any rows it gives.
HRESULT CJetCommand::Run(CStatement& stmt, DBROWCOUNT* rowsAffected)
{
    int rc;
    do
        rc = sqlite3_step(stmt.Get());
    while (rc == SQLITE_ROW);
    if (rc != SQLITE_DONE)
        return m_db->Fail(E_FAIL);
    if (rowsAffected)
        *rowsAffected = sqlite3_stmt_readonly(stmt.Get()) ? -1 : sqlite3_changes(m_db->Handle());
    return S_OK;
}

STDMETHODIMP CJetCommand::Execute(IUnknown* outer, REFIID riid, DBPARAMS*, DBROWCOUNT* rowsAffected,
                                  IUnknown** rowset)
{
    if (rowset)
        *rowset = nullptr;
    if (rowsAffected)
        *rowsAffected = -1;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!m_hasText)
        return DB_E_NOCOMMAND;
    std::string table;
    std::string sql = TranslateCommand(Utf8FromWide(reinterpret_cast<const WCHAR*>(m_text.c_str())), table);
    CStatement stmt;
    if (stmt.Prepare(m_db->Handle(), sql.c_str()) != SQLITE_OK)
        return m_db->Fail(DB_E_ERRORSINCOMMAND);
    if (!rowset || IsEqualIID(riid, IID_NULL) || sqlite3_column_count(stmt.Get()) == 0)
        return Run(stmt, rowsAffected);
    return CJetRowset::Create(m_db, stmt.Detach(), table, riid, rowset);
}
