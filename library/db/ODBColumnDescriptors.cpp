#include "library/db/ODBColumnDescriptors.h"

void ODBColumnDescriptors::AddColumn(const char* name, int ordinal)
{
    ODBColumnDescriptor column = {};
    column.ordinal = ordinal >= 0 ? ordinal : (m_columns.empty() ? 0 : m_columns.back().ordinal + 1);
    column.name = name;
    m_columns.push_back(column);
}

void ODBColumnDescriptors::Clear()
{
    m_columns.clear();
    m_rowSize = 0;
}
