// The accessor of one open rowset: binds a column set to the rowset's columns,
// owns the row buffer and the current row, and moves values between the buffer
// and the caller. Forward only. Every failure throws _com_error.
#pragma once

#include "library/db/ODBAccessor.h"

class ODBRowsetAccessor : public ODBAccessor
{
public:
    ODBRowsetAccessor();
    ~ODBRowsetAccessor() override;
    ODBRowsetAccessor(const ODBRowsetAccessor&) = delete;
    ODBRowsetAccessor& operator=(const ODBRowsetAccessor&) = delete;

    // Takes over the caller's reference to rowset.
    void Bind(IRowset* rowset, const ODBColumnDescriptors& columns);
    // Releases the current row, the accessor and the rowset.
    void Close();

    // Releases the current row and fetches the next; false at the end.
    bool MoveNext();
    void GetData();
    void SetData();
    // Inserts the buffer's values as a new row (the provider's defaults in
    // unbound columns); there is no current row afterwards.
    void InsertRow();
    void DeleteRow();

    // Unbound columns read as empty or 0 and ignore writes; so do NULL values.
    // The getters are inline: a load reads every value of every row through them.
    CString GetText(int ordinal);
    // The text's characters where the row holds them (this buffer or the
    // provider's row), valid until the next GetData, MoveNext or write; null
    // for an empty text.
    const char* PeekText(int ordinal, int& length);
    void SetText(int ordinal, const char* text);
    long GetInteger(int ordinal) { return HasValue(ordinal) ? *reinterpret_cast<const LONG*>(Value(ordinal)) : 0; }
    void SetInteger(int ordinal, long value);
    DATE GetDate(int ordinal) { return HasValue(ordinal) ? *reinterpret_cast<const DATE*>(Value(ordinal)) : 0; }
    void SetDate(int ordinal, DATE value);
    bool GetBool(int ordinal) { return HasValue(ordinal) && *reinterpret_cast<const LONG*>(Value(ordinal)) != 0; }
    void SetBool(int ordinal, bool value);

    void ReleaseAccessor() override;

private:
    void BuildBindings(std::vector<DBBINDING>& bindings);
    void ReleaseRow();
    void FreeOwnText(ODBColumnDescriptor& column);
    // The bound column and its place in the buffer; null without either.
    ODBColumnDescriptor* Column(int ordinal)
    {
        return ordinal >= 0 && ordinal < static_cast<int>(m_bound.size()) ? m_bound[ordinal] : nullptr;
    }
    void IndexBoundColumns();
    BYTE* Value(const ODBColumnDescriptor& column) { return m_buffer + column.valueOffset; }
    // Only for a column that HasValue.
    const BYTE* Value(int ordinal) { return Value(*m_bound[ordinal]); }
    DBSTATUS& Status(const ODBColumnDescriptor& column)
    {
        return *reinterpret_cast<DBSTATUS*>(m_buffer + column.statusOffset);
    }
    DBLENGTH& Length(const ODBColumnDescriptor& column)
    {
        return *reinterpret_cast<DBLENGTH*>(m_buffer + column.lengthOffset);
    }
    // Status OK and the length of a fixed-size value.
    void SetFixed(const ODBColumnDescriptor& column);
    // A NULL value leaves the buffer as the previous row had it: it must read as empty.
    bool HasValue(int ordinal)
    {
        ODBColumnDescriptor* column = Column(ordinal);
        return column && Status(*column) == DBSTATUS_S_OK;
    }

    IRowset* m_rowset;
    BYTE* m_buffer;
    // By ordinal, the bound columns (null where a column is not bound): every
    // value of a load is looked up here.
    std::vector<ODBColumnDescriptor*> m_bound;
    HROW m_row;
};
