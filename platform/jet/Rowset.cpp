#include "platform/jet/Rowset.h"

#include <oledberr.h>

#include "OleDbConstants.h"

#include "platform/jet/ProviderError.h"
#include "platform/jet/TextCodec.h"

HRESULT CJetRowset::Create(CSqliteDb* db, sqlite3_stmt* select, const std::string& table,
                           REFIID riid, IUnknown** rowset)
{
    *rowset = nullptr;
    CJetRowset* object = new CJetRowset(db, table);
    object->Adopt(select);
    HRESULT hr = object->QueryInterface(riid, reinterpret_cast<void**>(rowset));
    object->Release();
    return hr;
}

CJetRowset::CJetRowset(CSqliteDb* db, const std::string& table)
    : m_refs(1), m_db(db), m_table(table), m_firstColumn(table.empty() ? 0 : 1),
      m_atEnd(false), m_nextRow(0), m_nextAccessor(0), m_hasDefaults(-1)
{
    m_db->AddRef();
}

CJetRowset::~CJetRowset()
{
    for (auto& entry : m_rows)
        delete entry.second;
    for (Row* row : m_spareRows)
        delete row;
    for (auto& entry : m_accessors)
        delete entry.second;
    // The statements are finalized after this; the connection waits for them.
    m_db->Release();
}

void CJetRowset::Adopt(sqlite3_stmt* select)
{
    m_select.Attach(select);
    int count = sqlite3_column_count(select);
    for (int i = m_firstColumn; i < count; i++)
        m_columns.push_back(DescribeColumn(sqlite3_column_name(select, i),
                                           sqlite3_column_decltype(select, i)));
}

STDMETHODIMP CJetRowset::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IRowset))
        *object = static_cast<IRowset*>(this);
    else if (IsEqualIID(riid, IID_IRowsetChange) && !m_table.empty())
        *object = static_cast<IRowsetChange*>(this);
    else if (IsEqualIID(riid, IID_IAccessor))
        *object = static_cast<IAccessor*>(this);
    else if (IsEqualIID(riid, IID_IColumnsInfo))
        *object = static_cast<IColumnsInfo*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CJetRowset::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CJetRowset::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CJetRowset::InterfaceSupportsErrorInfo(REFIID)
{
    return S_OK;
}

CJetRowset::Row* CJetRowset::FindRow(HROW row)
{
    auto found = m_rows.find(row);
    return found == m_rows.end() ? nullptr : found->second;
}

CJetRowset::Accessor* CJetRowset::FindAccessor(HACCESSOR accessor)
{
    auto found = m_accessors.find(accessor);
    return found == m_accessors.end() ? nullptr : found->second;
}

// A reader fetches, reads and releases one row after another: released rows
// are kept for the next fetches, with the room their cells' texts took.
CJetRowset::Row* CJetRowset::FetchedRow()
{
    Row* row;
    if (m_spareRows.empty()) {
        row = new Row();
    } else {
        row = m_spareRows.back();
        m_spareRows.pop_back();
    }
    row->refs = 1;
    row->deleted = false;
    return row;
}

void CJetRowset::KeepSpare(Row* row)
{
    if (m_spareRows.size() < kSpareRows)
        m_spareRows.push_back(row);
    else
        delete row;
}

HROW CJetRowset::AddRow(Row* row)
{
    HROW handle = static_cast<HROW>(++m_nextRow);
    m_rows[handle] = row;
    return handle;
}

// Steps the select once; gotRow tells whether a row is now current in it.
HRESULT CJetRowset::FetchRow(bool& gotRow)
{
    gotRow = false;
    if (m_atEnd)
        return S_OK;
    int rc = sqlite3_step(m_select.Get());
    if (rc == SQLITE_ROW) {
        gotRow = true;
        return S_OK;
    }
    // Stepping again after the end would run the select anew.
    m_atEnd = true;
    return rc == SQLITE_DONE ? S_OK : m_db->Fail(E_FAIL);
}

