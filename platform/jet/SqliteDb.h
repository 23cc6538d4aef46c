// One SQLite connection shared by a data source and everything opened on it
// (sessions, commands, rowsets each hold a reference).
#pragma once

#include <windows.h>
#include <sqlite3.h>
#include <string>

class CSqliteDb
{
public:
    // Opens an existing database file given by its Windows path. On failure the
    // result carries error information naming the file.
    static HRESULT Open(const WCHAR* path, bool readOnly, CSqliteDb** db);

    void AddRef();
    void Release();
    sqlite3* Handle() const { return m_db; }

    // Runs statements that return no rows.
    HRESULT Exec(const char* sql);
    // Error information for the connection's last SQLite error.
    HRESULT Fail(HRESULT hr) const;

private:
    CSqliteDb(sqlite3* db) : m_refs(1), m_db(db) {}
    ~CSqliteDb();
    CSqliteDb(const CSqliteDb&) = delete;
    CSqliteDb& operator=(const CSqliteDb&) = delete;

    LONG m_refs;
    sqlite3* m_db;
};

// Owns one prepared statement.
class CStatement
{
public:
    CStatement() : m_stmt(nullptr) {}
    ~CStatement() { sqlite3_finalize(m_stmt); }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    // SQLite result code of the preparation.
    int Prepare(sqlite3* db, const char* sql);
    sqlite3_stmt* Get() const { return m_stmt; }
    // Takes over a prepared statement.
    void Attach(sqlite3_stmt* stmt);
    // Hands the statement over to the caller.
    sqlite3_stmt* Detach();

private:
    sqlite3_stmt* m_stmt;
};

// Unix path of a Windows path for SQLite; empty when Wine cannot map it.
std::string UnixPathOf(const WCHAR* path);
