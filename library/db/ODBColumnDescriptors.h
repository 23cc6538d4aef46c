// The columns a consumer binds, by name, and where each one sits in the row
// buffer once bound.
#pragma once

#include <afx.h>
#include <oledb.h>
#include <vector>

struct ODBColumnDescriptor
{
    int ordinal;                // position in the column set
    CString name;               // the table's column name
    DBTYPE type;                // bound type; 0 = not bound
    DBLENGTH maxLength;         // bytes of the value part
    DBBYTEOFFSET statusOffset;
    DBBYTEOFFSET valueOffset;
    DBBYTEOFFSET lengthOffset;
    bool ownsText;              // the value part holds a text the consumer allocated and must free
};

class ODBColumnDescriptors
{
public:
    ODBColumnDescriptors() : m_rowSize(0) {}
    virtual ~ODBColumnDescriptors() {}

    // ordinal -1: the one after the last column added.
    void AddColumn(const char* name, int ordinal = -1);
    void Clear();

    int GetCount() const { return static_cast<int>(m_columns.size()); }
    const ODBColumnDescriptor& GetColumn(int index) const { return m_columns[index]; }
    DBLENGTH GetRowSize() const { return m_rowSize; }

protected:
    std::vector<ODBColumnDescriptor> m_columns;
    DBLENGTH m_rowSize;
};