STDMETHODIMP CJetRowset::GetNextRows(HCHAPTER, DBROWOFFSET offset, DBROWCOUNT count,
                                     DBCOUNTITEM* obtained, HROW** rows)
{
    if (!obtained || !rows)
        return E_INVALIDARG;
    *obtained = 0;
    if (offset < 0 || count < 0)
        return DB_E_CANTSCROLLBACKWARDS;
    bool gotRow = true;
    for (DBROWOFFSET skipped = 0; skipped < offset && gotRow; skipped++) {
        HRESULT hr = FetchRow(gotRow);
        if (FAILED(hr))
            return hr;
    }
    if (count == 0)
        return S_OK;
    HROW* handles = *rows;
    bool allocated = !handles;
    if (allocated) {
        handles = static_cast<HROW*>(CoTaskMemAlloc(count * sizeof(HROW)));
        if (!handles)
            return E_OUTOFMEMORY;
    }
    sqlite3_stmt* stmt = m_select.Get();
    HRESULT hr = S_OK;
    DBCOUNTITEM n = 0;
    while (gotRow && n < static_cast<DBCOUNTITEM>(count)) {
        hr = FetchRow(gotRow);
        if (FAILED(hr) || !gotRow)
            break;
        Row* row = FetchedRow();
        row->rowid = m_firstColumn ? sqlite3_column_int64(stmt, 0) : 0;
        ReadRowCells(stmt, m_firstColumn, row->cells);
        handles[n++] = AddRow(row);
    }
    if (FAILED(hr)) {
        ReleaseRows(n, handles, nullptr, nullptr, nullptr);
        n = 0;
    }
    if (allocated && n == 0) {
        CoTaskMemFree(handles);
        handles = nullptr;
    }
    *rows = handles;
    *obtained = n;
    if (FAILED(hr))
        return hr;
    return n < static_cast<DBCOUNTITEM>(count) ? DB_S_ENDOFROWSET : S_OK;
}

STDMETHODIMP CJetRowset::RestartPosition(HCHAPTER)
{
    sqlite3_reset(m_select.Get());
    m_atEnd = false;
    return S_OK;
}

HRESULT CJetRowset::ChangeRowRefs(DBCOUNTITEM count, const HROW rows[], DBREFCOUNT refCounts[],
                                  DBROWSTATUS statuses[], bool add)
{
    if (count && !rows)
        return E_INVALIDARG;
    DBCOUNTITEM failed = 0;
    for (DBCOUNTITEM i = 0; i < count; i++) {
        auto found = m_rows.find(rows[i]);
        DBREFCOUNT refs = 0;
        DBROWSTATUS status = DBROWSTATUS_S_OK;
        if (found == m_rows.end()) {
            status = DBROWSTATUS_E_INVALID;
            failed++;
        } else if (add) {
            refs = ++found->second->refs;
        } else {
            refs = --found->second->refs;
            if (refs == 0) {
                KeepSpare(found->second);
                m_rows.erase(found);
            }
        }
        if (refCounts)
            refCounts[i] = refs;
        if (statuses)
            statuses[i] = status;
    }
    if (failed == 0)
        return S_OK;
    return failed == count ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}

STDMETHODIMP CJetRowset::AddRefRows(DBCOUNTITEM count, const HROW rows[], DBREFCOUNT refCounts[],
                                    DBROWSTATUS statuses[])
{
    return ChangeRowRefs(count, rows, refCounts, statuses, true);
}

STDMETHODIMP CJetRowset::ReleaseRows(DBCOUNTITEM count, const HROW rows[], DBROWOPTIONS[],
                                     DBREFCOUNT refCounts[], DBROWSTATUS statuses[])
{
    return ChangeRowRefs(count, rows, refCounts, statuses, false);
}

