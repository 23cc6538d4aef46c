#include "platform/jet/SqliteDb.h"

#include "platform/jet/ProviderError.h"
#include "platform/jet/TextCodec.h"

// A writer elsewhere (another process) holds the file this long at most before
// a statement gives up with "database is locked".
static const int kBusyTimeoutMs = 2000;

std::string UnixPathOf(const WCHAR* path)
{
    std::string result;
    char* unixPath = wine_get_unix_file_name(path);
    if (unixPath) {
        result = unixPath;
        HeapFree(GetProcessHeap(), 0, unixPath);
    }
    return result;
}

HRESULT CSqliteDb::Open(const WCHAR* path, bool readOnly, CSqliteDb** db)
{
    *db = nullptr;
    std::string name = Utf8FromWide(path);
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ProviderErrorF(E_FAIL, "The database file '%s' does not exist.", name.c_str());
    std::string unixPath = UnixPathOf(path);
    if (unixPath.empty())
        return ProviderErrorF(E_FAIL, "The path '%s' cannot be reached.", name.c_str());

    sqlite3* handle = nullptr;
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(unixPath.c_str(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        HRESULT hr = ProviderErrorF(E_FAIL, "The database file '%s' cannot be opened: %s",
                                    name.c_str(), sqlite3_errmsg(handle));
        sqlite3_close(handle);
        return hr;
    }
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    // SQLite reads the file lazily: a damaged or foreign file shows only now.
    rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        HRESULT hr = ProviderErrorF(E_FAIL, "'%s' is not a database file that can be read: %s",
                                    name.c_str(), sqlite3_errmsg(handle));
        sqlite3_close(handle);
        return hr;
    }
    *db = new CSqliteDb(handle);
    return S_OK;
}

CSqliteDb::~CSqliteDb()
{
    // Statements still open keep the connection until they are finalized.
    sqlite3_close_v2(m_db);
}

void CSqliteDb::AddRef()
{
    InterlockedIncrement(&m_refs);
}

void CSqliteDb::Release()
{
    if (InterlockedDecrement(&m_refs) == 0)
        delete this;
}

HRESULT CSqliteDb::Exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail(E_FAIL);
    return S_OK;
}

HRESULT CSqliteDb::Fail(HRESULT hr) const
{
    return ProviderError(hr, sqlite3_errmsg(m_db));
}

int CStatement::Prepare(sqlite3* db, const char* sql)
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    return sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
}

void CStatement::Attach(sqlite3_stmt* stmt)
{
    sqlite3_finalize(m_stmt);
    m_stmt = stmt;
}

sqlite3_stmt* CStatement::Detach()
{
    sqlite3_stmt* stmt = m_stmt;
    m_stmt = nullptr;
    return stmt;
}
