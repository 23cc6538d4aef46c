// One value of a row as the provider holds it, and its moves to and from the
// consumer's buffer through a binding.
#pragma once

#include <windows.h>
#include <oledb.h>
#include <sqlite3.h>
#include <string>

struct Cell
{
    int kind;               // SQLITE_NULL, SQLITE_INTEGER, SQLITE_FLOAT or SQLITE_TEXT
    sqlite3_int64 integer;
    double real;
    std::string text;       // UTF-8

    Cell() : kind(SQLITE_NULL), integer(0), real(0) {}
};

// The types a binding may ask for (DBTYPE_STR also by reference).
bool IsBindableType(DBTYPE type);

void ReadCell(sqlite3_stmt* stmt, int column, Cell& cell);
int BindCell(sqlite3_stmt* stmt, int index, const Cell& cell);

// Writes the cell into the consumer's buffer; gives the column's status.
DBSTATUS CellToBuffer(const Cell& cell, const DBBINDING& binding, BYTE* data);
// Reads the consumer's value. Inline text is never read past the bound
// maximum length, whatever length the consumer claims.
DBSTATUS CellFromBuffer(const DBBINDING& binding, const BYTE* data, Cell& cell);