// The row and accessor of a GetData or SetData call, checked.
HRESULT CJetRowset::FindRowData(HROW handle, HACCESSOR accessorHandle, const void* data, Row*& row,
                                Accessor*& accessor)
{
    row = FindRow(handle);
    if (!row)
        return DB_E_BADROWHANDLE;
    if (row->deleted)
        return ProviderError(DB_E_BADROWHANDLE, "The row has been deleted.");
    accessor = FindAccessor(accessorHandle);
    if (!accessor)
        return DB_E_BADACCESSORHANDLE;
    if (!data && !accessor->bindings.empty())
        return E_INVALIDARG;
    return S_OK;
}

STDMETHODIMP CJetRowset::GetData(HROW handle, HACCESSOR accessorHandle, void* data)
{
    Row* row;
    Accessor* accessor;
    HRESULT hr = FindRowData(handle, accessorHandle, data, row, accessor);
    if (FAILED(hr))
        return hr;
    size_t failed = 0;
    for (const DBBINDING& binding : accessor->bindings) {
        DBSTATUS status = CellToBuffer(row->cells[binding.iOrdinal - 1], binding,
                                       static_cast<BYTE*>(data));
        if (status != DBSTATUS_S_OK && status != DBSTATUS_S_ISNULL && status != DBSTATUS_S_TRUNCATED)
            failed++;
    }
    if (failed == 0)
        return S_OK;
    return failed == accessor->bindings.size() ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}

HRESULT CJetRowset::PrepareUpdate(Accessor& accessor)
{
    if (accessor.update.Get())
        return S_OK;
    std::string sql = "UPDATE " + m_table + " SET ";
    for (size_t i = 0; i < accessor.bindings.size(); i++) {
        const ColumnInfo& column = m_columns[accessor.bindings[i].iOrdinal - 1];
        if (i)
            sql += ", ";
        sql += "\"" + Utf8FromWide(reinterpret_cast<const WCHAR*>(column.name.c_str())) + "\" = ?";
    }
    sql += " WHERE rowid = ?";
    if (accessor.update.Prepare(m_db->Handle(), sql.c_str()) != SQLITE_OK)
        return m_db->Fail(E_FAIL);
    return S_OK;
}

HRESULT CJetRowset::ReadBuffer(const Accessor& accessor, const BYTE* data, std::vector<Cell>& cells)
{
    cells.resize(accessor.bindings.size());
    for (size_t i = 0; i < cells.size(); i++)
        if (CellFromBuffer(accessor.bindings[i], data, cells[i]) != DBSTATUS_S_OK)
            return ProviderError(DB_E_ERRORSOCCURRED, "A column value has a status that cannot be written.");
    return S_OK;
}

HRESULT CJetRowset::WriteRow(Row& row, Accessor& accessor, const BYTE* data)
{
    if (accessor.bindings.empty())
        return S_OK;
    std::vector<Cell> cells;
    HRESULT hr = ReadBuffer(accessor, data, cells);
    if (SUCCEEDED(hr))
        hr = PrepareUpdate(accessor);
    if (FAILED(hr))
        return hr;
    sqlite3_stmt* stmt = accessor.update.Get();
    int index = 1;
    for (const Cell& cell : cells)
        BindCell(stmt, index++, cell);
    sqlite3_bind_int64(stmt, index, row.rowid);
    int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE)
        return m_db->Fail(E_FAIL);
    for (size_t i = 0; i < cells.size(); i++)
        row.cells[accessor.bindings[i].iOrdinal - 1] = std::move(cells[i]);
    return S_OK;
}

STDMETHODIMP CJetRowset::SetData(HROW handle, HACCESSOR accessorHandle, void* data)
{
    Row* row;
    Accessor* accessor;
    HRESULT hr = FindRowData(handle, accessorHandle, data, row, accessor);
    if (FAILED(hr))
        return hr;
    return WriteRow(*row, *accessor, static_cast<const BYTE*>(data));
}

