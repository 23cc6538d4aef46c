// Fixture of the provider tests: a temporary folder for database files made
// with SQLite directly, and the provider reached through COM as consumers do.
#pragma once

#include "platform/jet/tests/JetTestBase.h"

#include <oledb.h>
#include <oledberr.h>
#include <string>

#include "OleDbConstants.h"

// Releases a COM interface at the end of a scope.
template <class T>
class CComRef
{
public:
    CComRef() : m_p(nullptr) {}
    ~CComRef() { Reset(); }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    void Reset() { if (m_p) m_p->Release(); m_p = nullptr; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    T** Out() { Reset(); return &m_p; }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    IUnknown** OutUnknown() { return reinterpret_cast<IUnknown**>(Out()); }

private:
    T* m_p;
};

class JetFixture : public JetTestBase
{
protected:

    // The provider's data source initialised on a file; hr of Initialize.
    HRESULT OpenDataSource(const std::string& windowsPath, CComRef<IDBInitialize>& source);
    // Opens the file and a session on it; fails the test when either fails.
    void OpenSession(const char* name, CComRef<IOpenRowset>& session);
    // A session on "lib.mdb" and its table "Items".
    void OpenItems(CComRef<IOpenRowset>& session, CComRef<IRowset>& rowset);
    HRESULT OpenTable(IOpenRowset* session, const char16_t* table, CComRef<IRowset>& rowset);
    HRESULT Execute(IOpenRowset* session, const char16_t* text, CComRef<IRowset>* rowset,
                    DBROWCOUNT* affected = nullptr);

    // Description of the thread's error object after a failed call.
    static std::string ErrorDescription();
};

// A row buffer laid out for a list of bindings: each column at an 8-byte
// boundary, status, length and value.
struct ColumnBinding
{
    DBORDINAL ordinal;
    DBTYPE type;
    DBLENGTH maxLength;
    DBMEMOWNER memOwner;    // client-owned unless given
};

class CRowBuffer
{
public:
    CRowBuffer(const ColumnBinding* columns, size_t count);
    ~CRowBuffer();
    CRowBuffer(const CRowBuffer&) = delete;
    CRowBuffer& operator=(const CRowBuffer&) = delete;

    HRESULT CreateAccessor(IUnknown* rowset);
    HACCESSOR Accessor() const { return m_accessor; }
    BYTE* Data() { return &m_data[0]; }

    DBSTATUS& Status(size_t column);
    DBLENGTH& Length(size_t column);
    BYTE* Value(size_t column);
    std::string Text(size_t column);    // inline or by reference
    void SetText(size_t column, const char* text);
    void SetNull(size_t column);

private:
    std::vector<DBBINDING> m_bindings;
    std::vector<BYTE> m_data;
    IAccessor* m_accessorOwner;
    HACCESSOR m_accessor;
};
