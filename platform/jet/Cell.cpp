#include "platform/jet/Cell.h"

#include <oledberr.h>
#include <stdio.h>
#include <stdlib.h>

#include "platform/jet/TextCodec.h"

bool IsBindableType(DBTYPE type)
{
    switch (type) {
    case DBTYPE_STR:
    case DBTYPE_STR | DBTYPE_BYREF:
    case DBTYPE_I4:
    case DBTYPE_UI4:
    case DBTYPE_DATE:
    case DBTYPE_BOOL:
        return true;
    default:
        return false;
    }
}

// The value is unprotected: read only while the connection's lock is held.
static void ReadCell(sqlite3_value* value, Cell& cell)
{
    cell.kind = sqlite3_value_type(value);
    switch (cell.kind) {
    case SQLITE_INTEGER:
        cell.integer = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        cell.real = sqlite3_value_double(value);
        break;
    case SQLITE_NULL:
        break;
    default:
        // Blobs are read as text: the library keeps none.
        cell.kind = SQLITE_TEXT;
        cell.text.assign(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
        break;
    }
    cell.ansi.clear();
}

void ReadRowCells(sqlite3_stmt* stmt, int first, std::vector<Cell>& cells)
{
    int count = sqlite3_column_count(stmt);
    cells.resize(count > first ? count - first : 0);
    sqlite3_mutex* lock = sqlite3_db_mutex(sqlite3_db_handle(stmt));
    sqlite3_mutex_enter(lock);
    for (int i = first; i < count; i++)
        ReadCell(sqlite3_column_value(stmt, i), cells[i - first]);
    sqlite3_mutex_leave(lock);
}

int BindCell(sqlite3_stmt* stmt, int index, const Cell& cell)
{
    switch (cell.kind) {
    case SQLITE_INTEGER:
        return sqlite3_bind_int64(stmt, index, cell.integer);
    case SQLITE_FLOAT:
        return sqlite3_bind_double(stmt, index, cell.real);
    case SQLITE_TEXT:
        return sqlite3_bind_text(stmt, index, cell.text.data(), static_cast<int>(cell.text.size()),
                                 SQLITE_TRANSIENT);
    default:
        return sqlite3_bind_null(stmt, index);
    }
}

static sqlite3_int64 CellInteger(const Cell& cell)
{
    switch (cell.kind) {
    case SQLITE_INTEGER: return cell.integer;
    case SQLITE_FLOAT: return static_cast<sqlite3_int64>(cell.real);
    case SQLITE_TEXT: return strtoll(cell.text.c_str(), nullptr, 10);
    default: return 0;
    }
}

static double CellReal(const Cell& cell)
{
    switch (cell.kind) {
    case SQLITE_INTEGER: return static_cast<double>(cell.integer);
    case SQLITE_FLOAT: return cell.real;
    case SQLITE_TEXT: return strtod(cell.text.c_str(), nullptr);
    default: return 0;
    }
}

static std::string CellAnsiText(const Cell& cell)
{
    char number[64];
    switch (cell.kind) {
    case SQLITE_INTEGER:
        snprintf(number, sizeof(number), "%lld", static_cast<long long>(cell.integer));
        return number;
    case SQLITE_FLOAT:
        snprintf(number, sizeof(number), "%.15g", cell.real);
        return number;
    default:
        return AnsiFromUtf8(cell.text.data(), cell.text.size());
    }
}

// Provider-owned memory: the consumer gets a pointer into the cell and copies
// the text once, straight into where it keeps it.
static DBSTATUS TextByReference(Cell& cell, BYTE* value, DBLENGTH& length)
{
    const std::string* text = &cell.text;
    if (cell.kind != SQLITE_TEXT || !IsPlainAscii(cell.text.data(), cell.text.size())) {
        if (cell.ansi.empty())
            cell.ansi = CellAnsiText(cell);
        text = &cell.ansi;
    }
    length = text->size();
    *reinterpret_cast<const char**>(value) = text->c_str();
    return DBSTATUS_S_OK;
}

static DBSTATUS TextToBuffer(Cell& cell, const DBBINDING& binding, BYTE* value, DBLENGTH& length)
{
    if ((binding.wType & DBTYPE_BYREF) && binding.dwMemOwner == DBMEMOWNER_PROVIDEROWNED)
        return TextByReference(cell, value, length);
    // Most texts are ASCII, the same in both code pages: they are not copied first.
    std::string converted;
    bool plain = cell.kind == SQLITE_TEXT && IsPlainAscii(cell.text.data(), cell.text.size());
    if (!plain)
        converted = CellAnsiText(cell);
    const std::string& text = plain ? cell.text : converted;
    length = text.size();
    if (binding.wType & DBTYPE_BYREF) {
        char* copy = static_cast<char*>(CoTaskMemAlloc(text.size() + 1));
        if (!copy)
            return DBSTATUS_E_CANTCREATE;
        memcpy(copy, text.c_str(), text.size() + 1);
        *reinterpret_cast<char**>(value) = copy;
        return DBSTATUS_S_OK;
    }
    if (binding.cbMaxLen == 0)
        return DBSTATUS_S_TRUNCATED;
    size_t room = binding.cbMaxLen - 1;
    size_t n = text.size() < room ? text.size() : room;
    memcpy(value, text.data(), n);
    value[n] = '\0';
    return n < text.size() ? DBSTATUS_S_TRUNCATED : DBSTATUS_S_OK;
}

DBSTATUS CellToBuffer(Cell& cell, const DBBINDING& binding, BYTE* data)
{
    BYTE* value = data + binding.obValue;
    DBLENGTH length = 0;
    DBSTATUS status = DBSTATUS_S_OK;
    if (cell.kind == SQLITE_NULL) {
        status = DBSTATUS_S_ISNULL;
    } else if (binding.dwPart & DBPART_VALUE) {
        switch (binding.wType) {
        case DBTYPE_I4:
            *reinterpret_cast<LONG*>(value) = static_cast<LONG>(CellInteger(cell));
            length = sizeof(LONG);
            break;
        case DBTYPE_UI4:
            *reinterpret_cast<ULONG*>(value) = static_cast<ULONG>(CellInteger(cell));
            length = sizeof(ULONG);
            break;
        case DBTYPE_DATE:
            *reinterpret_cast<DATE*>(value) = CellReal(cell);
            length = sizeof(DATE);
            break;
        case DBTYPE_BOOL:
            *reinterpret_cast<VARIANT_BOOL*>(value) = CellInteger(cell) ? VARIANT_TRUE : VARIANT_FALSE;
            length = sizeof(VARIANT_BOOL);
            break;
        default:
            status = TextToBuffer(cell, binding, value, length);
            break;
        }
    }
    if (binding.dwPart & DBPART_LENGTH)
        *reinterpret_cast<DBLENGTH*>(data + binding.obLength) = length;
    if (binding.dwPart & DBPART_STATUS)
        *reinterpret_cast<DBSTATUS*>(data + binding.obStatus) = status;
    return status;
}

static void TextFromBuffer(const DBBINDING& binding, const BYTE* data, Cell& cell)
{
    const BYTE* value = data + binding.obValue;
    bool hasLength = (binding.dwPart & DBPART_LENGTH) != 0;
    DBLENGTH length = hasLength ? *reinterpret_cast<const DBLENGTH*>(data + binding.obLength) : 0;
    const char* text;
    if (binding.wType & DBTYPE_BYREF) {
        text = *reinterpret_cast<const char* const*>(value);
        if (!text)
            text = "";
        if (!hasLength)
            length = strlen(text);
    } else {
        text = reinterpret_cast<const char*>(value);
        size_t bounded = strnlen(text, binding.cbMaxLen);
        if (!hasLength || length > bounded)
            length = bounded;
    }
    cell.kind = SQLITE_TEXT;
    cell.text = Utf8FromAnsi(text, length);
}

DBSTATUS CellFromBuffer(const DBBINDING& binding, const BYTE* data, Cell& cell)
{
    DBSTATUS status = DBSTATUS_S_OK;
    if (binding.dwPart & DBPART_STATUS)
        status = *reinterpret_cast<const DBSTATUS*>(data + binding.obStatus);
    if (status == DBSTATUS_S_ISNULL) {
        cell = Cell();
        return DBSTATUS_S_OK;
    }
    if (status != DBSTATUS_S_OK || !(binding.dwPart & DBPART_VALUE))
        return DBSTATUS_E_BADSTATUS;
    const BYTE* value = data + binding.obValue;
    cell.text.clear();
    switch (binding.wType) {
    case DBTYPE_I4:
        cell.kind = SQLITE_INTEGER;
        cell.integer = *reinterpret_cast<const LONG*>(value);
        break;
    case DBTYPE_UI4:
        cell.kind = SQLITE_INTEGER;
        cell.integer = *reinterpret_cast<const ULONG*>(value);
        break;
    case DBTYPE_DATE:
        cell.kind = SQLITE_FLOAT;
        cell.real = *reinterpret_cast<const DATE*>(value);
        break;
    case DBTYPE_BOOL:
        cell.kind = SQLITE_INTEGER;
        cell.integer = *reinterpret_cast<const VARIANT_BOOL*>(value) ? 1 : 0;
        break;
    default:
        TextFromBuffer(binding, data, cell);
        break;
    }
    return DBSTATUS_S_OK;
}