// Fills a new row's cells with what the table gave it (its defaults).
HRESULT CJetRowset::ReadBack(Row& row)
{
    if (!m_reread.Get()) {
        std::string sql = "SELECT * FROM " + m_table + " WHERE rowid = ?";
        if (m_reread.Prepare(m_db->Handle(), sql.c_str()) != SQLITE_OK)
            return m_db->Fail(E_FAIL);
    }
    sqlite3_stmt* stmt = m_reread.Get();
    sqlite3_bind_int64(stmt, 1, row.rowid);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        ReadRowCells(stmt, 0, row.cells);
    sqlite3_reset(stmt);
    return rc == SQLITE_ROW ? S_OK : m_db->Fail(E_FAIL);
}

bool CJetRowset::HasDefaults()
{
    if (m_hasDefaults < 0) {
        m_hasDefaults = 0;
        CStatement info;
        std::string sql = "PRAGMA table_info(" + m_table + ")";
        if (info.Prepare(m_db->Handle(), sql.c_str()) == SQLITE_OK) {
            const int kDefaultColumn = 4;   // cid, name, type, notnull, dflt_value, pk
            while (sqlite3_step(info.Get()) == SQLITE_ROW)
                if (sqlite3_column_type(info.Get(), kDefaultColumn) != SQLITE_NULL)
                    m_hasDefaults = 1;
        }
    }
    return m_hasDefaults != 0;
}

HRESULT CJetRowset::PrepareInsert(Accessor& accessor)
{
    if (accessor.insert.Get())
        return S_OK;
    std::string sql = "INSERT INTO " + m_table;
    if (accessor.bindings.empty()) {
        sql += " DEFAULT VALUES";
    } else {
        std::string values;
        for (size_t i = 0; i < accessor.bindings.size(); i++) {
            const ColumnInfo& column = m_columns[accessor.bindings[i].iOrdinal - 1];
            sql += i ? ", \"" : " (\"";
            sql += Utf8FromWide(reinterpret_cast<const WCHAR*>(column.name.c_str())) + "\"";
            values += i ? ", ?" : "?";
        }
        sql += ") VALUES (" + values + ")";
    }
    if (accessor.insert.Prepare(m_db->Handle(), sql.c_str()) != SQLITE_OK)
        return m_db->Fail(E_FAIL);
    return S_OK;
}

HRESULT CJetRowset::InsertValues(Accessor& accessor, const std::vector<Cell>& cells)
{
    HRESULT hr = PrepareInsert(accessor);
    if (FAILED(hr))
        return hr;
    sqlite3_stmt* stmt = accessor.insert.Get();
    int index = 1;
    for (const Cell& cell : cells)
        BindCell(stmt, index++, cell);
    int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return rc == SQLITE_DONE ? S_OK : m_db->Fail(E_FAIL);
}

// Each row is written once, with its values: a save inserts many rows through
// one statement.
STDMETHODIMP CJetRowset::InsertRow(HCHAPTER, HACCESSOR accessorHandle, void* data, HROW* handle)
{
    if (handle)
        *handle = DB_NULL_HROW;
    Accessor* accessor = FindAccessor(accessorHandle);
    if (!accessor)
        return DB_E_BADACCESSORHANDLE;
    if (!data && !accessor->bindings.empty())
        return E_INVALIDARG;
    std::vector<Cell> cells;
    HRESULT hr = ReadBuffer(*accessor, static_cast<const BYTE*>(data), cells);
    if (SUCCEEDED(hr))
        hr = InsertValues(*accessor, cells);
    if (FAILED(hr) || !handle)
        return hr;
    Row* row = new Row();
    row->refs = 1;
    row->deleted = false;
    row->rowid = sqlite3_last_insert_rowid(m_db->Handle());
    // The columns left unbound hold the table's defaults: read them back only
    // when the table declares any, else they are NULL.
    if (HasDefaults())
        hr = ReadBack(*row);
    else
        row->cells.resize(m_columns.size());
    if (FAILED(hr)) {
        delete row;
        return hr;
    }
    for (size_t i = 0; i < cells.size(); i++)
        row->cells[accessor->bindings[i].iOrdinal - 1] = std::move(cells[i]);
    *handle = AddRow(row);
    return S_OK;
}

