#include "platform/jet/ColumnType.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "platform/jet/TextCodec.h"

namespace {

// Memo columns report the largest size a long text may have.
const DBLENGTH kLongTextSize = 0x3fffffff;
const DBLENGTH kDefaultTextSize = 255;

struct TypeWord
{
    const char* word;
    DBTYPE type;
    DBLENGTH size;
    bool isLong;
};

const TypeWord kTypeWords[] = {
    { "TEXT",     DBTYPE_WSTR, kDefaultTextSize, false },
    { "VARCHAR",  DBTYPE_WSTR, kDefaultTextSize, false },
    { "LONGTEXT", DBTYPE_WSTR, kLongTextSize,    true },
    { "MEMO",     DBTYPE_WSTR, kLongTextSize,    true },
    { "INTEGER",  DBTYPE_I4,   4,                false },
    { "INT",      DBTYPE_I4,   4,                false },
    { "LONG",     DBTYPE_I4,   4,                false },
    { "SMALLINT", DBTYPE_I2,   2,                false },
    { "SHORT",    DBTYPE_I2,   2,                false },
    { "BYTE",     DBTYPE_UI1,  1,                false },
    { "DATETIME", DBTYPE_DATE, 8,                false },
    { "DATE",     DBTYPE_DATE, 8,                false },
    { "YESNO",    DBTYPE_BOOL, 2,                false },
    { "BIT",      DBTYPE_BOOL, 2,                false },
};

}

ColumnInfo DescribeColumn(const char* name, const char* declaredType)
{
    ColumnInfo info;
    info.name = WideFromUtf8(name);
    info.type = DBTYPE_WSTR;
    info.size = kDefaultTextSize;
    info.flags = DBCOLUMNFLAGS_WRITE | DBCOLUMNFLAGS_ISNULLABLE | DBCOLUMNFLAGS_MAYBENULL;

    // The type word, then an optional size in brackets: "TEXT(50)".
    std::string word;
    const char* p = declaredType ? declaredType : "";
    while (*p && isalpha(static_cast<unsigned char>(*p)))
        word += static_cast<char>(toupper(static_cast<unsigned char>(*p++)));
    for (const TypeWord& entry : kTypeWords) {
        if (word != entry.word)
            continue;
        info.type = entry.type;
        info.size = entry.size;
        if (entry.isLong)
            info.flags |= DBCOLUMNFLAGS_ISLONG;
        break;
    }
    while (*p == ' ')
        p++;
    if (*p == '(' && info.type == DBTYPE_WSTR) {
        long size = strtol(p + 1, nullptr, 10);
        if (size > 0)
            info.size = size;
    }
    if (info.type != DBTYPE_WSTR)
        info.flags |= DBCOLUMNFLAGS_ISFIXEDLENGTH;
    return info;
}
