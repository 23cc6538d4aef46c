// A forward-only rowset over one SELECT. Rows are copied out of the statement
// as they are fetched and live while their handles do; a rowset over one table
// also carries each row's rowid, through which IRowsetChange writes.
#pragma once

#include <windows.h>
#include <oledb.h>
#include <map>
#include <string>
#include <vector>

#include "platform/jet/Cell.h"
#include "platform/jet/ColumnType.h"
#include "platform/jet/SqliteDb.h"

class CJetRowset : public IRowset, public IRowsetChange, public IAccessor,
                   public IColumnsInfo, public ISupportErrorInfo
{
public:
    // Takes over the prepared select. table: the quoted table name when the
    // select's first column is the rowid (the rowset is then updatable); empty
    // for a read-only result.
    static HRESULT Create(CSqliteDb* db, sqlite3_stmt* select, const std::string& table,
                          REFIID riid, IUnknown** rowset);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IRowset
    STDMETHODIMP AddRefRows(DBCOUNTITEM count, const HROW rows[], DBREFCOUNT refCounts[],
                            DBROWSTATUS statuses[]) override;
    STDMETHODIMP GetData(HROW row, HACCESSOR accessor, void* data) override;
    STDMETHODIMP GetNextRows(HCHAPTER reserved, DBROWOFFSET offset, DBROWCOUNT count,
                             DBCOUNTITEM* obtained, HROW** rows) override;
    STDMETHODIMP ReleaseRows(DBCOUNTITEM count, const HROW rows[], DBROWOPTIONS options[],
                             DBREFCOUNT refCounts[], DBROWSTATUS statuses[]) override;
    STDMETHODIMP RestartPosition(HCHAPTER reserved) override;

    // IRowsetChange
    STDMETHODIMP DeleteRows(HCHAPTER reserved, DBCOUNTITEM count, const HROW rows[],
                            DBROWSTATUS statuses[]) override;
    STDMETHODIMP SetData(HROW row, HACCESSOR accessor, void* data) override;
    STDMETHODIMP InsertRow(HCHAPTER reserved, HACCESSOR accessor, void* data, HROW* row) override;

    // IAccessor
    STDMETHODIMP AddRefAccessor(HACCESSOR accessor, DBREFCOUNT* refCount) override;
    STDMETHODIMP CreateAccessor(DBACCESSORFLAGS flags, DBCOUNTITEM count, const DBBINDING bindings[],
                                DBLENGTH rowSize, HACCESSOR* accessor, DBBINDSTATUS statuses[]) override;
    STDMETHODIMP GetBindings(HACCESSOR accessor, DBACCESSORFLAGS* flags, DBCOUNTITEM* count,
                             DBBINDING** bindings) override;
    STDMETHODIMP ReleaseAccessor(HACCESSOR accessor, DBREFCOUNT* refCount) override;

    // IColumnsInfo
    STDMETHODIMP GetColumnInfo(DBORDINAL* count, DBCOLUMNINFO** info, OLECHAR** strings) override;
    STDMETHODIMP MapColumnIDs(DBORDINAL count, const DBID ids[], DBORDINAL columns[]) override;

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    struct Row
    {
        DBREFCOUNT refs;
        sqlite3_int64 rowid;
        bool deleted;
        std::vector<Cell> cells;
    };

    struct Accessor
    {
        DBREFCOUNT refs;
        DBACCESSORFLAGS flags;
        std::vector<DBBINDING> bindings;
        CStatement update;      // prepared at its first write
        CStatement insert;      // prepared at its first insert
    };

    CJetRowset(CSqliteDb* db, const std::string& table);
    virtual ~CJetRowset();
    CJetRowset(const CJetRowset&) = delete;
    CJetRowset& operator=(const CJetRowset&) = delete;

    void Adopt(sqlite3_stmt* select);
    Row* FindRow(HROW row);
    Accessor* FindAccessor(HACCESSOR accessor);
    HRESULT FindRowData(HROW handle, HACCESSOR accessorHandle, const void* data, Row*& row,
                        Accessor*& accessor);
    // A row for GetNextRows to fill: every cell is read over.
    Row* FetchedRow();
    void KeepSpare(Row* row);
    HROW AddRow(Row* row);
    HRESULT FetchRow(bool& gotRow);
    HRESULT WriteRow(Row& row, Accessor& accessor, const BYTE* data);
    HRESULT PrepareUpdate(Accessor& accessor);
    HRESULT PrepareInsert(Accessor& accessor);
    // Reads the bound values out of the consumer's buffer.
    HRESULT ReadBuffer(const Accessor& accessor, const BYTE* data, std::vector<Cell>& cells);
    // Inserts one row of the bound values (the table's defaults elsewhere).
    HRESULT InsertValues(Accessor& accessor, const std::vector<Cell>& cells);
    HRESULT ReadBack(Row& row);
    bool HasDefaults();
    HRESULT ChangeRowRefs(DBCOUNTITEM count, const HROW rows[], DBREFCOUNT refCounts[],
                          DBROWSTATUS statuses[], bool add);

    LONG m_refs;
    CSqliteDb* m_db;
    std::string m_table;
    int m_firstColumn;      // 1 when column 0 of the select is the rowid
    CStatement m_select;
    bool m_atEnd;
    std::vector<ColumnInfo> m_columns;
    static const size_t kSpareRows = 16;

    std::map<HROW, Row*> m_rows;
    std::vector<Row*> m_spareRows;
    ULONG_PTR m_nextRow;
    std::map<HACCESSOR, Accessor*> m_accessors;
    ULONG_PTR m_nextAccessor;
    CStatement m_delete;
    CStatement m_reread;
    int m_hasDefaults;      // whether the table declares column defaults; -1 not known yet
};
