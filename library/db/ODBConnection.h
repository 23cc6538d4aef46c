// Holders of an OLE DB connection: the data source (with the file it was opened
// on) and a session on it, which opens tables, runs commands and transactions.
// Every failure throws _com_error.
#pragma once

#include <afx.h>
#include <oledb.h>

#include "library/db/ODBPropertySet.h"

class ODBDataSource
{
public:
    ODBDataSource() : m_source(nullptr) {}
    ~ODBDataSource() { Close(); }
    ODBDataSource(const ODBDataSource&) = delete;
    ODBDataSource& operator=(const ODBDataSource&) = delete;

    // Creates the provider by its ProgID and initialises it on the file; a data
    // source open before is released first.
    void Open(const char* progId, const char* path);
    void Close();
    bool IsOpen() const { return m_source != nullptr; }
    // The file it was opened on.
    const CString& GetPath() const { return m_path; }
    IDBInitialize* Get() const { return m_source; }

private:
    IDBInitialize* m_source;
    CString m_path;
};

class ODBSession
{
public:
    ODBSession() : m_session(nullptr) {}
    ~ODBSession() { Close(); }
    ODBSession(const ODBSession&) = delete;
    ODBSession& operator=(const ODBSession&) = delete;

    void Open(ODBDataSource& source);
    void Close();
    bool IsOpen() const { return m_session != nullptr; }

    // A whole table as a rowset; the caller owns the reference.
    IRowset* OpenTable(const char* table, ODBPropertySet* properties);
    // Runs SQL text; with wantRowset the caller owns the rowset it gives.
    IRowset* Execute(const char* text, ODBPropertySet* properties, bool wantRowset);

    void BeginTransaction();
    void Commit();
    // Never throws: it runs on the way out of a failure.
    void Abort();

private:
    IOpenRowset* m_session;
};
