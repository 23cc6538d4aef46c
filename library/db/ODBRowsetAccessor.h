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
    CString GetText(int ordinal);
    void SetText(int ordinal, const char* text);
    long GetInteger(int ordinal);
    void SetInteger(int ordinal, long value);
    DATE GetDate(int ordinal);
    void SetDate(int ordinal, DATE value);
    bool GetBool(int ordinal);
    void SetBool(int ordinal, bool value);

    void ReleaseAccessor() override;

private:
    void BuildBindings(std::vector<DBBINDING>& bindings);
    void ReleaseRow();
    void FreeOwnText(ODBColumnDescriptor& column);
    // The bound column and its place in the buffer; null without either.
    ODBColumnDescriptor* Column(int ordinal);
    BYTE* Value(const ODBColumnDescriptor& column) { return m_buffer + column.valueOffset; }
    DBSTATUS& Status(const ODBColumnDescriptor& column);
    DBLENGTH& Length(const ODBColumnDescriptor& column);
    // Status OK and the length of a fixed-size value.
    void SetFixed(const ODBColumnDescriptor& column);
    bool HasValue(ODBColumnDescriptor* column);

    IRowset* m_rowset;
    BYTE* m_buffer;
    HROW m_row;
};
