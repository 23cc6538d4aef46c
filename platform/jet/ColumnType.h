// What the provider reports for a column, derived from the type its table
// declares (the library's schema uses Jet's type words).
#pragma once

#include <windows.h>
#include <oledb.h>
#include <string>

struct ColumnInfo
{
    std::u16string name;
    DBTYPE type;
    DBLENGTH size;          // characters for texts, bytes otherwise
    DBCOLUMNFLAGS flags;
};

ColumnInfo DescribeColumn(const char* name, const char* declaredType);