STDMETHODIMP CJetRowset::DeleteRows(HCHAPTER, DBCOUNTITEM count, const HROW rows[],
                                    DBROWSTATUS statuses[])
{
    if (count && !rows)
        return E_INVALIDARG;
    if (!m_delete.Get()) {
        std::string sql = "DELETE FROM " + m_table + " WHERE rowid = ?";
        if (m_delete.Prepare(m_db->Handle(), sql.c_str()) != SQLITE_OK)
            return m_db->Fail(E_FAIL);
    }
    DBCOUNTITEM failed = 0;
    HRESULT lastError = DB_E_ERRORSOCCURRED;
    for (DBCOUNTITEM i = 0; i < count; i++) {
        Row* row = FindRow(rows[i]);
        DBROWSTATUS status = DBROWSTATUS_S_OK;
        if (!row) {
            status = DBROWSTATUS_E_INVALID;
        } else if (row->deleted) {
            status = DBROWSTATUS_E_DELETED;
        } else {
            sqlite3_stmt* stmt = m_delete.Get();
            sqlite3_bind_int64(stmt, 1, row->rowid);
            int rc = sqlite3_step(stmt);
            sqlite3_reset(stmt);
            if (rc == SQLITE_DONE)
                row->deleted = true;
            else {
                status = DBROWSTATUS_E_FAIL;
                lastError = m_db->Fail(DB_E_ERRORSOCCURRED);
            }
        }
        if (status != DBROWSTATUS_S_OK)
            failed++;
        if (statuses)
            statuses[i] = status;
    }
    if (failed == 0)
        return S_OK;
    return failed == count ? lastError : DB_S_ERRORSOCCURRED;
}

STDMETHODIMP CJetRowset::CreateAccessor(DBACCESSORFLAGS flags, DBCOUNTITEM count,
                                        const DBBINDING bindings[], DBLENGTH, HACCESSOR* handle,
                                        DBBINDSTATUS statuses[])
{
    if (!handle || (count && !bindings))
        return E_INVALIDARG;
    *handle = DB_INVALID_HACCESSOR;
    if (!(flags & DBACCESSOR_ROWDATA) || (flags & DBACCESSOR_PARAMETERDATA))
        return DB_E_BADACCESSORFLAGS;
    bool bad = false;
    for (DBCOUNTITEM i = 0; i < count; i++) {
        const DBBINDING& binding = bindings[i];
        DBBINDSTATUS status = DBBINDSTATUS_OK;
        if (binding.iOrdinal < 1 || binding.iOrdinal > m_columns.size())
            status = DBBINDSTATUS_BADORDINAL;
        else if (!(binding.dwPart & (DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS)))
            status = DBBINDSTATUS_BADBINDINFO;
        else if (!IsBindableType(binding.wType))
            status = DBBINDSTATUS_UNSUPPORTEDCONVERSION;
        else if (binding.dwMemOwner == DBMEMOWNER_PROVIDEROWNED && !(binding.wType & DBTYPE_BYREF))
            status = DBBINDSTATUS_BADBINDINFO;   // the provider can only own what it points to
        if (status != DBBINDSTATUS_OK)
            bad = true;
        if (statuses)
            statuses[i] = status;
    }
    if (bad)
        return DB_E_ERRORSOCCURRED;
    Accessor* accessor = new Accessor();
    accessor->refs = 1;
    accessor->flags = flags;
    accessor->bindings.assign(bindings, bindings + count);
    *handle = reinterpret_cast<HACCESSOR>(++m_nextAccessor);
    m_accessors[*handle] = accessor;
    return S_OK;
}

STDMETHODIMP CJetRowset::AddRefAccessor(HACCESSOR handle, DBREFCOUNT* refCount)
{
    Accessor* accessor = FindAccessor(handle);
    if (!accessor)
        return DB_E_BADACCESSORHANDLE;
    accessor->refs++;
    if (refCount)
        *refCount = accessor->refs;
    return S_OK;
}

STDMETHODIMP CJetRowset::ReleaseAccessor(HACCESSOR handle, DBREFCOUNT* refCount)
{
    auto found = m_accessors.find(handle);
    if (found == m_accessors.end())
        return DB_E_BADACCESSORHANDLE;
    DBREFCOUNT refs = --found->second->refs;
    if (refs == 0) {
        delete found->second;
        m_accessors.erase(found);
    }
    if (refCount)
        *refCount = refs;
    return S_OK;
}

STDMETHODIMP CJetRowset::GetBindings(HACCESSOR handle, DBACCESSORFLAGS* flags, DBCOUNTITEM* count,
                                     DBBINDING** bindings)
{
    if (!flags || !count || !bindings)
        return E_INVALIDARG;
    Accessor* accessor = FindAccessor(handle);
    if (!accessor)
        return DB_E_BADACCESSORHANDLE;
    size_t n = accessor->bindings.size();
    *bindings = nullptr;
    if (n) {
        *bindings = static_cast<DBBINDING*>(CoTaskMemAlloc(n * sizeof(DBBINDING)));
        if (!*bindings)
            return E_OUTOFMEMORY;
        memcpy(*bindings, accessor->bindings.data(), n * sizeof(DBBINDING));
    }
    *flags = accessor->flags;
    *count = n;
    return S_OK;
}

STDMETHODIMP CJetRowset::GetColumnInfo(DBORDINAL* count, DBCOLUMNINFO** info, OLECHAR** strings)
{
    if (!count || !info || !strings)
        return E_INVALIDARG;
    *count = 0;
    *info = nullptr;
    *strings = nullptr;
    size_t chars = 0;
    for (const ColumnInfo& column : m_columns)
        chars += column.name.size() + 1;
    size_t n = m_columns.size();
    DBCOLUMNINFO* columns = static_cast<DBCOLUMNINFO*>(CoTaskMemAlloc(n * sizeof(DBCOLUMNINFO) + 1));
    OLECHAR* names = static_cast<OLECHAR*>(CoTaskMemAlloc(chars * sizeof(OLECHAR) + sizeof(OLECHAR)));
    if (!columns || !names) {
        CoTaskMemFree(columns);
        CoTaskMemFree(names);
        return E_OUTOFMEMORY;
    }
    OLECHAR* name = names;
    for (size_t i = 0; i < n; i++) {
        const ColumnInfo& column = m_columns[i];
        memcpy(name, column.name.c_str(), (column.name.size() + 1) * sizeof(OLECHAR));
        DBCOLUMNINFO& out = columns[i];
        memset(&out, 0, sizeof(out));
        out.pwszName = name;
        out.iOrdinal = i + 1;
        out.dwFlags = column.flags;
        out.ulColumnSize = column.size;
        out.wType = column.type;
        out.bPrecision = column.type == DBTYPE_I4 ? 10 : column.type == DBTYPE_I2 ? 5 : 0xff;
        out.bScale = 0xff;
        out.columnid.eKind = DBKIND_NAME;
        out.columnid.uName.pwszName = name;
        name += column.name.size() + 1;
    }
    *count = n;
    *info = columns;
    *strings = names;
    return S_OK;
}

STDMETHODIMP CJetRowset::MapColumnIDs(DBORDINAL count, const DBID ids[], DBORDINAL columns[])
{
    if (count && (!ids || !columns))
        return E_INVALIDARG;
    DBORDINAL failed = 0;
    for (DBORDINAL i = 0; i < count; i++) {
        columns[i] = DB_INVALIDCOLUMN;
        if (ids[i].eKind != DBKIND_NAME || !ids[i].uName.pwszName) {
            failed++;
            continue;
        }
        for (size_t c = 0; c < m_columns.size(); c++)
            if (lstrcmpiW(reinterpret_cast<LPCWSTR>(m_columns[c].name.c_str()), ids[i].uName.pwszName) == 0)
                columns[i] = c + 1;
        if (columns[i] == DB_INVALIDCOLUMN)
            failed++;
    }
    if (failed == 0)
        return S_OK;
    return failed == count ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}
